#include "text/digit_text.h"

#include <cstdio>

int FilterDigitText(std::string& text, uint8_t mode) {
  if (text.size() > 255) return 0;
  std::string kept;
  for (char c : text) {
    if ((c >= '0' && c <= '9') || (mode == 0 && c == '-' && kept.empty())) kept.push_back(c);
  }
  text = std::move(kept);
  return 1;
}

std::string FormatTwoDigits(int n) {
  const int r = n % 100;
  char text[8];
  if (r >= 10) {
    std::snprintf(text, sizeof text, "%d", r);
  } else {
    std::snprintf(text, sizeof text, "0%d", r);
  }
  return text;
}
