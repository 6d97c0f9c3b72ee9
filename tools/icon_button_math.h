// The owner-drawn icon button's arithmetic, without a window: colour shading, grey and darker
// copies of a colour, and where the image and the caption go inside the button.
#pragma once

#include <cstdint>

// Colours are 0x00BBGGRR.
using ButtonColour = uint32_t;

constexpr ButtonColour MakeButtonColour(int r, int g, int b) {
  return static_cast<ButtonColour>(r) | static_cast<ButtonColour>(g) << 8 |
         static_cast<ButtonColour>(b) << 16;
}
constexpr int ColourRed(ButtonColour c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int ColourGreen(ButtonColour c) {
  return static_cast<int>(c >> 8 & 0xFF);
}
constexpr int ColourBlue(ButtonColour c) {
  return static_cast<int>(c >> 16 & 0xFF);
}

// Each channel c becomes c - c * factor (truncated) for 0 < factor <= 1; any other factor
// leaves the colour unchanged.
ButtonColour DarkenColour(ButtonColour colour, double factor);
// g = 0.299 R + 0.587 G + 0.114 B, truncated, as RGB(g, g, g).
ButtonColour GreyColour(ButtonColour colour);
// Adds one step to all three channels, the largest (for a positive shade) or smallest (for a
// negative one) that keeps each channel within 0..255, at most the shade itself.  False for a
// shade outside -255..255.
bool ShiftColour(ButtonColour& colour, int shade);

struct ButtonRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ButtonRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct ImagePlacementInput {
  ButtonRect item;  // the button's rectangle
  int imageWidth = 0;
  int imageHeight = 0;
  int marginX = 3;
  int marginY = 3;
  int alignment = 0;  // 0 left of the caption, 1 above, 2 right, 3 overlapping
  bool hasCaption = false;
  bool pressedShift = false;  // drawn pressed and not in check-box mode
  int shiftX = 1;
  int shiftY = 1;
  int clientRight = 0;  // the button's client rectangle's right edge
};

// The image rectangle (its top-left is where the image is drawn); the caption rectangle, which
// starts as the item rectangle, is narrowed as the alignment says.
ButtonRect PlaceButtonImage(const ImagePlacementInput& in, ButtonRect& caption);
