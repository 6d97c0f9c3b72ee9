// The kernels of every build of the resize code, written once: row caching, edge handling and the
// super-sampling walks, instantiated per build with that build's row helpers (a policy class B).
//
// A build's policy B supplies, as static members (T: uint8_t, uint16_t or float; kElems: the
// processed channels 1, 3 or 4; stride: the source pixel stride in elements; rows in elements):
//   LinearH<T, kElems>(row, n, stride, colOfs, colW, out)         n columns into a linear row
//   LinearV<T>(dst, m, wy, upper, lower)                           m elements, flat
//   LinearVAC4<T>(dst, n, wy, upper, lower)                        n pixels at stride 4
//   CubicH<T, kElems>(row, n, stride, colOfs, colPos, out)
//   CubicV<T>(dst, m, t, r0, r1, r2, r3)      CubicVAC4<T>(dst, n, t, r0, r1, r2, r3)
//   LanczosH<T, kElems>(row, stride, colOfs, colW6, out, n, roiX, restW)
//   LanczosV<T>(dst, m, w6, rows)             LanczosVAC4<T>(dst, n, w6, rows)
//   SuperAcc<T, kElems>(firstRow, srcStep (bytes), n, m, acc, stride): adds m rows of n pixels
//     into acc, kElems sums per pixel (ResizeSuperSum<T>); rows are srcStep bytes apart
// and kLinearShortcuts8u: true when the build takes the exact integer shortcuts of the 8-bit
// linear kernels (gathered taps, copied rows), which give its helpers' results bit for bit.
// Optionally, with kSuperWhole8u declared: SuperWhole8u<kElems>(src, srcStep, srcCols, srcRows,
// dst, dstStep, dstW, dstH, ix, iy, norm, rowBuffer) forms whole ix x iy spans of packed 8-bit
// pixels (fraction code 0) with the driver's bytes, or returns false, having written nothing.
//
// ResizeBuildTables<B> gives the build's kernel tables; with its lanczos weight builder they make
// the build's ResizeBuild, which the shared worker and super-sampling selector run on.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/resize_alloc.h"
#include "resize/resize_build.h"
#include "resize/resize_row_window.h"

#define OST_RESIZE_NEAREST_KERNEL(name)                                              \
  void name(const void* src, void* dst, int32_t dstStep, int32_t dstW, int32_t dstH, \
            const int32_t* rowOfs, const int32_t* colOfs, int32_t channels)
#define OST_RESIZE_LINEAR_KERNEL(name)                                                          \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,         \
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const void* rowWeights, \
            const void* colWeights, void* rowBuf0, void* rowBuf1, int32_t channels,             \
            int32_t layout)
#define OST_RESIZE_CUBIC_KERNEL(name)                                                            \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,          \
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos,     \
            const float* colPos, float* rowBuf0, float* rowBuf1, float* rowBuf2, float* rowBuf3, \
            int32_t channels, int32_t layout)
#define OST_RESIZE_LANCZOS_KERNEL(name)                                                           \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,           \
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowWeights6, \
            const float* colWeights6, float* rowBuf0, float* rowBuf1, float* rowBuf2,             \
            float* rowBuf3, float* rowBuf4, float* rowBuf5, int32_t roiX, int32_t roiY,           \
            int32_t restW, int32_t restH, int32_t yEnlarge, int32_t channels, int32_t layout)
#define OST_RESIZE_SUPER_KERNEL(name)                                                             \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t srcCols,        \
            int32_t srcRows, int32_t dstW, int32_t dstH, double hStep, double vStep, double norm, \
            int32_t channels, int32_t fractionCode, void* rowBuffer)

// Linear row types: 8-bit rows hold 64 x the samples in 16 bits, 16-bit rows the samples, both
// with 14-bit integer weights (column pairs left, right; one lower-row weight per row); float
// rows and weights are plain fractions.
template <typename T>
struct ResizeLinearTypes {
  using Buf = uint16_t;
  using Weight = uint16_t;
};
template <>
struct ResizeLinearTypes<float> {
  using Buf = float;
  using Weight = float;
};
template <typename T>
using ResizeLinearBuf = typename ResizeLinearTypes<T>::Buf;
template <typename T>
using ResizeLinearWeight = typename ResizeLinearTypes<T>::Weight;

// Accumulator elements of the super-sampling row sums: 32-bit integers (wrapping) or floats.
template <typename T>
using ResizeSuperSum = std::conditional_t<std::is_same_v<T, float>, float, uint32_t>;

