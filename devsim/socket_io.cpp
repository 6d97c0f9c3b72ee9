#include "devsim/socket_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace devsim {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

}  // namespace

WaitResult WaitFor(int fd, short events, int stop_fd, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
  while (true) {
    pollfd fds[2] = {{fd, events, 0}, {stop_fd, POLLIN, 0}};
    int wait = timeout_ms < 0 ? -1 : RemainingMs(deadline);
    int n = poll(fds, 2, wait);
    if (n < 0) {
      if (errno == EINTR) continue;
      return WaitResult::kError;
    }
    if (fds[1].revents != 0) return WaitResult::kStopped;
    if (fds[0].revents != 0) return WaitResult::kReady;  // errors show up in the next call
    if (n == 0) return WaitResult::kTimeout;
  }
}

bool SendAll(int fd, std::string_view data, int stop_fd, int timeout_ms) {
  while (!data.empty()) {
    if (WaitFor(fd, POLLOUT, stop_fd, timeout_ms) != WaitResult::kReady) return false;
    ssize_t n = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool Pause(int stop_fd, int ms) {
  pollfd fds[1] = {{stop_fd, POLLIN, 0}};
  auto deadline = Clock::now() + std::chrono::milliseconds(ms);
  while (true) {
    int n = poll(fds, 1, RemainingMs(deadline));
    if (n > 0) return false;
    if (n == 0) return true;
    if (errno != EINTR) return true;
  }
}

bool WaitForPeerClose(int fd, int stop_fd, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
  char buf[4096];
  while (true) {
    int wait = timeout_ms < 0 ? -1 : RemainingMs(deadline);
    WaitResult w = WaitFor(fd, POLLIN, stop_fd, wait);
    if (w == WaitResult::kStopped || w == WaitResult::kTimeout) return false;
    if (w == WaitResult::kError) return true;
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) return true;
  }
}

void CloseGracefully(int fd, int stop_fd) {
  shutdown(fd, SHUT_WR);
  WaitForPeerClose(fd, stop_fd, 2000);
  close(fd);
}

void CloseWithReset(int fd) {
  linger l{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  close(fd);
}

}  // namespace devsim
