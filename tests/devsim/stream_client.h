// A test client of "/Getvideo.cgi": sends the client's request over loopback and cuts what
// arrives into frames with the test's own reader.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/devsim/stream_reader.h"

namespace devsim_test {

using Clock = std::chrono::steady_clock;

struct StreamFrame {
  StreamHeader header;
  std::string picture;
  uint64_t offset = 0;  // of the header's first byte in the stream
  Clock::time_point arrived;
};

class StreamClient {
 public:
  // Connects to 127.0.0.1:port and sends "GET /Getvideo.cgi?Cookie=<cookie>" as the client does.
  StreamClient(int port, const std::string& cookie);
  ~StreamClient();
  StreamClient(const StreamClient&) = delete;
  StreamClient& operator=(const StreamClient&) = delete;

  bool connected() const { return fd_ >= 0; }

  // The next frame, read with this layout; nullopt when it does not arrive whole in timeout_ms.
  std::optional<StreamFrame> NextFrame(int layout, bool counts_header = false,
                                       int timeout_ms = 5000);
  // The next n bytes; nullopt when they do not arrive in timeout_ms.
  std::optional<std::string> Take(size_t n, int timeout_ms = 5000);
  // Bytes received and not taken yet.
  const std::string& pending() const { return pending_; }
  // Reads until at least n bytes are pending; false on time-out, end or error.
  bool Fill(size_t n, int timeout_ms = 5000);

  // Waits for the end of the stream: true when the peer closed (or reset) within timeout_ms.
  // Bytes that arrive meanwhile stay pending.
  bool WaitForEnd(int timeout_ms);
  bool ended() const { return eof_ || reset_; }
  bool was_reset() const { return reset_; }

  // Stream offsets at which a read ended.
  const std::vector<uint64_t>& read_ends() const { return read_ends_; }
  uint64_t offset() const { return taken_; }

  void Close();

 private:
  bool ReadSome(Clock::time_point deadline);

  int fd_ = -1;
  std::string pending_;
  uint64_t taken_ = 0;  // stream offset of pending_[0]
  std::vector<uint64_t> read_ends_;
  Clock::time_point last_read_;
  bool eof_ = false;
  bool reset_ = false;
};

}  // namespace devsim_test
