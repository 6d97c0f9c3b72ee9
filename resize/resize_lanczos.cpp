// Six-tap lanczos kernels: weights from the tabulated window (not normalised), a horizontal pass
// into float rows with taps clamped to the image, and a window of six filtered rows combined
// vertically.  Sums are formed in double precision.
#include <cmath>
#include <cstddef>
#include <type_traits>

#include "resize/resize_kernels.h"
#include "resize/resize_row_window.h"
#include "resize/resize_worker.h"

void ResizeLanczosWeights(const float* fractions, int32_t count, float* weights) {
  const float* table = ResizeLanczosTable;
  for (int32_t j = 0; j < count; ++j) {
    double x = -2.0 - static_cast<double>(fractions[j]);
    for (int k = 0; k < 6; ++k, x += 1.0) {
      float w = 0.0f;
      if (x > -3.0 && x < 3.0) {
        const double u = std::fabs(x) * 100.0;
        const int32_t i = static_cast<int32_t>(u);
        w = static_cast<float>(table[i] + (u - i) * (static_cast<double>(table[i + 1]) - table[i]));
      }
      weights[6 * static_cast<ptrdiff_t>(j) + k] = w;
    }
  }
}

namespace {

template <typename T>
T LanczosOut(double s) {
  if constexpr (std::is_same_v<T, float>) {
    return static_cast<float>(s);
  } else {
    constexpr double kMax = sizeof(T) == 1 ? 255.0 : 65535.0;
    const double x = s + 1e-7;
    if (!(x > 0.0)) return 0;
    if (x >= kMax) return static_cast<T>(kMax);
    return static_cast<T>(x);
  }
}

// Horizontal pass: tap k of column j is source column s + k - 2, kept within the image
// (-roiX .. restW - 1, counted from the ROI's left column).
template <typename T, int kElems>
void LanczosHorz(const T* row, int32_t stride, const int32_t* colOfs, const float* colW6,
                 float* out, int32_t dstW, int32_t roiX, int32_t restW) {
  for (int32_t j = 0; j < dstW; ++j) {
    const int32_t s = colOfs[j] / stride;
    const float* w = colW6 + 6 * static_cast<ptrdiff_t>(j);
    const T* taps[6];
    for (int k = 0; k < 6; ++k) {
      int32_t col = s + k - 2;
      col = col < -roiX ? -roiX : col > restW - 1 ? restW - 1 : col;
      taps[k] = row + static_cast<ptrdiff_t>(col) * stride;
    }
    for (int c = 0; c < kElems; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 6; ++k) sum += static_cast<double>(w[k]) * taps[k][c];
      out[c] = static_cast<float>(sum);
    }
    out += kElems;
  }
}

template <typename T, int kElems>
void LanczosVert(T* dst, int32_t dstW, int32_t stride, const float* w, float* const (&rows)[6]) {
  const bool packed = stride == kElems;
  for (int32_t j = 0; j < dstW; ++j) {
    const ptrdiff_t e0 = static_cast<ptrdiff_t>(j) * kElems;
    T* out = dst + (packed ? e0 : static_cast<ptrdiff_t>(j) * stride);
    for (int c = 0; c < kElems; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 6; ++k) sum += static_cast<double>(rows[k][e0 + c]) * w[k];
      out[c] = LanczosOut<T>(sum);
    }
  }
}

template <typename T, int kElems>
void LanczosKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t dstW,
                   int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                   const float* rowWeights6, const float* colWeights6, float* const (&buffers)[6],
                   int32_t roiX, int32_t roiY, int32_t restW, int32_t restH, int32_t stride) {
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  ResizeRowWindow<float, 6> window(buffers);
  auto filter = [&](int64_t row, float* out) {
    LanczosHorz<T, kElems>(src + row * srcStep, stride, colOfs, colWeights6, out, dstW, roiX,
                           restW);
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
    float* const taps[6] = {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5]};
    LanczosVert<T, kElems>(dst + static_cast<ptrdiff_t>(i) * dstStep, dstW, stride,
                           rowWeights6 + 6 * static_cast<ptrdiff_t>(i), taps);
  }
}

template <typename T>
void LanczosMulti(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
                  int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                  const float* rowWeights6, const float* colWeights6, float* const (&buffers)[6],
                  int32_t roiX, int32_t roiY, int32_t restW, int32_t restH, int32_t channels,
                  int32_t layout) {
  if (layout == 4) {
    LanczosKernel<T, 4>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                        colWeights6, buffers, roiX, roiY, restW, restH, channels);
  } else {
    LanczosKernel<T, 3>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                        colWeights6, buffers, roiX, roiY, restW, restH, channels);
  }
}

}  // namespace

// The window is kept by row, so the single-step mode of enlargements needs no loop of its own.
#define OST_LANCZOS_BUFFERS \
  (void)yEnlarge;           \
  float* const buffers[6] = {rowBuf0, rowBuf1, rowBuf2, rowBuf3, rowBuf4, rowBuf5}

OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos8u) {
  OST_LANCZOS_BUFFERS;
  LanczosMulti<uint8_t>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                        colWeights6, buffers, roiX, roiY, restW, restH, channels, layout);
}
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos16u) {
  OST_LANCZOS_BUFFERS;
  LanczosMulti<uint16_t>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                         colWeights6, buffers, roiX, roiY, restW, restH, channels, layout);
}
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos32f) {
  OST_LANCZOS_BUFFERS;
  LanczosMulti<float>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                      colWeights6, buffers, roiX, roiY, restW, restH, channels, layout);
}
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos8uC1) {
  (void)channels, (void)layout;
  OST_LANCZOS_BUFFERS;
  LanczosKernel<uint8_t, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                            colWeights6, buffers, roiX, roiY, restW, restH, 1);
}
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos16uC1) {
  (void)channels, (void)layout;
  OST_LANCZOS_BUFFERS;
  LanczosKernel<uint16_t, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                             colWeights6, buffers, roiX, roiY, restW, restH, 1);
}
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos32fC1) {
  (void)channels, (void)layout;
  OST_LANCZOS_BUFFERS;
  LanczosKernel<float, 1>(src, dst, srcStep, dstStep, dstW, dstH, rowOfs, colOfs, rowWeights6,
                          colWeights6, buffers, roiX, roiY, restW, restH, 1);
}
