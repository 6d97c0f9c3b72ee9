#include "mainwnd/frame_overlay.h"

#include <bit>
#include <cstdio>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

uint32_t DibStride(uint32_t width) {
  return (width * 3 + 3) & ~3u;
}

static_assert(std::endian::native == std::endian::little);

void WidenBgrToBgrxScalar(const uint8_t* bgr, uint8_t* bgrx, size_t pixels) {
  size_t i = 0;
  // Four pixels (12 bytes) at a time through two 8-byte words, none read past the group.
  for (; i + 4 <= pixels; i += 4, bgr += 12, bgrx += 16) {
    uint64_t lo, hi;
    std::memcpy(&lo, bgr, 8);      // bytes 0-7: pixel 0, pixel 1, part of pixel 2
    std::memcpy(&hi, bgr + 4, 8);  // bytes 4-11: the rest of pixel 1, pixels 2 and 3
    const uint64_t first = (lo & 0xFFFFFFu) | ((lo >> 24) & 0xFFFFFFu) << 32;
    const uint64_t second = ((hi >> 16) & 0xFFFFFFu) | (hi >> 40) << 32;
    std::memcpy(bgrx, &first, 8);
    std::memcpy(bgrx + 8, &second, 8);
  }
  for (; i < pixels; ++i, bgr += 3, bgrx += 4) {
    bgrx[0] = bgr[0];
    bgrx[1] = bgr[1];
    bgrx[2] = bgr[2];
    bgrx[3] = 0;
  }
}

#if defined(__x86_64__)
namespace {
// Four pixels per byte shuffle; each 16-byte load uses 12 bytes, so the last loads stay 4 bytes
// short of the picture's end and the scalar loop does the rest.
__attribute__((target("ssse3"))) void WidenBgrToBgrxSsse3(const uint8_t* bgr, uint8_t* bgrx,
                                                          size_t pixels) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  size_t i = 0;
  for (; i + 6 <= pixels; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 3 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bgrx + 4 * i), _mm_shuffle_epi8(v, spread));
  }
  WidenBgrToBgrxScalar(bgr + 3 * i, bgrx + 4 * i, pixels - i);
}
}  // namespace
#endif

void WidenBgrToBgrx(const uint8_t* bgr, uint8_t* bgrx, size_t pixels) {
#if defined(__x86_64__)
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) {
    WidenBgrToBgrxSsse3(bgr, bgrx, pixels);
    return;
  }
#endif
  WidenBgrToBgrxScalar(bgr, bgrx, pixels);
}

FramePlan PlanFrame(uint16_t width, uint16_t height, bool rz8p, uint32_t doubleBufferBytes) {
  FramePlan plan{false, width, height};
  if (width >= 640 && !rz8p) {
    const uint64_t doubled = uint64_t{width} * 3u * 2u * height;
    if (doubled <= doubleBufferBytes && 2u * height <= 0xFFFFu) {
      plan.lineDouble = true;
      plan.height = static_cast<uint16_t>(2u * height);
    }
  }
  return plan;
}

DrawArea WindowedDrawArea(int32_t videoLeft, int32_t videoTop, int32_t videoWidth,
                          int32_t videoHeight, uint16_t pictureWidth, uint16_t pictureHeight) {
  const int32_t w = pictureWidth < videoWidth ? pictureWidth : videoWidth;
  const int32_t h = pictureHeight < videoHeight ? pictureHeight : videoHeight;
  return {videoLeft, videoTop, w > 0 ? w : 0, h > 0 ? h : 0};
}

std::string AlarmChannelText(uint16_t alarmData) {
  if (alarmData == 0) return {};
  int bit = 0;
  while (!((alarmData >> bit) & 1)) ++bit;
  return std::to_string(bit + 1);
}

std::string HuText(const char (&title)[16]) {
  const size_t n = strnlen(title, sizeof title);
  if (n == 0) return {};
  return "HU: " + std::string(title, n);
}

Statistics ComputeStatistics(const StatisticsInput& in) {
  Statistics s;
  const int32_t elapsed = static_cast<int32_t>(in.now - in.start);
  if (elapsed < static_cast<int32_t>(kStatisticsPeriodMs)) return s;
  s.due = true;
  s.elapsedMs = static_cast<uint32_t>(elapsed);
  const int64_t diff = static_cast<int64_t>(in.shownFrames) - in.shownAtStat;
  const uint32_t frames = static_cast<uint32_t>(diff < 0 ? -diff : diff);
  s.fps = static_cast<float>(frames * 1000u) / static_cast<float>(s.elapsedMs);
  const uint64_t perSecond = uint64_t{in.receivedBytes} * 1000u / s.elapsedMs;
  s.kbps = static_cast<uint32_t>(perSecond * 8u / 1024u);
  char text[64];
  std::snprintf(text, sizeof text, "FR:%.2f fps ", static_cast<double>(s.fps));
  s.frameRateText = text;
  std::snprintf(text, sizeof text, "DR:%lu kbps ", static_cast<unsigned long>(s.kbps));
  s.dataRateText = text;
  return s;
}

std::string StatusLineOf(const Statistics& s, bool noPicture) {
  return noPicture ? std::string("Video Loss!") : s.frameRateText + s.dataRateText;
}
