#include "mainwnd/picture_draw.h"

#include "mainwnd/frame_overlay.h"

int DrawBgrPicture(HDC dc, int x, int y, int w, int h, int srcX, int srcY, const uint8_t* picture,
                   uint16_t width, uint16_t height, std::vector<uint8_t>& rows) {
  if (!picture || w <= 0 || h <= 0 || srcX < 0 || srcY < 0 || srcX + w > width || srcY + h > height)
    return 0;
  const size_t packed = size_t{width} * 3;
  rows.resize(size_t{width} * 4 * static_cast<size_t>(h));
  WidenBgrToBgrx(picture + packed * static_cast<size_t>(srcY), rows.data(),
                 size_t{width} * static_cast<size_t>(h));
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = h;  // bottom-up
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  bmi.bmiHeader.biSizeImage = static_cast<DWORD>(rows.size());
  return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), srcX, 0, 0,
                           static_cast<UINT>(h), rows.data(), &bmi, DIB_RGB_COLORS);
}
