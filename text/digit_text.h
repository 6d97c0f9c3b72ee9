// Digit texts of edit fields, file names and status lines.
#pragma once

#include <cstdint>
#include <string>

// Keeps only the digits of text (mode 1); mode 0 also keeps one leading '-' taken while
// nothing has been kept yet. Returns 1, or 0 leaving text unchanged when it is longer than 255.
int FilterDigitText(std::string& text, uint8_t mode);

// The remainder of n divided by 100 (with n's sign), as "%d" when it is 10 or more and as
// "0%d" otherwise: 7 -> "07", 2007 -> "07", 45 -> "45".
std::string FormatTwoDigits(int n);
