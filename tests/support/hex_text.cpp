#include "tests/support/hex_text.h"

namespace testsupport {

std::string SpacedHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string SpacedHex(const std::vector<uint8_t>& bytes) {
  return SpacedHex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string CompactHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

}  // namespace testsupport