namespace resize_driver {

// ---- Nearest -----------------------------------------------------------------------------------

template <typename T, int kElems>
inline void CopyPixel(const T* from, T* to) {
  std::memcpy(to, from, sizeof(T) * kElems);
}

// 8-bit three-channel pixels of a packed row, moved as 4-byte words where the fourth byte is
// rewritten by the next pixel and read from within the row's last source pixel.
inline void NearestRow8uC3Packed(const uint8_t* row, uint8_t* out, int32_t dstW,
                                 const int32_t* colOfs) {
  const int32_t lastOfs = colOfs[dstW - 1];
  int32_t j = 0;
  for (; j < dstW - 1; ++j) {
    const int32_t ofs = colOfs[j];
    if (ofs < lastOfs) {
      uint32_t v;
      std::memcpy(&v, row + ofs, 4);
      std::memcpy(out + 3 * j, &v, 4);
    } else {
      CopyPixel<uint8_t, 3>(row + ofs, out + 3 * j);
    }
  }
  CopyPixel<uint8_t, 3>(row + lastOfs, out + 3 * j);
}

// Storage: 8-bit, 16-bit or 32-bit words (floats move bit for bit).  stride is the output
// advance per pixel in elements.
template <typename T, int kElems>
void NearestKernel(const void* srcV, void* dstV, int32_t dstStep, int32_t dstW, int32_t dstH,
                   const int32_t* rowOfs, const int32_t* colOfs, int32_t stride) {
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  const ptrdiff_t rowElems = static_cast<ptrdiff_t>(dstW) * stride;
  // A row whose source row repeats is a copy of the row before, when rows do not overlap and no
  // element between pixels must stay untouched.
  const bool copyRepeats = stride == kElems && dstStep >= rowElems;
  for (int32_t i = 0; i < dstH; ++i) {
    T* out = dst + static_cast<ptrdiff_t>(i) * dstStep;
    if (copyRepeats && i > 0 && rowOfs[i] == rowOfs[i - 1]) {
      std::memcpy(out, out - dstStep, sizeof(T) * static_cast<size_t>(rowElems));
      continue;
    }
    const T* row = src + rowOfs[i];
    if constexpr (sizeof(T) == 1 && kElems == 3) {
      if (stride == 3) {
        NearestRow8uC3Packed(row, out, dstW, colOfs);
        continue;
      }
    }
    for (int32_t j = 0; j < dstW; ++j) {
      CopyPixel<T, kElems>(row + colOfs[j], out);
      out += stride;
    }
  }
}

// ---- Linear ------------------------------------------------------------------------------------

// 8-bit horizontal pass over packed pixels with the column weights spread per element (left
// weights, then right weights, `count` each): the taps of a block of columns are gathered first,
// so the blend runs over whole blocks with 16-bit multiplies.  The arithmetic is the 8-bit
// linear row formula, (w0 * left + w1 * right + 128) >> 8.
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
template <typename T>
bool LinearHorzIsCopy(int32_t dstW, int32_t stride, const int32_t* colOfs,
                      const ResizeLinearWeight<T>* colW) {
  if constexpr (std::is_same_v<T, float>) {
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

template <typename T>
void LinearHorzCopy(const T* row, ptrdiff_t count, ResizeLinearBuf<T>* out) {
  constexpr int kShift = sizeof(T) == 1 ? 6 : 0;
  for (ptrdiff_t e = 0; e < count; ++e) {
    out[e] = static_cast<ResizeLinearBuf<T>>(row[e] << kShift);
  }
}

// 8-bit rows whose horizontal pass is a copy hold 64 x the samples, and the vertical blend
// reduces exactly to pu + ((pl - pu) * a + 8192) >> 14 on the source samples themselves:
// (64 X + 2^19) >> 20 = (X + 2^13) >> 14, and pu * 16384 leaves the floor untouched.
inline void BlendSourceRows8u(uint8_t* dst, ptrdiff_t count, int32_t a, const uint8_t* upper,
                              const uint8_t* lower) {
  const int16_t w = static_cast<int16_t>(a);
  for (ptrdiff_t e = 0; e < count; ++e) {
    const int16_t pu = upper[e];
    const int16_t d = static_cast<int16_t>(lower[e] - pu);
    dst[e] = static_cast<uint8_t>(pu + ((d * w + 8192) >> 14));
  }
}

// Vertical pass of kElems values per pixel: flat over packed pixels, the AC4 helper at stride 4,
// else pixel by pixel.
template <class B, typename T, int kElems, typename Rows>
void LinearVertRow(T* out, int32_t dstW, int32_t stride, ResizeLinearWeight<T> a, Rows upper,
                   Rows lower) {
  if (stride == kElems) {
    B::template LinearV<T>(out, dstW * kElems, a, upper, lower);
  } else if (kElems == 3 && stride == 4) {
    B::template LinearVAC4<T>(out, dstW, a, upper, lower);
  } else {
    for (int32_t j = 0; j < dstW; ++j) {
      B::template LinearV<T>(out + static_cast<ptrdiff_t>(j) * stride, kElems, a,
                             upper + j * kElems, lower + j * kElems);
    }
  }
}

template <class B, typename T, int kElems>
void LinearKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t dstW,
                  int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                  const void* rowWeights, const void* colWeights, void* rowBuf0, void* rowBuf1,
                  int32_t stride) {
  using Buf = ResizeLinearBuf<T>;
  using Weight = ResizeLinearWeight<T>;
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  const Weight* rowW = static_cast<const Weight*>(rowWeights);
  const Weight* colW = static_cast<const Weight*>(colWeights);
  const ptrdiff_t rowElems = static_cast<ptrdiff_t>(dstW) * kElems;
  const bool packed = stride == kElems;
  constexpr bool kShortcuts = std::is_same_v<T, uint8_t> && B::kLinearShortcuts8u;
  bool copyRows = false;
  // 8-bit packed rows: the column weights spread per element, once per call (without the
  // memory the build's horizontal helper runs); as (left, right) pairs per element for a build
  // with a three-channel pair pass.
  int16_t* spread = nullptr;
  constexpr bool kPairs = kElems == 3 && requires {
    B::kLinearPairs8u;
  };
  if constexpr (kShortcuts) {
    copyRows = packed && LinearHorzIsCopy<T>(dstW, stride, colOfs, colW);
    if (packed && !copyRows) {
      spread = static_cast<int16_t*>(ResizeAlloc2(2 * rowElems));
      if (spread && kPairs) {
        for (int32_t j = 0; j < dstW; ++j) {
          for (int c = 0; c < kElems; ++c) {
            spread[2 * (j * kElems + c)] = static_cast<int16_t>(colW[2 * j]);
            spread[2 * (j * kElems + c) + 1] = static_cast<int16_t>(colW[2 * j + 1]);
          }
        }
      } else if (spread) {
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
    const T* row = src + ofs;
    if constexpr (kShortcuts) {
      if (spread) {
        if constexpr (kPairs) {
          B::LinearPairs8uC3(row, dstW, colOfs, reinterpret_cast<const int32_t*>(spread), out);
        } else {
          LinearHorz8uGathered<kElems>(row, dstW, colOfs, spread, rowElems, out);
        }
        return;
      }
    }
    B::template LinearH<T, kElems>(row, dstW, stride, colOfs, colW, out);
  };

  Buf* const buffers[2] = {static_cast<Buf*>(rowBuf0), static_cast<Buf*>(rowBuf1)};
  ResizeRowWindow<Buf, 2> window(buffers);
  // A destination row equal to the one before is copied, when rows do not overlap.
  const bool copyRepeats = packed && dstStep >= rowElems;
  for (int32_t i = 0; i < dstH; ++i) {
    T* out = dst + static_cast<ptrdiff_t>(i) * dstStep;
    if (copyRepeats && i > 0 && rowOfs[i] == rowOfs[i - 1] && rowW[i] == rowW[i - 1]) {
      std::memcpy(out, out - dstStep, sizeof(T) * static_cast<size_t>(rowElems));
      continue;
    }
    const int64_t r = rowOfs[i];
    if constexpr (kShortcuts) {
      if (copyRows) {
        const int32_t a = rowW[i];
        const T* upper = src + r;
        const T* lower = upper + srcStep;
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
    LinearVertRow<B, T, kElems, const Buf*>(out, dstW, stride, rowW[i], rows[0], rows[1]);
  }
  ResizeFree(spread);
}

template <class B, typename T>
void LinearMulti(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
                 int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const void* rowWeights,
                 const void* colWeights, void* rowBuf0, void* rowBuf1, int32_t channels,
                 int32_t layout) {
  if (layout == 4) {
    LinearKernel<B, T, 4>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                          colWeights, rowBuf0, rowBuf1, channels);
  } else {
    LinearKernel<B, T, 3>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights,
                          colWeights, rowBuf0, rowBuf1, channels);
  }
}

// ---- Cubic -------------------------------------------------------------------------------------

template <class B, typename T, int kElems>
void CubicVertRow(T* out, int32_t dstW, int32_t stride, float t, float* const (&rows)[4]) {
  if (stride == kElems) {
    B::template CubicV<T>(out, dstW * kElems, t, rows[0], rows[1], rows[2], rows[3]);
  } else if (kElems == 3 && stride == 4) {
    B::template CubicVAC4<T>(out, dstW, t, rows[0], rows[1], rows[2], rows[3]);
  } else {
    for (int32_t j = 0; j < dstW; ++j) {
      const int32_t e = j * kElems;
      B::template CubicV<T>(out + static_cast<ptrdiff_t>(j) * stride, kElems, t, rows[0] + e,
                            rows[1] + e, rows[2] + e, rows[3] + e);
    }
  }
}

template <class B, typename T, int kElems>
void CubicKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t dstW,
                 int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos,
                 const float* colPos, float* const (&buffers)[4], int32_t stride) {
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  ResizeRowWindow<float, 4> window(buffers);
  auto filter = [&](int64_t ofs, float* out) {
    B::template CubicH<T, kElems>(src + ofs, dstW, stride, colOfs, colPos, out);
  };
  for (int32_t i = 0; i < dstH; ++i) {
    const int64_t r = rowOfs[i];
    float* rows[4];
    window.Acquire({r - srcStep, r, r + srcStep, r + 2 * int64_t{srcStep}}, rows, filter);
    float* const taps[4] = {rows[0], rows[1], rows[2], rows[3]};
    CubicVertRow<B, T, kElems>(dst + static_cast<ptrdiff_t>(i) * dstStep, dstW, stride, rowPos[i],
                               taps);
  }
}

template <class B, typename T>
void CubicMulti(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
                int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos,
                const float* colPos, float* const (&buffers)[4], int32_t channels, int32_t layout) {
  if (layout == 4) {
    CubicKernel<B, T, 4>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                         buffers, channels);
  } else {
    CubicKernel<B, T, 3>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                         buffers, channels);
  }
}

// ---- Lanczos -----------------------------------------------------------------------------------

template <class B, typename T, int kElems>
void LanczosVertRow(T* out, int32_t dstW, int32_t stride, const float* w6,
                    const float* const (&rows)[6]) {
  if (stride == kElems) {
    B::template LanczosV<T>(out, dstW * kElems, w6, rows);
  } else if (kElems == 3 && stride == 4) {
    B::template LanczosVAC4<T>(out, dstW, w6, rows);
  } else {
    for (int32_t j = 0; j < dstW; ++j) {
      const int32_t e = j * kElems;
      const float* const at[6] = {rows[0] + e, rows[1] + e, rows[2] + e,
                                  rows[3] + e, rows[4] + e, rows[5] + e};
      B::template LanczosV<T>(out + static_cast<ptrdiff_t>(j) * stride, kElems, w6, at);
    }
  }
}

// The window holds the filtered rows y - 2 .. y + 3, each clamped to the image: a row past an
// edge is the edge row's filtered row.  The window is kept by row, so enlargements (one new row
// per step) need no loop of their own.
template <class B, typename T, int kElems>
void LanczosKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t dstW,
                   int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                   const float* rowWeights6, const float* colWeights6, float* const (&buffers)[6],
                   int32_t roiX, int32_t roiY, int32_t restW, int32_t restH, int32_t stride) {
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  ResizeRowWindow<float, 6> window(buffers);
  auto filter = [&](int64_t row, float* out) {
    B::template LanczosH<T, kElems>(src + row * srcStep, stride, colOfs, colWeights6, out, dstW,
                                    roiX, restW);
  };
  for (int32_t i = 0; i < dstH; ++i) {
    const int64_t v = srcStep != 0 ? rowOfs[i] / srcStep : 0;
    int64_t needed[6];
    for (int k = 0; k < 6; ++k) {
      int64_t r = v + k - 2;
      needed[k] = r < -roiY ? -roiY : r > restH - 1 ? restH - 1 : r;
    }
    float* rows[6];
    window.Acquire(needed, rows, filter);
    const float* const taps[6] = {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5]};
    LanczosVertRow<B, T, kElems>(dst + static_cast<ptrdiff_t>(i) * dstStep, dstW, stride,
                                 rowWeights6 + 6 * static_cast<ptrdiff_t>(i), taps);
  }
}

