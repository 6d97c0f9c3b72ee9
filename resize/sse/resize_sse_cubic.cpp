// Cubic row helpers of the SSE build: Newton's form through the taps at -1, 0, 1, 2 in single
// precision.  Each row helper hands the largest multiple of four of its work to a quad helper
// (packed, four results per step) and finishes on the scalar path; the two paths order their
// operations differently, and the quad helpers of the integer vertical passes round to nearest
// after a bias of 1e-5 where the scalar path truncates after 1e-7.
#include <emmintrin.h>
#include <xmmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/sse/resize_sse_rows.h"

namespace {

constexpr float kThird = 0.333333313f;  // one unit in the last place below the nearest to 1/3
constexpr float kQuadBias = 0.00001f;

// ---- Scalar path -------------------------------------------------------------------------------

struct ScalarCoef {
  float u, h, g;
  explicit ScalarCoef(float t) {
    u = 1.0f + t;
    h = (t * u) * 0.5f;
    g = ((t - 1.0f) * h) / 3.0f;
  }
  float Horz(float p0, float p1, float p2, float p3) const {
    const float d1 = p1 - p0;
    const float d2 = (p2 - p1) - d1;
    const float d3 = ((p1 - (p2 + p2)) + p3) - d2;
    return ((p0 + g * d3) + h * d2) + u * d1;
  }
  float Vert(float p0, float p1, float p2, float p3) const {
    const float d1 = p1 - p0;
    const float d2 = (p2 - p1) - d1;
    const float d3 = (((p3 - p2) - p2) + p1) - d2;
    return ((p0 + g * d3) + h * d2) + u * d1;
  }
  // The order of the 32f AC4 vertical helper.
  float VertAC4(float p0, float p1, float p2, float p3) const {
    const float d1 = p1 - p0;
    const float d2 = (p2 - d1) - p1;
    const float d3 = (((p3 - d2) - p2) - p2) + p1;
    return ((g * d3 + h * d2) + u * d1) + p0;
  }
};

// Widened to double, + 1e-7, truncated toward zero and clamped; floats as they are.
template <typename T>
T ScalarOut(float r) {
  if constexpr (std::is_same_v<T, float>) {
    return r;
  } else {
    constexpr double kMax = sizeof(T) == 1 ? 255.0 : 65535.0;
    const double x = static_cast<double>(r) + 0.0000001;
    if (!(x > 0.0)) return 0;
    if (x >= kMax) return static_cast<T>(kMax);
    return static_cast<T>(static_cast<int32_t>(x));
  }
}

// ---- Packed path -------------------------------------------------------------------------------

// (p0 + d1 * u) + (d2 * h + d3 * g).
inline __m128 PackedValue(__m128 p0, __m128 d1, __m128 d2, __m128 d3, __m128 u, __m128 h,
                          __m128 g) {
  return _mm_add_ps(_mm_add_ps(p0, _mm_mul_ps(d1, u)),
                    _mm_add_ps(_mm_mul_ps(d2, h), _mm_mul_ps(d3, g)));
}

// Horizontal: u = t + 1; h = (t * 0.5) * u; g = (t - 1) * (h * K);
// d3 = ((p3 - p2) - p2) + (p1 - d2).
inline __m128 PackedHorz(__m128 t, __m128 p0, __m128 p1, __m128 p2, __m128 p3) {
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 u = _mm_add_ps(t, one);
  const __m128 h = _mm_mul_ps(_mm_mul_ps(t, _mm_set1_ps(0.5f)), u);
  const __m128 g = _mm_mul_ps(_mm_sub_ps(t, one), _mm_mul_ps(h, _mm_set1_ps(kThird)));
  const __m128 d1 = _mm_sub_ps(p1, p0);
  const __m128 d2 = _mm_sub_ps(_mm_sub_ps(p2, p1), d1);
  const __m128 d3 = _mm_add_ps(_mm_sub_ps(_mm_sub_ps(p3, p2), p2), _mm_sub_ps(p1, d2));
  return PackedValue(p0, d1, d2, d3, u, h, g);
}

// Vertical coefficients, once per call: g = ((t - 1) * K) * h.
struct PackedCoef {
  __m128 u, h, g;
  explicit PackedCoef(float tf) {
    const __m128 t = _mm_set1_ps(tf);
    const __m128 one = _mm_set1_ps(1.0f);
    u = _mm_add_ps(t, one);
    h = _mm_mul_ps(_mm_mul_ps(t, _mm_set1_ps(0.5f)), u);
    g = _mm_mul_ps(_mm_mul_ps(_mm_sub_ps(t, one), _mm_set1_ps(kThird)), h);
  }
  // d3 = (p3 - d2) + ((p1 - p2) - p2).
  __m128 Value(__m128 p0, __m128 p1, __m128 p2, __m128 p3) const {
    const __m128 d1 = _mm_sub_ps(p1, p0);
    const __m128 d2 = _mm_sub_ps(_mm_sub_ps(p2, p1), d1);
    const __m128 d3 = _mm_add_ps(_mm_sub_ps(p3, d2), _mm_sub_ps(_mm_sub_ps(p1, p2), p2));
    return PackedValue(p0, d1, d2, d3, u, h, g);
  }
};

// ---- Horizontal --------------------------------------------------------------------------------

// Quad: one pass per channel over the groups of four columns; taps converted exactly to float.
template <typename T, int kElems>
void HorzQuad(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const float* pos,
              float* out) {
  for (int c = 0; c < kElems; ++c) {
    for (int32_t j = 0; j < n; j += 4) {
      const T* a = src + ofs[j] + c;
      const T* b = src + ofs[j + 1] + c;
      const T* d = src + ofs[j + 2] + c;
      const T* e = src + ofs[j + 3] + c;
      auto tap = [&](int k) {
        const ptrdiff_t o = static_cast<ptrdiff_t>(k) * stride;
        return _mm_setr_ps(static_cast<float>(a[o]), static_cast<float>(b[o]),
                           static_cast<float>(d[o]), static_cast<float>(e[o]));
      };
      const __m128 r = PackedHorz(_mm_loadu_ps(pos + j), tap(-1), tap(0), tap(1), tap(2));
      if constexpr (kElems == 1) {
        _mm_storeu_ps(out + j, r);
      } else {
        alignas(16) float v[4];
        _mm_store_ps(v, r);
        for (int k = 0; k < 4; ++k) out[static_cast<ptrdiff_t>(j + k) * kElems + c] = v[k];
      }
    }
  }
}

template <typename T, int kElems>
void HorzScalar(const T* src, int32_t from, int32_t n, int32_t stride, const int32_t* ofs,
                const float* pos, float* out) {
  for (int32_t j = from; j < n; ++j) {
    const T* p = src + ofs[j];
    const ScalarCoef k(pos[j]);
    for (int c = 0; c < kElems; ++c) {
      out[static_cast<ptrdiff_t>(j) * kElems + c] =
          k.Horz(static_cast<float>(p[c - stride]), static_cast<float>(p[c]),
                 static_cast<float>(p[c + stride]), static_cast<float>(p[c + 2 * stride]));
    }
  }
}

template <typename T, int kElems, typename Quad>
void HorzRow(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const float* pos,
             float* out, Quad quad) {
  const int32_t q = n - n % 4;
  if (q >= 4) quad(q);
  HorzScalar<T, kElems>(src, q, n, stride, ofs, pos, out);
}

// ---- Vertical ----------------------------------------------------------------------------------

// Four packed results to T: 8-bit saturates through signed 16 bits to unsigned 8 bits, 16-bit
// clamps the 32-bit integers, float keeps the bias.
template <typename T>
void StoreQuad(__m128 r, T* dst, bool aligned) {
  if constexpr (std::is_same_v<T, float>) {
    const __m128 v = _mm_add_ps(r, _mm_set1_ps(kQuadBias));
    if (aligned) {
      _mm_store_ps(dst, v);
    } else {
      _mm_storeu_ps(dst, v);
    }
  } else {
    const __m128i i = _mm_cvtps_epi32(_mm_add_ps(r, _mm_set1_ps(kQuadBias)));
    if constexpr (sizeof(T) == 1) {
      const __m128i w = _mm_packs_epi32(i, i);
      const int32_t b = _mm_cvtsi128_si32(_mm_packus_epi16(w, w));
      std::memcpy(dst, &b, 4);
    } else {
      alignas(16) int32_t v[4];
      _mm_store_si128(reinterpret_cast<__m128i*>(v), i);
      for (int k = 0; k < 4; ++k) {
        dst[k] = static_cast<T>(v[k] < 0 ? 0 : v[k] > 65535 ? 65535 : v[k]);
      }
    }
  }
}

template <typename T>
void VertQuad(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,
              const float* r3) {
  const PackedCoef k(t);
  const bool aligned = (reinterpret_cast<uintptr_t>(dst) & 15) == 0;
  for (int32_t e = 0; e < m; e += 4) {
    const __m128 r = k.Value(_mm_loadu_ps(r0 + e), _mm_loadu_ps(r1 + e), _mm_loadu_ps(r2 + e),
                             _mm_loadu_ps(r3 + e));
    StoreQuad<T>(r, dst + e, aligned);
  }
}

// AC4: the values go to the next channel positions, skipping the fourth element of each pixel.
template <typename T>
void VertQuadAC4(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,
                 const float* r3) {
  const PackedCoef k(t);
  ptrdiff_t pos = 0;
  int channel = 0;
  for (int32_t e = 0; e < m; e += 4) {
    const __m128 r = k.Value(_mm_loadu_ps(r0 + e), _mm_loadu_ps(r1 + e), _mm_loadu_ps(r2 + e),
                             _mm_loadu_ps(r3 + e));
    T v[4];
    StoreQuad<T>(r, v, false);
    for (int i = 0; i < 4; ++i) {
      dst[pos] = v[i];
      pos += channel == 2 ? 2 : 1;
      channel = channel == 2 ? 0 : channel + 1;
    }
  }
}

template <typename T>
void VertRow(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,
             const float* r3) {
  const int32_t q = m - m % 4;
  if (q >= 4) VertQuad<T>(dst, q, t, r0, r1, r2, r3);
  const ScalarCoef k(t);
  for (int32_t e = q; e < m; ++e) dst[e] = ScalarOut<T>(k.Vert(r0[e], r1[e], r2[e], r3[e]));
}

template <typename T>
void VertRowAC4(T* dst, int32_t n, float t, const float* r0, const float* r1, const float* r2,
                const float* r3) {
  const int32_t m = 3 * n;
  const int32_t q = m - m % 4;
  if (q >= 4) VertQuadAC4<T>(dst, q, t, r0, r1, r2, r3);
  const ScalarCoef k(t);
  ptrdiff_t pos = 4 * static_cast<ptrdiff_t>(q / 3) + q % 3;
  int channel = q % 3;
  for (int32_t e = q; e < m; ++e) {
    dst[pos] = ScalarOut<T>(k.Vert(r0[e], r1[e], r2[e], r3[e]));
    pos += channel == 2 ? 2 : 1;
    channel = channel == 2 ? 0 : channel + 1;
  }
}

}  // namespace

