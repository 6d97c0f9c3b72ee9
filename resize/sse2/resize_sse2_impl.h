// The SSE2 build's row helpers and lanczos weights, compiled once by each build that carries
// them (resize_sse2.cpp, resize_sse3.cpp; OST_SIMD_SUFFIX names the build).  The kernels are the
// shared drivers instantiated with these helpers.  Everything but the build's tables and entry
// points has internal linkage, so each build holds its own copy.
//
// Arithmetic that decides results: linear 8/16-bit in exact integers, as the generic build;
// linear float, cubic and lanczos horizontal sums in single precision per operation; cubic
// four-wide blocks round to nearest after + 1e-5 while one-at-a-time remainders truncate after
// + 1e-7; lanczos integer vertical sums in double, + 1e-7, truncated.
#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "resize/resize_alloc.h"
#include "resize/resize_build.h"
#include "resize/resize_image.h"
#include "resize/resize_drivers.h"
#include "resize/resize_worker.h"
#include "resize/sse2/resize_sse2.h"

#define OST_SIMD_PASTE2(a, b) a##b
#define OST_SIMD_PASTE(a, b) OST_SIMD_PASTE2(a, b)
#define OST_SIMD_NAME(name) OST_SIMD_PASTE(name, OST_SIMD_SUFFIX)

namespace {

// ---- Small helpers ------------------------------------------------------------------------------

template <typename T>
inline T LoadAs(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline __m128i Load32(const void* p) {
  return _mm_cvtsi32_si128(LoadAs<int32_t>(p));
}

inline void Store32(void* p, __m128i v) {
  const int32_t x = _mm_cvtsi128_si32(v);
  std::memcpy(p, &x, 4);
}

// 32-bit lanes holding 0 .. 65535 (or saturating beyond) to unsigned 16-bit values.
inline __m128i PackU32ToU16(__m128i lo, __m128i hi) {
  const __m128i bias = _mm_set1_epi32(32768);
  const __m128i packed = _mm_packs_epi32(_mm_sub_epi32(lo, bias), _mm_sub_epi32(hi, bias));
  return _mm_xor_si128(packed, _mm_set1_epi16(static_cast<int16_t>(0x8000)));
}

// Exact products of unsigned 16-bit lanes: low four and high four 32-bit products.
inline void MulU16(__m128i a, __m128i b, __m128i& lo, __m128i& hi) {
  const __m128i pl = _mm_mullo_epi16(a, b);
  const __m128i ph = _mm_mulhi_epu16(a, b);
  lo = _mm_unpacklo_epi16(pl, ph);
  hi = _mm_unpackhi_epi16(pl, ph);
}

template <typename T>
inline constexpr double kMaxSample = sizeof(T) == 1 ? 255.0 : 65535.0;

// Double value + 1e-7, truncated toward zero and saturated to the sample range.
template <typename T>
inline T TruncSaturate(double a) {
  const double x = a + 1e-7;
  if (!(x > 0.0)) return 0;
  if (x >= kMaxSample<T>) return static_cast<T>(kMaxSample<T>);
  return static_cast<T>(static_cast<int32_t>(x));
}

// ---- Linear, 8-bit ------------------------------------------------------------------------------

inline int16_t Linear8uH(uint32_t s0, uint32_t s1, int32_t a, int32_t b) {
  return static_cast<int16_t>((static_cast<int32_t>(s0) * a + static_cast<int32_t>(s1) * b + 128) >>
                              8);
}

void LinearHorz8uC1(const uint8_t* s, int32_t dstW, const int32_t* colOfs, const int16_t* xW,
                    int16_t* out) {
  const __m128i round = _mm_set1_epi32(128);
  const __m128i zero = _mm_setzero_si128();
  int32_t j = 0;
  for (; dstW - j >= 8; j += 8) {
    uint16_t pairs[8];
    for (int k = 0; k < 8; ++k) pairs[k] = LoadAs<uint16_t>(s + colOfs[j + k]);
    const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs));
    const __m128i w0 = _mm_load_si128(reinterpret_cast<const __m128i*>(xW + 2 * j));
    const __m128i w1 = _mm_load_si128(reinterpret_cast<const __m128i*>(xW + 2 * j + 8));
    __m128i r0 = _mm_madd_epi16(_mm_unpacklo_epi8(px, zero), w0);
    __m128i r1 = _mm_madd_epi16(_mm_unpackhi_epi8(px, zero), w1);
    r0 = _mm_srai_epi32(_mm_add_epi32(r0, round), 8);
    r1 = _mm_srai_epi32(_mm_add_epi32(r1, round), 8);
    _mm_store_si128(reinterpret_cast<__m128i*>(out + j), _mm_packs_epi32(r0, r1));
  }
  if (dstW - j >= 4) {
    uint16_t pairs[4];
    for (int k = 0; k < 4; ++k) pairs[k] = LoadAs<uint16_t>(s + colOfs[j + k]);
    const __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs));
    const __m128i w0 = _mm_load_si128(reinterpret_cast<const __m128i*>(xW + 2 * j));
    __m128i r0 = _mm_madd_epi16(_mm_unpacklo_epi8(px, zero), w0);
    r0 = _mm_srai_epi32(_mm_add_epi32(r0, round), 8);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j), _mm_packs_epi32(r0, r0));
    j += 4;
  }
  for (; j < dstW; ++j) {
    const uint8_t* p = s + colOfs[j];
    out[j] = Linear8uH(p[0], p[1], xW[2 * j], xW[2 * j + 1]);
  }
}

// Three or four channels, the pair at x and x + d (d the pixel stride, 4 for four channels).
// Three channels at stride 3 read only the six bytes of the two pixels.
template <int kElems>
void LinearHorz8uCn(const uint8_t* s, int32_t dstW, int32_t stride, const int32_t* colOfs,
                    const int16_t* xW, int16_t* out) {
  const __m128i round = _mm_set1_epi32(128);
  const __m128i zero = _mm_setzero_si128();
  const bool wide = kElems == 4 || stride == 4;
  for (int32_t j = 0; j < dstW; ++j) {
    const uint8_t* p = s + colOfs[j];
    uint8_t left[4] = {};
    uint8_t right[4] = {};
    if (wide) {
      std::memcpy(left, p, 4);
      std::memcpy(right, p + 4, 4);
    } else {
      std::memcpy(left, p, 3);
      std::memcpy(right, p + 3, 3);
    }
    const __m128i l = Load32(left);
    const __m128i r = Load32(right);
    const __m128i pairs = _mm_unpacklo_epi8(_mm_unpacklo_epi8(l, r), zero);
    const uint32_t w = static_cast<uint16_t>(xW[2 * j]) |
                       static_cast<uint32_t>(static_cast<uint16_t>(xW[2 * j + 1])) << 16;
    __m128i v = _mm_madd_epi16(pairs, _mm_set1_epi32(static_cast<int32_t>(w)));
    v = _mm_srai_epi32(_mm_add_epi32(v, round), 8);
    alignas(16) int16_t vals[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(vals), _mm_packs_epi32(v, v));
    std::memcpy(out + static_cast<ptrdiff_t>(j) * kElems, vals, sizeof(int16_t) * kElems);
  }
}

