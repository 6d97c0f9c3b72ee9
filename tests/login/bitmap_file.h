// Small 24-bit .bmp files for tests: a solid colour, or one colour in the top-left corner.
#pragma once

#include <windows.h>

#include <string>

namespace logintest {

// width x height of `colour`; the top-left cornerWidth x cornerHeight in `corner` (0: none).
bool WriteBitmapFile(const std::string& path, int width, int height, COLORREF colour,
                     int cornerWidth = 0, int cornerHeight = 0, COLORREF corner = 0);

}  // namespace logintest
