#include "tests/devsim/stream_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "tests/devsim/raw_http.h"

namespace devsim_test {

StreamClient::StreamClient(int port, const std::string& cookie) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<uint16_t>(port));
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ < 0 || connect(fd_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    Close();
    return;
  }
  std::string request = ClientRequest("/Getvideo.cgi?Cookie=" + cookie);
  if (send(fd_, request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    Close();
  }
}

StreamClient::~StreamClient() {
  Close();
}

void StreamClient::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool StreamClient::ReadSome(Clock::time_point deadline) {
  if (fd_ < 0 || eof_ || reset_) return false;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() < 0) return false;
  pollfd p{fd_, POLLIN, 0};
  int r = poll(&p, 1, static_cast<int>(left.count()));
  if (r <= 0) return false;
  char buf[65536];
  ssize_t n = recv(fd_, buf, sizeof buf, 0);
  if (n == 0) {
    eof_ = true;
    return false;
  }
  if (n < 0) {
    reset_ = errno == ECONNRESET;
    eof_ = !reset_;
    return false;
  }
  pending_.append(buf, static_cast<size_t>(n));
  read_ends_.push_back(taken_ + pending_.size());
  last_read_ = Clock::now();
  return true;
}

bool StreamClient::Fill(size_t n, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (pending_.size() < n) {
    if (!ReadSome(deadline)) return false;
  }
  return true;
}

std::optional<std::string> StreamClient::Take(size_t n, int timeout_ms) {
  if (!Fill(n, timeout_ms)) return std::nullopt;
  std::string out = pending_.substr(0, n);
  pending_.erase(0, n);
  taken_ += n;
  return out;
}

std::optional<StreamFrame> StreamClient::NextFrame(int layout, bool counts_header, int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  StreamFrame frame;
  while (ParseStreamHeader(pending_, layout, counts_header, &frame.header) != ParseResult::kOk) {
    if (!ReadSome(deadline)) return std::nullopt;
  }
  size_t whole = frame.header.length + static_cast<size_t>(frame.header.payload);
  while (pending_.size() < whole) {
    if (!ReadSome(deadline)) return std::nullopt;
  }
  frame.picture = pending_.substr(frame.header.length, static_cast<size_t>(frame.header.payload));
  frame.offset = taken_;
  frame.arrived = last_read_;
  pending_.erase(0, whole);
  taken_ += whole;
  return frame;
}

bool StreamClient::WaitForEnd(int timeout_ms) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!ended()) {
    if (!ReadSome(deadline) && !ended()) return false;
  }
  return true;
}

}  // namespace devsim_test
