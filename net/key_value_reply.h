// The device's text replies: items of a key, "=", a value and ";", one after the other. Keys are
// found by plain substring search, with case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class KeyValueReply {
 public:
  // Values longer than this are cut.
  static constexpr size_t kMaxValueLength = 255;

  // The text ends at its first zero byte.
  explicit KeyValueReply(std::string_view text) : m_text(text.substr(0, text.find('\0'))) {}
  KeyValueReply(const uint8_t* bytes, size_t length)
      : KeyValueReply(std::string_view(reinterpret_cast<const char*>(bytes), length)) {}

  struct Item {
    std::string_view value;  // uncut
    size_t terminator;       // position of the ";" that ends the value
  };

  // The first occurrence of key at or after from. The value starts skip characters after the key
  // (the skipped characters are not checked) and ends at the first ";" at or after the key.
  // Missing when the key is absent, no ";" follows, or the ";" comes before the value's start.
  std::optional<Item> Find(std::string_view key, size_t skip, size_t from = 0) const;

  // The value cut to kMaxValueLength characters.
  std::optional<std::string> Text(std::string_view key, size_t skip) const;
  // The value read as a decimal number (see ReplyDecimal).
  std::optional<int32_t> Number(std::string_view key, size_t skip) const;

  std::string_view text() const { return m_text; }

 private:
  std::string_view m_text;
};

// A value read as atoi reads it: leading white space, an optional sign, digits up to the first
// other character, 0 without digits. The value is taken modulo 2^32, so storing it in a narrower
// destination keeps its low bits.
int32_t ReplyDecimal(std::string_view value);
