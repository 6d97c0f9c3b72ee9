// The row-only 8-bit linear kernel: the columns are copies of their source columns, so each
// destination row is a blend of two source rows, in 16-bit lanes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "resize/resize_build.h"

namespace {

// upper + ((lower - upper) * a + 8192) >> 14 for 0 < a < 16384, the general kernel's formula,
// with one 16-bit high-half multiply per value: for x = 8 (lower - upper), which fits 16 bits,
// hi = (x * a) >> 16 = floor((lower - upper) a / 2^13), and (hi + 1) >> 1 is the shift by 14
// rounded half up, bit for bit.
inline uint8_t Blend(int16_t u, int16_t x, int16_t w) {
  const int16_t hi = static_cast<int16_t>((x * w) >> 16);
  return static_cast<uint8_t>(u + ((hi + 1) >> 1));
}

void BlendRows(uint8_t* dst, ptrdiff_t count, int32_t a, const uint8_t* upper,
               const uint8_t* lower) {
  const int16_t w = static_cast<int16_t>(a);
  for (ptrdiff_t e = 0; e < count; ++e) {
    const int16_t u = upper[e];
    dst[e] = Blend(u, static_cast<int16_t>((lower[e] - u) * 8), w);
  }
}

// Two destination rows between the same source rows: the difference is formed once.
void BlendRowPair(uint8_t* dst0, uint8_t* dst1, ptrdiff_t count, int32_t a0, int32_t a1,
                  const uint8_t* upper, const uint8_t* lower) {
  const int16_t w0 = static_cast<int16_t>(a0);
  const int16_t w1 = static_cast<int16_t>(a1);
  for (ptrdiff_t e = 0; e < count; ++e) {
    const int16_t u = upper[e];
    const int16_t x = static_cast<int16_t>((lower[e] - u) * 8);
    dst0[e] = Blend(u, x, w0);
    dst1[e] = Blend(u, x, w1);
  }
}

}  // namespace

void ResizeLinearRows8u(const uint8_t* src, uint8_t* dst, int32_t srcStep, int32_t dstStep,
                        int32_t rowElems, int32_t dstH, const int32_t* rowOfs,
                        const uint16_t* rowW) {
  const size_t rowBytes = static_cast<size_t>(rowElems);
  // When destination rows do not overlap, a row equal to the one before is copied, and two rows
  // between the same source rows are blended together (enlargements).
  const bool apart = dstStep >= rowElems;
  for (int32_t i = 0; i < dstH; ++i) {
    uint8_t* out = dst + static_cast<ptrdiff_t>(i) * dstStep;
    if (apart && i > 0 && rowOfs[i] == rowOfs[i - 1] && rowW[i] == rowW[i - 1]) {
      std::memcpy(out, out - dstStep, rowBytes);
      continue;
    }
    const uint8_t* upper = src + rowOfs[i];
    const uint8_t* lower = upper + srcStep;
    const int32_t a = rowW[i];
    if (a == 0) {
      std::memcpy(out, upper, rowBytes);
    } else if (a == 16384) {
      std::memcpy(out, lower, rowBytes);
    } else if (apart && i + 1 < dstH && rowOfs[i + 1] == rowOfs[i] && rowW[i + 1] != a &&
               rowW[i + 1] != 0 && rowW[i + 1] != 16384) {
      BlendRowPair(out, out + dstStep, rowElems, a, rowW[i + 1], upper, lower);
      ++i;
    } else {
      BlendRows(out, rowElems, a, upper, lower);
    }
  }
}
