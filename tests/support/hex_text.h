// Bytes written as hexadecimal text for test expectations and messages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// "02 05 08": upper-case pairs separated by spaces.
std::string SpacedHex(std::string_view bytes);
std::string SpacedHex(const std::vector<uint8_t>& bytes);
// "020508" in lower case.
std::string CompactHex(std::string_view bytes);

}  // namespace testsupport
