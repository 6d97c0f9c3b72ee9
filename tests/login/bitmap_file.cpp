#include "tests/login/bitmap_file.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace logintest {
namespace {
void Put16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, static_cast<uint16_t>(v));
  Put16(b, static_cast<uint16_t>(v >> 16));
}
}  // namespace

bool WriteBitmapFile(const std::string& path, int width, int height, COLORREF colour,
                     int cornerWidth, int cornerHeight, COLORREF corner) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + pixelBytes);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, pixelBytes);
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int row = height - 1; row >= 0; --row) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      const COLORREF c = (x < cornerWidth && row < cornerHeight) ? corner : colour;
      b.push_back(GetBValue(c));
      b.push_back(GetGValue(c));
      b.push_back(GetRValue(c));
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) b.push_back(0);
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
  return static_cast<bool>(out);
}

}  // namespace logintest
