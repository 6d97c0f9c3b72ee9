// The frame-file checker and the packet time-stamp reader over any bytes.
#include <cstddef>
#include <cstdint>

#include "record/media_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FrameFileCheck c = CheckFrameFile(data, size);
  if (c.end > size || (c.valid && c.end < 80)) __builtin_trap();
  (void)CMpegStreamHelper::ReadTimeStamp(data, size);
  return 0;
}
