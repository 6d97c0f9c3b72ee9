#include "tests/devsim/raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace devsim_test {

RawExchange Exchange(int port, const std::string& request, int timeout_ms) {
  RawExchange ex;
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<uint16_t>(port));
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    close(fd);
    ex.reset = true;
    return ex;
  }
  size_t sent = 0;
  while (sent < request.size()) {
    ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  while (true) {
    pollfd p{fd, POLLIN, 0};
    int r = poll(&p, 1, timeout_ms);
    if (r == 0) {
      ex.timed_out = true;
      break;
    }
    if (r < 0) break;
    char buf[2048];
    ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n == 0) {
      ex.closed = true;
      break;
    }
    if (n < 0) {
      ex.reset = errno == ECONNRESET;
      break;
    }
    ex.bytes.append(buf, static_cast<size_t>(n));
    ex.chunk_sizes.push_back(static_cast<size_t>(n));
  }
  close(fd);
  return ex;
}

std::string ClientRequest(const std::string& target, const std::string& body, bool with_body) {
  std::string r = "GET " + target + " HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\n";
  if (with_body || !body.empty()) r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  r += "Accept-Encoding: gzip, deflate\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows "
       "NT 5.1; SV1; .NET CLR 1.1.4322)\r\nHost: 127.0.0.1\r\nConnection: Keep-Alive\r\n\r\n";
  return r + body;
}

ParsedReply ParseReply(const std::string& bytes) {
  ParsedReply p;
  size_t end = bytes.find("\r\n\r\n");
  if (end == std::string::npos) return p;
  p.ok = true;
  p.head = bytes.substr(0, end + 4);
  p.body = bytes.substr(end + 4);
  size_t blank = p.head.find(' ');
  if (blank != std::string::npos) p.status = std::atoi(p.head.c_str() + blank + 1);
  return p;
}

}  // namespace devsim_test