template <class B, typename T>
void LanczosMulti(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
                  int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                  const float* rowWeights6, const float* colWeights6, float* const (&buffers)[6],
                  int32_t roiX, int32_t roiY, int32_t restW, int32_t restH, int32_t channels,
                  int32_t layout) {
  if (layout == 4) {
    LanczosKernel<B, T, 4>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                           colWeights6, buffers, roiX, roiY, restW, restH, channels);
  } else {
    LanczosKernel<B, T, 3>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                           colWeights6, buffers, roiX, roiY, restW, restH, channels);
  }
}

// ---- Super-sampling
// ------------------------------------------------------------------------------
//
// Each destination pixel is the mean of the source area it covers; rows and columns covered in
// part count with the covered part.  Whole-number steps sum exactly in integers; fractional steps
// sum in float with the walks below.  The row buffer holds srcCols pixels of column sums followed
// by dstW pixels of pixel sums: integers (fraction code 0, integer elements; 32-bit columns, 64-bit
// pixels) or floats.  A row or column shared by two destination pixels is consumed by the second
// one whether or not its lead weight is applied, and a span that ends a sliver past the region
// repeats the region's last row or column.

constexpr double kSuperEps = 1e-7;
// Rows of one destination pixel listed before they are added (more are walked again).
constexpr int32_t kSuperListRows = 16;

