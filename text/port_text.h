// The login window's port box: what is left of a typed text once its non-digits are dropped
// and its number is brought into 0-9999.
#pragma once

#include <cstdint>
#include <string>

struct PortBoxText {
  bool hasNumber = false;  // false: the text held no digit at all
  int32_t value = 0;       // 0 to 9999 when hasNumber
  std::string text;        // what the box shows: the number in decimal, or empty
};

// "12345" -> 9999, "0" -> 0, "08" -> 8, "8a0" -> 80, "abc" -> no number and an empty box.
PortBoxText NormalisePortText(const std::string& typed);

// A port text as the settings take it: its leading decimal digits, the low 16 bits kept.
uint16_t PortNumberOfText(const std::string& text);
