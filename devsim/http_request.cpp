#include "devsim/http_request.h"

#include <cctype>

namespace devsim {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Digits only, at least one, at most kMaxBodyBytes.
std::optional<uint64_t> ParseLength(std::string_view s) {
  s = TrimBlanks(s);
  if (s.empty() || s.size() > 12) return std::nullopt;
  uint64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  return v;
}

HeadParse Invalid(std::string why) {
  HeadParse r;
  r.status = HeadStatus::kInvalid;
  r.error = std::move(why);
  return r;
}

}  // namespace

std::vector<QueryParam> SplitQuery(std::string_view query) {
  std::vector<QueryParam> out;
  if (query.empty()) return out;
  size_t start = 0;
  while (true) {
    size_t amp = query.find('&', start);
    std::string_view item =
        query.substr(start, amp == std::string_view::npos ? std::string_view::npos : amp - start);
    size_t eq = item.find('=');
    if (eq == std::string_view::npos) {
      out.push_back({std::string(item), std::string()});
    } else {
      out.push_back({std::string(item.substr(0, eq)), std::string(item.substr(eq + 1))});
    }
    if (amp == std::string_view::npos) break;
    start = amp + 1;
  }
  return out;
}

const std::string* FindParam(const std::vector<QueryParam>& params, std::string_view name) {
  for (const auto& p : params) {
    if (p.name == name) return &p.value;
  }
  return nullptr;
}

std::optional<int> SmallDecimal(std::string_view text, int hi) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v > hi) return std::nullopt;
  return v;
}

HeadParse ParseRequestHead(std::string_view received) {
  size_t end = received.find("\r\n\r\n");
  if (end == std::string_view::npos) {
    if (received.size() > kMaxHeadBytes) return Invalid("request head too long");
    return {};
  }
  if (end + 4 > kMaxHeadBytes) return Invalid("request head too long");
  std::string_view head = received.substr(0, end + 2);  // every line ends in CR LF
  HeadParse r;
  r.head.head_size = end + 4;

  size_t eol = head.find("\r\n");
  std::string_view line = head.substr(0, eol);
  size_t first_blank = line.find(' ');
  size_t last_blank = line.rfind(' ');
  if (first_blank == std::string_view::npos || last_blank == first_blank)
    return Invalid("malformed request line");
  r.head.method = std::string(line.substr(0, first_blank));
  r.head.target = std::string(line.substr(first_blank + 1, last_blank - first_blank - 1));
  r.head.version = std::string(line.substr(last_blank + 1));
  if (r.head.method.empty() || r.head.target.empty() || r.head.target.front() != '/')
    return Invalid("malformed request line");
  if (r.head.version.rfind("HTTP/", 0) != 0) return Invalid("malformed request line");

  size_t q = r.head.target.find('?');
  r.head.path = r.head.target.substr(0, q);
  if (q != std::string::npos) {
    r.head.query = r.head.target.substr(q + 1);
    r.head.params = SplitQuery(r.head.query);
  }

  size_t pos = eol + 2;
  while (pos < head.size()) {
    size_t next = head.find("\r\n", pos);
    std::string_view field = head.substr(pos, next - pos);
    pos = next + 2;
    size_t colon = field.find(':');
    if (colon == std::string_view::npos) continue;  // tolerated: not a header we read
    if (!EqualsNoCase(TrimBlanks(field.substr(0, colon)), "Content-Length")) continue;
    if (r.head.content_length) return Invalid("repeated Content-Length");
    auto len = ParseLength(field.substr(colon + 1));
    if (!len) return Invalid("bad Content-Length");
    if (*len > kMaxBodyBytes) return Invalid("body too long");
    r.head.content_length = len;
  }
  r.status = HeadStatus::kComplete;
  return r;
}

}  // namespace devsim