template <typename T, int kElems>
class SuperSampler {
 public:
  SuperSampler(const void* src, int32_t srcStep, int32_t srcCols, int32_t srcRows, int32_t stride)
      : src_(static_cast<const uint8_t*>(src)),
        srcStep_(srcStep),
        srcCols_(srcCols),
        srcRows_(srcRows),
        stride_(stride) {}

  const T* Row(int64_t r) const {
    if (r > srcRows_ - 1) r = srcRows_ - 1;
    return reinterpret_cast<const T*>(src_ + r * srcStep_);
  }
  int64_t Col(int64_t c) const { return c > srcCols_ - 1 ? srcCols_ - 1 : c; }

  // Adds the rows first .. first + count - 1 (clamped to the region) into the column sums with
  // the build's accumulator: one call for the rows inside, one per repeated last row.
  template <class B, typename Sum>
  void AccumulateRows(int64_t first, int64_t count, Sum* sums) const {
    const int64_t inside = std::max<int64_t>(0, std::min<int64_t>(count, srcRows_ - first));
    if (inside > 0) {
      B::template SuperAcc<T, kElems>(Row(first), srcStep_, srcCols_, static_cast<int32_t>(inside),
                                      sums, stride_);
    }
    for (int64_t k = inside; k < count; ++k) {
      B::template SuperAcc<T, kElems>(Row(first + k), srcStep_, srcCols_, 1, sums, stride_);
    }
  }

  // 64-bit integer column sums of one row (spans too tall for the 32-bit accumulator).
  void AddRowWide(const T* row, uint64_t* sums) const {
    for (int32_t x = 0; x < srcCols_; ++x, row += stride_, sums += kElems) {
      for (int c = 0; c < kElems; ++c) sums[c] += row[c];
    }
  }

  // True when every weight of a destination row is a power of two from 2^-10 to 1 and the
  // samples are integers: then each product is a float, every sum a multiple of 2^-10 far below
  // 2^43, the double sum exact, and one float addition rounds as the double one does.
  static bool ExactWeights(const double* weights, int32_t count) {
    if constexpr (std::is_same_v<T, float>) {
      return false;
    } else {
      for (int32_t k = 0; k < count; ++k) {
        int exponent = 0;
        if (std::frexp(weights[k], &exponent) != 0.5 || exponent > 1 || exponent < -9) {
          return false;
        }
      }
      return true;
    }
  }

