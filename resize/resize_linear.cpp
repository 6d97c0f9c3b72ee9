// Linear kernels: a horizontal pass filters each needed source row once into a row buffer, a
// vertical blend combines the upper and lower filtered rows into each destination row.
// 8-bit: 14-bit weights, 6 fraction bits between the passes, both passes round half up.
// 16-bit: 14-bit weights, each pass rounds half up to an integer.  Float: plain fractions.
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "resize/resize_alloc.h"
#include "resize/resize_kernels.h"
#include "resize/resize_row_window.h"

namespace {

struct Linear8u {
  using Elem = uint8_t;
  using Buf = uint16_t;
  using Weight = uint16_t;
  static constexpr int kIdentityShift = 6;  // a pair (16384, 0) gives the sample times 64
  static Buf Horz(uint32_t p0, uint32_t p1, uint32_t left, uint32_t right) {
    return static_cast<Buf>((p0 * left + p1 * right + 128) >> 8);
  }
  // upper * (16384 - a) + lower * a, rounded and shifted by 20 bits.  The filtered values fit in
  // 16 signed bits, which lets the compiler use 16-bit multiplies.
  static Elem Vert(int16_t upper, int16_t lower, int16_t a) {
    const int16_t d = static_cast<int16_t>(lower - upper);
    return static_cast<Elem>((upper * 16384 + d * a + 0x80000) >> 20);
  }
};

struct Linear16u {
  using Elem = uint16_t;
  using Buf = uint16_t;
  using Weight = uint16_t;
  static constexpr int kIdentityShift = 0;
  static Buf Horz(uint32_t p0, uint32_t p1, uint32_t left, uint32_t right) {
    return static_cast<Buf>((p0 * left + p1 * right + 8192) >> 14);
  }
  static Elem Vert(int32_t upper, int32_t lower, int32_t a) {
    return static_cast<Elem>((upper * 16384 + (lower - upper) * a + 8192) >> 14);
  }
};

struct Linear32f {
  using Elem = float;
  using Buf = float;
  using Weight = float;
  static Buf Horz(double p0, double p1, double f) { return static_cast<Buf>(p0 + (p1 - p0) * f); }
  static Elem Vert(double upper, double lower, double a) {
    return static_cast<Elem>(upper * (1.0 - a) + lower * a);
  }
};

// Horizontal pass for kElems channels per pixel; the source pixel stride is kStride, or stride
// when kStride is 0.  Writes kElems values per destination pixel.
template <typename P, int kElems, int kStride>
void LinearHorz(const typename P::Elem* row, int32_t dstW, int32_t stride, const int32_t* colOfs,
                const typename P::Weight* colW, typename P::Buf* out) {
  if constexpr (kStride != 0) stride = kStride;
  for (int32_t j = 0; j < dstW; ++j) {
    const typename P::Elem* p = row + colOfs[j];
    if constexpr (std::is_same_v<typename P::Weight, float>) {
      const double f = colW[j];
      for (int c = 0; c < kElems; ++c) out[c] = P::Horz(p[c], p[c + stride], f);
    } else {
      const uint32_t left = colW[2 * j];
      const uint32_t right = colW[2 * j + 1];
      for (int c = 0; c < kElems; ++c) out[c] = P::Horz(p[c], p[c + stride], left, right);
    }
    out += kElems;
  }
}

// 8-bit horizontal pass over packed pixels with the column weights spread per element
// (left weights, then right weights, `count` each): the taps of a block of columns are gathered
// first, so the blend runs over whole blocks with 16-bit multiplies.
template <int kElems>
void LinearHorz8uGathered(const uint8_t* row, int32_t dstW, const int32_t* colOfs,
                          const int16_t* spread, ptrdiff_t count, uint16_t* out) {
  constexpr int32_t kBlock = 256;
  uint8_t left[kBlock * kElems + 1];
  uint8_t rightStore[kBlock * kElems + 1];
  uint8_t* right = rightStore + 1;
  for (int32_t j0 = 0; j0 < dstW; j0 += kBlock) {
    const int32_t n = dstW - j0 < kBlock ? dstW - j0 : kBlock;
    if constexpr (kElems == 3) {
      // Three-byte pixels move as 4-byte words that stay within the two taps: the left word
      // ends in the right pixel, the right word starts in the left one; the extra byte is
      // written over by the next (left, ascending) or previous (right, descending) pixel.
      for (int32_t k = 0; k < n; ++k) {
        uint32_t v;
        std::memcpy(&v, row + colOfs[j0 + k], 4);
        std::memcpy(left + k * 3, &v, 4);
      }
      for (int32_t k = n - 1; k >= 0; --k) {
        uint32_t v;
        std::memcpy(&v, row + colOfs[j0 + k] + 2, 4);
        std::memcpy(right + k * 3 - 1, &v, 4);
      }
    } else {
      for (int32_t k = 0; k < n; ++k) {
        const uint8_t* p = row + colOfs[j0 + k];
        std::memcpy(left + k * kElems, p, kElems);
        std::memcpy(right + k * kElems, p + kElems, kElems);
      }
    }
    const ptrdiff_t e0 = static_cast<ptrdiff_t>(j0) * kElems;
    const int16_t* wl = spread + e0;
    const int16_t* wr = spread + count + e0;
    uint16_t* o = out + e0;
    const int32_t m = n * kElems;
    for (int32_t e = 0; e < m; ++e) {
      const int16_t a = left[e];
      const int16_t b = right[e];
      o[e] = static_cast<uint16_t>((a * wl[e] + b * wr[e] + 128) >> 8);
    }
  }
}

// Every column on a source pixel with one full weight: the pass reduces to a scaled copy.
template <typename P>
bool HorzIsCopy(int32_t dstW, int32_t stride, const int32_t* colOfs,
                const typename P::Weight* colW) {
  if constexpr (std::is_same_v<typename P::Weight, float>) {
    return false;
  } else {
    int32_t expect = 0;
    for (int32_t j = 0; j < dstW; ++j, expect += stride) {
      const bool left = colW[2 * j] == 16384 && colOfs[j] == expect;
      const bool right = colW[2 * j + 1] == 16384 && colOfs[j] + stride == expect;
      if (!left && !right) return false;
    }
    return true;
  }
}

template <typename P>
void HorzCopy(const typename P::Elem* row, ptrdiff_t count, typename P::Buf* out) {
  if constexpr (!std::is_same_v<typename P::Weight, float>) {
    for (ptrdiff_t e = 0; e < count; ++e) {
      out[e] = static_cast<typename P::Buf>(row[e] << P::kIdentityShift);
    }
  }
}

// Vertical blend over count packed elements.
template <typename P>
void LinearVert(typename P::Elem* dst, ptrdiff_t count, typename P::Weight a,
                const typename P::Buf* upper, const typename P::Buf* lower) {
  if constexpr (std::is_same_v<typename P::Weight, float>) {
    for (ptrdiff_t e = 0; e < count; ++e) dst[e] = P::Vert(upper[e], lower[e], a);
  } else {
    const int16_t w = static_cast<int16_t>(a);
    for (ptrdiff_t e = 0; e < count; ++e) dst[e] = P::Vert(upper[e], lower[e], w);
  }
}

// Vertical blend of kElems values per pixel into pixels stride elements apart; the elements in
// between are left untouched.
template <typename P, int kElems>
void LinearVertStride(typename P::Elem* dst, int32_t dstW, int32_t stride, typename P::Weight a,
                      const typename P::Buf* upper, const typename P::Buf* lower) {
  for (int32_t j = 0; j < dstW; ++j) {
    for (int c = 0; c < kElems; ++c) dst[c] = P::Vert(upper[c], lower[c], a);
    upper += kElems;
    lower += kElems;
    dst += stride;
  }
}

// 8-bit rows whose horizontal pass is a copy hold 64 x the samples, and the vertical blend
// reduces exactly to pu + ((pl - pu) * a + 8192) >> 14 on the source samples themselves:
// (64 X + 2^19) >> 20 = (X + 2^13) >> 14, and pu * 16384 leaves the floor untouched.
void BlendSourceRows8u(uint8_t* dst, ptrdiff_t count, int32_t a, const uint8_t* upper,
                       const uint8_t* lower) {
  const int16_t w = static_cast<int16_t>(a);
  for (ptrdiff_t e = 0; e < count; ++e) {
    const int16_t pu = upper[e];
    const int16_t d = static_cast<int16_t>(lower[e] - pu);
    dst[e] = static_cast<uint8_t>(pu + ((d * w + 8192) >> 14));
  }
}

template <typename P, int kElems>
void LinearKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t dstW,
                  int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                  const void* rowWeights, const void* colWeights, void* rowBuf0, void* rowBuf1,
                  int32_t stride) {
  using Elem = typename P::Elem;
  using Buf = typename P::Buf;
  using Weight = typename P::Weight;
  const Elem* src = static_cast<const Elem*>(srcV);
  Elem* dst = static_cast<Elem*>(dstV);
  const Weight* rowW = static_cast<const Weight*>(rowWeights);
  const Weight* colW = static_cast<const Weight*>(colWeights);
  const ptrdiff_t rowElems = static_cast<ptrdiff_t>(dstW) * kElems;
  const bool packed = stride == kElems;
  const bool copyRows = HorzIsCopy<P>(dstW, stride, colOfs, colW) && packed;

  // 8-bit packed rows: the column weights spread per element, once per call (without the
  // memory the pass runs column by column).
  int16_t* spread = nullptr;
  if constexpr (std::is_same_v<P, Linear8u>) {
    if (packed && !copyRows) {
      spread = static_cast<int16_t*>(ResizeAlloc2(2 * rowElems));
      if (spread) {
        for (int32_t j = 0; j < dstW; ++j) {
          for (int c = 0; c < kElems; ++c) {
            spread[j * kElems + c] = static_cast<int16_t>(colW[2 * j]);
            spread[rowElems + j * kElems + c] = static_cast<int16_t>(colW[2 * j + 1]);
          }
        }
      }
    }
  }

  auto filter = [&](int64_t ofs, Buf* out) {
    const Elem* row = src + ofs;
    if constexpr (std::is_same_v<P, Linear8u>) {
      if (spread) {
        LinearHorz8uGathered<kElems>(row, dstW, colOfs, spread, rowElems, out);
        return;
      }
    }
    if (copyRows) {
      HorzCopy<P>(row, rowElems, out);
    } else if (packed) {
      LinearHorz<P, kElems, kElems>(row, dstW, stride, colOfs, colW, out);
    } else {
      LinearHorz<P, kElems, 0>(row, dstW, stride, colOfs, colW, out);
    }
  };

  Buf* const buffers[2] = {static_cast<Buf*>(rowBuf0), static_cast<Buf*>(rowBuf1)};
  ResizeRowWindow<Buf, 2> window(buffers);
  // A destination row equal to the one before is copied, when rows do not overlap.
  const bool copyRepeats = packed && dstStep >= rowElems;
  for (int32_t i = 0; i < dstH; ++i) {
    Elem* out = dst + static_cast<ptrdiff_t>(i) * dstStep;
    if (copyRepeats && i > 0 && rowOfs[i] == rowOfs[i - 1] && rowW[i] == rowW[i - 1]) {
      std::memcpy(out, out - dstStep, sizeof(Elem) * static_cast<size_t>(rowElems));
      continue;
    }
    const int64_t r = rowOfs[i];
    if constexpr (std::is_same_v<P, Linear8u>) {
      if (copyRows) {
        const int32_t a = rowW[i];
        const Elem* upper = src + r;
        const Elem* lower = upper + srcStep;
        if (a == 0) {
          std::memcpy(out, upper, static_cast<size_t>(rowElems));
        } else if (a == 16384) {
          std::memcpy(out, lower, static_cast<size_t>(rowElems));
        } else {
          BlendSourceRows8u(out, rowElems, a, upper, lower);
        }
        continue;
      }
    }
    Buf* rows[2];
    window.Acquire({r, r + srcStep}, rows, filter);
    if (packed) {
      LinearVert<P>(out, rowElems, rowW[i], rows[0], rows[1]);
    } else {
      LinearVertStride<P, kElems>(out, dstW, stride, rowW[i], rows[0], rows[1]);
    }
  }
  ResizeFree(spread);
}

