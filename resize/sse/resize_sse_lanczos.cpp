// Lanczos row helpers and weight builder of the SSE build: six-term sums in single precision,
// every product and every partial sum rounded in order, ((((t0 w0 + t1 w1) + t2 w2) + t3 w3) +
// t4 w4) + t5 w5.
#include <xmmintrin.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "resize/resize_worker.h"
#include "resize/sse/resize_sse_rows.h"

void ResizeLanczosWeightsSse(const float* fractions, int32_t count, float* weights) {
  const float* table = ResizeLanczosTable;
  for (int32_t i = 0; i < count; ++i) {
    const float x0 = -2.0f - fractions[i];
    for (int j = 0; j < 6; ++j) {
      const float x = x0 + static_cast<float>(j);
      float w = 0.0f;
      if (x > -3.0f && x < 3.0f) {
        const float a = std::fabs(x) * 100.0f;
        const int32_t k = static_cast<int32_t>(a);
        const float d = table[k + 1] - table[k];
        const float e = a - static_cast<float>(k);
        w = d * e + table[k];
      }
      weights[6 * static_cast<ptrdiff_t>(i) + j] = w;
    }
  }
}

namespace {

inline float Sum6(const float (&t)[6], const float* w) {
  float s = t[0] * w[0];
  for (int k = 1; k < 6; ++k) s = s + t[k] * w[k];
  return s;
}

// One destination column: the taps at the given source columns (relative to x, times stride).
template <typename T, int kElems>
inline void Column(const T* src, int64_t o, int64_t stride, const int (&cols)[6], const float* w,
                   float* out) {
  for (int c = 0; c < kElems; ++c) {
    float t[6];
    for (int k = 0; k < 6; ++k) t[k] = static_cast<float>(src[o + cols[k] * stride + c]);
    out[c] = Sum6(t, w);
  }
}

// The forward sequence of phases: left replication (L = 0 or 1), interior, right replication.
// An offset that fits no remaining phase ends the pass.
template <typename T, int kElems>
void Horz(const T* src, int64_t stride, const int32_t* ofs, const float* w6, float* out, int32_t n,
          int32_t L, int32_t R) {
  int32_t j = 0;
  auto run = [&](auto fits, const int(&cols)[6]) {
    for (; j < n && fits(int64_t{ofs[j]}); ++j) {
      Column<T, kElems>(src, ofs[j], stride, cols, w6 + 6 * static_cast<ptrdiff_t>(j),
                        out + static_cast<ptrdiff_t>(j) * kElems);
    }
  };
  if (L == 0) {
    run([](int64_t o) { return o == 0; }, {0, 0, 0, 1, 2, 3});
    run([&](int64_t o) { return o == stride; }, {-1, -1, 0, 1, 2, 3});
  } else if (L == 1) {
    run([](int64_t o) { return o == 0; }, {-1, -1, 0, 1, 2, 3});
  }
  // Interior columns read x - 2 .. x + 3 as they are: x - 2 lies at or right of column -L.
  const int64_t lo = L == 0 ? 2 * stride : L == 1 ? stride : 0;
  const int64_t right = int64_t{R} * stride;
  run([&](int64_t o) { return o >= lo && o < right - 3 * stride; }, {-2, -1, 0, 1, 2, 3});
  run([&](int64_t o) { return o == right - 3 * stride; }, {-2, -1, 0, 1, 2, 2});
  run([&](int64_t o) { return o == right - 2 * stride; }, {-2, -1, 0, 1, 1, 1});
  run([&](int64_t o) { return o == right - stride; }, {-2, -1, 0, 0, 0, 0});
}

// 8u and 16u: the sum widened to double, + 1e-7, truncated and clamped.
template <typename T>
inline T VertOut(float s) {
  constexpr double kMax = sizeof(T) == 1 ? 255.0 : 65535.0;
  const double x = static_cast<double>(s) + 0.0000001;
  if (!(x > 0.0)) return 0;
  if (x >= kMax) return static_cast<T>(kMax);
  return static_cast<T>(static_cast<int32_t>(x));
}

template <typename T>
inline T VertAt(const float* w, const float* const (&rows)[6], ptrdiff_t e) {
  const float t[6] = {rows[0][e], rows[1][e], rows[2][e], rows[3][e], rows[4][e], rows[5][e]};
  const float s = Sum6(t, w);
  if constexpr (std::is_same_v<T, float>) {
    return s;
  } else {
    return VertOut<T>(s);
  }
}

template <typename T>
void VertFlat(T* dst, int32_t m, const float* w, const float* const (&rows)[6]) {
  for (int32_t e = 0; e < m; ++e) dst[e] = VertAt<T>(w, rows, e);
}

template <typename T>
void VertAC4(T* dst, int32_t n, const float* w, const float* const (&rows)[6]) {
  for (int32_t j = 0; j < n; ++j) {
    for (int c = 0; c < 3; ++c)
      dst[4 * static_cast<ptrdiff_t>(j) + c] = VertAt<T>(w, rows, 3 * j + c);
  }
}

bool Overlaps(const void* a, size_t aBytes, const void* b, size_t bBytes) {
  const uintptr_t a0 = reinterpret_cast<uintptr_t>(a);
  const uintptr_t b0 = reinterpret_cast<uintptr_t>(b);
  return a0 < b0 + bBytes && b0 < a0 + aBytes;
}

}  // namespace

