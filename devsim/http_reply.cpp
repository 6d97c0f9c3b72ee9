#include "devsim/http_reply.h"

#include <algorithm>

namespace devsim {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 202:
      return "Accepted";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 405:
      return "Method Not Allowed";
    case 500:
      return "Internal Server Error";
    case 503:
      return "Service Unavailable";
    default:
      return "Status";
  }
}

std::string FormatReplyHead(const Reply& reply, const Delivery& delivery) {
  std::string head =
      "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) + "\r\n";
  bool with_length = reply.status == 200 || !reply.body.empty() || delivery.announced_length;
  if (with_length) {
    uint64_t n = delivery.announced_length ? *delivery.announced_length : reply.body.size();
    switch (delivery.length_style) {
      case LengthStyle::kNormal:
        head += "Content-Length: " + std::to_string(n) + "\r\n";
        break;
      case LengthStyle::kLowerCase:
        head += "content-length: " + std::to_string(n) + "\r\n";
        break;
      case LengthStyle::kNoBlank:
        head += "Content-Length:" + std::to_string(n) + "\r\n";
        break;
      case LengthStyle::kMissing:
        break;
    }
  }
  head += "\r\n";
  return head;
}

std::string WireBody(const Reply& reply, const Delivery& delivery) {
  std::string body = reply.body;
  if (delivery.pad_to_announced && delivery.announced_length &&
      *delivery.announced_length > body.size()) {
    body.resize(static_cast<size_t>(*delivery.announced_length), 'X');
  }
  if (delivery.cut_body_after && *delivery.cut_body_after < body.size()) {
    body.resize(*delivery.cut_body_after);
  }
  return body;
}

std::vector<std::string> SplitIntoPieces(std::string_view text, int pieces) {
  std::vector<std::string> out;
  if (text.empty()) return out;
  size_t n = static_cast<size_t>(std::max(1, pieces));
  n = std::min(n, text.size());
  size_t base = text.size() / n, extra = text.size() % n, pos = 0;
  for (size_t i = 0; i < n; ++i) {
    size_t len = base + (i < extra ? 1 : 0);
    out.emplace_back(text.substr(pos, len));
    pos += len;
  }
  return out;
}

std::string PadReplyHead(std::string head, size_t min_size) {
  static constexpr std::string_view kName = "X-Pad: ";
  if (head.size() >= min_size) return head;
  size_t filler = min_size - head.size();
  size_t fill = filler > kName.size() + 2 ? filler - kName.size() - 2 : 1;
  std::string line = std::string(kName) + std::string(fill, 'x') + "\r\n";
  size_t status_end = head.find("\r\n") + 2;
  head.insert(status_end, line);
  return head;
}

}  // namespace devsim