template <typename P>
void LinearMulti(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
                 int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const void* rowWeights,
                 const void* colWeights, void* rowBuf0, void* rowBuf1, int32_t channels,
                 int32_t layout) {
  if (layout == 4) {
    LinearKernel<P, 4>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                       colWeights, rowBuf0, rowBuf1, channels);
  } else {
    LinearKernel<P, 3>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                       colWeights, rowBuf0, rowBuf1, channels);
  }
}

}  // namespace

OST_RESIZE_LINEAR_KERNEL(ResizeLinear8u) {
  LinearMulti<Linear8u>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                        colWeights, rowBuf0, rowBuf1, channels, layout);
}
OST_RESIZE_LINEAR_KERNEL(ResizeLinear16u) {
  LinearMulti<Linear16u>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                         colWeights, rowBuf0, rowBuf1, channels, layout);
}
OST_RESIZE_LINEAR_KERNEL(ResizeLinear32f) {
  LinearMulti<Linear32f>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                         colWeights, rowBuf0, rowBuf1, channels, layout);
}
OST_RESIZE_LINEAR_KERNEL(ResizeLinear8uC1) {
  (void)channels, (void)layout;
  LinearKernel<Linear8u, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                            colWeights, rowBuf0, rowBuf1, 1);
}
OST_RESIZE_LINEAR_KERNEL(ResizeLinear16uC1) {
  (void)channels, (void)layout;
  LinearKernel<Linear16u, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                             colWeights, rowBuf0, rowBuf1, 1);
}
OST_RESIZE_LINEAR_KERNEL(ResizeLinear32fC1) {
  (void)channels, (void)layout;
  LinearKernel<Linear32f, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                             colWeights, rowBuf0, rowBuf1, 1);
}
