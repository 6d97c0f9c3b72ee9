#include "net/device_http_request.h"

namespace {
constexpr std::string_view kRequestLineEnd =
    " HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\n";
constexpr std::string_view kContentLength = "Content-Length: ";
constexpr std::string_view kClientLines =
    "Accept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n"
    "Host: ";
constexpr std::string_view kHeaderEnd = "\r\nConnection: Keep-Alive\r\n\r\n";
}  // namespace

bool BuildDeviceHttpRequest(std::string_view requestText, const uint8_t* body, uint32_t bodyLen,
                            std::string_view host, std::string& out) {
  out.clear();
  // The request text ends at its first zero byte.
  requestText = requestText.substr(0, requestText.find('\0'));
  std::string text;
  text.reserve(256 + requestText.size() + (body ? bodyLen : 0));
  text += "GET ";
  text += requestText;
  text += kRequestLineEnd;
  if (body) {
    text += kContentLength;
    text += std::to_string(bodyLen);
    text += "\r\n";
  }
  text += kClientLines;
  text += host.substr(0, host.find('\0'));
  text += kHeaderEnd;
  const size_t total = text.size() + (body ? static_cast<size_t>(bodyLen) : 0);
  if (total > kDeviceRequestBufferSize) return false;
  if (body) text.append(reinterpret_cast<const char*>(body), bodyLen);
  out = std::move(text);
  return true;
}