// Three-channel packed pixels with the column weights prepared once per call as one
// (left, right) 16-bit pair per value: the taps of a block of columns become (left, right) byte
// pairs in value order (one 8-byte load per column, both taps), then eight values per step blend
// with one pmaddwd each half: (left wl + right wr + 128) >> 8.
void LinearHorz8uC3Pairs(const uint8_t* row, int32_t dstW, const int32_t* colOfs,
                         const int32_t* pairW, int16_t* out) {
  constexpr int32_t kBlock = 256;
  alignas(16) uint8_t taps[kBlock * 6 + 16];
  const __m128i zero = _mm_setzero_si128();
  const __m128i round = _mm_set1_epi32(128);
  // An 8-byte load at a column reads two bytes past its right tap: it stays within the last
  // column's taps when the column lies at least two bytes before it.
  const int32_t limit = colOfs[dstW - 1] - 2;
  bool loads = true;
  for (int32_t j0 = 0; j0 < dstW; j0 += kBlock) {
    const int32_t n = std::min(kBlock, dstW - j0);
    const int32_t* ofs = colOfs + j0;
    int32_t k = 0;
    for (; loads && k + 2 <= n; k += 2) {
      if (ofs[k] > limit || ofs[k + 1] > limit) {
        loads = false;
        break;
      }
      const __m128i x =
          _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + ofs[k])),
                             _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + ofs[k + 1])));
      const __m128i r = _mm_srli_epi64(x, 24);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(taps + 6 * k), _mm_unpacklo_epi8(x, r));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(taps + 6 * k + 6), _mm_unpackhi_epi8(x, r));
    }
    for (; k < n; ++k) {
      const uint8_t* p = row + ofs[k];
      uint8_t* t = taps + 6 * k;
      t[0] = p[0], t[1] = p[3], t[2] = p[1], t[3] = p[4], t[4] = p[2], t[5] = p[5];
    }
    const int32_t m = n * 3;
    const int32_t* w = pairW + static_cast<ptrdiff_t>(j0) * 3;
    int16_t* o = out + static_cast<ptrdiff_t>(j0) * 3;
    int32_t e = 0;
    for (; m - e >= 8; e += 8) {
      const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(taps + 2 * e));
      __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi8(v, zero),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + e)));
      __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi8(v, zero),
                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + e + 4)));
      lo = _mm_srai_epi32(_mm_add_epi32(lo, round), 8);
      hi = _mm_srai_epi32(_mm_add_epi32(hi, round), 8);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + e), _mm_packs_epi32(lo, hi));
    }
    for (; e < m; ++e) {
      const uint32_t pw = static_cast<uint32_t>(w[e]);
      o[e] = Linear8uH(taps[2 * e], taps[2 * e + 1], static_cast<int16_t>(pw & 0xFFFF),
                       static_cast<int16_t>(pw >> 16));
    }
  }
}

inline uint8_t Linear8uV(int32_t u, int32_t l, int32_t w) {
  const int32_t v = (u * (16384 - w) + l * w + 524288) >> 20;
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

void LinearVert8u(uint8_t* d, int32_t count, int32_t w, const int16_t* u, const int16_t* l) {
  const __m128i wp =
      _mm_set1_epi32(static_cast<int32_t>(static_cast<uint32_t>(w) << 16 | (16384u - w)));
  const __m128i round = _mm_set1_epi32(524288);
  int32_t i = 0;
  for (; count - i >= 8; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l + i));
    __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(a, b), wp);
    __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi16(a, b), wp);
    lo = _mm_srai_epi32(_mm_add_epi32(lo, round), 20);
    hi = _mm_srai_epi32(_mm_add_epi32(hi, round), 20);
    const __m128i p = _mm_packs_epi32(lo, hi);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(p, p));
  }
  if (count - i >= 4) {
    const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(u + i));
    const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(l + i));
    __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(a, b), wp);
    lo = _mm_srai_epi32(_mm_add_epi32(lo, round), 20);
    const __m128i p = _mm_packs_epi32(lo, lo);
    Store32(d + i, _mm_packus_epi16(p, p));
    i += 4;
  }
  for (; i < count; ++i) d[i] = Linear8uV(u[i], l[i], w);
}

// Three values per pixel into four-byte pixels; the fourth byte is not written.
void LinearVert8uC3in4(uint8_t* d, int32_t dstW, int32_t w, const int16_t* u, const int16_t* l) {
  for (int32_t p = 0; p < dstW; ++p) {
    for (int c = 0; c < 3; ++c) d[4 * p + c] = Linear8uV(u[3 * p + c], l[3 * p + c], w);
  }
}

// ---- Linear, 16-bit -----------------------------------------------------------------------------

inline uint16_t Linear16u(uint32_t s0, uint32_t s1, uint32_t a, uint32_t b) {
  return static_cast<uint16_t>((s0 * a + s1 * b + 8192) >> 14);
}

void LinearHorz16uC1(const uint16_t* s, int32_t dstW, const int32_t* colOfs, const uint16_t* xW,
                     uint16_t* out) {
  const __m128i round = _mm_set1_epi32(8192);
  int32_t j = 0;
  for (; dstW - j >= 4; j += 4) {
    uint32_t pairs[4];
    for (int k = 0; k < 4; ++k) pairs[k] = LoadAs<uint32_t>(s + colOfs[j + k]);
    const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs));
    const __m128i w = _mm_load_si128(reinterpret_cast<const __m128i*>(xW + 2 * j));
    __m128i lo, hi;
    MulU16(px, w, lo, hi);
    // Pairwise sums: left product + right product of each column.
    const __m128 lf = _mm_castsi128_ps(lo);
    const __m128 hf = _mm_castsi128_ps(hi);
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(lf, hf, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(lf, hf, _MM_SHUFFLE(3, 1, 3, 1)));
    const __m128i v = _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(even, odd), round), 14);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + j), PackU32ToU16(v, v));
  }
  for (; j < dstW; ++j) {
    const uint16_t* p = s + colOfs[j];
    out[j] = Linear16u(p[0], p[1], xW[2 * j], xW[2 * j + 1]);
  }
}

template <int kElems>
void LinearHorz16uCn(const uint16_t* s, int32_t dstW, int32_t stride, const int32_t* colOfs,
                     const uint16_t* xW, uint16_t* out) {
  const int32_t d = kElems == 4 ? 4 : stride;
  for (int32_t j = 0; j < dstW; ++j) {
    const uint16_t* p = s + colOfs[j];
    uint16_t* o = out + static_cast<ptrdiff_t>(j) * kElems;
    for (int c = 0; c < kElems; ++c) o[c] = Linear16u(p[c], p[c + d], xW[2 * j], xW[2 * j + 1]);
  }
}

