#include "mainwnd/ptz_packets.h"

namespace {

// Grid lines origin + k * step (k = 1..lines) strictly before v, at most lines - 1.
int CellIndex(int32_t origin, int32_t step, int lines, int32_t v) {
  int n = 0;
  for (int k = 1; k <= lines; ++k)
    if (static_cast<int64_t>(origin) + static_cast<int64_t>(k) * step < v) ++n;
  return n < lines ? n : lines - 1;
}

uint16_t Scale(int32_t offset, int32_t to, int32_t from) {
  return static_cast<uint16_t>(static_cast<int64_t>(offset) * to / from);
}

}  // namespace

std::optional<HotPointAim> AimHotPoint(const PictureRect& picture, const PictureRect& video,
                                       int32_t x, int32_t y, bool fullScreen) {
  const int32_t margin = fullScreen ? 8 : 0;
  if (!(picture.left + margin < x && x < picture.right - margin && picture.top + margin < y &&
        y < picture.bottom - margin))
    return std::nullopt;
  const int32_t sx = picture.Width() / kHotPointColumns;
  const int32_t sy = picture.Height() / kHotPointRows;
  const int column = CellIndex(picture.left, sx, kHotPointColumns, x);
  const int row = CellIndex(picture.top, sy, kHotPointRows, y);
  HotPointAim aim{};
  aim.cell = static_cast<uint8_t>(column | (row << 4));
  if (fullScreen) {
    aim.spotX = Scale(x - picture.left, video.Width(), picture.Width());
    aim.spotY = Scale(y - picture.top, video.Height(), picture.Height());
  } else {
    aim.spotX = static_cast<uint16_t>(x - video.left);
    aim.spotY = static_cast<uint16_t>(y - video.top);
  }
  return aim;
}

std::vector<uint8_t> HotPointPacket(uint32_t modelRow, uint8_t address, uint8_t levelCode,
                                    uint8_t cell) {
  if (modelRow == 8) return {5, 0xD0, address, 0x52, cell, 0, 1, 0x32};
  if (modelRow == 11 || modelRow == 18 || modelRow == 25) {
    std::vector<uint8_t> body = {7, 0xD0, address, levelCode, 0x52, cell, 0, 0, 1, 0x32};
    unsigned sum = 0;
    for (int i = 1; i <= 6; ++i) sum += body[i];
    body[7] = static_cast<uint8_t>(sum);
    return body;
  }
  return {0, 0, 0};
}

std::optional<std::vector<uint8_t>> PtzSelectBody(int camera) {
  if (camera >= 1 && camera <= 9)
    return std::vector<uint8_t>{2, 5, static_cast<uint8_t>(5 + camera), 1, 0x32};
  if (camera >= 10 && camera <= 16)
    return std::vector<uint8_t>{2, 6, static_cast<uint8_t>(camera - 5), 1, 0x32};
  return std::nullopt;
}

std::vector<uint8_t> PtzLeaveBody() {
  return {1, 0x10, 1, 0x32};
}
