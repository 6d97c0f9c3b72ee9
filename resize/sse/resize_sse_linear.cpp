// Linear row helpers of the SSE build.  Integer rows: 14-bit weights, exact integer arithmetic
// (the results of the portable helpers).  Float rows: single precision, four lanes where the
// layout allows, every operation rounded in the order the formulas give.
#include <xmmintrin.h>

#include <cstddef>
#include <cstdint>

#include "resize/sse/resize_sse_rows.h"

namespace {

inline uint16_t Horz8u(uint32_t a, uint32_t b, uint32_t w0, uint32_t w1) {
  return static_cast<uint16_t>((w0 * a + w1 * b + 128) >> 8);
}
inline uint16_t Horz16u(uint32_t a, uint32_t b, uint32_t w0, uint32_t w1) {
  return static_cast<uint16_t>((w0 * a + w1 * b + 8192) >> 14);
}
// (wy * lower + (16384 - wy) * upper + 2^19) >> 20, written as upper * 16384 + (lower - upper) *
// wy: the same integer, in 16-bit products that the vectoriser can use.
inline uint8_t Vert8u(int16_t upper, int16_t lower, int16_t wy) {
  const int16_t d = static_cast<int16_t>(lower - upper);
  return static_cast<uint8_t>((upper * 16384 + d * wy + 0x80000) >> 20);
}
inline uint16_t Vert16u(int32_t upper, int32_t lower, int32_t wy) {
  return static_cast<uint16_t>((wy * lower + (16384 - wy) * upper + 8192) >> 14);
}
inline float Horz32f(float left, float right, float f) {
  const float d = right - left;
  const float p = d * f;
  return left + p;
}
inline float Vert32f(float upper, float lower, float f, float omf) {
  const float a = upper * omf;
  const float b = lower * f;
  return a + b;
}

// One pixel of kElems channels per step; the right pixel stride elements on.
template <typename T, int kElems, typename Fn>
void HorzPixels(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const uint16_t* w,
                uint16_t* out, Fn fn) {
  for (int32_t j = 0; j < n; ++j, out += kElems) {
    const T* p = src + ofs[j];
    const uint32_t w0 = w[2 * j], w1 = w[2 * j + 1];
    for (int c = 0; c < kElems; ++c) out[c] = fn(p[c], p[c + stride], w0, w1);
  }
}

// Two columns per step, then the last one alone.
template <typename T, typename Fn>
void HorzPairs(const T* src, int32_t n, const int32_t* ofs, const uint16_t* w, uint16_t* out,
               Fn fn) {
  int32_t j = 0;
  for (; j + 2 <= n; j += 2) {
    const T* p = src + ofs[j];
    const T* q = src + ofs[j + 1];
    out[j] = fn(p[0], p[1], w[2 * j], w[2 * j + 1]);
    out[j + 1] = fn(q[0], q[1], w[2 * j + 2], w[2 * j + 3]);
  }
  if (j < n) out[j] = fn(src[ofs[j]], src[ofs[j] + 1], w[2 * j], w[2 * j + 1]);
}

}  // namespace

void ResizeLinearH8uC1Sse(const uint8_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                          uint16_t* out) {
  HorzPairs(src, n, ofs, w, out, Horz8u);
}
void ResizeLinearH8uC4Sse(const uint8_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                          uint16_t* out) {
  HorzPixels<uint8_t, 4>(src, n, 4, ofs, w, out, Horz8u);
}
void ResizeLinearH8uC3Sse(const uint8_t* src, int32_t n, int32_t stride, const int32_t* ofs,
                          const uint16_t* w, uint16_t* out) {
  HorzPixels<uint8_t, 3>(src, n, stride, ofs, w, out, Horz8u);
}
void ResizeLinearH16uC1Sse(const uint16_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                           uint16_t* out) {
  HorzPairs(src, n, ofs, w, out, Horz16u);
}
void ResizeLinearH16uC4Sse(const uint16_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                           uint16_t* out) {
  HorzPixels<uint16_t, 4>(src, n, 4, ofs, w, out, Horz16u);
}
void ResizeLinearH16uC3Sse(const uint16_t* src, int32_t n, int32_t stride, const int32_t* ofs,
                           const uint16_t* w, uint16_t* out) {
  HorzPixels<uint16_t, 3>(src, n, stride, ofs, w, out, Horz16u);
}

