#include "mainwnd/picture_draw.h"

#include "mainwnd/frame_overlay.h"

BITMAPINFO BottomUpDibHeader(int32_t width, int32_t height, uint16_t bitCount) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = height;  // bottom-up
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = bitCount;
  bmi.bmiHeader.biCompression = BI_RGB;
  const uint32_t stride =
      bitCount == 32 ? static_cast<uint32_t>(width) * 4 : DibStride(static_cast<uint32_t>(width));
  bmi.bmiHeader.biSizeImage = stride * static_cast<uint32_t>(height);
  return bmi;
}

int DrawBgrPicture(HDC dc, int x, int y, int w, int h, int srcX, int srcY, const uint8_t* picture,
                   uint16_t width, uint16_t height, std::vector<uint8_t>& rows) {
  if (!picture || w <= 0 || h <= 0 || srcX < 0 || srcY < 0 || srcX + w > width || srcY + h > height)
    return 0;
  const size_t packed = size_t{width} * 3;
  rows.resize(size_t{width} * 4 * static_cast<size_t>(h));
  WidenBgrToBgrx(picture + packed * static_cast<size_t>(srcY), rows.data(),
                 size_t{width} * static_cast<size_t>(h));
  const BITMAPINFO bmi = BottomUpDibHeader(width, h, 32);
  return SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), srcX, 0, 0,
                           static_cast<UINT>(h), rows.data(), &bmi, DIB_RGB_COLORS);
}
