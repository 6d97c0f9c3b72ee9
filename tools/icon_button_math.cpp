#include "tools/icon_button_math.h"

#include <algorithm>

ButtonColour DarkenColour(ButtonColour colour, double factor) {
  if (!(factor > 0.0 && factor <= 1.0)) return colour;
  auto darken = [factor](int c) { return static_cast<int>(c - c * factor); };
  return MakeButtonColour(darken(ColourRed(colour)), darken(ColourGreen(colour)),
                          darken(ColourBlue(colour)));
}

ButtonColour GreyColour(ButtonColour colour) {
  const int g = static_cast<int>(0.299 * ColourRed(colour) + 0.587 * ColourGreen(colour) +
                                 0.114 * ColourBlue(colour));
  return MakeButtonColour(g, g, g);
}

bool ShiftColour(ButtonColour& colour, int shade) {
  if (shade < -255 || shade > 255) return false;
  const int channels[] = {ColourRed(colour), ColourGreen(colour), ColourBlue(colour)};
  int step = shade;
  for (int c : channels) {
    if (shade > 0)
      step = std::min(step, c + shade > 255 ? 255 - c : shade);
    else
      step = std::max(step, c + shade < 0 ? -c : shade);
  }
  colour = MakeButtonColour(channels[0] + step, channels[1] + step, channels[2] + step);
  return true;
}

ButtonRect PlaceButtonImage(const ImagePlacementInput& in, ButtonRect& caption) {
  ButtonRect image = in.item;
  const int W = in.item.Width(), H = in.item.Height();
  const int w = in.imageWidth, h = in.imageHeight;
  switch (in.alignment) {
    case 0:
      if (in.hasCaption) {
        image.left += in.marginX;
        caption.left += w + in.marginX;
      } else {
        image.left += (W - w) / 2;
      }
      image.top += (H - h) / 2;
      break;
    case 1:
      image.left += (W - w) / 2;
      if (in.hasCaption) {
        image.top = in.marginY;
        caption.top += h;
      } else {
        image.top += (H - h) / 2;
      }
      break;
    case 2:
      if (in.hasCaption) {
        caption.right = caption.Width() - w - in.marginX;
        caption.left = in.marginX;
        image.left = in.clientRight - w - in.marginX;
      } else {
        image.left += (W - w) / 2;
      }
      image.top += (H - h) / 2;
      break;
    default:
      break;
  }
  if (in.pressedShift) {
    image.left += in.shiftX;
    image.right += in.shiftX;
    image.top += in.shiftY;
    image.bottom += in.shiftY;
  }
  return image;
}