  // Float column sums of one row at a weight; every addition is formed in double precision and
  // rounded to float.  `first` writes the sums of a row begun at zero (0.0 + product); `exact`
  // (see ExactWeights) adds in float, with the same results.
  void AddRowFloat(const T* row, double weight, float* sums, bool first = false,
                   bool exact = false) const {
    if (stride_ == kElems) {
      const ptrdiff_t n = static_cast<ptrdiff_t>(srcCols_) * kElems;
      if (exact) {
        const float w = static_cast<float>(weight);
        if (first) {
          for (ptrdiff_t e = 0; e < n; ++e) sums[e] = static_cast<float>(row[e]) * w;
        } else {
          for (ptrdiff_t e = 0; e < n; ++e) sums[e] = sums[e] + static_cast<float>(row[e]) * w;
        }
        return;
      }
      if (first) {
        for (ptrdiff_t e = 0; e < n; ++e) {
          sums[e] = static_cast<float>(0.0 + static_cast<double>(row[e]) * weight);
        }
        return;
      }
      for (ptrdiff_t e = 0; e < n; ++e) {
        sums[e] =
            static_cast<float>(static_cast<double>(sums[e]) + static_cast<double>(row[e]) * weight);
      }
      return;
    }
    if (first) {
      std::memset(sums, 0, static_cast<size_t>(srcCols_) * kElems * sizeof(float));
    }
    for (int32_t x = 0; x < srcCols_; ++x, row += stride_, sums += kElems) {
      for (int c = 0; c < kElems; ++c) {
        sums[c] =
            static_cast<float>(static_cast<double>(sums[c]) + static_cast<double>(row[c]) * weight);
      }
    }
  }

 private:
  const uint8_t* src_;
  int32_t srcStep_;
  int32_t srcCols_;
  int32_t srcRows_;
  int32_t stride_;
};

// Walk of one axis with a fractional step: the first pixel takes `whole` units and the first
// fraction however small; each next pixel starts with the rest of the shared unit.
struct FractionalWalk {
  double step;
  int64_t whole;
  double carry = 0.0;
  int64_t shared = 0;

  explicit FractionalWalk(double s) : step(s), whole(static_cast<int64_t>(std::floor(s))) {}

  // Calls add(unit, weight) for the units of pixel `index` in order: lead, whole, tail.
  template <typename Add>
  void Next(bool first, Add&& add) {
    if (first) {
      for (int64_t u = 0; u < whole; ++u) add(u, 1.0);
      carry = step - static_cast<double>(whole);
      shared = whole;
      add(shared, carry);
      return;
    }
    const double head = 1.0 - carry;
    const double z = step - head;
    const int64_t n = static_cast<int64_t>(std::floor(z + kSuperEps));
    carry = z - static_cast<double>(n);
    if (head > kSuperEps) add(shared, head);
    for (int64_t u = shared + 1; u <= shared + n; ++u) add(u, 1.0);
    shared += n + 1;
    if (carry > kSuperEps) add(shared, carry);
  }
};

// The units of a fractional walk for `count` pixels, recorded once: pixel g adds the element
// offsets cols[starts[g] .. starts[g + 1] - 1] at weights[...], in the walk's order.
struct SuperWalkTable {
  int32_t* starts = nullptr;
  int32_t* cols = nullptr;
  double* weights = nullptr;
  void* block = nullptr;

  SuperWalkTable() = default;
  SuperWalkTable(const SuperWalkTable&) = delete;
  SuperWalkTable& operator=(const SuperWalkTable&) = delete;
  SuperWalkTable(SuperWalkTable&& o) noexcept
      : starts(o.starts), cols(o.cols), weights(o.weights), block(o.block) {
    o.block = nullptr;
  }
  ~SuperWalkTable() { ResizeFree(block); }

  template <typename Offset>
  static SuperWalkTable Make(double step, int32_t count, Offset&& offset) {
    SuperWalkTable t;
    // At most the whole units of a span and two shared ones per pixel.
    const double bound = (std::floor(step) + 3.0) * count;
    if (count < 1 || bound > 1 << 24) return t;
    const int64_t units = static_cast<int64_t>(bound);
    t.block = ResizeAlloc1(units * 12 + (int64_t{count} + 1) * 4 + 8);
    if (!t.block) return t;
    t.weights = static_cast<double*>(t.block);
    t.cols = reinterpret_cast<int32_t*>(t.weights + units);
    t.starts = t.cols + units;
    FractionalWalk walk(step);
    int32_t n = 0;
    bool fits = true;
    for (int32_t g = 0; g < count; ++g) {
      t.starts[g] = n;
      walk.Next(g == 0, [&](int64_t x, double w) {
        if (n >= units) {
          fits = false;
          return;
        }
        t.cols[n] = static_cast<int32_t>(offset(x));
        t.weights[n] = w;
        ++n;
      });
    }
    t.starts[count] = n;
    if (!fits) {
      ResizeFree(t.block);
      return SuperWalkTable{};
    }
    return t;
  }
};

template <typename T>
void StoreMean(double sum, double norm, T* out) {
  if constexpr (std::is_same_v<T, float>) {
    *out = static_cast<float>(sum * norm);
  } else {
    // Low bits of the truncated mean; within the limits the mean never exceeds the largest sample.
    const int64_t v = static_cast<int64_t>(sum * norm + 0.5);
    *out = static_cast<T>(static_cast<uint64_t>(v));
  }
}

