#include "live/jpeg_frame.h"

int IsJpegFrame(const uint8_t* buffer, uint32_t /*length*/) {
  return buffer[0] == 0xFF && buffer[1] == 0xD8 && buffer[2] == 0xFF && buffer[3] == 0xDB ? 1 : 0;
}
