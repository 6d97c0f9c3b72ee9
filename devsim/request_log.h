// The request log: one JSON object per line, written and flushed before the reply goes out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/http_request.h"

namespace devsim {

struct LogEntry {
  int64_t t_ms = 0;  // wall clock, ms since 1970, when the request was complete
  uint64_t conn = 0;
  std::string raw_head;               // the request head byte for byte (or the bytes received)
  const RequestHead* head = nullptr;  // null when the head could not be parsed
  std::string_view body;
  std::optional<int> status;  // unset: no reply was sent
  size_t reply_body_length = 0;
  std::vector<std::string> faults;
  std::string error;
  std::string decoded;  // the handler's reading of the request
};

// A JSON string literal of raw bytes: byte b becomes code point U+00bb (read it back as Latin-1).
std::string JsonBytes(std::string_view bytes);

// The JSON line of an entry with its sequence number (no trailing newline).
std::string FormatLogLine(const LogEntry& entry, uint64_t seq);

class RequestLog {
 public:
  ~RequestLog();
  bool Open(const std::string& path, std::string* error);
  void Write(const LogEntry& entry);

 private:
  std::mutex mu_;
  std::FILE* file_ = nullptr;
  uint64_t seq_ = 0;
};

int64_t NowMs();

}  // namespace devsim
