#include "devsim/search_responder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace devsim {
namespace {

constexpr size_t kPacketSize = 76;
constexpr size_t kTypeOffset = 17, kMacOffset = 18, kUserOffset = 24, kPasswordOffset = 40,
                 kIpOffset = 56, kMaskOffset = 60, kGatewayOffset = 64, kDnsOffset = 68,
                 kPortOffset = 72;

bool ParseDotted(const std::string& text, std::array<uint8_t, 4>* out) {
  unsigned a, b, c, d;
  char tail;
  if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &a, &b, &c, &d, &tail) != 4) return false;
  if (a > 255 || b > 255 || c > 255 || d > 255) return false;
  *out = {uint8_t(a), uint8_t(b), uint8_t(c), uint8_t(d)};
  return true;
}

bool ParseMac(const std::string& text, std::array<uint8_t, 6>* out) {
  unsigned v[6];
  char tail;
  if (std::sscanf(text.c_str(), "%x:%x:%x:%x:%x:%x%c", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                  &tail) != 6)
    return false;
  for (int i = 0; i < 6; ++i) {
    if (v[i] > 255) return false;
    (*out)[static_cast<size_t>(i)] = static_cast<uint8_t>(v[i]);
  }
  return true;
}

std::string Field(const uint8_t* p, size_t offset) {
  const char* text = reinterpret_cast<const char*>(p + offset);
  return std::string(text, strnlen(text, 16));
}

// The network namespace the test created: its inode, as the harness recorded it.
bool InTestNamespace(std::string* error) {
  const char* want = std::getenv("OST_SEARCH_NETNS");
  struct stat st {};
  if (!want || stat("/proc/self/ns/net", &st) != 0 ||
      std::to_string(static_cast<unsigned long long>(st.st_ino)) != want) {
    *error = "the search responder runs only in the test's own network namespace (OST_SEARCH_NETNS)";
    return false;
  }
  return true;
}

}  // namespace

bool ParseSearchDevice(const std::string& spec, SearchDevice* out, std::string* error) {
  SearchDevice d;
  std::stringstream items(spec);
  std::string item;
  while (std::getline(items, item, ',')) {
    const size_t eq = item.find('=');
    const std::string key = item.substr(0, eq), value = eq == std::string::npos ? "" : item.substr(eq + 1);
    bool ok = true;
    if (key == "type")
      d.type = static_cast<uint8_t>(std::atoi(value.c_str()));
    else if (key == "mac")
      ok = ParseMac(value, &d.mac);
    else if (key == "ip")
      ok = ParseDotted(value, &d.ip);
    else if (key == "mask")
      ok = ParseDotted(value, &d.mask);
    else if (key == "gateway")
      ok = ParseDotted(value, &d.gateway);
    else if (key == "dns")
      ok = ParseDotted(value, &d.dns);
    else if (key == "port")
      d.port = static_cast<uint16_t>(std::atoi(value.c_str()));
    else if (key == "user")
      d.user = value;
    else if (key == "password")
      d.password = value;
    else if (key == "dhcp")
      d.dhcp = value == "1";
    else if (key == "silent")
      d.silent = value == "1";
    else if (key == "delay")
      d.delay_ms = std::atoi(value.c_str());
    else
      ok = false;
    if (!ok) {
      *error = "search device: bad item '" + item + "'";
      return false;
    }
  }
  *out = d;
  return true;
}

SearchResponder::~SearchResponder() { Stop(); }

bool SearchResponder::Start(std::vector<SearchDevice> devices, uint16_t port, uint16_t reply_port,
                            std::string* error) {
  if (!InTestNamespace(error)) return false;
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_ANY);
  if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      pipe2(stop_pipe_, O_CLOEXEC) != 0) {
    *error = "search responder: cannot bind UDP port " + std::to_string(port);
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    return false;
  }
  devices_ = devices;
  factory_ = std::move(devices);
  reply_port_ = reply_port;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void SearchResponder::Stop() {
  if (!thread_.joinable()) return;
  const char c = 0;
  (void)!write(stop_pipe_[1], &c, 1);
  thread_.join();
  close(fd_);
  close(stop_pipe_[0]);
  close(stop_pipe_[1]);
  fd_ = -1;
}

void SearchResponder::Run() {
  while (true) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    uint8_t packet[128];
    sockaddr_in from{};
    socklen_t from_len = sizeof from;
    const ssize_t n = recvfrom(fd_, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), &from_len);
    if (n != static_cast<ssize_t>(kPacketSize)) continue;  // not a search datagram
    Answer(packet, from.sin_addr.s_addr);
  }
}

void SearchResponder::Answer(const uint8_t* request, uint32_t from_ip) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(reply_port_);
  to.sin_addr.s_addr = from_ip;
  const auto send = [&](const uint8_t* reply) {
    sendto(fd_, reply, kPacketSize, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  };
  const std::string command = Field(request, 0);
  std::lock_guard lock(mu_);
  if (command == "QX_SEARCH") {
    for (const SearchDevice& d : devices_) {
      if (d.delay_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(d.delay_ms));
      uint8_t reply[kPacketSize] = {};
      std::memcpy(reply, "QX_SEARCH", 9);
      reply[16] = 1;
      reply[kTypeOffset] = d.type;
      std::memcpy(reply + kMacOffset, d.mac.data(), 6);
      std::memcpy(reply + kIpOffset, d.ip.data(), 4);
      std::memcpy(reply + kMaskOffset, d.mask.data(), 4);
      std::memcpy(reply + kGatewayOffset, d.gateway.data(), 4);
      std::memcpy(reply + kDnsOffset, d.dns.data(), 4);
      reply[kPortOffset] = static_cast<uint8_t>(d.port & 0xFF);
      reply[kPortOffset + 1] = static_cast<uint8_t>(d.port >> 8);
      send(reply);
    }
    return;
  }
  const bool setIp = command == "QX_SET_IP";
  if (!setIp && command != "QX_RESET") return;
  for (size_t i = 0; i < devices_.size(); ++i) {
    SearchDevice& d = devices_[i];
    if (std::memcmp(d.mac.data(), request + kMacOffset, 6) != 0) continue;
    if (d.silent) return;
    uint8_t reply[kPacketSize];
    std::memcpy(reply, request, kPacketSize);
    if (Field(request, kUserOffset) != d.user || Field(request, kPasswordOffset) != d.password) {
      reply[kTypeOffset] = 0;
    } else if (d.dhcp) {
      reply[kTypeOffset] = 2;
    } else {
      reply[kTypeOffset] = 1;
      if (setIp) {
        std::memcpy(d.ip.data(), request + kIpOffset, 4);
        std::memcpy(d.mask.data(), request + kMaskOffset, 4);
        std::memcpy(d.gateway.data(), request + kGatewayOffset, 4);
        std::memcpy(d.dns.data(), request + kDnsOffset, 4);
        d.port = static_cast<uint16_t>(request[kPortOffset] | request[kPortOffset + 1] << 8);
      } else {
        d = factory_[i];
      }
    }
    send(reply);
    return;
  }
}

}  // namespace devsim