// Whole-number spans of integer samples (fraction code 0): exact integer sums.  Column sums are
// 32-bit (the build's accumulator) while a column of the span cannot exceed it; pixel sums are
// 32-bit while a whole span cannot, which lets the means of a packed row be formed in one pass
// over plain arrays.
template <class B, typename T, int kElems, typename Sum>
void SuperWholeSpans(const SuperSampler<T, kElems>& s, uint8_t* dstRow, int32_t dstStep,
                     int32_t srcCols, int32_t dstW, int32_t dstH, int64_t ix, int64_t iy,
                     double norm, int32_t stride, Sum* cols) {
  constexpr uint64_t kMaxSample = sizeof(T) == 1 ? 255 : 65535;
  const size_t colElems = static_cast<size_t>(srcCols) * kElems;
  const size_t pixElems = static_cast<size_t>(dstW) * kElems;
  const bool narrow = static_cast<uint64_t>(ix) * static_cast<uint64_t>(iy) <=
                      static_cast<uint64_t>(INT32_MAX) / kMaxSample;
  int32_t* pix = reinterpret_cast<int32_t*>(cols + colElems);
  // Pixels whose span lies within the columns read need no clamp.
  const int64_t inside = std::min<int64_t>(dstW, srcCols / ix);
  int64_t cursor = 0;
  for (int32_t i = 0; i < dstH; ++i, dstRow += dstStep) {
    std::memset(cols, 0, colElems * sizeof(Sum));
    if constexpr (std::is_same_v<Sum, uint32_t>) {
      s.template AccumulateRows<B>(cursor, iy, cols);
    } else {
      for (int64_t k = 0; k < iy; ++k) s.AddRowWide(s.Row(cursor + k), cols);
    }
    cursor += iy;
    auto pixelSum = [&](int64_t g, int c) {
      uint64_t sum = 0;
      if (g < inside) {
        const Sum* p = cols + static_cast<size_t>(g * ix) * kElems + c;
        for (int64_t k = 0; k < ix; ++k) sum += p[k * kElems];
      } else {
        for (int64_t k = 0; k < ix; ++k) sum += cols[s.Col(g * ix + k) * kElems + c];
      }
      return sum;
    };
    T* out = reinterpret_cast<T*>(dstRow);
    if (narrow && stride == kElems) {
      // Column k of every span in turn, then the pixels past the columns read.
      const size_t insideElems = static_cast<size_t>(inside) * kElems;
      std::memset(pix, 0, insideElems * sizeof(int32_t));
      const size_t spanElems = static_cast<size_t>(ix) * kElems;
      for (int64_t k = 0; k < ix; ++k) {
        const Sum* col = cols + static_cast<size_t>(k) * kElems;
        for (size_t g = 0; g < static_cast<size_t>(inside); ++g) {
          for (int c = 0; c < kElems; ++c) {
            pix[g * kElems + c] += static_cast<int32_t>(col[g * spanElems + c]);
          }
        }
      }
      for (int32_t g = static_cast<int32_t>(inside); g < dstW; ++g) {
        for (int c = 0; c < kElems; ++c) {
          pix[static_cast<size_t>(g) * kElems + c] = static_cast<int32_t>(pixelSum(g, c));
        }
      }
      // The mean is at most the largest sample: the truncation fits 32 bits.
      for (size_t e = 0; e < pixElems; ++e) {
        out[e] = static_cast<T>(static_cast<int32_t>(pix[e] * norm + 0.5));
      }
      continue;
    }
    for (int32_t g = 0; g < dstW; ++g, out += stride) {
      for (int c = 0; c < kElems; ++c) {
        StoreMean<T>(static_cast<double>(pixelSum(g, c)), norm, out + c);
      }
    }
  }
}

