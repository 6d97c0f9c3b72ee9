// Whole-file text helpers for tests, portable (no windows.h).
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The file's bytes; "" when it cannot be read.
std::string ReadFileText(const std::string& path);
// The file's lines without their line ends ("\n" or "\r\n").
std::vector<std::string> ReadLines(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& text);

}  // namespace testsupport
