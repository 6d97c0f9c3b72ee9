// Super-sampling row accumulators of the SSE build: m source rows added element by element into
// one row of sums (32-bit wrapping integers, or floats with one single-precision addition per
// row).  16-bit rows use 64-bit MMX additions and float rows 4-wide SSE additions where length,
// overlap and alignment allow; the sums are those of plain ascending addition.
#include <mmintrin.h>
#include <xmmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "resize/sse/resize_sse_rows.h"

namespace {

template <typename T>
const T* RowAt(const T* first, int32_t srcStep, int32_t r) {
  return reinterpret_cast<const T*>(reinterpret_cast<const uint8_t*>(first) +
                                    static_cast<ptrdiff_t>(r) * srcStep);
}

bool Overlaps(const void* a, size_t aBytes, const void* b, size_t bBytes) {
  const uintptr_t a0 = reinterpret_cast<uintptr_t>(a);
  const uintptr_t b0 = reinterpret_cast<uintptr_t>(b);
  return a0 < b0 + bBytes && b0 < a0 + aBytes;
}

uintptr_t Address(const void* p) {
  return reinterpret_cast<uintptr_t>(p);
}

// One 16-bit row of count elements: MMX blocks of kBlock elements (each 64-bit operation widens
// two values and adds them to two sums) after a one-element peel to an 8-byte boundary, then the
// rest one at a time.  kMinVector: the shortest row that takes the blocks.
template <int kBlock, bool kPrefetch>
void Add16u(const uint16_t* s, uint32_t* a, ptrdiff_t count, ptrdiff_t kMinVector, size_t srcBytes,
            size_t accBytes) {
  ptrdiff_t e = 0;
  if (count >= kMinVector && !Overlaps(s, srcBytes, a, accBytes) && (Address(a) & 3) == 0) {
    if ((Address(a) & 7) == 4) {
      a[0] += s[0];
      e = 1;
    }
    const ptrdiff_t end = e + (count - e) / kBlock * kBlock;
    const __m64 zero = _mm_setzero_si64();
    for (; e < end; e += kBlock) {
      if constexpr (kPrefetch) {
        _mm_prefetch(reinterpret_cast<const char*>(s + e) + 64, _MM_HINT_NTA);
        _mm_prefetch(reinterpret_cast<const char*>(a + e) + 64, _MM_HINT_NTA);
      }
      for (int k = 0; k < kBlock; k += 2) {
        uint32_t pair;
        std::memcpy(&pair, s + e + k, 4);
        const __m64 v = _mm_unpacklo_pi16(_mm_cvtsi32_si64(static_cast<int>(pair)), zero);
        __m64* at = reinterpret_cast<__m64*>(a + e + k);
        *at = _mm_add_pi32(*at, v);
      }
    }
    _mm_empty();
  }
  for (; e < count; ++e) a[e] += s[e];
}

// One float row of count elements: a peel of up to three to a 16-byte accumulator boundary,
// blocks of eight (two 4-wide additions), then the rest one at a time.
template <bool kPrefetch>
void Add32f(const float* s, float* a, ptrdiff_t count, ptrdiff_t kMinVector, size_t bytes) {
  ptrdiff_t e = 0;
  if (count >= kMinVector && !Overlaps(s, bytes, a, bytes) && (Address(a) & 3) == 0) {
    if ((Address(a) & 15) != 0) {
      const ptrdiff_t peel = static_cast<ptrdiff_t>((16 - (Address(a) & 15)) / 4);
      for (; e < peel; ++e) a[e] = a[e] + s[e];
    }
    const ptrdiff_t end = e + (count - e) / 8 * 8;
    for (; e < end; e += 8) {
      if constexpr (kPrefetch) {
        _mm_prefetch(reinterpret_cast<const char*>(s + e) + 64, _MM_HINT_NTA);
        _mm_prefetch(reinterpret_cast<const char*>(a + e) + 64, _MM_HINT_NTA);
      }
      const __m128 s0 = _mm_loadu_ps(s + e);
      const __m128 s1 = _mm_loadu_ps(s + e + 4);
      _mm_store_ps(a + e, _mm_add_ps(_mm_load_ps(a + e), s0));
      _mm_store_ps(a + e + 4, _mm_add_ps(_mm_load_ps(a + e + 4), s1));
    }
  }
  for (; e < count; ++e) a[e] = a[e] + s[e];
}

// Three channels per pixel: source pixels stride elements apart, three sums per pixel; a packed
// row (stride 3) is one run of elements.
template <typename T, typename Sum>
void AddC3(const T* s, Sum* a, int32_t n, int32_t stride) {
  if (stride == 3) {
    const ptrdiff_t count = static_cast<ptrdiff_t>(n) * 3;
    for (ptrdiff_t e = 0; e < count; ++e) a[e] = static_cast<Sum>(a[e] + s[e]);
    return;
  }
  for (int32_t x = 0; x < n; ++x, s += stride, a += 3) {
    a[0] = static_cast<Sum>(a[0] + s[0]);
    a[1] = static_cast<Sum>(a[1] + s[1]);
    a[2] = static_cast<Sum>(a[2] + s[2]);
  }
}

}  // namespace

