// What a PTZ camera is sent: the hot-point cell of a click on the picture and its packet, and the
// select and leave bodies of PTZ control.  Bodies are in the RS-485 command frame: the count of
// command bytes, the command bytes, the repeat byte and 0x32.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct PictureRect {
  int32_t left, top, right, bottom;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
};

inline constexpr int kHotPointColumns = 16;
inline constexpr int kHotPointRows = 12;

// A click turned into a cell of the 16 x 12 grid and the spot the renderer marks.
struct HotPointAim {
  uint8_t cell;  // column in the low four bits, row in the high four
  uint16_t spotX, spotY;
};

// picture: the rectangle the picture is drawn in (the full-screen rectangle in full screen, else
// the layout's video rectangle); video: the layout's video rectangle.  Nothing for a click
// outside the picture, or within 8 pixels of its edge in full screen.
std::optional<HotPointAim> AimHotPoint(const PictureRect& picture, const PictureRect& video,
                                       int32_t x, int32_t y, bool fullScreen);

// The hot-point packet for the model row of the current control device: 8 bytes for row 8, 10
// bytes with a checksum for rows 11, 18 and 25, three zero bytes for any other row.
std::vector<uint8_t> HotPointPacket(uint32_t modelRow, uint8_t address, uint8_t levelCode,
                                    uint8_t cell);

// Selects camera 1-16 on the device's PTZ control; nothing for other numbers.
std::optional<std::vector<uint8_t>> PtzSelectBody(int camera);
std::vector<uint8_t> PtzLeaveBody();