// ---- The named helpers -------------------------------------------------------------------------

#define OST_CUBIC_H_MEMBERS(name, T, kElems)                                                   \
  void name##Quad(const T* src, int32_t n, const int32_t* ofs, const float* pos, float* out) { \
    HorzQuad<T, kElems>(src, n, kElems, ofs, pos, out);                                        \
  }                                                                                            \
  void name(const T* src, int32_t n, const int32_t* ofs, const float* pos, float* out) {       \
    HorzRow<T, kElems>(src, n, kElems, ofs, pos, out,                                          \
                       [&](int32_t q) { name##Quad(src, q, ofs, pos, out); });                 \
  }
#define OST_CUBIC_H3_MEMBERS(name, T)                                                            \
  void name##Quad(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const float* pos, \
                  float* out) {                                                                  \
    HorzQuad<T, 3>(src, n, stride, ofs, pos, out);                                               \
  }                                                                                              \
  void name(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const float* pos,       \
            float* out) {                                                                        \
    HorzRow<T, 3>(src, n, stride, ofs, pos, out,                                                 \
                  [&](int32_t q) { name##Quad(src, q, stride, ofs, pos, out); });                \
  }
#define OST_CUBIC_V_MEMBERS(name, T)                                                             \
  void name##Quad(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2, \
                  const float* r3) {                                                             \
    VertQuad<T>(dst, m, t, r0, r1, r2, r3);                                                      \
  }                                                                                              \
  void name(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,       \
            const float* r3) {                                                                   \
    VertRow<T>(dst, m, t, r0, r1, r2, r3);                                                       \
  }
#define OST_CUBIC_VAC4_MEMBERS(name, T)                                                          \
  void name##Quad(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2, \
                  const float* r3) {                                                             \
    VertQuadAC4<T>(dst, m, t, r0, r1, r2, r3);                                                   \
  }                                                                                              \
  void name(T* dst, int32_t n, float t, const float* r0, const float* r1, const float* r2,       \
            const float* r3) {                                                                   \
    VertRowAC4<T>(dst, n, t, r0, r1, r2, r3);                                                    \
  }

OST_CUBIC_H_MEMBERS(ResizeCubicH8uC1Sse, uint8_t, 1)
OST_CUBIC_H_MEMBERS(ResizeCubicH8uC4Sse, uint8_t, 4)
OST_CUBIC_H3_MEMBERS(ResizeCubicH8uC3Sse, uint8_t)
OST_CUBIC_V_MEMBERS(ResizeCubicV8uSse, uint8_t)
OST_CUBIC_VAC4_MEMBERS(ResizeCubicV8uAC4Sse, uint8_t)
OST_CUBIC_H_MEMBERS(ResizeCubicH16uC1Sse, uint16_t, 1)
OST_CUBIC_H_MEMBERS(ResizeCubicH16uC4Sse, uint16_t, 4)
OST_CUBIC_H3_MEMBERS(ResizeCubicH16uC3Sse, uint16_t)
OST_CUBIC_V_MEMBERS(ResizeCubicV16uSse, uint16_t)
OST_CUBIC_VAC4_MEMBERS(ResizeCubicV16uAC4Sse, uint16_t)
OST_CUBIC_H_MEMBERS(ResizeCubicH32fC1Sse, float, 1)
OST_CUBIC_H_MEMBERS(ResizeCubicH32fC4Sse, float, 4)
OST_CUBIC_H3_MEMBERS(ResizeCubicH32fC3Sse, float)
OST_CUBIC_V_MEMBERS(ResizeCubicV32fSse, float)

// Every element on the scalar path, in its own order of operations.
void ResizeCubicV32fAC4Sse(float* dst, int32_t n, float t, const float* r0, const float* r1,
                           const float* r2, const float* r3) {
  const ScalarCoef k(t);
  for (int32_t j = 0; j < n; ++j, dst += 4, r0 += 3, r1 += 3, r2 += 3, r3 += 3) {
    for (int c = 0; c < 3; ++c) dst[c] = k.VertAC4(r0[c], r1[c], r2[c], r3[c]);
  }
}