void ResizeLinearV8uSse(uint8_t* dst, int32_t m, int32_t wy, const uint16_t* upper,
                        const uint16_t* lower) {
  const int16_t a = static_cast<int16_t>(wy);
  const int32_t pairs = m & ~1;
  for (int32_t e = 0; e < pairs; ++e) {
    dst[e] = Vert8u(static_cast<int16_t>(upper[e]), static_cast<int16_t>(lower[e]), a);
  }
  if (pairs < m) {
    dst[pairs] = Vert8u(static_cast<int16_t>(upper[pairs]), static_cast<int16_t>(lower[pairs]), a);
  }
}
void ResizeLinearV8uAC4Sse(uint8_t* dst, int32_t n, int32_t wy, const uint16_t* upper,
                           const uint16_t* lower) {
  const int16_t a = static_cast<int16_t>(wy);
  for (int32_t j = 0; j < n; ++j, dst += 4, upper += 3, lower += 3) {
    for (int c = 0; c < 3; ++c) {
      dst[c] = Vert8u(static_cast<int16_t>(upper[c]), static_cast<int16_t>(lower[c]), a);
    }
  }
}
void ResizeLinearV16uSse(uint16_t* dst, int32_t m, int32_t wy, const uint16_t* upper,
                         const uint16_t* lower) {
  const int32_t pairs = m & ~1;
  for (int32_t e = 0; e < pairs; ++e) dst[e] = Vert16u(upper[e], lower[e], wy);
  if (pairs < m) dst[pairs] = Vert16u(upper[pairs], lower[pairs], wy);
}
void ResizeLinearV16uAC4Sse(uint16_t* dst, int32_t n, int32_t wy, const uint16_t* upper,
                            const uint16_t* lower) {
  for (int32_t j = 0; j < n; ++j, dst += 4, upper += 3, lower += 3) {
    for (int c = 0; c < 3; ++c) dst[c] = Vert16u(upper[c], lower[c], wy);
  }
}

// Groups of four columns: each column's pair s[o], s[o + 1] in one 8-byte load, the left and the
// right values separated into two vectors, four weights, four results; the rest one at a time.
void ResizeLinearH32fC1Sse(const float* src, int32_t n, const int32_t* ofs, const float* w,
                           float* out) {
  int32_t j = 0;
  for (; j + 4 <= n; j += 4) {
    __m128 p01 = _mm_setzero_ps();
    __m128 p23 = _mm_setzero_ps();
    p01 = _mm_loadl_pi(p01, reinterpret_cast<const __m64*>(src + ofs[j]));
    p01 = _mm_loadh_pi(p01, reinterpret_cast<const __m64*>(src + ofs[j + 1]));
    p23 = _mm_loadl_pi(p23, reinterpret_cast<const __m64*>(src + ofs[j + 2]));
    p23 = _mm_loadh_pi(p23, reinterpret_cast<const __m64*>(src + ofs[j + 3]));
    const __m128 left = _mm_shuffle_ps(p01, p23, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 right = _mm_shuffle_ps(p01, p23, _MM_SHUFFLE(3, 1, 3, 1));
    const __m128 f = _mm_loadu_ps(w + j);
    const __m128 r = _mm_add_ps(left, _mm_mul_ps(_mm_sub_ps(right, left), f));
    _mm_storeu_ps(out + j, r);
  }
  for (; j < n; ++j) out[j] = Horz32f(src[ofs[j]], src[ofs[j] + 1], w[j]);
}
void ResizeLinearH32fC4Sse(const float* src, int32_t n, const int32_t* ofs, const float* w,
                           float* out) {
  for (int32_t j = 0; j < n; ++j, out += 4) {
    const float* p = src + ofs[j];
    for (int c = 0; c < 4; ++c) out[c] = Horz32f(p[c], p[c + 4], w[j]);
  }
}
void ResizeLinearH32fC3Sse(const float* src, int32_t n, int32_t stride, const int32_t* ofs,
                           const float* w, float* out) {
  for (int32_t j = 0; j < n; ++j, out += 3) {
    const float* p = src + ofs[j];
    for (int c = 0; c < 3; ++c) out[c] = Horz32f(p[c], p[c + stride], w[j]);
  }
}

// Groups of four elements, then the rest one at a time; 1 - f once per call.
void ResizeLinearV32fSse(float* dst, int32_t m, float f, const float* upper, const float* lower) {
  const float omf = 1.0f - f;
  const __m128 vf = _mm_set1_ps(f);
  const __m128 vomf = _mm_set1_ps(omf);
  const bool aligned = (reinterpret_cast<uintptr_t>(dst) & 15) == 0;
  int32_t e = 0;
  for (; e + 4 <= m; e += 4) {
    const __m128 r = _mm_add_ps(_mm_mul_ps(_mm_loadu_ps(upper + e), vomf),
                                _mm_mul_ps(_mm_loadu_ps(lower + e), vf));
    if (aligned) {
      _mm_store_ps(dst + e, r);
    } else {
      _mm_storeu_ps(dst + e, r);
    }
  }
  for (; e < m; ++e) dst[e] = Vert32f(upper[e], lower[e], f, omf);
}
void ResizeLinearV32fAC4Sse(float* dst, int32_t n, float f, const float* upper,
                            const float* lower) {
  const float omf = 1.0f - f;
  for (int32_t j = 0; j < n; ++j, dst += 4, upper += 3, lower += 3) {
    for (int c = 0; c < 3; ++c) dst[c] = Vert32f(upper[c], lower[c], f, omf);
  }
}
