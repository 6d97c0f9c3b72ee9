// Reading the device's reply to one command: the header up to CR LF CR LF, the status, and a
// body whose length the header gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

inline constexpr size_t kDeviceReplyBufferSize = 4096;
inline constexpr int32_t kReplyReadChunk = 1460;
inline constexpr int kMaxReplyHeaderReads = 30;

// Position just past the first CR LF CR LF, or std::string_view::npos.
size_t FindReplyHeaderEnd(std::string_view received);

struct ReplyHeader {
  int32_t status = 0;
  bool hasContentLength = false;
  int64_t contentLength = 0;  // negative when the header gave a negative number
};

// Parses a reply header (the bytes up to its end), in any letter case: the status is the number
// between the first and the second blank; the length is the number after "CONTENT-LENGTH", its
// colon and blanks.
ReplyHeader ParseReplyHeader(std::string_view header);

// Reads a decimal number as atoi does (leading white space, an optional sign, digits up to the
// first other character, 0 without digits), saturating instead of overflowing.
int64_t ParseLeadingDecimal(std::string_view text);

// One receive of at most size bytes into buf: the count, or -1 on time-out, error or close.
using ReplyReceiveFn = std::function<int32_t(uint8_t* buf, int32_t size)>;

struct DeviceReplyResult {
  int32_t result = 0;           // 1 for status 200, else 0
  bool statusReceived = false;  // a whole header came
  int32_t status = 0;
  uint32_t bodyLen = 0;       // bytes delivered into the caller's buffer
  bool bodyComplete = false;  // every announced body byte arrived
};

// Reads one reply. The header must end within kMaxReplyHeaderReads reads and the
// kDeviceReplyBufferSize buffer. For status 200, onStatus200 runs before the body is read; then,
// when reply is given, the body is delivered into it: a body longer than replyCapacity or
// kDeviceReplyBufferSize fails (result 0) with nothing delivered; a receive failure inside the body
// ends it with result 1 and bodyComplete false. Bytes beyond the announced length are dropped.
// Nothing is written into reply on any failure.
DeviceReplyResult ReadDeviceReply(const ReplyReceiveFn& receive, uint8_t* reply,
                                  uint32_t replyCapacity, const std::function<void()>& onStatus200);
