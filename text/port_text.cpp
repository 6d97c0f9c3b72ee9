#include "text/port_text.h"

#include "text/digit_text.h"

namespace {
constexpr int32_t kPortBoxMax = 9999;
}

PortBoxText NormalisePortText(const std::string& typed) {
  std::string digits = typed;
  if (!FilterDigitText(digits, 1)) {
    // Longer than the filter takes: the same rule, character by character.
    digits.clear();
    for (char c : typed)
      if (c >= '0' && c <= '9') digits += c;
  }
  PortBoxText result;
  if (digits.empty()) return result;
  int32_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > kPortBoxMax) {
      value = kPortBoxMax;
      break;
    }
  }
  result.hasNumber = true;
  result.value = value;
  result.text = std::to_string(value);
  return result;
}

uint16_t PortNumberOfText(const std::string& text) {
  uint32_t value = 0;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + static_cast<uint32_t>(text[i] - '0');
  return static_cast<uint16_t>(value);
}
