#include "text/field_filter.h"

std::optional<std::string> FilterNumberText(std::string_view typed, long min, long max) {
  std::string digits;
  for (char c : typed) {
    if (c >= '0' && c <= '9') digits.push_back(c);
  }
  if (digits.empty()) return std::nullopt;
  // Leading zeros say nothing; more digits than a long holds is above every range.
  const size_t first = digits.find_first_not_of('0');
  long value = 0;
  if (first != std::string::npos) {
    if (digits.size() - first > 9) {
      value = max;
    } else {
      value = std::stol(digits.substr(first));
    }
  }
  if (value > max) value = max;
  if (value < min) value = min;
  std::string text = std::to_string(value);
  if (text == typed) return std::nullopt;
  return text;
}

std::optional<std::string> LimitFieldText(std::string_view typed, size_t maxChars) {
  if (typed.size() <= maxChars) return std::nullopt;
  return std::string(typed.substr(0, maxChars));
}
