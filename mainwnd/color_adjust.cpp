#include "mainwnd/color_adjust.h"

#include <algorithm>

#include "net/device_family.h"
#include "text/digit_text.h"

namespace {
int Clamp255(long long v) {
  return static_cast<int>(std::clamp<long long>(v, 0, 255));
}
}  // namespace

ColorFamily ColorFamilyOf(std::string_view productId, uint8_t byMultiChannel) {
  if (IsRZ2KProduct(productId) || IsRZMSeriesProduct(productId) || IsRZ8PProduct(productId))
    return ColorFamily::Shift;
  if (IsRZKSeriesProduct(productId) && IsMultiChannelDevice(byMultiChannel))
    return ColorFamily::Plain;
  return ColorFamily::Other;
}

int ShiftedColor(int v) {
  return v >= 128 ? v - 128 : v + 128;
}

ColorValues ShownColors(ColorFamily family, const ColorValues& device, const ColorValues& shown) {
  ColorValues out = shown;
  if (family == ColorFamily::Shift) {
    out.brightness = ShiftedColor(device.brightness);
    out.hue = ShiftedColor(device.hue);
  } else if (family == ColorFamily::Plain) {
    out.brightness = device.brightness;
    out.hue = device.hue;
  }
  out.contrast = device.contrast;
  return out;
}

ColorValues DeviceColors(ColorFamily family, const ColorValues& shown, const ColorValues& device) {
  ColorValues out = device;
  out.hue = ShiftedColor(shown.hue);
  if (family == ColorFamily::Shift) {
    out.brightness = ShiftedColor(shown.brightness);
  } else if (family == ColorFamily::Plain) {
    out.brightness = shown.brightness;
    out.hue = shown.hue;
  }
  out.contrast = shown.contrast;
  return out;
}

std::optional<ColorValues> DefaultColors(ColorFamily family) {
  if (family == ColorFamily::Shift) return ColorValues{175, 150, 130};
  if (family == ColorFamily::Plain) return ColorValues{128, 128, 128};
  return std::nullopt;
}

std::optional<int> SliderScrollValue(int code, int position) {
  // The slider has moved itself before it tells; Home and End carry no position of their own.
  if (code < 0 || code > 8) return std::nullopt;
  return Clamp255(position);
}

std::optional<int> TypedColorValue(std::string text) {
  if (!FilterDigitText(text, 1)) std::erase_if(text, [](char c) { return c < '0' || c > '9'; });
  if (text.empty()) return std::nullopt;
  text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
  // Four digits or more without leading zeros are at least 1000.
  if (text.size() > 3) return 255;
  return Clamp255(std::stoi(text));
}