#define OST_LANCZOS_H_MEMBER(name, T, kElems)                                         \
  void name(const T* src, const int32_t* ofs, const float* w6, float* out, int32_t n, \
            int32_t roiX, int32_t restW) {                                            \
    Horz<T, kElems>(src, kElems, ofs, w6, out, n, roiX, restW);                       \
  }
#define OST_LANCZOS_H3_MEMBER(name, T)                                                     \
  void name(const T* src, int32_t stride, const int32_t* ofs, const float* w6, float* out, \
            int32_t n, int32_t roiX, int32_t restW) {                                      \
    Horz<T, 3>(src, stride, ofs, w6, out, n, roiX, restW);                                 \
  }
OST_LANCZOS_H_MEMBER(ResizeLanczosH8uC1Sse, uint8_t, 1)
OST_LANCZOS_H_MEMBER(ResizeLanczosH8uC4Sse, uint8_t, 4)
OST_LANCZOS_H3_MEMBER(ResizeLanczosH8uC3Sse, uint8_t)
OST_LANCZOS_H_MEMBER(ResizeLanczosH16uC1Sse, uint16_t, 1)
OST_LANCZOS_H_MEMBER(ResizeLanczosH16uC4Sse, uint16_t, 4)
OST_LANCZOS_H3_MEMBER(ResizeLanczosH16uC3Sse, uint16_t)
OST_LANCZOS_H_MEMBER(ResizeLanczosH32fC1Sse, float, 1)
OST_LANCZOS_H_MEMBER(ResizeLanczosH32fC4Sse, float, 4)
OST_LANCZOS_H3_MEMBER(ResizeLanczosH32fC3Sse, float)

void ResizeLanczosV8uSse(uint8_t* dst, int32_t m, const float* w6, const float* const (&rows)[6]) {
  VertFlat(dst, m, w6, rows);
}
void ResizeLanczosV8uAC4Sse(uint8_t* dst, int32_t n, const float* w6,
                            const float* const (&rows)[6]) {
  VertAC4(dst, n, w6, rows);
}
void ResizeLanczosV16uSse(uint16_t* dst, int32_t m, const float* w6,
                          const float* const (&rows)[6]) {
  VertFlat(dst, m, w6, rows);
}
void ResizeLanczosV16uAC4Sse(uint16_t* dst, int32_t n, const float* w6,
                             const float* const (&rows)[6]) {
  VertAC4(dst, n, w6, rows);
}
void ResizeLanczosV32fAC4Sse(float* dst, int32_t n, const float* w6,
                             const float* const (&rows)[6]) {
  VertAC4(dst, n, w6, rows);
}

// The scalar loop below 11 elements, for a destination not 4-byte aligned or overlapping a row
// or the weights; otherwise a scalar peel to a 16-byte boundary, eight elements per step in two
// groups of four lanes (prefetching 64 bytes ahead in each row), and a scalar tail.
void ResizeLanczosV32fSse(float* dst, int32_t m, const float* w6, const float* const (&rows)[6]) {
  if (m <= 0) return;
  const size_t bytes = static_cast<size_t>(m) * sizeof(float);
  bool scalar = m < 11 || (reinterpret_cast<uintptr_t>(dst) & 3) != 0 ||
                Overlaps(dst, bytes, w6, 6 * sizeof(float));
  for (int k = 0; k < 6 && !scalar; ++k) scalar = Overlaps(dst, bytes, rows[k], bytes);
  if (scalar) {
    VertFlat(dst, m, w6, rows);
    return;
  }
  int32_t e = 0;
  const uintptr_t mis = reinterpret_cast<uintptr_t>(dst) & 15;
  if (mis != 0) {
    const int32_t peel = static_cast<int32_t>((16 - mis) / 4);
    for (; e < peel; ++e) dst[e] = VertAt<float>(w6, rows, e);
  }
  __m128 w[6];
  for (int k = 0; k < 6; ++k) w[k] = _mm_set1_ps(w6[k]);
  auto lane4 = [&](ptrdiff_t i) {
    __m128 s = _mm_mul_ps(_mm_loadu_ps(rows[0] + i), w[0]);
    for (int k = 1; k < 5; ++k) s = _mm_add_ps(s, _mm_mul_ps(_mm_loadu_ps(rows[k] + i), w[k]));
    const __m128 t5 = _mm_loadu_ps(rows[5] + i);
    return _mm_add_ps(s, _mm_mul_ps(t5, w[5]));
  };
  const int32_t end = e + ((m - e) & ~7);
  for (; e < end; e += 8) {
    for (int k = 0; k < 6; ++k) {
      _mm_prefetch(reinterpret_cast<const char*>(rows[k] + e) + 64, _MM_HINT_NTA);
    }
    _mm_store_ps(dst + e, lane4(e));
    _mm_store_ps(dst + e + 4, lane4(e + 4));
  }
  for (; e < m; ++e) dst[e] = VertAt<float>(w6, rows, e);
}
