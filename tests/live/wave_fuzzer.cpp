// The wave file reader: any bytes, never a read outside them; an accepted sound fills a buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "live/alarm_wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WaveImage image;
  if (ParseWaveImage(data, size, &image) != WaveParse::Ok) return 0;
  if (image.dataLength == 0 || image.dataOffset + image.dataLength > size) __builtin_trap();
  std::vector<uint8_t> out(kWaveBufferBytes);
  uint32_t pos = 0;
  FillWaveRing(data + image.dataOffset, static_cast<uint32_t>(image.dataLength), &pos, out.data());
  return 0;
}
