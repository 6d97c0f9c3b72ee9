#include "devsim/request_log.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "devsim/config_blocks.h"

namespace devsim {

std::string JsonBytes(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (unsigned char c : bytes) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

std::string FormatLogLine(const LogEntry& e, uint64_t seq) {
  std::string out = "{\"seq\":" + std::to_string(seq) + ",\"t_ms\":" + std::to_string(e.t_ms) +
                    ",\"conn\":" + std::to_string(e.conn);
  if (e.head) {
    out += ",\"method\":" + JsonBytes(e.head->method);
    out += ",\"path\":" + JsonBytes(e.head->path);
    out += ",\"target\":" + JsonBytes(e.head->target);
    out += ",\"params\":[";
    for (size_t i = 0; i < e.head->params.size(); ++i) {
      if (i) out += ',';
      out +=
          "[" + JsonBytes(e.head->params[i].name) + "," + JsonBytes(e.head->params[i].value) + "]";
    }
    out += "]";
  }
  out += ",\"body_len\":" + std::to_string(e.body.size());
  // Firmware parts run to megabytes: the log keeps their first 64 KiB.
  out += ",\"body_hex\":\"" +
         ToHex(reinterpret_cast<const uint8_t*>(e.body.data()), std::min<size_t>(e.body.size(), 65536)) + "\"";
  out += ",\"head\":" + JsonBytes(e.raw_head);
  out += ",\"status\":" + (e.status ? std::to_string(*e.status) : std::string("null"));
  out += ",\"reply_len\":" + std::to_string(e.reply_body_length);
  out += ",\"faults\":[";
  for (size_t i = 0; i < e.faults.size(); ++i) {
    if (i) out += ',';
    out += JsonBytes(e.faults[i]);
  }
  out += "]";
  if (!e.error.empty()) out += ",\"error\":" + JsonBytes(e.error);
  if (!e.decoded.empty()) out += ",\"decoded\":" + JsonBytes(e.decoded);
  out += "}";
  return out;
}

RequestLog::~RequestLog() {
  if (file_) std::fclose(file_);
}

bool RequestLog::Open(const std::string& path, std::string* error) {
  file_ = std::fopen(path.c_str(), "w");
  if (!file_) {
    *error = "cannot open log " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void RequestLog::Write(const LogEntry& entry) {
  std::lock_guard lock(mu_);
  if (!file_) return;
  std::string line = FormatLogLine(entry, ++seq_) + "\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace devsim
