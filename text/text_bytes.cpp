#include "text/text_bytes.h"

#include <algorithm>
#include <cstring>

namespace {
char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

void UpperInPlace(std::string& s) {
  std::transform(s.begin(), s.end(), s.begin(), UpperAscii);
}

unsigned NibbleOf(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 'A' ? code - 55u : code - 48u;
}

uint8_t PairToByte(char high, char low) {
  return static_cast<uint8_t>((NibbleOf(high) << 4) + NibbleOf(low));
}

bool IsHexDigitUpper(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Decimal value of the front of piece as the C library's atoi reads it (blanks, sign, digits),
// kept modulo 2^32 so that its low bits are exact for any length.
uint32_t LeadingDecimal(const std::string& piece) {
  size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || (piece[i] >= '\t' && piece[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) negative = piece[i++] == '-';
  uint32_t value = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(piece[i] - '0');
  return negative ? 0u - value : value;
}
}  // namespace

int HexStringToBytes(std::string text, uint8_t* out, size_t outSize, char separator) {
  std::erase(text, separator);
  UpperInPlace(text);
  const size_t pairs = std::min(text.size() / 2, outSize);
  for (size_t i = 0; i < pairs; ++i) out[i] = PairToByte(text[2 * i], text[2 * i + 1]);
  return 1;
}

int SplitToNumbers(std::string text, uint8_t* out, size_t outSize, const char* delimiters) {
  std::memset(out, 0, outSize);
  const std::string_view delims(delimiters);
  size_t stored = 0;
  bool anyPiece = false;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = text.find_first_not_of(delims, pos);
    if (start == std::string::npos) break;
    size_t end = text.find_first_of(delims, start);
    if (end == std::string::npos) end = text.size();
    anyPiece = true;
    if (stored < outSize)
      out[stored++] = static_cast<uint8_t>(LeadingDecimal(text.substr(start, end - start)));
    pos = end;
  }
  return anyPiece ? 1 : 0;
}

int CheckMacString(std::string text, uint8_t* out) {
  if (out == nullptr || text.size() != 12) return 0;
  UpperInPlace(text);
  std::memset(out, 0, 6);
  if (!std::all_of(text.begin(), text.end(), IsHexDigitUpper)) return 0;
  for (size_t i = 0; i < 6; ++i) out[i] = PairToByte(text[2 * i], text[2 * i + 1]);
  return 1;
}
