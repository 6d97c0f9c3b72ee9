#include "devsim/server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "devsim/connection.h"

namespace devsim {
namespace {

bool TryBind(int fd, in_addr addr, int port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr = addr;
  sa.sin_port = htons(static_cast<uint16_t>(port));
  return bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
}

}  // namespace

Server::Server(Device& device, RequestLog* log, int read_timeout_ms)
    : device_(device), log_(log), read_timeout_ms_(read_timeout_ms) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) == 0) {
    stop_read_ = fds[0];
    stop_write_ = fds[1];
  }
}

Server::~Server() {
  Shutdown();
  if (stop_read_ >= 0) close(stop_read_);
}

bool Server::Listen(const std::string& address, std::optional<int> port, std::string* error) {
  if (stop_read_ < 0) {
    *error = "cannot create the stop pipe";
    return false;
  }
  in_addr addr{};
  if (inet_pton(AF_INET, address.c_str(), &addr) != 1 || (ntohl(addr.s_addr) >> 24) != 127) {
    *error = "bind address must be a 127.x.y.z address: " + address;
    return false;
  }
  listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listen_fd_ < 0) {
    *error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  int one = 1;
  setsockopt(listen_fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);

  bool bound = false;
  if (port) {
    bound = TryBind(listen_fd_, addr, *port);
  } else {
    std::mt19937 rng(std::random_device{}());
    std::uniform_int_distribution<int> pick(kAutoPortFirst, kAutoPortLast);
    for (int attempt = 0; attempt < 1000 && !bound; ++attempt) {
      bound = TryBind(listen_fd_, addr, pick(rng));
      if (!bound && errno != EADDRINUSE && errno != EACCES) break;
    }
  }
  if (!bound || listen(listen_fd_, 64) != 0) {
    *error = std::string("cannot listen: ") + std::strerror(errno);
    close(listen_fd_);
    listen_fd_ = -1;
    return false;
  }
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&sa), &len);
  port_ = ntohs(sa.sin_port);
  address_ = addr.s_addr;
  return true;
}

bool Server::ListenAlso(int port) {
  std::lock_guard<std::mutex> lock(extra_mu_);
  if (port == port_) return true;
  for (const auto& [fd, p] : extra_)
    if (p == port) return true;
  if (listen_fd_ < 0 || port <= 0 || port > 65535) return false;
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  in_addr addr{};
  addr.s_addr = address_;
  if (!TryBind(fd, addr, port) || listen(fd, 64) != 0) {
    close(fd);
    return false;
  }
  extra_.push_back({fd, port});
  return true;
}

std::vector<int> Server::Ports() const {
  std::lock_guard<std::mutex> lock(extra_mu_);
  std::vector<int> ports = {port_};
  for (const auto& [fd, p] : extra_) ports.push_back(p);
  return ports;
}

void Server::Run(int wake_fd) {
  while (true) {
    // The wake pipe, the first port, then the ports added since (picked up within a poll; a
    // client connecting before that waits in the port's backlog).
    std::vector<pollfd> fds = {{wake_fd, POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    {
      std::lock_guard<std::mutex> lock(extra_mu_);
      for (const auto& [fd, port] : extra_) fds.push_back({fd, POLLIN, 0});
    }
    int n = poll(fds.data(), fds.size(), 200);
    ReapFinished();
    if (n < 0 && errno != EINTR) return;
    if (n <= 0) continue;
    if (fds[0].revents != 0) return;
    for (size_t i = 1; i < fds.size(); ++i) {
      if (fds[i].revents != 0) Accept(fds[i].fd);
    }
  }
}

void Server::Accept(int listen_fd) {
  int fd = accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) {
    poll(nullptr, 0, 10);  // out of descriptors: let connections finish
    return;
  }
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  auto done = std::make_shared<std::atomic<bool>>(false);
  ConnectionContext ctx{device_, log_, stop_read_, read_timeout_ms_};
  uint64_t id = next_conn_++;
  workers_.push_back({std::thread([fd, id, ctx, done] {
                        ServeConnection(fd, id, ctx);
                        done->store(true);
                      }),
                      done});
}

void Server::ReapFinished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (it->done->load()) {
      it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void Server::Shutdown() {
  if (listen_fd_ >= 0) {
    close(listen_fd_);
    listen_fd_ = -1;
  }
  {
    std::lock_guard<std::mutex> lock(extra_mu_);
    for (const auto& [fd, port] : extra_) close(fd);
    extra_.clear();
  }
  if (stop_write_ >= 0) {
    close(stop_write_);  // every connection's wait sees the stop pipe readable
    stop_write_ = -1;
  }
  for (auto& w : workers_) w.thread.join();
  workers_.clear();
}

}  // namespace devsim
