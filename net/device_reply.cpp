#include "net/device_reply.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

namespace {
constexpr std::string_view kHeaderEnd = "\r\n\r\n";
constexpr std::string_view kContentLengthKey = "CONTENT-LENGTH";
constexpr size_t kMaxNumberText = 127;

bool IsCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string UpperCopy(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

int32_t ClampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}
}  // namespace

size_t FindReplyHeaderEnd(std::string_view received) {
  const size_t pos = received.find(kHeaderEnd);
  return pos == std::string_view::npos ? pos : pos + kHeaderEnd.size();
}

int64_t ParseLeadingDecimal(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const int digit = text[i] - '0';
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
  }
  return negative ? -value : value;
}

ReplyHeader ParseReplyHeader(std::string_view header) {
  ReplyHeader parsed;
  const std::string upper = UpperCopy(header);
  const std::string_view text(upper);

  const size_t firstBlank = text.find(' ');
  if (firstBlank != std::string_view::npos) {
    const size_t start = firstBlank + 1;
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const size_t len = std::min(end - start, kMaxNumberText);
    parsed.status = ClampToInt32(ParseLeadingDecimal(text.substr(start, len)));
  }

  const size_t key = text.find(kContentLengthKey);
  if (key != std::string_view::npos) {
    parsed.hasContentLength = true;
    size_t start = key + kContentLengthKey.size();
    while (start < text.size() && (text[start] == ':' || text[start] == ' ' || text[start] == '\t'))
      ++start;
    size_t end = text.find("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const size_t len = std::min(end - start, kMaxNumberText);
    parsed.contentLength = ParseLeadingDecimal(text.substr(start, len));
  }
  return parsed;
}

DeviceReplyResult ReadDeviceReply(const ReplyReceiveFn& receive, uint8_t* reply,
                                  uint32_t replyCapacity,
                                  const std::function<void()>& onStatus200) {
  DeviceReplyResult out;
  uint8_t buffer[kDeviceReplyBufferSize];
  size_t received = 0;
  size_t headerEnd = std::string_view::npos;

  for (int reads = 0; reads < kMaxReplyHeaderReads; ++reads) {
    const size_t space = sizeof buffer - received;
    if (space == 0) return out;
    const int32_t ask = static_cast<int32_t>(std::min<size_t>(kReplyReadChunk, space));
    const int32_t got = receive(buffer + received, ask);
    if (got <= 0 || got > ask) return out;
    // Only the last read and the three bytes before it can complete the header end.
    const size_t from = received >= 3 ? received - 3 : 0;
    received += static_cast<size_t>(got);
    const size_t end = FindReplyHeaderEnd(
        std::string_view(reinterpret_cast<const char*>(buffer) + from, received - from));
    if (end != std::string_view::npos) {
      headerEnd = from + end;
      break;
    }
  }
  if (headerEnd == std::string_view::npos) return out;

  const ReplyHeader header =
      ParseReplyHeader(std::string_view(reinterpret_cast<const char*>(buffer), headerEnd));
  out.statusReceived = true;
  out.status = header.status;
  if (header.status != 200) return out;

  if (onStatus200) onStatus200();

  const int64_t length = header.hasContentLength ? header.contentLength : 0;
  if (length < 0) return out;
  if (length == 0 || !reply) {
    out.result = 1;
    out.bodyComplete = true;
    return out;
  }
  if (length > static_cast<int64_t>(replyCapacity) ||
      length > static_cast<int64_t>(kDeviceReplyBufferSize))
    return out;

  const uint32_t want = static_cast<uint32_t>(length);
  const uint32_t already =
      static_cast<uint32_t>(std::min<size_t>(received - headerEnd, static_cast<size_t>(want)));
  std::memcpy(reply, buffer + headerEnd, already);
  out.result = 1;
  out.bodyLen = already;
  while (out.bodyLen < want) {
    const int32_t ask = static_cast<int32_t>(want - out.bodyLen);
    const int32_t got = receive(reply + out.bodyLen, ask);
    if (got <= 0 || got > ask) return out;
    out.bodyLen += static_cast<uint32_t>(got);
  }
  out.bodyComplete = true;
  return out;
}
