#include "net/key_value_reply.h"

std::optional<KeyValueReply::Item> KeyValueReply::Find(std::string_view key, size_t skip,
                                                       size_t from) const {
  if (key.empty() || from > m_text.size()) return std::nullopt;
  const size_t at = m_text.find(key, from);
  if (at == std::string_view::npos) return std::nullopt;
  const size_t terminator = m_text.find(';', at);
  const size_t start = at + key.size() + skip;
  if (terminator == std::string_view::npos || terminator < start) return std::nullopt;
  return Item{m_text.substr(start, terminator - start), terminator};
}

std::optional<std::string> KeyValueReply::Text(std::string_view key, size_t skip) const {
  const auto item = Find(key, skip);
  if (!item) return std::nullopt;
  return std::string(item->value.substr(0, kMaxValueLength));
}

std::optional<int32_t> KeyValueReply::Number(std::string_view key, size_t skip) const {
  const auto item = Find(key, skip);
  if (!item) return std::nullopt;
  return ReplyDecimal(item->value.substr(0, kMaxValueLength));
}

int32_t ReplyDecimal(std::string_view value) {
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  uint32_t v = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    v = v * 10u + static_cast<uint32_t>(value[i] - '0');
  if (negative) v = 0u - v;
  return static_cast<int32_t>(v);
}
