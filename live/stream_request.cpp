#include "live/stream_request.h"

std::string BuildStreamRequest(const std::string& cookie, const std::string& localIpAddress) {
  std::string text;
  text.append("GET /Getvideo.cgi?Cookie=").append(cookie).append(" HTTP/1.1\r\n");
  text.append("Accept: */* \r\n");
  text.append("Accept-Language: zh-tw\r\n");
  text.append("Accept-Encoding: gzip, deflate\r\n");
  text.append(
      "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n");
  text.append("Host: ").append(localIpAddress).append("\r\n");
  text.append("Connection: Keep-Alive\r\n");
  text.append("\r\n");
  if (text.size() > kStreamRequestMaxBytes) return {};
  return text;
}
