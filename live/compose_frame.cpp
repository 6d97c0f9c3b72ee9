#include "live/compose_frame.h"

uint32_t FrameInterval(uint32_t previous, uint32_t current) {
  if (previous == 0) return 0;
  return current >= previous ? current - previous : previous - current;
}

BlankFrameSize BlankFrameSizeOf(uint8_t halfWidth, uint8_t videoMode) {
  return BlankFrameSize{static_cast<uint16_t>(halfWidth ? 320 : 640),
                        static_cast<uint16_t>(videoMode ? 276 : 228)};
}
