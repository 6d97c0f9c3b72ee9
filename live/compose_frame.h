// Per-frame values of the compose step: the distance between header time stamps and the size
// of the black picture shown for a frame without picture.
#pragma once

#include <cstdint>

// |current - previous|, or 0 when previous is 0 (the first frame, or one after a stamp of 0).
uint32_t FrameInterval(uint32_t previous, uint32_t current);

struct BlankFrameSize {
  uint16_t wWidth;   // 320 with the half-width flag, else 640
  uint16_t wHeight;  // 276 when the device's VIDEOMODE is not 0, else 228
};
BlankFrameSize BlankFrameSizeOf(uint8_t halfWidth, uint8_t videoMode);