void LinearVert16u(uint16_t* d, int32_t count, uint32_t w, const uint16_t* u, const uint16_t* l) {
  const __m128i wu = _mm_set1_epi16(static_cast<int16_t>(16384 - w));
  const __m128i wl = _mm_set1_epi16(static_cast<int16_t>(w));
  const __m128i round = _mm_set1_epi32(8192);
  int32_t i = 0;
  for (; count - i >= 8; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(u + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(l + i));
    __m128i alo, ahi, blo, bhi;
    MulU16(a, wu, alo, ahi);
    MulU16(b, wl, blo, bhi);
    const __m128i lo = _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(alo, blo), round), 14);
    const __m128i hi = _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(ahi, bhi), round), 14);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), PackU32ToU16(lo, hi));
  }
  for (; i < count; ++i) d[i] = Linear16u(u[i], l[i], 16384 - w, w);
}

void LinearVert16uC3in4(uint16_t* d, int32_t dstW, uint32_t w, const uint16_t* u,
                        const uint16_t* l) {
  for (int32_t p = 0; p < dstW; ++p) {
    for (int c = 0; c < 3; ++c) d[4 * p + c] = Linear16u(u[3 * p + c], l[3 * p + c], 16384 - w, w);
  }
}

// ---- Linear, float ------------------------------------------------------------------------------

// s0 + (s1 - s0) x t and u x (1 - w) + l x w, single precision per operation.
void LinearHorz32fC1(const float* s, int32_t dstW, const int32_t* colOfs, const float* xW,
                     float* out) {
  int32_t j = 0;
  for (; dstW - j >= 4; j += 4) {
    const float* p0 = s + colOfs[j];
    const float* p1 = s + colOfs[j + 1];
    const float* p2 = s + colOfs[j + 2];
    const float* p3 = s + colOfs[j + 3];
    const __m128 a = _mm_setr_ps(p0[0], p1[0], p2[0], p3[0]);
    const __m128 b = _mm_setr_ps(p0[1], p1[1], p2[1], p3[1]);
    const __m128 t = _mm_load_ps(xW + j);
    _mm_store_ps(out + j, _mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), t)));
  }
  for (; j < dstW; ++j) {
    const float* p = s + colOfs[j];
    out[j] = p[0] + (p[1] - p[0]) * xW[j];
  }
}

template <int kElems>
void LinearHorz32fCn(const float* s, int32_t dstW, int32_t stride, const int32_t* colOfs,
                     const float* xW, float* out) {
  const int32_t d = kElems == 4 ? 4 : stride;
  for (int32_t j = 0; j < dstW; ++j) {
    const float* p = s + colOfs[j];
    const float t = xW[j];
    float* o = out + static_cast<ptrdiff_t>(j) * kElems;
    for (int c = 0; c < kElems; ++c) o[c] = p[c] + (p[c + d] - p[c]) * t;
  }
}

void LinearVert32f(float* d, int32_t count, float w, const float* u, const float* l) {
  const float rest = 1.0f - w;
  const __m128 wu = _mm_set1_ps(rest);
  const __m128 wl = _mm_set1_ps(w);
  const bool aligned = (reinterpret_cast<uintptr_t>(d) & 15) == 0;
  int32_t i = 0;
  for (; count - i >= 4; i += 4) {
    const __m128 a = _mm_loadu_ps(u + i);
    const __m128 b = _mm_loadu_ps(l + i);
    const __m128 v = _mm_add_ps(_mm_mul_ps(a, wu), _mm_mul_ps(b, wl));
    if (aligned) {
      _mm_store_ps(d + i, v);
    } else {
      _mm_storeu_ps(d + i, v);
    }
  }
  for (; i < count; ++i) d[i] = u[i] * rest + l[i] * w;
}

void LinearVert32fC3in4(float* d, int32_t dstW, float w, const float* u, const float* l) {
  const float rest = 1.0f - w;
  for (int32_t p = 0; p < dstW; ++p) {
    for (int c = 0; c < 3; ++c) d[4 * p + c] = u[3 * p + c] * rest + l[3 * p + c] * w;
  }
}

// ---- Cubic --------------------------------------------------------------------------------------

// 0.333333313, one unit in the last place below the single nearest to 1/3.
const float kCubicK = std::bit_cast<float>(0x3EAAAAAAu);

struct CubicBlockWeights {
  __m128 w1, w2, w3;
  explicit CubicBlockWeights(__m128 t) {
    const __m128 one = _mm_set1_ps(1.0f);
    w1 = _mm_add_ps(t, one);
    w2 = _mm_mul_ps(_mm_mul_ps(t, _mm_set1_ps(0.5f)), _mm_add_ps(t, one));
    w3 = _mm_mul_ps(_mm_mul_ps(_mm_sub_ps(t, one), w2), _mm_set1_ps(kCubicK));
  }
};

// Four-wide: d1 = s0 - sm1, d2 = (s1 - s0) - d1, d3 = ((s2 - s1) - s1) + (s0 - d2);
// (sm1 + w1 d1) + (w2 d2 + w3 d3).
inline __m128 CubicBlock(__m128 sm1, __m128 s0, __m128 s1, __m128 s2, const CubicBlockWeights& w) {
  const __m128 d1 = _mm_sub_ps(s0, sm1);
  const __m128 d2 = _mm_sub_ps(_mm_sub_ps(s1, s0), d1);
  const __m128 d3 = _mm_add_ps(_mm_sub_ps(_mm_sub_ps(s2, s1), s1), _mm_sub_ps(s0, d2));
  return _mm_add_ps(_mm_add_ps(sm1, _mm_mul_ps(w.w1, d1)),
                    _mm_add_ps(_mm_mul_ps(w.w2, d2), _mm_mul_ps(w.w3, d3)));
}

// One at a time: w3 divides by 3, and the terms are added to sm1 from the highest down.
struct CubicScalarWeights {
  float w1, w2, w3;
  explicit CubicScalarWeights(float t) {
    w1 = t + 1.0f;
    w2 = (t * 0.5f) * (t + 1.0f);
    w3 = ((t - 1.0f) * w2) / 3.0f;
  }
  float Value(float sm1, float s0, float s1, float s2) const {
    const float d1 = s0 - sm1;
    const float d2 = (s1 - s0) - d1;
    const float d3 = ((s2 - s1) - s1) + (s0 - d2);
    return ((sm1 + w3 * d3) + w2 * d2) + w1 * d1;
  }
};

template <typename T>
inline __m128 WidenTap(const T* p) {
  if constexpr (std::is_same_v<T, float>) {
    return _mm_setr_ps(p[0], p[1], p[2], p[3]);
  } else {
    return _mm_setr_ps(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]),
                       static_cast<float>(p[3]));
  }
}

