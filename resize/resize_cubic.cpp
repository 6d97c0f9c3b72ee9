// Cubic kernels: the cubic through four samples (Newton's forward differences from tap -1),
// first along four source rows into float rows, then down the four filtered rows.
#include <cstddef>
#include <type_traits>

#include "resize/resize_kernels.h"
#include "resize/resize_row_window.h"

namespace {

// Per-position factors of the difference form: A = t + 1, B = t A / 2, C = B (t - 1) / 3.
struct CubicFactors {
  double a, b, c;
  explicit CubicFactors(float tf) {
    const double t = tf;
    a = t + 1.0;
    b = t * a * 0.5;
    c = b * (t - 1.0) / 3.0;
  }
  double Value(double sm1, double s0, double s1, double s2) const {
    const double d1 = s0 - sm1;
    const double d2 = (s1 - s0) - d1;
    const double d3 = (s0 - 2.0 * s1 + s2) - d2;
    return sm1 + a * d1 + b * d2 + c * d3;
  }
};

// Conversion of the vertical result: + 1e-7, truncate, clamp (integers); plain float otherwise.
template <typename T>
T CubicOut(double v) {
  if constexpr (std::is_same_v<T, float>) {
    return static_cast<float>(v);
  } else {
    constexpr double kMax = sizeof(T) == 1 ? 255.0 : 65535.0;
    const double x = v + 1e-7;
    if (!(x > 0.0)) return 0;
    if (x >= kMax) return static_cast<T>(kMax);
    return static_cast<T>(x);
  }
}

template <typename T, int kElems>
void CubicHorz(const T* row, int32_t dstW, int32_t stride, const int32_t* colOfs,
               const float* colPos, float* out) {
  for (int32_t j = 0; j < dstW; ++j) {
    const T* p = row + colOfs[j];
    const CubicFactors f(colPos[j]);
    for (int c = 0; c < kElems; ++c) {
      out[c] = static_cast<float>(f.Value(p[c - stride], p[c], p[c + stride], p[c + 2 * stride]));
    }
    out += kElems;
  }
}

// Vertical pass: kElems values per pixel into pixels stride elements apart.
template <typename T, int kElems>
void CubicVert(T* dst, int32_t dstW, int32_t stride, float t, float* const (&rows)[4]) {
  const CubicFactors f(t);
  const float *r0 = rows[0], *r1 = rows[1], *r2 = rows[2], *r3 = rows[3];
  if (stride == kElems) {
    const ptrdiff_t count = static_cast<ptrdiff_t>(dstW) * kElems;
    for (ptrdiff_t e = 0; e < count; ++e) dst[e] = CubicOut<T>(f.Value(r0[e], r1[e], r2[e], r3[e]));
    return;
  }
  for (int32_t j = 0; j < dstW; ++j) {
    for (int c = 0; c < kElems; ++c) dst[c] = CubicOut<T>(f.Value(r0[c], r1[c], r2[c], r3[c]));
    r0 += kElems, r1 += kElems, r2 += kElems, r3 += kElems;
    dst += stride;
  }
}

template <typename T, int kElems>
void CubicKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t dstW,
                 int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos,
                 const float* colPos, float* const (&buffers)[4], int32_t stride) {
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  ResizeRowWindow<float, 4> window(buffers);
  auto filter = [&](int64_t ofs, float* out) {
    CubicHorz<T, kElems>(src + ofs, dstW, stride, colOfs, colPos, out);
  };
  for (int32_t i = 0; i < dstH; ++i) {
    const int64_t r = rowOfs[i];
    float* rows[4];
    window.Acquire({r - srcStep, r, r + srcStep, r + 2 * int64_t{srcStep}}, rows, filter);
    float* const taps[4] = {rows[0], rows[1], rows[2], rows[3]};
    CubicVert<T, kElems>(dst + static_cast<ptrdiff_t>(i) * dstStep, dstW, stride, rowPos[i], taps);
  }
}

template <typename T>
void CubicMulti(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
                int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos,
                const float* colPos, float* const (&buffers)[4], int32_t channels, int32_t layout) {
  if (layout == 4) {
    CubicKernel<T, 4>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                      buffers, channels);
  } else {
    CubicKernel<T, 3>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                      buffers, channels);
  }
}

}  // namespace

#define OST_CUBIC_BUFFERS float* const buffers[4] = {rowBuf0, rowBuf1, rowBuf2, rowBuf3}

OST_RESIZE_CUBIC_KERNEL(ResizeCubic8u) {
  OST_CUBIC_BUFFERS;
  CubicMulti<uint8_t>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                      buffers, channels, layout);
}
OST_RESIZE_CUBIC_KERNEL(ResizeCubic16u) {
  OST_CUBIC_BUFFERS;
  CubicMulti<uint16_t>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                       buffers, channels, layout);
}
OST_RESIZE_CUBIC_KERNEL(ResizeCubic32f) {
  OST_CUBIC_BUFFERS;
  CubicMulti<float>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos, buffers,
                    channels, layout);
}
OST_RESIZE_CUBIC_KERNEL(ResizeCubic8uC1) {
  (void)channels, (void)layout;
  OST_CUBIC_BUFFERS;
  CubicKernel<uint8_t, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                          buffers, 1);
}
OST_RESIZE_CUBIC_KERNEL(ResizeCubic16uC1) {
  (void)channels, (void)layout;
  OST_CUBIC_BUFFERS;
  CubicKernel<uint16_t, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                           buffers, 1);
}
OST_RESIZE_CUBIC_KERNEL(ResizeCubic32fC1) {
  (void)channels, (void)layout;
  OST_CUBIC_BUFFERS;
  CubicKernel<float, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowPos, colPos,
                        buffers, 1);
}
