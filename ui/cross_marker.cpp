#include "ui/cross_marker.h"

#include <cstddef>

namespace {
class FramePainter {
 public:
  FramePainter(uint8_t* pixels, int width, int height, uint32_t colour)
      : pixels_(pixels), width_(width), height_(height), colour_(colour) {}

  bool HasColumn(int col) const { return col >= 0 && col < width_; }
  bool HasRow(int row) const { return row >= 0 && row < height_; }

  void Set(int col, int row) const {
    if (!HasColumn(col) || !HasRow(row)) return;
    uint8_t* p =
        pixels_ +
        (static_cast<size_t>(row) * static_cast<size_t>(width_) + static_cast<size_t>(col)) * 3;
    p[0] = static_cast<uint8_t>(colour_);
    p[1] = static_cast<uint8_t>(colour_ >> 8);
    p[2] = static_cast<uint8_t>(colour_ >> 16);
  }

 private:
  uint8_t* pixels_;
  int width_;
  int height_;
  uint32_t colour_;
};

// Offsets 5 to 8 from the centre carry the corner legs.
bool OnCornerLeg(int offset) {
  return offset <= -5 || offset >= 5;
}
}  // namespace

int DrawCrossMarker(uint8_t* pixels, uint16_t width, uint16_t height, uint32_t colour,
                    int /*style*/, uint16_t x, uint16_t y, uint16_t /*reserved1*/,
                    uint16_t /*reserved2*/) {
  const FramePainter frame(pixels, width, height, colour);
  const int cx = x;
  const int r = static_cast<int>(height) - static_cast<int>(y);
  if (frame.HasRow(r)) {
    for (int d = -8; d <= 8; ++d) {
      const int col = cx + d;
      if (!frame.HasColumn(col)) continue;
      frame.Set(col, r - 1);
      frame.Set(col, r);
      frame.Set(col, r + 1);
      if (OnCornerLeg(d)) {
        frame.Set(col, r - 8);
        frame.Set(col, r + 8);
      }
    }
  }
  if (frame.HasColumn(cx)) {
    for (int d = -8; d <= 8; ++d) {
      const int row = r + d;
      if (!frame.HasRow(row)) continue;
      frame.Set(cx - 1, row);
      frame.Set(cx, row);
      frame.Set(cx + 1, row);
      if (OnCornerLeg(d)) {
        frame.Set(cx - 8, row);
        frame.Set(cx + 8, row);
      }
    }
  }
  return 1;
}
