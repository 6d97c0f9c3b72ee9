// A raw HTTP client for the tests: sends exact bytes to 127.0.0.1 and records what comes back.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace devsim_test {

struct RawExchange {
  std::string bytes;                // everything received
  std::vector<size_t> chunk_sizes;  // size of each successful read
  bool closed = false;              // the peer closed (EOF)
  bool reset = false;               // the connection was reset
  bool timed_out = false;           // nothing more within the time-out, still open
};

// Connects, sends `request`, reads until the peer closes or nothing comes for timeout_ms.
RawExchange Exchange(int port, const std::string& request, int timeout_ms = 5000);

// The request exactly as the client frames it.
std::string ClientRequest(const std::string& target, const std::string& body = "",
                          bool with_body = false);

struct ParsedReply {
  bool ok = false;  // a head ending in CR LF CR LF was found
  int status = 0;
  std::string head;  // through the blank line
  std::string body;  // everything after the head
};
ParsedReply ParseReply(const std::string& bytes);

}  // namespace devsim_test
