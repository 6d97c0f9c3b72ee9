// Where the frame splitter gets the stream's bytes from, and what it tells about them.
#pragma once

#include <cstdint>

class FrameStreamSource {
 public:
  static constexpr int kReadFailed = -1;   // time-out, socket error or connection closed
  static constexpr int kReadStopped = -2;  // the session is being stopped

  virtual ~FrameStreamSource() = default;

  // Reads at most size (at least 1) bytes into buffer: their number, or kReadFailed or
  // kReadStopped.
  virtual int Read(uint8_t* buffer, uint32_t size) = 0;
  // At the start of every header search.
  virtual void OnFrameSearch() {}
  // Bytes received for a frame whose start was accepted: the whole start chunk (header and
  // carried bytes included), then each body read.
  virtual void OnReceivedBytes(uint32_t /*count*/) {}
};
