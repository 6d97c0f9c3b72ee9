// Uncompressed 24-bit BMP files (BITMAPFILEHEADER + BITMAPINFOHEADER, bottom-up rows padded to
// four bytes), the form the program loads its skin from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "res/skin/canvas.h"

std::vector<std::uint8_t> EncodeBmp24(const Canvas& canvas);

struct BmpCheck {
  bool valid = false;
  std::string problem;  // why not, when not valid
  std::int32_t width = 0;
  std::int32_t height = 0;  // rows; negative in the file for a top-down picture
};

// Checks that bytes hold a whole uncompressed 24-bit BMP and reads its size.
BmpCheck CheckBmp24(const std::vector<std::uint8_t>& bytes);
