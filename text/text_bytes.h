// Hexadecimal and dotted texts turned into bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Removes every separator, upper-cases the rest and turns each pair of characters into one
// byte (high digit first; a code of 'A' or more counts as code - 55, any other as code - 48;
// characters are not checked). A last odd character is ignored; at most outSize bytes are
// written. Returns 1.
int HexStringToBytes(std::string text, uint8_t* out, size_t outSize, char separator);

// Zero-fills outSize bytes, then stores the low 8 bits of each decimal piece of text between
// any of the delimiters (empty pieces skipped) into the next byte, at most outSize of them.
// Returns 0 when text has no piece at all, else 1.
int SplitToNumbers(std::string text, uint8_t* out, size_t outSize, const char* delimiters);

// Accepts exactly twelve hexadecimal digits (either case, no separators) into six bytes.
// Returns 1, or 0: a wrong length leaves out untouched, a bad character leaves it zeroed.
int CheckMacString(std::string text, uint8_t* out);
