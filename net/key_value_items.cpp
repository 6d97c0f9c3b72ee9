#include "net/key_value_items.h"

#include "net/key_value_reply.h"

namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::string_view> KeyValueItem(std::string_view reply, std::string_view key) {
  reply = reply.substr(0, reply.find('\0'));
  size_t pos = 0;
  while (pos < reply.size()) {
    const size_t end = reply.find(';', pos);
    if (end == std::string_view::npos) break;
    const std::string_view item = reply.substr(pos, end - pos);
    pos = end + 1;
    const size_t eq = item.find('=');
    if (eq == std::string_view::npos) continue;
    if (Trim(item.substr(0, eq)) == key) return item.substr(eq + 1);
  }
  return std::nullopt;
}

std::optional<int> KeyValueItemNumber(std::string_view reply, std::string_view key) {
  const auto value = KeyValueItem(reply, key);
  if (!value) return std::nullopt;
  return ReplyDecimal(*value);
}
