// The stand-in engine's reader of a disc image's newest directory, over arbitrary blocks.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tests/disc/iso_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto read = [&](uint32_t lba, uint32_t blocks, uint8_t* out) {
    const uint64_t from = uint64_t{lba} * isoimage::kBlock;
    const uint64_t n = uint64_t{blocks} * isoimage::kBlock;
    // The input stands for the image from block 16 on.
    const uint64_t base = uint64_t{16} * isoimage::kBlock;
    if (from < base || from - base + n > size) return false;
    std::memcpy(out, data + (from - base), n);
    return true;
  };
  (void)isoimage::ReadVolume(read);
  return 0;
}
