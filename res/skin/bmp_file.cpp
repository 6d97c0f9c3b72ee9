#include "res/skin/bmp_file.h"

#include <cstdlib>

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;

std::uint32_t RowStride(std::uint32_t width) {
  return (width * 3 + 3) & ~3u;
}

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<std::uint8_t>(v);
  out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint16_t Get16(const std::vector<std::uint8_t>& in, std::size_t at) {
  return static_cast<std::uint16_t>(in[at] | in[at + 1] << 8);
}
std::uint32_t Get32(const std::vector<std::uint8_t>& in, std::size_t at) {
  return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8 |
         static_cast<std::uint32_t>(in[at + 2]) << 16 |
         static_cast<std::uint32_t>(in[at + 3]) << 24;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Canvas& canvas) {
  const auto width = static_cast<std::uint32_t>(canvas.Width());
  const auto height = static_cast<std::uint32_t>(canvas.Height());
  const std::uint32_t stride = RowStride(width);
  const std::uint32_t imageSize = stride * height;
  std::vector<std::uint8_t> out(kPixelOffset + imageSize, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, kPixelOffset + imageSize);
  Put32(out, 10, kPixelOffset);
  Put32(out, 14, kInfoHeaderSize);
  Put32(out, 18, width);
  Put32(out, 22, height);  // positive: bottom-up rows
  Put16(out, 26, 1);       // planes
  Put16(out, 28, 24);      // bits per pixel
  Put32(out, 30, 0);       // BI_RGB
  Put32(out, 34, imageSize);
  Put32(out, 38, 2835);  // 72 dpi
  Put32(out, 42, 2835);
  for (std::uint32_t row = 0; row < height; ++row) {
    const int y = static_cast<int>(height - 1 - row);
    std::size_t at = kPixelOffset + static_cast<std::size_t>(row) * stride;
    for (std::uint32_t x = 0; x < width; ++x) {
      const Rgb c = canvas.Get(static_cast<int>(x), y);
      out[at++] = c.b;
      out[at++] = c.g;
      out[at++] = c.r;
    }
  }
  return out;
}

BmpCheck CheckBmp24(const std::vector<std::uint8_t>& bytes) {
  BmpCheck result;
  auto fail = [&](const char* why) {
    result.problem = why;
    return result;
  };
  if (bytes.size() < kPixelOffset) return fail("shorter than the two headers");
  if (bytes[0] != 'B' || bytes[1] != 'M') return fail("no \"BM\" signature");
  if (Get32(bytes, 2) != bytes.size()) return fail("file size field differs from the file");
  const std::uint32_t offset = Get32(bytes, 10);
  if (Get32(bytes, 14) != kInfoHeaderSize) return fail("not a BITMAPINFOHEADER");
  const auto width = static_cast<std::int32_t>(Get32(bytes, 18));
  const auto height = static_cast<std::int32_t>(Get32(bytes, 22));
  if (Get16(bytes, 26) != 1) return fail("planes is not 1");
  if (Get16(bytes, 28) != 24) return fail("not 24 bits per pixel");
  if (Get32(bytes, 30) != 0) return fail("compressed");
  if (width <= 0 || height == 0 || height == INT32_MIN) return fail("empty or negative size");
  if (offset < kPixelOffset || offset > bytes.size()) return fail("pixel offset out of the file");
  const std::uint64_t need =
      static_cast<std::uint64_t>(RowStride(static_cast<std::uint32_t>(width))) *
      static_cast<std::uint64_t>(std::abs(height));
  if (bytes.size() - offset < need) return fail("pixel rows cut short");
  result.valid = true;
  result.width = width;
  result.height = height;
  return result;
}