void ResizeSuperAcc8uC1Sse(const uint8_t* src, int32_t srcStep, int32_t n, int32_t m,
                           uint32_t* acc) {
  if (n <= 0) return;
  for (int32_t r = 0; r < m; ++r) {
    const uint8_t* s = RowAt(src, srcStep, r);
    int32_t e = 0;
    for (; e + 2 <= n; e += 2) {
      acc[e] += s[e];
      acc[e + 1] += s[e + 1];
    }
    if (e < n) acc[e] += s[e];
  }
}

void ResizeSuperAcc16uC1Sse(const uint16_t* src, int32_t srcStep, int32_t n, int32_t m,
                            uint32_t* acc) {
  if (n <= 0) return;
  const size_t count = static_cast<size_t>(n);
  for (int32_t r = 0; r < m; ++r) {
    Add16u<8, true>(RowAt(src, srcStep, r), acc, n, 9, 2 * count, 4 * count);
  }
}

void ResizeSuperAcc32fC1Sse(const float* src, int32_t srcStep, int32_t n, int32_t m, float* acc) {
  if (n <= 0) return;
  for (int32_t r = 0; r < m; ++r) {
    Add32f<true>(RowAt(src, srcStep, r), acc, n, 11, 4 * static_cast<size_t>(n));
  }
}

void ResizeSuperAcc8uC3Sse(const uint8_t* src, int32_t srcStep, int32_t n, int32_t m, uint32_t* acc,
                           int32_t stride) {
  if (n <= 0) return;
  for (int32_t r = 0; r < m; ++r) AddC3(RowAt(src, srcStep, r), acc, n, stride);
}

void ResizeSuperAcc16uC3Sse(const uint16_t* src, int32_t srcStep, int32_t n, int32_t m,
                            uint32_t* acc, int32_t stride) {
  if (n <= 0) return;
  for (int32_t r = 0; r < m; ++r) AddC3(RowAt(src, srcStep, r), acc, n, stride);
}

void ResizeSuperAcc32fC3Sse(const float* src, int32_t srcStep, int32_t n, int32_t m, float* acc,
                            int32_t stride) {
  if (n <= 0) return;
  for (int32_t r = 0; r < m; ++r) AddC3(RowAt(src, srcStep, r), acc, n, stride);
}

void ResizeSuperAcc8uC4Sse(const uint8_t* src, int32_t srcStep, int32_t n, int32_t m,
                           uint32_t* acc) {
  if (n <= 0) return;
  for (int32_t r = 0; r < m; ++r) {
    const uint8_t* s = RowAt(src, srcStep, r);
    uint32_t* a = acc;
    for (int32_t x = 0; x < n; ++x, s += 4, a += 4) {
      a[0] += s[0];
      a[1] += s[1];
      a[2] += s[2];
      a[3] += s[3];
    }
  }
}

void ResizeSuperAcc16uC4Sse(const uint16_t* src, int32_t srcStep, int32_t n, int32_t m,
                            uint32_t* acc) {
  if (n <= 0) return;
  const size_t count = 4 * static_cast<size_t>(n);
  for (int32_t r = 0; r < m; ++r) {
    Add16u<2, false>(RowAt(src, srcStep, r), acc, static_cast<ptrdiff_t>(count), 1, 2 * count,
                     4 * count);
  }
}

void ResizeSuperAcc32fC4Sse(const float* src, int32_t srcStep, int32_t n, int32_t m, float* acc) {
  if (n <= 0) return;
  const size_t count = 4 * static_cast<size_t>(n);
  for (int32_t r = 0; r < m; ++r) {
    Add32f<false>(RowAt(src, srcStep, r), acc, static_cast<ptrdiff_t>(count), 11, 4 * count);
  }
}
