#include "record/pes_scan.h"

namespace {
constexpr size_t kBytesAfterStartCode = 15;

// The 33-bit stamp of five marker-interleaved bytes, bit 32 dropped.
uint32_t ReadStamp(const uint8_t* p) {
  return (static_cast<uint32_t>((p[0] >> 1) & 0x03) << 30) | (static_cast<uint32_t>(p[1]) << 22) |
         (static_cast<uint32_t>(p[2] >> 1) << 15) | (static_cast<uint32_t>(p[3]) << 7) |
         static_cast<uint32_t>(p[4] >> 1);
}

void Store(uint32_t* out, uint32_t value) {
  if (out) *out = value;
}
}  // namespace

int ScanPesTimestamp(const uint8_t* buffer, size_t length, uint32_t* timeStamp, uint32_t* reserved1,
                     uint32_t* reserved2, uint32_t* reserved3, uint8_t* pictureType) {
  Store(reserved1, 0);
  Store(reserved2, 0);
  Store(reserved3, 0);
  if (buffer == nullptr) return 0;
  auto byteAt = [&](size_t i, size_t back) -> uint8_t { return i < back ? 0 : buffer[i - back]; };
  int flags = 0;
  size_t i = 0;
  while (i < length) {
    if (buffer[i] != 1 || byteAt(i, 1) != 0 || byteAt(i, 2) != 0) {
      ++i;
      continue;
    }
    const size_t v = i + 1;  // the start code value
    if (length - v <= kBytesAfterStartCode) break;
    const uint8_t code = buffer[v];
    if (code >= 0xC0 && code <= 0xEF) {
      const unsigned stamps = buffer[v + 4] >> 6;
      if (stamps == 2 || stamps == 3) {
        Store(timeStamp, ReadStamp(buffer + v + (stamps == 2 ? 6 : 11)));
        flags |= kPesFlagTimeStamp;
        i = v + 4;
        continue;
      }
    } else if (code == 0xB6) {
      if (pictureType) *pictureType = static_cast<uint8_t>((buffer[v + 1] >> 6) + 1);
      return flags | kPesFlagPicture;
    }
    ++i;
  }
  return flags;
}
