// Drawing a decoded picture (packed 24-bit rows, bottom row first) on a window: widened to 32
// bits per pixel first, the format of the screen's surface, which takes such rows as they are.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The header of a bottom-up bitmap of 24 or 32 bits per pixel, rows padded to 4 bytes.
BITMAPINFO BottomUpDibHeader(int32_t width, int32_t height, uint16_t bitCount);

// Draws the picture's scan lines srcY .. srcY + h - 1 (counted from the bottom, as
// SetDIBitsToDevice counts them), columns srcX .. srcX + w - 1, at (x, y) of dc. rows is the
// caller's buffer for the widened lines, kept from one picture to the next. The number of scan
// lines drawn, 0 when the rectangle is not inside the picture.
int DrawBgrPicture(HDC dc, int x, int y, int w, int h, int srcX, int srcY, const uint8_t* picture,
                   uint16_t width, uint16_t height, std::vector<uint8_t>& rows);
