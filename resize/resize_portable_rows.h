// Row helpers of the portable build, the policy its kernels are instantiated with: plain C++
// written for the compiler's vectoriser.  Integer linear rows use 14-bit weights; float sums are
// formed in double precision and rounded once when stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "resize/resize_drivers.h"

struct ResizePortableRows {
  static constexpr bool kLinearShortcuts8u = true;

  // ---- Linear ----------------------------------------------------------------------------------

  // 8-bit: (w0 * left + w1 * right + 128) >> 8 (the sample times 64); 16-bit: ... + 8192 >> 14.
  static uint16_t LinearHorz(uint8_t, uint32_t p0, uint32_t p1, uint32_t left, uint32_t right) {
    return static_cast<uint16_t>((p0 * left + p1 * right + 128) >> 8);
  }
  static uint16_t LinearHorz(uint16_t, uint32_t p0, uint32_t p1, uint32_t left, uint32_t right) {
    return static_cast<uint16_t>((p0 * left + p1 * right + 8192) >> 14);
  }
  // upper * (16384 - a) + lower * a, rounded and shifted.  The 8-bit filtered values fit in 16
  // signed bits, which lets the compiler use 16-bit multiplies.
  static uint8_t LinearVert8u(int16_t upper, int16_t lower, int16_t a) {
    const int16_t d = static_cast<int16_t>(lower - upper);
    return static_cast<uint8_t>((upper * 16384 + d * a + 0x80000) >> 20);
  }
  static uint16_t LinearVert16u(int32_t upper, int32_t lower, int32_t a) {
    return static_cast<uint16_t>((upper * 16384 + (lower - upper) * a + 8192) >> 14);
  }

  // Source pixel stride kStride, or stride when kStride is 0.
  template <typename T, int kElems, int kStride>
  static void LinearHorzRow(const T* row, int32_t n, int32_t stride, const int32_t* colOfs,
                            const ResizeLinearWeight<T>* colW, ResizeLinearBuf<T>* out) {
    if constexpr (kStride != 0) stride = kStride;
    for (int32_t j = 0; j < n; ++j) {
      const T* p = row + colOfs[j];
      if constexpr (std::is_same_v<T, float>) {
        const double f = colW[j];
        for (int c = 0; c < kElems; ++c) {
          const double p0 = p[c], p1 = p[c + stride];
          out[c] = static_cast<float>(p0 + (p1 - p0) * f);
        }
      } else {
        const uint32_t left = colW[2 * j];
        const uint32_t right = colW[2 * j + 1];
        for (int c = 0; c < kElems; ++c) out[c] = LinearHorz(T{}, p[c], p[c + stride], left, right);
      }
      out += kElems;
    }
  }

  template <typename T, int kElems>
  static void LinearH(const T* row, int32_t n, int32_t stride, const int32_t* colOfs,
                      const ResizeLinearWeight<T>* colW, ResizeLinearBuf<T>* out) {
    if (stride == kElems) {
      LinearHorzRow<T, kElems, kElems>(row, n, stride, colOfs, colW, out);
    } else {
      LinearHorzRow<T, kElems, 0>(row, n, stride, colOfs, colW, out);
    }
  }

  template <typename T>
  static void LinearV(T* dst, int32_t m, ResizeLinearWeight<T> a, const ResizeLinearBuf<T>* upper,
                      const ResizeLinearBuf<T>* lower) {
    if constexpr (std::is_same_v<T, float>) {
      const double f = a;
      for (int32_t e = 0; e < m; ++e) {
        dst[e] = static_cast<float>(upper[e] * (1.0 - f) + lower[e] * f);
      }
    } else if constexpr (std::is_same_v<T, uint8_t>) {
      const int16_t w = static_cast<int16_t>(a);
      for (int32_t e = 0; e < m; ++e) dst[e] = LinearVert8u(upper[e], lower[e], w);
    } else {
      const int32_t w = a;
      for (int32_t e = 0; e < m; ++e) dst[e] = LinearVert16u(upper[e], lower[e], w);
    }
  }

  // Three values per pixel into pixels four elements apart; the fourth is left untouched.
  template <typename T>
  static void LinearVAC4(T* dst, int32_t n, ResizeLinearWeight<T> a,
                         const ResizeLinearBuf<T>* upper, const ResizeLinearBuf<T>* lower) {
    for (int32_t j = 0; j < n; ++j) {
      LinearV<T>(dst, 3, a, upper, lower);
      upper += 3, lower += 3, dst += 4;
    }
  }