template <class B, typename T, int kElems>
void SuperKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t srcCols,
                 int32_t srcRows, int32_t dstW, int32_t dstH, double hStep, double vStep,
                 double norm, int32_t stride, int32_t code, void* rowBuffer) {
  const SuperSampler<T, kElems> s(srcV, srcStep, srcCols, srcRows, stride);
  uint8_t* dstRow = static_cast<uint8_t*>(dstV);
  const bool vFrac = (code & 1) != 0;
  const bool hFrac = (code & 2) != 0;
  const int64_t iy = static_cast<int64_t>(std::floor(vStep));
  const int64_t ix = static_cast<int64_t>(std::floor(hStep));
  if constexpr (!std::is_same_v<T, float>) {
    if (code == 0) {
      // A build may sum small whole spans of packed 8-bit pixels in its own way, with the same
      // bytes; it declines (before writing anything) what it does not take.
      if constexpr (std::is_same_v<T, uint8_t> && requires { B::kSuperWhole8u; }) {
        if (stride == kElems && B::template SuperWhole8u<kElems>(
                                    static_cast<const uint8_t*>(srcV), srcStep, srcCols, srcRows,
                                    dstRow, dstStep, dstW, dstH, ix, iy, norm, rowBuffer)) {
          return;
        }
      }
      constexpr uint64_t kMaxSample = sizeof(T) == 1 ? 255 : 65535;
      if (static_cast<uint64_t>(iy) <= UINT32_MAX / kMaxSample) {
        SuperWholeSpans<B>(s, dstRow, dstStep, srcCols, dstW, dstH, ix, iy, norm, stride,
                           static_cast<uint32_t*>(rowBuffer));
      } else {
        SuperWholeSpans<B>(s, dstRow, dstStep, srcCols, dstW, dstH, ix, iy, norm, stride,
                           static_cast<uint64_t*>(rowBuffer));
      }
      return;
    }
  }
  const size_t colElems = static_cast<size_t>(srcCols) * kElems;
  float* fCols = static_cast<float*>(rowBuffer);
  float* fPix = fCols + colElems;

  // The horizontal walk is the same for every row: its columns and weights in order, once per
  // call (without the memory, walked per row).
  const SuperWalkTable hTable =
      hFrac ? SuperWalkTable::Make(hStep, dstW, [&](int64_t x) { return s.Col(x) * kElems; })
            : SuperWalkTable{};
  int64_t cursor = 0;
  FractionalWalk vWalk(vStep);
  FractionalWalk vWalkBefore = vWalk;
  int64_t vRows[kSuperListRows];
  double vWeights[kSuperListRows];
  for (int32_t i = 0; i < dstH; ++i, dstRow += dstStep) {
    // Vertical pass: one sum per source column and channel.  Whole rows at weight 1 are single
    // float additions, the accumulator's when both steps are whole.
    bool begun = false;
    if (!vFrac) {
      if constexpr (std::is_same_v<T, float>) {
        if (code == 0) {
          std::memset(fCols, 0, colElems * sizeof(float));
          s.template AccumulateRows<B>(cursor, iy, fCols);
          begun = true;
        }
      }
      if (!begun) {
        const double one = 1.0;
        const bool exact = SuperSampler<T, kElems>::ExactWeights(&one, 1);
        for (int64_t k = 0; k < iy; ++k, begun = true) {
          s.AddRowFloat(s.Row(cursor + k), 1.0, fCols, !begun, exact);
        }
      }
      cursor += iy;
    } else {
      // The rows of this pixel and their weights first, to know whether they are all exact.
      int32_t taken = 0;
      bool listed = true;
      vWalk.Next(i == 0, [&](int64_t r, double w) {
        if (taken < kSuperListRows) {
          vRows[taken] = r;
          vWeights[taken] = w;
        } else {
          listed = false;
        }
        ++taken;
      });
      const bool exact = listed && SuperSampler<T, kElems>::ExactWeights(
                                       vWeights, std::min(taken, kSuperListRows));
      if (listed) {
        for (int32_t k = 0; k < taken; ++k, begun = true) {
          s.AddRowFloat(s.Row(vRows[k]), vWeights[k], fCols, !begun, exact);
        }
      } else {
        // Too many rows to list: the walk again from the previous pixel's state.
        vWalk = vWalkBefore;
        vWalk.Next(i == 0, [&](int64_t r, double w) {
          s.AddRowFloat(s.Row(r), w, fCols, !begun);
          begun = true;
        });
      }
      vWalkBefore = vWalk;
    }
    if (!begun) std::memset(fCols, 0, colElems * sizeof(float));

    // Horizontal pass: one sum per destination pixel and channel.
    if (!hFrac) {
      for (int32_t g = 0; g < dstW; ++g) {
        for (int c = 0; c < kElems; ++c) {
          double sum = 0.0;
          for (int64_t k = 0; k < ix; ++k) sum += fCols[s.Col(g * ix + k) * kElems + c];
          fPix[static_cast<size_t>(g) * kElems + c] = static_cast<float>(sum);
        }
      }
    } else if (hTable.cols) {
      for (int32_t g = 0; g < dstW; ++g) {
        double sum[kElems] = {};
        for (int32_t u = hTable.starts[g]; u < hTable.starts[g + 1]; ++u) {
          const float* col = fCols + hTable.cols[u];
          const double w = hTable.weights[u];
          for (int c = 0; c < kElems; ++c) sum[c] += static_cast<double>(col[c]) * w;
        }
        for (int c = 0; c < kElems; ++c) {
          fPix[static_cast<size_t>(g) * kElems + c] = static_cast<float>(sum[c]);
        }
      }
    } else {
      FractionalWalk hWalk(hStep);
      for (int32_t g = 0; g < dstW; ++g) {
        double sum[kElems] = {};
        hWalk.Next(g == 0, [&](int64_t x, double w) {
          const float* col = fCols + s.Col(x) * kElems;
          for (int c = 0; c < kElems; ++c) sum[c] += static_cast<double>(col[c]) * w;
        });
        for (int c = 0; c < kElems; ++c) {
          fPix[static_cast<size_t>(g) * kElems + c] = static_cast<float>(sum[c]);
        }
      }
    }

    // Output.
    T* out = reinterpret_cast<T*>(dstRow);
    for (int32_t g = 0; g < dstW; ++g, out += stride) {
      for (int c = 0; c < kElems; ++c) {
        const size_t e = static_cast<size_t>(g) * kElems + c;
        StoreMean<T>(static_cast<double>(fPix[e]), norm, out + c);
      }
    }
  }
}

}  // namespace resize_driver

// ---- The 27 kernels and the nine super-sampling kernels of build B ------------------------------

template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC1) {
  (void)channels;
  resize_driver::NearestKernel<uint8_t, 1>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 1);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC3) {
  resize_driver::NearestKernel<uint8_t, 3>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, channels);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC4) {
  (void)channels;
  resize_driver::NearestKernel<uint8_t, 4>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 4);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC1) {
  (void)channels;
  resize_driver::NearestKernel<uint16_t, 1>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 1);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC3) {
  resize_driver::NearestKernel<uint16_t, 3>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs,
                                            channels);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC4) {
  (void)channels;
  resize_driver::NearestKernel<uint16_t, 4>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 4);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC1) {
  (void)channels;
  resize_driver::NearestKernel<uint32_t, 1>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 1);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC3) {
  resize_driver::NearestKernel<uint32_t, 3>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs,
                                            channels);
}
template <class B>
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC4) {
  (void)channels;
  resize_driver::NearestKernel<uint32_t, 4>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 4);
}