// One channel: four-wide blocks over the first dstW - dstW mod 4 columns, then one at a time.
template <typename T>
void CubicHorzC1(const T* s, int32_t dstW, const int32_t* colOfs, const float* xT, float* out) {
  const int32_t m = dstW - dstW % 4;
  int32_t j = 0;
  if (m >= 4) {
    for (; j < m; j += 4) {
      // Rows of the 4 x 4 block: the taps -1 .. 2 of one column; transposed to one tap per vector.
      __m128 c0 = WidenTap(s + colOfs[j] - 1);
      __m128 c1 = WidenTap(s + colOfs[j + 1] - 1);
      __m128 c2 = WidenTap(s + colOfs[j + 2] - 1);
      __m128 c3 = WidenTap(s + colOfs[j + 3] - 1);
      _MM_TRANSPOSE4_PS(c0, c1, c2, c3);
      const CubicBlockWeights w(_mm_load_ps(xT + j));
      _mm_store_ps(out + j, CubicBlock(c0, c1, c2, c3, w));
    }
  }
  for (; j < dstW; ++j) {
    const T* p = s + colOfs[j];
    const CubicScalarWeights w(xT[j]);
    out[j] = w.Value(static_cast<float>(p[-1]), static_cast<float>(p[0]), static_cast<float>(p[1]),
                     static_cast<float>(p[2]));
  }
}

// Three or four channels: one pixel per step, the channels side by side.  At stride 3 the
// fourth lane is not loaded, so nothing past the last tap pixel is read.
template <typename T, int kElems>
void CubicHorzCn(const T* s, int32_t dstW, int32_t stride, const int32_t* colOfs, const float* xT,
                 float* out) {
  const int32_t d = kElems == 4 ? 4 : stride;
  const bool wide = d == 4;
  auto tap = [&](const T* p) {
    if (wide) return WidenTap(p);
    return _mm_setr_ps(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]),
                       0.0f);
  };
  int32_t j = 0;
  if constexpr (std::is_same_v<T, uint8_t> && kElems == 3) {
    if (d == 3) {
      // The four taps of a column from one 16-byte load at its first tap, which reads four bytes
      // past the last tap: within the row while the column lies four bytes before the last
      // column.  The fourth lane of each tap holds the next value; its result is written over
      // by the next column (the row buffer has room after the last one).
      const int32_t limit = colOfs[dstW - 1] - 4;
      const __m128i zero = _mm_setzero_si128();
      for (; j < dstW - 1 && colOfs[j] <= limit; ++j) {
        const uint8_t* p = s + colOfs[j];
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 3));
        const __m128i lo = _mm_unpacklo_epi8(x, zero);
        const __m128i hi = _mm_unpackhi_epi8(x, zero);
        const __m128 t0 = _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero));
        const __m128 t1 = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_srli_si128(lo, 6), zero));
        const __m128 t2 = _mm_cvtepi32_ps(
            _mm_unpacklo_epi16(_mm_or_si128(_mm_srli_si128(lo, 12), _mm_slli_si128(hi, 4)), zero));
        const __m128 t3 = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_srli_si128(hi, 2), zero));
        const CubicBlockWeights w(_mm_set1_ps(xT[j]));
        _mm_storeu_ps(out + static_cast<ptrdiff_t>(j) * 3, CubicBlock(t0, t1, t2, t3, w));
      }
    }
  }
  for (; j < dstW; ++j) {
    const T* p = s + colOfs[j];
    const CubicBlockWeights w(_mm_set1_ps(xT[j]));
    const __m128 v = CubicBlock(tap(p - d), tap(p), tap(p + d), tap(p + 2 * d), w);
    float* o = out + static_cast<ptrdiff_t>(j) * kElems;
    if constexpr (kElems == 4) {
      _mm_store_ps(o, v);
    } else {
      alignas(16) float vals[4];
      _mm_store_ps(vals, v);
      o[0] = vals[0], o[1] = vals[1], o[2] = vals[2];
    }
  }
}

// Block conversion: + 1e-5, round to nearest even, saturate.  Four results into v[0..3].
template <typename T>
inline void CubicBlockOut(__m128 value, T (&v)[4]) {
  if constexpr (std::is_same_v<T, float>) {
    _mm_storeu_ps(v, value);
  } else {
    const __m128i n = _mm_cvtps_epi32(_mm_add_ps(value, _mm_set1_ps(1e-5f)));
    if constexpr (std::is_same_v<T, uint8_t>) {
      const __m128i p = _mm_packs_epi32(n, n);
      Store32(v, _mm_packus_epi16(p, p));
    } else {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(v), PackU32ToU16(n, n));
    }
  }
}

template <typename T>
inline T CubicScalarOut(float value) {
  if constexpr (std::is_same_v<T, float>) {
    return value;
  } else {
    return TruncSaturate<T>(static_cast<double>(value));
  }
}

// Vertical pass over `count` values; pos(k) is the destination sample of value k.
template <typename T, typename Pos>
void CubicVert(T* d, int32_t count, float t, const float* r0, const float* r1, const float* r2,
               const float* r3, Pos&& pos, bool contiguous) {
  const int32_t m = count - count % 4;
  int32_t i = 0;
  if (m >= 4) {
    const CubicBlockWeights w(_mm_set1_ps(t));
    const bool aligned = (reinterpret_cast<uintptr_t>(d) & 15) == 0;
    for (; i < m; i += 4) {
      const __m128 v = CubicBlock(_mm_loadu_ps(r0 + i), _mm_loadu_ps(r1 + i), _mm_loadu_ps(r2 + i),
                                  _mm_loadu_ps(r3 + i), w);
      if (std::is_same_v<T, float> && contiguous) {
        float* o = reinterpret_cast<float*>(d) + i;
        if (aligned) {
          _mm_store_ps(o, v);
        } else {
          _mm_storeu_ps(o, v);
        }
        continue;
      }
      T out[4];
      CubicBlockOut<T>(v, out);
      if (contiguous) {
        std::memcpy(d + i, out, sizeof out);
      } else {
        for (int k = 0; k < 4; ++k) d[pos(i + k)] = out[k];
      }
    }
  }
  const CubicScalarWeights w(t);
  for (; i < count; ++i) d[pos(i)] = CubicScalarOut<T>(w.Value(r0[i], r1[i], r2[i], r3[i]));
}

// Float three-of-four pass: one pixel at a time, its own operation order.
void CubicVert32fC3in4(float* d, int32_t dstW, float t, const float* r0, const float* r1,
                       const float* r2, const float* r3) {
  const float w1 = t + 1.0f;
  const float w2 = (t * 0.5f) * (t + 1.0f);
  const float w3 = ((t - 1.0f) * w2) / 3.0f;
  for (int32_t p = 0; p < dstW; ++p) {
    for (int c = 0; c < 3; ++c) {
      const int32_t k = 3 * p + c;
      const float sm1 = r0[k], s0 = r1[k], s1 = r2[k], s2 = r3[k];
      const float d1 = s0 - sm1;
      const float d2 = (s1 - d1) - s0;
      const float d3 = (((s2 - d2) - s1) - s1) + s0;
      d[4 * p + c] = ((w3 * d3 + w2 * d2) + w1 * d1) + sm1;
    }
  }
}