  // ---- Cubic -----------------------------------------------------------------------------------

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

  // The vertical result: + 1e-7, truncated and clamped (integers); plain float otherwise.
  template <typename T>
  static T CubicOut(double v) {
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
  static void CubicH(const T* row, int32_t n, int32_t stride, const int32_t* colOfs,
                     const float* colPos, float* out) {
    for (int32_t j = 0; j < n; ++j) {
      const T* p = row + colOfs[j];
      const CubicFactors f(colPos[j]);
      for (int c = 0; c < kElems; ++c) {
        out[c] = static_cast<float>(f.Value(p[c - stride], p[c], p[c + stride], p[c + 2 * stride]));
      }
      out += kElems;
    }
  }

  template <typename T>
  static void CubicV(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,
                     const float* r3) {
    const CubicFactors f(t);
    for (int32_t e = 0; e < m; ++e) dst[e] = CubicOut<T>(f.Value(r0[e], r1[e], r2[e], r3[e]));
  }

  template <typename T>
  static void CubicVAC4(T* dst, int32_t n, float t, const float* r0, const float* r1,
                        const float* r2, const float* r3) {
    for (int32_t j = 0; j < n; ++j) {
      CubicV<T>(dst, 3, t, r0, r1, r2, r3);
      r0 += 3, r1 += 3, r2 += 3, r3 += 3, dst += 4;
    }
  }

  // ---- Lanczos ---------------------------------------------------------------------------------

  template <typename T>
  static T LanczosOut(double s) {
    return CubicOut<T>(s);
  }

  // Tap k of column j is source column x + k - 2, kept within the image (-roiX .. restW - 1,
  // counted from the region's left column).
  template <typename T, int kElems>
  static void LanczosH(const T* row, int32_t stride, const int32_t* colOfs, const float* colW6,
                       float* out, int32_t n, int32_t roiX, int32_t restW) {
    for (int32_t j = 0; j < n; ++j) {
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

  template <typename T>
  static void LanczosV(T* dst, int32_t m, const float* w, const float* const (&rows)[6]) {
    for (int32_t e = 0; e < m; ++e) {
      double sum = 0.0;
      for (int k = 0; k < 6; ++k) sum += static_cast<double>(rows[k][e]) * w[k];
      dst[e] = LanczosOut<T>(sum);
    }
  }

  template <typename T>
  static void LanczosVAC4(T* dst, int32_t n, const float* w, const float* const (&rows)[6]) {
    for (int32_t j = 0; j < n; ++j) {
      const int32_t e = 3 * j;
      const float* const at[6] = {rows[0] + e, rows[1] + e, rows[2] + e,
                                  rows[3] + e, rows[4] + e, rows[5] + e};
      LanczosV<T>(dst + 4 * static_cast<ptrdiff_t>(j), 3, w, at);
    }
  }

  // ---- Super-sampling accumulators -------------------------------------------------------------

  template <typename T, int kElems>
  static void SuperAcc(const T* first, int32_t srcStep, int32_t n, int32_t m,
                       ResizeSuperSum<T>* acc, int32_t stride) {
    if (n <= 0) return;
    const uint8_t* rowBytes = reinterpret_cast<const uint8_t*>(first);
    for (int32_t r = 0; r < m; ++r, rowBytes += srcStep) {
      const T* row = reinterpret_cast<const T*>(rowBytes);
      ResizeSuperSum<T>* sums = acc;
      if (stride == kElems) {
        const ptrdiff_t count = static_cast<ptrdiff_t>(n) * kElems;
        for (ptrdiff_t e = 0; e < count; ++e) Add(sums[e], row[e]);
        continue;
      }
      for (int32_t x = 0; x < n; ++x, row += stride, sums += kElems) {
        for (int c = 0; c < kElems; ++c) Add(sums[c], row[c]);
      }
    }
  }
  template <typename T>
  static void Add(ResizeSuperSum<T>& sum, T v) {
    if constexpr (std::is_same_v<T, float>) {
      sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(v));
    } else {
      sum += v;
    }
  }
};