template <class B, typename T>
OST_RESIZE_LINEAR_KERNEL(ResizeLinearN) {
  resize_driver::LinearMulti<B, T>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs,
                                   rowWeights, colWeights, rowBuf0, rowBuf1, channels, layout);
}
template <class B, typename T>
OST_RESIZE_LINEAR_KERNEL(ResizeLinearC1) {
  (void)channels, (void)layout;
  resize_driver::LinearKernel<B, T, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs,
                                       rowWeights, colWeights, rowBuf0, rowBuf1, 1);
}

template <class B, typename T>
OST_RESIZE_CUBIC_KERNEL(ResizeCubicN) {
  float* const buffers[4] = {rowBuf0, rowBuf1, rowBuf2, rowBuf3};
  resize_driver::CubicMulti<B, T>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos,
                                  colPos, buffers, channels, layout);
}
template <class B, typename T>
OST_RESIZE_CUBIC_KERNEL(ResizeCubicC1) {
  (void)channels, (void)layout;
  float* const buffers[4] = {rowBuf0, rowBuf1, rowBuf2, rowBuf3};
  resize_driver::CubicKernel<B, T, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs,
                                      rowPos, colPos, buffers, 1);
}

template <class B, typename T>
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczosN) {
  (void)yEnlarge;
  float* const buffers[6] = {rowBuf0, rowBuf1, rowBuf2, rowBuf3, rowBuf4, rowBuf5};
  resize_driver::LanczosMulti<B, T>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs,
                                    rowWeights6, colWeights6, buffers, roiX, roiY, restW, restH,
                                    channels, layout);
}
template <class B, typename T>
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczosC1) {
  (void)yEnlarge, (void)channels, (void)layout;
  float* const buffers[6] = {rowBuf0, rowBuf1, rowBuf2, rowBuf3, rowBuf4, rowBuf5};
  resize_driver::LanczosKernel<B, T, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs,
                                        rowWeights6, colWeights6, buffers, roiX, roiY, restW, restH,
                                        1);
}

// kElems 1 (one channel or a plane), 3 (three channels at the pixel stride) or 4.
template <class B, typename T, int kElems>
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample) {
  resize_driver::SuperKernel<B, T, kElems>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH,
                                           hStep, vStep, norm, kElems == 3 ? channels : kElems,
                                           fractionCode, rowBuffer);
}

// The kernel tables of build B: the worker's table and the two further tables ordered nearest,
// linear, cubic, lanczos (nothing reads those), and the super-sampling table.
template <class B>
struct ResizeBuildTables {
  static constexpr ResizeLanczosKernel kLanczos[6] = {
      ResizeLanczosN<B, uint8_t>,  ResizeLanczosN<B, uint16_t>,  ResizeLanczosN<B, float>,
      ResizeLanczosC1<B, uint8_t>, ResizeLanczosC1<B, uint16_t>, ResizeLanczosC1<B, float>};
  static constexpr ResizeCubicKernel kCubic[6] = {
      ResizeCubicN<B, uint8_t>,  ResizeCubicN<B, uint16_t>,  ResizeCubicN<B, float>,
      ResizeCubicC1<B, uint8_t>, ResizeCubicC1<B, uint16_t>, ResizeCubicC1<B, float>};
  static constexpr ResizeLinearKernel kLinear[6] = {
      ResizeLinearN<B, uint8_t>,  ResizeLinearN<B, uint16_t>,  ResizeLinearN<B, float>,
      ResizeLinearC1<B, uint8_t>, ResizeLinearC1<B, uint16_t>, ResizeLinearC1<B, float>};
  static constexpr ResizeNearestKernel kNearest[9] = {
      ResizeNearest8uC3<B>, ResizeNearest16uC3<B>, ResizeNearest32fC3<B>,
      ResizeNearest8uC1<B>, ResizeNearest16uC1<B>, ResizeNearest32fC1<B>,
      ResizeNearest8uC4<B>, ResizeNearest16uC4<B>, ResizeNearest32fC4<B>};

  static constexpr ResizeKernelTable Table() {
    ResizeKernelTable t{};
    for (int k = 0; k < 6; ++k) {
      t.lanczos[k] = kLanczos[k];
      t.cubic[k] = kCubic[k];
      t.linear[k] = kLinear[k];
    }
    for (int k = 0; k < 9; ++k) t.nearest[k] = kNearest[k];
    return t;
  }
  static constexpr ResizeKernelTableByNearest TableByNearest() {
    ResizeKernelTableByNearest t{};
    for (int k = 0; k < 6; ++k) {
      t.lanczos[k] = kLanczos[k];
      t.cubic[k] = kCubic[k];
      t.linear[k] = kLinear[k];
    }
    for (int k = 0; k < 9; ++k) t.nearest[k] = kNearest[k];
    return t;
  }
  static constexpr ResizeSuperKernelTable SuperTable() {
    return {{
        {ResizeSuperSample<B, uint8_t, 1>, ResizeSuperSample<B, uint8_t, 3>,
         ResizeSuperSample<B, uint8_t, 4>},
        {ResizeSuperSample<B, uint16_t, 1>, ResizeSuperSample<B, uint16_t, 3>,
         ResizeSuperSample<B, uint16_t, 4>},
        {ResizeSuperSample<B, float, 1>, ResizeSuperSample<B, float, 3>,
         ResizeSuperSample<B, float, 4>},
    }};
  }
};