// ---- Lanczos ------------------------------------------------------------------------------------

void LanczosWeights(const float* fractions, int32_t count, float* weights) {
  const float* table = ResizeLanczosTable;
  for (int32_t j = 0; j < count; ++j) {
    const float f = fractions[j];
    float* w = weights + 6 * static_cast<ptrdiff_t>(j);
    for (int k = 0; k < 6; ++k) {
      float dist = std::fabs(static_cast<float>(k - 2) - f);
      if (!(dist < 3.0f)) dist = 3.0f;
      const float p = 100.0f * dist;
      const int32_t i = static_cast<int32_t>(p);
      w[k] = table[i] + (p - static_cast<float>(i)) * (table[i + 1] - table[i]);
    }
  }
}

// Six products in single precision, added left to right.
inline float Lanczos6(const float (&a)[6], const float* w) {
  float sum = a[0] * w[0];
  for (int k = 1; k < 6; ++k) sum = sum + a[k] * w[k];
  return sum;
}

// Tap k of column j is source column clamp(x + k - 2, -roiX, restW - 1).
template <typename T, int kElems>
void LanczosHorz(const T* row, int32_t stride, const int32_t* colOfs, const float* xW6, float* out,
                 int32_t dstW, int32_t roiX, int32_t restW) {
  for (int32_t j = 0; j < dstW; ++j) {
    const int32_t x = colOfs[j] / stride;
    const T* taps[6];
    for (int k = 0; k < 6; ++k) {
      const int32_t col = std::clamp(x + k - 2, -roiX, restW - 1);
      taps[k] = row + static_cast<ptrdiff_t>(col) * stride;
    }
    const float* w = xW6 + 6 * static_cast<ptrdiff_t>(j);
    for (int c = 0; c < kElems; ++c) {
      float a[6];
      for (int k = 0; k < 6; ++k) a[k] = static_cast<float>(taps[k][c]);
      out[static_cast<ptrdiff_t>(j) * kElems + c] = Lanczos6(a, w);
    }
  }
}

template <typename T>
inline T LanczosVertValue(const float* const (&rows)[6], ptrdiff_t e, const float* w) {
  if constexpr (std::is_same_v<T, float>) {
    const float a[6] = {rows[0][e], rows[1][e], rows[2][e], rows[3][e], rows[4][e], rows[5][e]};
    return Lanczos6(a, w);
  } else {
    double a = static_cast<double>(rows[0][e]) * static_cast<double>(w[0]);
    for (int k = 1; k < 6; ++k) a = a + static_cast<double>(rows[k][e]) * static_cast<double>(w[k]);
    return TruncSaturate<T>(a);
  }
}

// Float rows of consecutive values: four at a time in single precision, the same bits as one
// at a time.
void LanczosVert32fPacked(float* d, int32_t count, const float* w, const float* const (&rows)[6]) {
  int32_t i = 0;
  for (; count - i >= 4; i += 4) {
    __m128 sum = _mm_mul_ps(_mm_loadu_ps(rows[0] + i), _mm_set1_ps(w[0]));
    for (int k = 1; k < 6; ++k) {
      sum = _mm_add_ps(sum, _mm_mul_ps(_mm_loadu_ps(rows[k] + i), _mm_set1_ps(w[k])));
    }
    _mm_storeu_ps(d + i, sum);
  }
  for (; i < count; ++i) d[i] = LanczosVertValue<float>(rows, i, w);
}

// ---- Super-sampling accumulators ----------------------------------------------------------------

// Adds `rows` rows of `count` consecutive samples into the sums: 32-bit integers for 8/16-bit
// samples, single-precision floats for float samples.  Float columns past the 16-wide blocks are
// summed down the rows in double when `doubleTail` is set.
template <typename T>
void SuperAccFlat(const uint8_t* src, int32_t srcStep, int32_t count, int32_t rows,
                  ResizeSuperSum<T>* sums, bool doubleTail) {
  int32_t c = 0;
  if constexpr (std::is_same_v<T, float>) {
    for (; count - c >= 16; c += 16) {
      __m128 s0 = _mm_loadu_ps(sums + c), s1 = _mm_loadu_ps(sums + c + 4);
      __m128 s2 = _mm_loadu_ps(sums + c + 8), s3 = _mm_loadu_ps(sums + c + 12);
      const uint8_t* p = src;
      for (int32_t r = 0; r < rows; ++r, p += srcStep) {
        const float* f = reinterpret_cast<const float*>(p) + c;
        s0 = _mm_add_ps(s0, _mm_loadu_ps(f));
        s1 = _mm_add_ps(s1, _mm_loadu_ps(f + 4));
        s2 = _mm_add_ps(s2, _mm_loadu_ps(f + 8));
        s3 = _mm_add_ps(s3, _mm_loadu_ps(f + 12));
      }
      _mm_storeu_ps(sums + c, s0);
      _mm_storeu_ps(sums + c + 4, s1);
      _mm_storeu_ps(sums + c + 8, s2);
      _mm_storeu_ps(sums + c + 12, s3);
    }
    for (; c < count; ++c) {
      const uint8_t* p = src;
      if (doubleTail) {
        double sum = sums[c];
        for (int32_t r = 0; r < rows; ++r, p += srcStep) sum += LoadAs<float>(p + 4 * c);
        sums[c] = static_cast<float>(sum);
      } else {
        float sum = sums[c];
        for (int32_t r = 0; r < rows; ++r, p += srcStep) sum += LoadAs<float>(p + 4 * c);
        sums[c] = sum;
      }
    }
  } else {
    const __m128i zero = _mm_setzero_si128();
    for (; count - c >= 8; c += 8) {
      __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + c));
      __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + c + 4));
      const uint8_t* p = src;
      for (int32_t r = 0; r < rows; ++r, p += srcStep) {
        __m128i v;
        if constexpr (sizeof(T) == 1) {
          v = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + c)), zero);
        } else {
          v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * c));
        }
        lo = _mm_add_epi32(lo, _mm_unpacklo_epi16(v, zero));
        hi = _mm_add_epi32(hi, _mm_unpackhi_epi16(v, zero));
      }
      _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + c), lo);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + c + 4), hi);
    }
    for (; c < count; ++c) {
      uint32_t sum = sums[c];
      const uint8_t* p = src;
      for (int32_t r = 0; r < rows; ++r, p += srcStep) sum += LoadAs<T>(p + sizeof(T) * c);
      sums[c] = sum;
    }
  }
}

// ---- Super-sampling, whole spans of packed 8-bit pixels -----------------------------------------

// trunc(s * norm + 0.5), the drivers' mean of a pixel sum s, as (s * mul + one * add) >> shift in
// 32-bit lanes (one pmaddwd per four values), checked against the double formula for every sum
// up to maxSum.
struct SpanDivider {
  int16_t mul, one, add;
  int32_t shift;
};

