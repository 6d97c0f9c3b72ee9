// The colour dialog's values: the device's brightness and hue shown shifted by 128 for some
// families, the defaults, slider steps and typed numbers, all on the 0-255 scale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class ColorFamily {
  Shift,  // RZ2K, RZ5M/RZ6M/RZ7M and RZ8P: brightness and hue are signed on the device
  Plain,  // RZ1K/RZ3K/RZ4K with MULTICH set
  Other,
};
ColorFamily ColorFamilyOf(std::string_view productId, uint8_t byMultiChannel);

struct ColorValues {
  int brightness, contrast, hue;
};

// The shift by 128 modulo 256.
int ShiftedColor(int v);

// What the dialog shows for the device's values; `shown` holds the values of other families.
ColorValues ShownColors(ColorFamily family, const ColorValues& device, const ColorValues& shown);
// What OK sends for the shown values; `device` holds the values a family keeps.
ColorValues DeviceColors(ColorFamily family, const ColorValues& shown, const ColorValues& device);
// The Default button's values; nothing for other families.
std::optional<ColorValues> DefaultColors(ColorFamily family);

// A slider's new value for a WM_HSCROLL code (line, page, thumb, Home, End, end of track): the
// slider's own position, clamped to 0-255; nothing for other codes.
std::optional<int> SliderScrollValue(int code, int position);
// A typed number: its digits read as decimal and clamped to 0-255; nothing for a text without
// digits (the value stays).
std::optional<int> TypedColorValue(std::string text);