bool FindSpanDivider(double norm, int32_t maxSum, SpanDivider& d) {
  for (int32_t shift = 1; shift <= 24; ++shift) {
    const double scaled = std::ldexp(norm, shift);
    if (scaled >= 32767.0) break;
    const int64_t half = int64_t{1} << (shift - 1);
    int64_t one = 1;
    int64_t add = half;
    while (add > 32767) add >>= 1, one <<= 1;
    for (const int64_t mul :
         {static_cast<int64_t>(std::ceil(scaled)), static_cast<int64_t>(std::floor(scaled))}) {
      if (mul < 1 || maxSum * mul + half > INT32_MAX) continue;
      bool ok = true;
      for (int32_t sum = 0; sum <= maxSum && ok; ++sum) {
        const int32_t mean = static_cast<int32_t>(sum * norm + 0.5);
        ok = mean <= 255 && ((sum * mul + half) >> shift) == mean;
      }
      if (ok) {
        d = {static_cast<int16_t>(mul), static_cast<int16_t>(one), static_cast<int16_t>(add),
             shift};
        return true;
      }
    }
  }
  return false;
}

// Sums of the rows rows[0 .. iy - 1] over n values, in 16-bit lanes (kIy 0: iy at run time).
template <int kIy>
void SumRows16(const uint8_t* const* rows, int64_t iy, int32_t n, uint16_t* sums) {
  const int64_t count = kIy > 0 ? kIy : iy;
  const __m128i zero = _mm_setzero_si128();
  int32_t e = 0;
  for (; n - e >= 16; e += 16) {
    __m128i lo = zero;
    __m128i hi = zero;
    for (int64_t k = 0; k < count; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + e));
      lo = _mm_add_epi16(lo, _mm_unpacklo_epi8(v, zero));
      hi = _mm_add_epi16(hi, _mm_unpackhi_epi8(v, zero));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + e), lo);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + e + 8), hi);
  }
  for (; e < n; ++e) {
    uint16_t sum = 0;
    for (int64_t k = 0; k < count; ++k) sum = static_cast<uint16_t>(sum + rows[k][e]);
    sums[e] = sum;
  }
}

// Means of the spans of pixels 0 .. count - 1 (a multiple of 4) from the column sums: four-lane
// slots, two spans per register (kIx 0: ix at run time).  Power-of-two norms divide in 16-bit
// lanes.
template <int kElems, int kIx>
void SpanMeans(const uint16_t* sums, int64_t ix, int64_t count, const SpanDivider& div,
               uint8_t* dst) {
  const int64_t width = kIx > 0 ? kIx : ix;
  const ptrdiff_t span = static_cast<ptrdiff_t>(width) * kElems;
  const __m128i zero = _mm_setzero_si128();
  const bool pow2 = div.mul == 1 && div.one == 1;
  const __m128i half = _mm_set1_epi16(div.add);
  const __m128i ones = _mm_set1_epi16(div.one);
  const __m128i weights = _mm_set1_epi32(
      static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(div.mul)) |
                           static_cast<uint32_t>(static_cast<uint16_t>(div.add)) << 16));
  const __m128i shift = _mm_cvtsi32_si128(div.shift);
  auto slot = [](const uint16_t* p) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  };
  auto divide = [&](__m128i v) {
    if (pow2) return _mm_srl_epi16(_mm_add_epi16(v, half), shift);
    const __m128i lo = _mm_srl_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(v, ones), weights), shift);
    const __m128i hi = _mm_srl_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(v, ones), weights), shift);
    return _mm_packs_epi32(lo, hi);
  };
  for (int64_t g = 0; g < count; g += 4) {
    const uint16_t* p = sums + g * span;
    __m128i a = zero;
    __m128i b = zero;
    for (int64_t k = 0; k < width; ++k, p += kElems) {
      a = _mm_add_epi16(a, _mm_unpacklo_epi64(slot(p), slot(p + span)));
      b = _mm_add_epi16(b, _mm_unpacklo_epi64(slot(p + 2 * span), slot(p + 3 * span)));
    }
    const __m128i means = _mm_packus_epi16(divide(a), divide(b));
    uint8_t* o = dst + g * kElems;
    if constexpr (kElems == 4) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), means);
    } else {
      Store32(o, means);
      Store32(o + 3, _mm_srli_si128(means, 4));
      Store32(o + 6, _mm_srli_si128(means, 8));
      Store32(o + 9, _mm_srli_si128(means, 12));
    }
  }
}

// 2 x 2 spans of three-channel pixels, power-of-two norm: eight source pixels of two rows give
// four means per step, summed in registers; count (a multiple of 4) pixels.
void SpanMeans2x2C3(const uint8_t* r0, const uint8_t* r1, int64_t count, const SpanDivider& div,
                    uint8_t* dst) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi16(div.add);
  const __m128i shift = _mm_cvtsi32_si128(div.shift);
  for (int64_t g = 0; g < count; g += 4, r0 += 24, r1 += 24, dst += 12) {
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0));
    const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1));
    const __m128i b0 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r0 + 16));
    const __m128i b1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r1 + 16));
    // Column sums of values 0 .. 7, 8 .. 15, 16 .. 23.
    const __m128i e0 = _mm_add_epi16(_mm_unpacklo_epi8(a0, zero), _mm_unpacklo_epi8(a1, zero));
    const __m128i e1 = _mm_add_epi16(_mm_unpackhi_epi8(a0, zero), _mm_unpackhi_epi8(a1, zero));
    const __m128i e2 = _mm_add_epi16(_mm_unpacklo_epi8(b0, zero), _mm_unpacklo_epi8(b1, zero));
    // Pixel pairs (values 6q .. 6q + 2 and 6q + 3 .. 6q + 5) in lanes 0 .. 2.
    const __m128i q0 = _mm_add_epi16(e0, _mm_srli_si128(e0, 6));
    const __m128i q1 = _mm_add_epi16(_mm_or_si128(_mm_srli_si128(e0, 12), _mm_slli_si128(e1, 4)),
                                     _mm_srli_si128(e1, 2));
    const __m128i q2 = _mm_add_epi16(_mm_srli_si128(e1, 8),
                                     _mm_or_si128(_mm_srli_si128(e1, 14), _mm_slli_si128(e2, 2)));
    const __m128i q3 = _mm_add_epi16(_mm_srli_si128(e2, 4), _mm_srli_si128(e2, 10));
    const __m128i lo = _mm_srl_epi16(_mm_add_epi16(_mm_unpacklo_epi64(q0, q1), half), shift);
    const __m128i hi = _mm_srl_epi16(_mm_add_epi16(_mm_unpacklo_epi64(q2, q3), half), shift);
    const __m128i means = _mm_packus_epi16(lo, hi);
    Store32(dst, means);
    Store32(dst + 3, _mm_srli_si128(means, 4));
    Store32(dst + 6, _mm_srli_si128(means, 8));
    Store32(dst + 9, _mm_srli_si128(means, 12));
  }
}

// Whole ix x iy spans of packed three- or four-channel 8-bit pixels: the rows of a span summed
// over the whole row, then the means of the spans.  Three-channel means are stored as 4-byte
// words whose fourth byte the next pixel writes over; the last pixel of a row is stored alone.
template <int kElems>
bool SuperWhole8uSpans(const uint8_t* src, int32_t srcStep, int32_t srcCols, int32_t srcRows,
                       uint8_t* dst, int32_t dstStep, int32_t dstW, int32_t dstH, int64_t ix,
                       int64_t iy, double norm, void* rowBuffer) {
  if constexpr (kElems == 1) {
    return false;
  } else {
    if (ix < 1 || iy < 1 || ix * iy > 128) return false;
    SpanDivider div;
    if (!FindSpanDivider(norm, static_cast<int32_t>(ix * iy * 255), div)) return false;
    const int32_t n = srcCols * kElems;
    // The row buffer holds 8 bytes per column element: room for the 16-bit sums and a pad.
    uint16_t* sums = static_cast<uint16_t*>(rowBuffer);
    std::memset(sums + n, 0, 4 * sizeof(uint16_t));
    const int64_t inside = std::min<int64_t>(dstW, srcCols / ix);
    // Blocks of four pixels inside the columns read, leaving the row's last pixel.
    const int64_t blocks = std::min<int64_t>(inside, dstW - 1) / 4 * 4;
    const uint8_t* rows[128];
    int64_t cursor = 0;
    for (int32_t i = 0; i < dstH; ++i, dst += dstStep, cursor += iy) {
      for (int64_t k = 0; k < iy; ++k) {
        const int64_t r = std::min<int64_t>(cursor + k, srcRows - 1);
        rows[k] = src + r * srcStep;
      }
      if (kElems == 3 && ix == 2 && iy == 2 && div.mul == 1 && div.one == 1) {
        // The blocks read the columns of their spans only; the pixels after them take the column
        // sums of the rest of the row.
        SpanMeans2x2C3(rows[0], rows[1], blocks, div, dst);
        const int32_t e0 = static_cast<int32_t>(blocks * 6);
        const uint8_t* const rest[2] = {rows[0] + e0, rows[1] + e0};
        SumRows16<2>(rest, iy, n - e0, sums + e0);
      } else {
        switch (iy) {
          case 2:
            SumRows16<2>(rows, iy, n, sums);
            break;
          case 3:
            SumRows16<3>(rows, iy, n, sums);
            break;
          default:
            SumRows16<0>(rows, iy, n, sums);
            break;
        }
        switch (ix) {
          case 2:
            SpanMeans<kElems, 2>(sums, ix, blocks, div, dst);
            break;
          case 3:
            SpanMeans<kElems, 3>(sums, ix, blocks, div, dst);
            break;
          default:
            SpanMeans<kElems, 0>(sums, ix, blocks, div, dst);
            break;
        }
      }
      for (int64_t g = blocks; g < dstW; ++g) {
        for (int c = 0; c < kElems; ++c) {
          int32_t sum = 0;
          for (int64_t k = 0; k < ix; ++k) {
            const int64_t col = std::min<int64_t>(g * ix + k, srcCols - 1);
            sum += sums[col * kElems + c];
          }
          dst[g * kElems + c] = static_cast<uint8_t>(static_cast<int32_t>(sum * norm + 0.5));
        }
      }
    }
    return true;
  }
}

// ---- The build's row helpers: the policy of the shared kernel drivers ---------------------------

struct SimdRows {
  // The drivers' exact 8-bit linear shortcuts (gathered taps, rows copied or blended straight
  // from the source) give the results of the helpers below bit for bit.
  static constexpr bool kLinearShortcuts8u = true;
  static constexpr bool kSuperWhole8u = true;
  static constexpr bool kLinearPairs8u = true;

  // 8-bit three-channel rows with the weights as (left, right) pairs per value.
  static void LinearPairs8uC3(const uint8_t* row, int32_t n, const int32_t* colOfs,
                              const int32_t* pairW, uint16_t* out) {
    LinearHorz8uC3Pairs(row, n, colOfs, pairW, reinterpret_cast<int16_t*>(out));
  }

  template <int kElems>
  static bool SuperWhole8u(const uint8_t* src, int32_t srcStep, int32_t srcCols, int32_t srcRows,
                           uint8_t* dst, int32_t dstStep, int32_t dstW, int32_t dstH, int64_t ix,
                           int64_t iy, double norm, void* rowBuffer) {
    return SuperWhole8uSpans<kElems>(src, srcStep, srcCols, srcRows, dst, dstStep, dstW, dstH, ix,
                                     iy, norm, rowBuffer);
  }

  template <typename T, int kElems>
  static void LinearH(const T* row, int32_t n, int32_t stride, const int32_t* colOfs,
                      const ResizeLinearWeight<T>* colW, ResizeLinearBuf<T>* out) {
    const int32_t d = kElems == 4 ? 4 : stride;
    if constexpr (std::is_same_v<T, uint8_t>) {
      const int16_t* w = reinterpret_cast<const int16_t*>(colW);
      int16_t* o = reinterpret_cast<int16_t*>(out);
      if constexpr (kElems == 1) {
        LinearHorz8uC1(row, n, colOfs, w, o);
      } else {
        LinearHorz8uCn<kElems>(row, n, d, colOfs, w, o);
      }
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      if constexpr (kElems == 1) {
        LinearHorz16uC1(row, n, colOfs, colW, out);
      } else {
        LinearHorz16uCn<kElems>(row, n, d, colOfs, colW, out);
      }
    } else {
      if constexpr (kElems == 1) {
        LinearHorz32fC1(row, n, colOfs, colW, out);
      } else {
        LinearHorz32fCn<kElems>(row, n, d, colOfs, colW, out);
      }
    }
  }

  template <typename T>
  static void LinearV(T* dst, int32_t m, ResizeLinearWeight<T> wy, const ResizeLinearBuf<T>* upper,
                      const ResizeLinearBuf<T>* lower) {
    if constexpr (std::is_same_v<T, uint8_t>) {
      LinearVert8u(dst, m, wy, reinterpret_cast<const int16_t*>(upper),
                   reinterpret_cast<const int16_t*>(lower));
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      LinearVert16u(dst, m, wy, upper, lower);
    } else {
      LinearVert32f(dst, m, wy, upper, lower);
    }
  }

  // Three values per pixel into four-sample pixels: the fourth sample is never written.
  template <typename T>
  static void LinearVAC4(T* dst, int32_t n, ResizeLinearWeight<T> wy,
                         const ResizeLinearBuf<T>* upper, const ResizeLinearBuf<T>* lower) {
    if constexpr (std::is_same_v<T, uint8_t>) {
      LinearVert8uC3in4(dst, n, wy, reinterpret_cast<const int16_t*>(upper),
                        reinterpret_cast<const int16_t*>(lower));
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      LinearVert16uC3in4(dst, n, wy, upper, lower);
    } else {
      LinearVert32fC3in4(dst, n, wy, upper, lower);
    }
  }

  template <typename T, int kElems>
  static void CubicH(const T* row, int32_t n, int32_t stride, const int32_t* colOfs,
                     const float* colPos, float* out) {
    if constexpr (kElems == 1) {
      CubicHorzC1<T>(row, n, colOfs, colPos, out);
    } else {
      CubicHorzCn<T, kElems>(row, n, stride, colOfs, colPos, out);
    }
  }

  template <typename T>
  static void CubicV(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,
                     const float* r3) {
    CubicVert<T>(
        dst, m, t, r0, r1, r2, r3, [](int32_t k) { return k; }, true);
  }

  template <typename T>
  static void CubicVAC4(T* dst, int32_t n, float t, const float* r0, const float* r1,
                        const float* r2, const float* r3) {
    if constexpr (std::is_same_v<T, float>) {
      CubicVert32fC3in4(dst, n, t, r0, r1, r2, r3);
    } else {
      CubicVert<T>(
          dst, 3 * n, t, r0, r1, r2, r3, [](int32_t k) { return 4 * (k / 3) + k % 3; }, false);
    }
  }

  template <typename T, int kElems>
  static void LanczosH(const T* row, int32_t stride, const int32_t* colOfs, const float* colW6,
                       float* out, int32_t n, int32_t roiX, int32_t restW) {
    LanczosHorz<T, kElems>(row, kElems == 1 ? 1 : stride, colOfs, colW6, out, n, roiX, restW);
  }

  template <typename T>
  static void LanczosV(T* dst, int32_t m, const float* w6, const float* const (&rows)[6]) {
    if constexpr (std::is_same_v<T, float>) {
      LanczosVert32fPacked(dst, m, w6, rows);
    } else {
      for (int32_t e = 0; e < m; ++e) dst[e] = LanczosVertValue<T>(rows, e, w6);
    }
  }

  template <typename T>
  static void LanczosVAC4(T* dst, int32_t n, const float* w6, const float* const (&rows)[6]) {
    for (int32_t p = 0; p < n; ++p) {
      for (int c = 0; c < 3; ++c) dst[4 * p + c] = LanczosVertValue<T>(rows, 3 * p + c, w6);
    }
  }

  // Adds m rows of n pixels (kElems sums each) into acc; rows srcStep bytes apart.
  template <typename T, int kElems>
  static void SuperAcc(const T* first, int32_t srcStep, int32_t n, int32_t m,
                       ResizeSuperSum<T>* acc, int32_t stride) {
    const uint8_t* base = reinterpret_cast<const uint8_t*>(first);
    if (stride == kElems) {
      SuperAccFlat<T>(base, srcStep, n * kElems, m, acc, kElems == 1);
      return;
    }
    for (int32_t x = 0; x < n; ++x) {
      for (int c = 0; c < kElems; ++c) {
        const size_t at = sizeof(T) * (static_cast<size_t>(x) * stride + c);
        ResizeSuperSum<T> sum = acc[x * kElems + c];
        const uint8_t* p = base;
        for (int32_t r = 0; r < m; ++r, p += srcStep) sum += LoadAs<T>(p + at);
        acc[x * kElems + c] = sum;
      }
    }
  }
};

using SimdTables = ResizeBuildTables<SimdRows>;

}  // namespace

// ---- The build's tables and entry points --------------------------------------------------------

const ResizeKernelTable OST_SIMD_NAME(ResizeKernelTable) = SimdTables::Table();
const ResizeSuperKernelTable OST_SIMD_NAME(ResizeSuperKernelTable) = SimdTables::SuperTable();

void OST_SIMD_NAME(ResizeLanczosWeights)(const float* fractions, int32_t count, float* weights) {
  LanczosWeights(fractions, count, weights);
}

const ResizeBuild OST_SIMD_PASTE(OST_SIMD_PASTE(kResize, OST_SIMD_SUFFIX), Build) = {
    &OST_SIMD_NAME(ResizeKernelTable), OST_SIMD_NAME(ResizeLanczosWeights),
    &OST_SIMD_NAME(ResizeSuperKernelTable), ResizeLinearRows8u};

void* OST_SIMD_NAME(ResizeAlloc)(int32_t count, int32_t elementSize) {
  switch (elementSize) {
    case 4:
      return ResizeAlloc4(count);
    case 2:
      return ResizeAlloc2(count);
    case 1:
      return ResizeAlloc1(count);
    default:
      return nullptr;
  }
}

void OST_SIMD_NAME(ResizeFree)(void* block) {
  ResizeFree(block);
}

ResizeStatus OST_SIMD_NAME(ResizeWorker)(const void* src, ImgSize srcSize, int32_t srcStep,
                                         ImgRect srcRoi, void* dst, int32_t dstStep,
                                         ImgSize dstRoiSize, double xFactor, double yFactor,
                                         double xShift, double yShift, int32_t pixelStride,
                                         int32_t channels, int32_t dataType, int32_t planar,
                                         int32_t interpolation, int32_t factorMode) {
  return ResizeRunWorker(OST_SIMD_PASTE(OST_SIMD_PASTE(kResize, OST_SIMD_SUFFIX), Build), src,
                         srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize, xFactor, yFactor,
                         xShift, yShift, pixelStride, channels, dataType, planar, interpolation,
                         factorMode);
}

ResizeStatus OST_SIMD_NAME(ResizeSuperSample)(const void* src, ImgSize srcSize, int32_t srcStep,
                                              ImgRect srcRoi, void* dst, int32_t dstStep,
                                              ImgSize dstRoiSize, double xFactor, double yFactor,
                                              int32_t pixelStride, int32_t channels,
                                              int32_t dataType, int32_t planar,
                                              int32_t factorMode) {
  return ResizeRunSuperSample(OST_SIMD_PASTE(OST_SIMD_PASTE(kResize, OST_SIMD_SUFFIX), Build), src,
                              srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize, xFactor, yFactor,
                              pixelStride, channels, dataType, planar, factorMode);
}

// Interpolation 8 with both factors at most 1 goes to the selector (which answers -23 for a
// factor not above 0); everything else to the worker.
ResizeStatus OST_SIMD_ENTRY(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                            uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                            double yFactor, ResizeInterp interpolation) {
  if (interpolation == kResizeSuper && xFactor <= 1.0 && yFactor <= 1.0) {
    return OST_SIMD_NAME(ResizeSuperSample)(src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize,
                                            xFactor, yFactor, 3, 3, kResizeElem8u, 0,
                                            kResizeFactorRatio);
  }
  return OST_SIMD_NAME(ResizeWorker)(src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize,
                                     xFactor, yFactor, 0.0, 0.0, 3, 3, kResizeElem8u, 0,
                                     interpolation, kResizeFactorRatio);
}
