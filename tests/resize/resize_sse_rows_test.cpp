// The SSE build's row helpers and accumulators against plain single-precision models of their
// formulas: counts 0 to 17, unaligned rows and destinations, overlapping rows, guard elements
// after every written range; and the edge cases of each family.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "resize/resize_worker.h"
#include "resize/sse/resize_sse_rows.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::TestRng;

constexpr int kMaxCount = 17;

// A buffer of T with 32-byte alignment plus `shift` elements and guard elements on both sides.
template <typename T>
class Row {
 public:
  Row(size_t n, size_t shift, T guard = Guard()) : shift_(shift + 8), guard_(guard) {
    store_.assign(n + shift_ + 8 + 32 / sizeof(T), guard);
    const uintptr_t base = reinterpret_cast<uintptr_t>(store_.data());
    const size_t skew = (32 - base % 32) % 32 / sizeof(T);
    start_ = skew + shift_;
    n_ = n;
  }
  T* data() { return store_.data() + start_; }
  T& operator[](size_t i) { return data()[i]; }
  // Elements outside [0, n) that lost their guard value.
  int Damaged() const {
    int bad = 0;
    for (size_t i = 0; i < store_.size(); ++i) {
      if ((i < start_ || i >= start_ + n_) && std::memcmp(&store_[i], &guard_, sizeof(T)) != 0)
        ++bad;
    }
    return bad;
  }
  static T Guard() {
    T g;
    std::memset(&g, 0x7B, sizeof g);
    return g;
  }

 private:
  std::vector<T> store_;
  size_t shift_, start_ = 0, n_ = 0;
  T guard_;
};

template <typename T>
T Sample(TestRng& rng) {
  if constexpr (std::is_same_v<T, float>) {
    return static_cast<float>(rng.Unit() * 600.0 - 200.0);
  } else {
    return static_cast<T>(rng.Next());
  }
}

template <typename T>
bool SameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// ---- Linear ------------------------------------------------------------------------------------

TEST(ResizeSseLinear, IntegerHelpersMatchTheFormulas) {
  TestRng rng(1);
  for (int n = 0; n <= kMaxCount; ++n) {
    for (int32_t stride : {1, 3, 4}) {
      std::vector<uint8_t> s8((n + 2) * 4 + 8);
      std::vector<uint16_t> s16((n + 2) * 4 + 8);
      for (auto& v : s8) v = Sample<uint8_t>(rng);
      for (auto& v : s16) v = Sample<uint16_t>(rng);
      std::vector<int32_t> ofs(n);
      std::vector<uint16_t> w(2 * n);
      for (int j = 0; j < n; ++j) {
        ofs[j] = rng.Range(0, n) * stride;
        const int f =
            rng.Next() % 5 == 0 ? 16384 * static_cast<int>(rng.Next() % 2) : rng.Range(0, 16384);
        w[2 * j] = static_cast<uint16_t>(16384 - f), w[2 * j + 1] = static_cast<uint16_t>(f);
      }
      const int elems = stride == 1 ? 1 : 3;
      for (int32_t ch : stride == 4 ? std::vector<int32_t>{3, 4} : std::vector<int32_t>{elems}) {
        Row<uint16_t> o8(n * ch, 0), o16(n * ch, 1);
        if (ch == 1) {
          ResizeLinearH8uC1Sse(s8.data(), n, ofs.data(), w.data(), o8.data());
          ResizeLinearH16uC1Sse(s16.data(), n, ofs.data(), w.data(), o16.data());
        } else if (ch == 4) {
          ResizeLinearH8uC4Sse(s8.data(), n, ofs.data(), w.data(), o8.data());
          ResizeLinearH16uC4Sse(s16.data(), n, ofs.data(), w.data(), o16.data());
        } else {
          ResizeLinearH8uC3Sse(s8.data(), n, stride, ofs.data(), w.data(), o8.data());
          ResizeLinearH16uC3Sse(s16.data(), n, stride, ofs.data(), w.data(), o16.data());
        }
        for (int j = 0; j < n; ++j) {
          for (int c = 0; c < ch; ++c) {
            const uint32_t w0 = w[2 * j], w1 = w[2 * j + 1];
            const size_t l = ofs[j] + c, r = ofs[j] + stride + c;
            ASSERT_EQ(o8[j * ch + c], (w0 * s8[l] + w1 * s8[r] + 128) >> 8) << n << " " << ch;
            ASSERT_EQ(o16[j * ch + c], (w0 * s16[l] + w1 * s16[r] + 8192) >> 14) << n << " " << ch;
          }
        }
        EXPECT_EQ(o8.Damaged() + o16.Damaged(), 0);
      }
    }
    // Vertical: flat over n elements and AC4 over n pixels.
    const int32_t wy = rng.Range(0, 16384);
    std::vector<uint16_t> up(3 * n + 1), lo(3 * n + 1), up8(3 * n + 1), lo8(3 * n + 1);
    for (size_t e = 0; e < up.size(); ++e) {
      up[e] = Sample<uint16_t>(rng), lo[e] = Sample<uint16_t>(rng);
      up8[e] = static_cast<uint16_t>(rng.Range(0, 16320)),
      lo8[e] = static_cast<uint16_t>(rng.Range(0, 16320));
    }
    auto v8 = [&](int e) { return (wy * lo8[e] + (16384 - wy) * up8[e] + 524288) >> 20; };
    auto v16 = [&](int e) {
      return (uint32_t(wy) * lo[e] + uint32_t(16384 - wy) * up[e] + 8192) >> 14;
    };
    Row<uint8_t> d8(n, 1);
    Row<uint16_t> d16(n, 3);
    ResizeLinearV8uSse(d8.data(), n, wy, up8.data(), lo8.data());
    ResizeLinearV16uSse(d16.data(), n, wy, up.data(), lo.data());
    Row<uint8_t> a8(4 * n, 2);
    Row<uint16_t> a16(4 * n, 0);
    ResizeLinearV8uAC4Sse(a8.data(), n, wy, up8.data(), lo8.data());
    ResizeLinearV16uAC4Sse(a16.data(), n, wy, up.data(), lo.data());
    for (int e = 0; e < n; ++e) {
      ASSERT_EQ(d8[e], v8(e));
      ASSERT_EQ(d16[e], v16(e));
      for (int c = 0; c < 4; ++c) {
        ASSERT_EQ(a8[4 * e + c], c < 3 ? v8(3 * e + c) : Row<uint8_t>::Guard());
        ASSERT_EQ(a16[4 * e + c], c < 3 ? v16(3 * e + c) : Row<uint16_t>::Guard());
      }
    }
    EXPECT_EQ(d8.Damaged() + d16.Damaged() + a8.Damaged() + a16.Damaged(), 0);
  }
}

TEST(ResizeSseLinear, FloatHelpersRoundEveryOperationToSingle) {
  TestRng rng(2);
  for (int n = 0; n <= kMaxCount; ++n) {
    for (size_t shift = 0; shift < 4; ++shift) {
      std::vector<float> s(4 * n + 8);
      for (auto& v : s) v = Sample<float>(rng);
      std::vector<int32_t> ofs(n);
      Row<float> w(n, shift);
      for (int j = 0; j < n; ++j) {
        w[j] = static_cast<float>(rng.Unit());
        if (j % 7 == 6) w[j] = static_cast<float>(j % 2);
      }
      for (int ch : {1, 3, 4}) {
        const int32_t stride = ch == 1 ? 1 : ch == 4 ? 4 : 3 + static_cast<int32_t>(shift % 2);
        for (int j = 0; j < n; ++j) ofs[j] = rng.Range(0, n) * stride;
        Row<float> out(n * ch, shift);
        if (ch == 1) ResizeLinearH32fC1Sse(s.data(), n, ofs.data(), w.data(), out.data());
        if (ch == 3) ResizeLinearH32fC3Sse(s.data(), n, stride, ofs.data(), w.data(), out.data());
        if (ch == 4) ResizeLinearH32fC4Sse(s.data(), n, ofs.data(), w.data(), out.data());
        for (int j = 0; j < n; ++j) {
          for (int c = 0; c < ch; ++c) {
            const float l = s[ofs[j] + c], r = s[ofs[j] + stride + c];
            const float d = r - l;
            const float p = d * w[j];
            ASSERT_TRUE(SameBits(out[j * ch + c], l + p)) << n << " " << ch << " " << shift;
          }
        }
        EXPECT_EQ(out.Damaged(), 0);
      }
      const float f = static_cast<float>(rng.Unit());
      Row<float> up(3 * n, shift), lo(3 * n, 3 - shift), flat(n, shift), ac4(4 * n, 3 - shift);
      for (int e = 0; e < 3 * n; ++e) up[e] = Sample<float>(rng), lo[e] = Sample<float>(rng);
      ResizeLinearV32fSse(flat.data(), n, f, up.data(), lo.data());
      ResizeLinearV32fAC4Sse(ac4.data(), n, f, up.data(), lo.data());
      const float omf = 1.0f - f;
      auto model = [&](int e) {
        const float a = up[e] * omf;
        const float b = lo[e] * f;
        return a + b;
      };
      for (int e = 0; e < n; ++e) {
        ASSERT_TRUE(SameBits(flat[e], model(e))) << n << " " << shift;
        for (int c = 0; c < 3; ++c) ASSERT_TRUE(SameBits(ac4[4 * e + c], model(3 * e + c)));
      }
      EXPECT_EQ(flat.Damaged() + ac4.Damaged(), 0);
    }
  }
}

TEST(ResizeSseLinear, EdgeCases) {
  const uint8_t s8[] = {0, 1, 255, 255, 10, 200};
  const int32_t ofs[] = {0, 2, 4, 4};
  const uint16_t w[] = {8192, 8192, 0, 16384, 0, 16384, 16384, 0};
  uint16_t out[4];
  ResizeLinearH8uC1Sse(s8, 4, ofs, w, out);
  EXPECT_EQ(out[0], 32);        // (8192 + 128) >> 8
  EXPECT_EQ(out[1], 255 * 64);  // all 255: 16320
  EXPECT_EQ(out[2], 200 * 64);  // {0, 16384}: the right pixel
  EXPECT_EQ(out[3], 10 * 64);   // {16384, 0}: the left pixel
  const uint16_t v32[] = {32, 32}, full[] = {16320, 16320};
  uint8_t d[2];
  ResizeLinearV8uSse(d, 2, 9000, v32, v32);
  EXPECT_EQ(d[0], 1);
  ResizeLinearV8uSse(d, 2, 5000, full, full);
  EXPECT_EQ(d[1], 255);
  const uint16_t up[] = {1000}, lo[] = {2000};
  ResizeLinearV8uSse(d, 1, 16384, up, lo);
  EXPECT_EQ(d[0], (2000 + 32) >> 6);
  ResizeLinearV8uSse(d, 1, 0, up, lo);
  EXPECT_EQ(d[0], (1000 + 32) >> 6);
  const uint16_t s16[] = {65535, 65535}, w16[] = {3000, 13384};
  const int32_t o0[] = {0};
  uint16_t i16[1], d16[1];
  ResizeLinearH16uC1Sse(s16, 1, o0, w16, i16);
  ResizeLinearV16uSse(d16, 1, 777, i16, i16);
  EXPECT_EQ(i16[0], 65535);
  EXPECT_EQ(d16[0], 65535);
  // Float: f = 0 gives the left / upper value, f = 1 the right / lower value.
  const float sf[] = {1.25f, -7.5f}, w0[] = {0.0f}, w1[] = {1.0f};
  float of[1];
  ResizeLinearH32fC1Sse(sf, 1, o0, w0, of);
  EXPECT_EQ(of[0], 1.25f);
  ResizeLinearH32fC1Sse(sf, 1, o0, w1, of);
  EXPECT_EQ(of[0], -7.5f);
  ResizeLinearV32fSse(of, 1, 1.0f, sf, sf + 1);
  EXPECT_EQ(of[0], -7.5f);
  ResizeLinearV32fSse(of, 1, 0.0f, sf, sf + 1);
  EXPECT_EQ(of[0], 1.25f);
}

// ---- Cubic -------------------------------------------------------------------------------------

constexpr float kThird = 0.333333313f;

struct CubicModel {
  float t;
  bool packed;
  float Horz(float p0, float p1, float p2, float p3) const {
    const float d1 = p1 - p0;
    const float d2 = (p2 - p1) - d1;
    if (packed) {
      const float u = t + 1.0f;
      const float h = (t * 0.5f) * u;
      const float g = (t - 1.0f) * (h * kThird);
      const float d3 = ((p3 - p2) - p2) + (p1 - d2);
      return (p0 + d1 * u) + (d2 * h + d3 * g);
    }
    const float u = 1.0f + t;
    const float h = (t * u) * 0.5f;
    const float g = ((t - 1.0f) * h) / 3.0f;
    const float d3 = ((p1 - (p2 + p2)) + p3) - d2;
    return ((p0 + g * d3) + h * d2) + u * d1;
  }
  float Vert(float p0, float p1, float p2, float p3) const {
    const float d1 = p1 - p0;
    const float d2 = (p2 - p1) - d1;
    if (packed) {
      const float u = t + 1.0f;
      const float h = (t * 0.5f) * u;
      const float g = ((t - 1.0f) * kThird) * h;
      const float d3 = (p3 - d2) + ((p1 - p2) - p2);
      return (p0 + d1 * u) + (d2 * h + d3 * g);
    }
    const float u = 1.0f + t;
    const float h = (t * u) * 0.5f;
    const float g = ((t - 1.0f) * h) / 3.0f;
    const float d3 = (((p3 - p2) - p2) + p1) - d2;
    return ((p0 + g * d3) + h * d2) + u * d1;
  }
  template <typename T>
  T Out(float r) const {
    if constexpr (std::is_same_v<T, float>) {
      return packed ? r + 0.00001f : r;
    } else {
      const double kMax = sizeof(T) == 1 ? 255 : 65535;
      double v;
      if (packed) {
        v = std::nearbyint(static_cast<double>(r + 0.00001f));
      } else {
        v = std::trunc(static_cast<double>(r) + 0.0000001);
      }
      return static_cast<T>(v <= 0 ? 0 : v >= kMax ? kMax : v);
    }
  }
};

template <typename T>
void CallCubicH(int ch, const T* s, int n, int32_t stride, const int32_t* ofs, const float* pos,
                float* out) {
  if constexpr (std::is_same_v<T, uint8_t>) {
    if (ch == 1) ResizeCubicH8uC1Sse(s, n, ofs, pos, out);
    if (ch == 3) ResizeCubicH8uC3Sse(s, n, stride, ofs, pos, out);
    if (ch == 4) ResizeCubicH8uC4Sse(s, n, ofs, pos, out);
  } else if constexpr (std::is_same_v<T, uint16_t>) {
    if (ch == 1) ResizeCubicH16uC1Sse(s, n, ofs, pos, out);
    if (ch == 3) ResizeCubicH16uC3Sse(s, n, stride, ofs, pos, out);
    if (ch == 4) ResizeCubicH16uC4Sse(s, n, ofs, pos, out);
  } else {
    if (ch == 1) ResizeCubicH32fC1Sse(s, n, ofs, pos, out);
    if (ch == 3) ResizeCubicH32fC3Sse(s, n, stride, ofs, pos, out);
    if (ch == 4) ResizeCubicH32fC4Sse(s, n, ofs, pos, out);
  }
}

template <typename T>
void CallCubicV(bool ac4, T* d, int n, float t, const float* r0, const float* r1, const float* r2,
                const float* r3) {
  if constexpr (std::is_same_v<T, uint8_t>) {
    ac4 ? ResizeCubicV8uAC4Sse(d, n, t, r0, r1, r2, r3)
        : ResizeCubicV8uSse(d, n, t, r0, r1, r2, r3);
  } else if constexpr (std::is_same_v<T, uint16_t>) {
    ac4 ? ResizeCubicV16uAC4Sse(d, n, t, r0, r1, r2, r3)
        : ResizeCubicV16uSse(d, n, t, r0, r1, r2, r3);
  } else {
    ac4 ? ResizeCubicV32fAC4Sse(d, n, t, r0, r1, r2, r3)
        : ResizeCubicV32fSse(d, n, t, r0, r1, r2, r3);
  }
}

template <typename T>
void CheckCubicHelpers(uint64_t seed) {
  TestRng rng(seed);
  for (int n = 0; n <= kMaxCount; ++n) {
    for (int ch : {1, 3, 4}) {
      const int32_t stride = ch == 3 ? 3 + static_cast<int32_t>(n % 2) : ch;
      std::vector<T> s((n + 6) * stride + 8);
      for (auto& v : s) v = Sample<T>(rng);
      std::vector<int32_t> ofs(n);
      Row<float> pos(n, n % 4);
      for (int j = 0; j < n; ++j) {
        ofs[j] = rng.Range(1, n + 1) * stride;
        pos[j] = static_cast<float>(rng.Unit() * 3.0 - 1.0);
        if (j % 5 == 4) pos[j] = 2.0f;
      }
      Row<float> out(n * ch, (n + 1) % 4);
      CallCubicH<T>(ch, s.data(), n, stride, ofs.data(), pos.data(), out.data());
      const int q = n - n % 4;
      for (int j = 0; j < n; ++j) {
        const CubicModel m{pos[j], j < q};
        for (int c = 0; c < ch; ++c) {
          const T* p = s.data() + ofs[j] + c;
          const float want =
              m.Horz(static_cast<float>(p[-stride]), static_cast<float>(p[0]),
                     static_cast<float>(p[stride]), static_cast<float>(p[2 * stride]));
          ASSERT_TRUE(SameBits(out[j * ch + c], want)) << n << " " << ch << " " << j << " " << c;
        }
      }
      EXPECT_EQ(out.Damaged(), 0) << n << " " << ch;
    }
    for (bool ac4 : {false, true}) {
      const int m = ac4 ? 3 * n : n;  // elements
      Row<float> r0(m, 0), r1(m, 1), r2(m, 2), r3(m, 3);
      for (int e = 0; e < m; ++e) {
        const float scale = sizeof(T) == 2 ? 260.0f : 1.0f;
        r0[e] = Sample<float>(rng) * scale, r1[e] = Sample<float>(rng) * scale;
        r2[e] = Sample<float>(rng) * scale, r3[e] = Sample<float>(rng) * scale;
      }
      const float t = static_cast<float>(rng.Unit() * 3.0 - 1.0);
      Row<T> d(ac4 ? 4 * n : n, n % 4);
      CallCubicV<T>(ac4, d.data(), n, t, r0.data(), r1.data(), r2.data(), r3.data());
      const bool noQuad = ac4 && std::is_same_v<T, float>;
      const int q = noQuad ? 0 : m - m % 4;
      for (int e = 0; e < m; ++e) {
        const CubicModel model{t, e < q};
        T want;
        if (noQuad) {
          const float u = 1.0f + t, h = (t * u) * 0.5f, g = ((t - 1.0f) * h) / 3.0f;
          const float p0 = r0[e], p1 = r1[e], p2 = r2[e], p3 = r3[e];
          const float d1 = p1 - p0, d2 = (p2 - d1) - p1, d3 = (((p3 - d2) - p2) - p2) + p1;
          want = static_cast<T>(((g * d3 + h * d2) + u * d1) + p0);
        } else {
          want = model.template Out<T>(model.Vert(r0[e], r1[e], r2[e], r3[e]));
        }
        const size_t at = ac4 ? 4 * (e / 3) + e % 3 : e;
        ASSERT_TRUE(SameBits(d[at], want)) << n << " ac4 " << ac4 << " element " << e;
      }
      if (ac4) {
        for (int j = 0; j < n; ++j) ASSERT_TRUE(SameBits(d[4 * j + 3], Row<T>::Guard()));
      }
      EXPECT_EQ(d.Damaged(), 0);
    }
  }
}

TEST(ResizeSseCubic, HelpersMatchTheScalarAndPackedModels) {
  CheckCubicHelpers<uint8_t>(3);
  CheckCubicHelpers<uint16_t>(4);
  CheckCubicHelpers<float>(5);
}

TEST(ResizeSseCubic, EdgeCases) {
  // m = 7 of 100.6: four by the quad helper (rounded), three on the scalar path (truncated).
  std::vector<float> r(12, 100.6f);
  uint8_t d[12];
  ResizeCubicV8uSse(d, 7, 0.3f, r.data(), r.data(), r.data(), r.data());
  EXPECT_EQ(std::vector<int>(d, d + 7), (std::vector<int>{101, 101, 101, 101, 100, 100, 100}));
  ResizeCubicV8uSse(d, 3, 0.3f, r.data(), r.data(), r.data(), r.data());
  EXPECT_EQ(std::vector<int>(d, d + 3), (std::vector<int>{100, 100, 100}));
  ResizeCubicV8uSse(d, 4, 0.3f, r.data(), r.data(), r.data(), r.data());
  EXPECT_EQ(std::vector<int>(d, d + 4), (std::vector<int>{101, 101, 101, 101}));
  // Clamps on both paths: t = 0 gives row 1.
  const float lo[5] = {-3.2f, -3.2f, -3.2f, -3.2f, -3.2f},
              hi[5] = {300.7f, 300.7f, 300.7f, 300.7f, 300.7f};
  ResizeCubicV8uSse(d, 5, 0.0f, lo, lo, lo, lo);
  EXPECT_EQ(std::vector<int>(d, d + 5), (std::vector<int>(5, 0)));
  ResizeCubicV8uSse(d, 5, 0.0f, hi, hi, hi, hi);
  EXPECT_EQ(std::vector<int>(d, d + 5), (std::vector<int>(5, 255)));
  const float big[5] = {70000.2f, 70000.2f, 70000.2f, 70000.2f, 70000.2f};
  uint16_t d16[5];
  ResizeCubicV16uSse(d16, 5, 0.0f, big, big, big, big);
  EXPECT_EQ(std::vector<int>(d16, d16 + 5), (std::vector<int>(5, 65535)));
  // A constant image stays constant on both paths.
  const float c77[5] = {77, 77, 77, 77, 77};
  ResizeCubicV16uSse(d16, 5, 0.61f, c77, c77, c77, c77);
  EXPECT_EQ(std::vector<int>(d16, d16 + 5), (std::vector<int>(5, 77)));
  // 32f, m = 5: the quad's four carry the bias, the fifth does not.
  const float v[5] = {3, 3, 3, 3, 3};
  float f[5];
  ResizeCubicV32fSse(f, 5, 0.0f, v, v, v, v);
  EXPECT_EQ(f[0], 3.0f + 0.00001f);
  EXPECT_EQ(f[3], 3.0f + 0.00001f);
  EXPECT_EQ(f[4], 3.0f);
  // AC4, three pixels: the quad writes elements 0, 1, 2, 4, 5, 6, 8, 9, the scalar path 10.
  std::vector<float> q(9);
  for (int e = 0; e < 9; ++e) q[e] = 10.0f * e + 0.7f;
  uint8_t a[12];
  std::memset(a, 0xEE, sizeof a);
  ResizeCubicV8uAC4Sse(a, 3, 0.0f, q.data(), q.data(), q.data(), q.data());
  EXPECT_EQ(std::vector<int>(a, a + 12),
            (std::vector<int>{1, 11, 21, 0xEE, 31, 41, 51, 0xEE, 61, 71, 80, 0xEE}));
  // t = 0, 1 and 2 on integer samples: p1, p2 exactly on both paths, p3 on the scalar path.
  const uint8_t s[] = {0, 40, 90, 200, 0, 40, 90, 200};
  const int32_t ofs[] = {1, 1, 1, 1, 5};
  const float pos[] = {0.0f, 1.0f, 0.0f, 1.0f, 2.0f};
  float h[5];
  ResizeCubicH8uC1Sse(s, 5, ofs, pos, h);
  EXPECT_EQ(std::vector<float>(h, h + 5), (std::vector<float>{40, 90, 40, 90, 200}));
  // C4, n = 6: every output float at 4 * column + channel.
  std::vector<uint8_t> s4(40);
  for (int i = 0; i < 40; ++i) s4[i] = static_cast<uint8_t>(i * 5);
  const int32_t o4[] = {4, 4, 8, 8, 16, 20};
  const float p4[] = {0, 1, 0, 1, 0, 0};
  float h4[24];
  ResizeCubicH8uC4Sse(s4.data(), 6, o4, p4, h4);
  for (int j = 0; j < 6; ++j) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(h4[4 * j + c], s4[o4[j] + c + (p4[j] == 1.0f ? 4 : 0)]) << j << " " << c;
    }
  }
}

// ---- Lanczos -----------------------------------------------------------------------------------

float Sum6(const float* t, const float* w) {
  float s = t[0] * w[0];
  for (int k = 1; k < 6; ++k) s = s + t[k] * w[k];
  return s;
}

template <typename T>
void CallLanczosH(int ch, const T* s, int32_t stride, const int32_t* ofs, const float* w,
                  float* out, int n, int32_t L, int32_t R) {
  if constexpr (std::is_same_v<T, uint8_t>) {
    if (ch == 1) ResizeLanczosH8uC1Sse(s, ofs, w, out, n, L, R);
    if (ch == 3) ResizeLanczosH8uC3Sse(s, stride, ofs, w, out, n, L, R);
    if (ch == 4) ResizeLanczosH8uC4Sse(s, ofs, w, out, n, L, R);
  } else if constexpr (std::is_same_v<T, uint16_t>) {
    if (ch == 1) ResizeLanczosH16uC1Sse(s, ofs, w, out, n, L, R);
    if (ch == 3) ResizeLanczosH16uC3Sse(s, stride, ofs, w, out, n, L, R);
    if (ch == 4) ResizeLanczosH16uC4Sse(s, ofs, w, out, n, L, R);
  } else {
    if (ch == 1) ResizeLanczosH32fC1Sse(s, ofs, w, out, n, L, R);
    if (ch == 3) ResizeLanczosH32fC3Sse(s, stride, ofs, w, out, n, L, R);
    if (ch == 4) ResizeLanczosH32fC4Sse(s, ofs, w, out, n, L, R);
  }
}

// Taps clamped to the image: columns -L .. R - 1 from the region's left edge.
template <typename T>
void CheckLanczosHorizontal(uint64_t seed) {
  TestRng rng(seed);
  for (int n = 0; n <= kMaxCount; ++n) {
    for (int ch : {1, 3, 4}) {
      const int32_t stride = ch == 3 ? 3 + static_cast<int32_t>(n % 2) : ch;
      const int32_t L = rng.Range(0, 3);
      const int32_t R = std::max(L == 0 ? 6 : L == 1 ? 5 : 1, rng.Range(1, 24));
      std::vector<T> image((L + R) * stride + 4);
      for (auto& v : image) v = Sample<T>(rng);
      const T* s = image.data() + L * stride;
      std::vector<int32_t> ofs(n);
      std::vector<float> w(6 * n);
      int32_t x = 0;
      for (int j = 0; j < n; ++j) {
        x = std::min(R - 1, x + static_cast<int32_t>(rng.Next() % 3));  // non-decreasing
        ofs[j] = x * stride;
        for (int k = 0; k < 6; ++k) w[6 * j + k] = static_cast<float>(rng.Unit() - 0.3);
      }
      Row<float> out(n * ch, n % 4);
      CallLanczosH<T>(ch, s, stride, ofs.data(), w.data(), out.data(), n, L, R);
      for (int j = 0; j < n; ++j) {
        for (int c = 0; c < ch; ++c) {
          float t[6];
          for (int k = 0; k < 6; ++k) {
            const int32_t col = std::clamp(ofs[j] / stride + k - 2, -L, R - 1);
            t[k] = static_cast<float>(s[col * stride + c]);
          }
          ASSERT_TRUE(SameBits(out[j * ch + c], Sum6(t, &w[6 * j])))
              << n << " ch " << ch << " L " << L << " R " << R << " column " << j;
        }
      }
      EXPECT_EQ(out.Damaged(), 0);
    }
  }
}

TEST(ResizeSseLanczos, HorizontalHelpersMatchTheClampedSixTermSum) {
  CheckLanczosHorizontal<uint8_t>(6);
  CheckLanczosHorizontal<uint16_t>(7);
  CheckLanczosHorizontal<float>(8);
}

TEST(ResizeSseLanczos, VerticalHelpersMatchTheModelOnEveryPath) {
  TestRng rng(9);
  const float w[6] = {-0.02f, 0.13f, 0.61f, 0.37f, -0.11f, 0.03f};
  for (int n = 0; n <= kMaxCount + 8; ++n) {
    for (size_t shift = 0; shift < 4; ++shift) {
      Row<float> rows[6] = {Row<float>(3 * n, shift), Row<float>(3 * n, 1),
                            Row<float>(3 * n, 2),     Row<float>(3 * n, 3),
                            Row<float>(3 * n, 0),     Row<float>(3 * n, shift)};
      for (auto& r : rows) {
        for (int e = 0; e < 3 * n; ++e) r[e] = Sample<float>(rng);
      }
      const float* const rp[6] = {rows[0].data(), rows[1].data(), rows[2].data(),
                                  rows[3].data(), rows[4].data(), rows[5].data()};
      auto model = [&](int e) {
        const float t[6] = {rp[0][e], rp[1][e], rp[2][e], rp[3][e], rp[4][e], rp[5][e]};
        return Sum6(t, w);
      };
      auto integer = [&](int e, double max) {
        const double x = std::trunc(static_cast<double>(model(e)) + 0.0000001);
        return x <= 0 ? 0.0 : x >= max ? max : x;
      };
      Row<float> f(n, shift), fa(4 * n, shift);
      Row<uint8_t> b(n, shift), ba(4 * n, shift);
      Row<uint16_t> h(n, shift), ha(4 * n, shift);
      ResizeLanczosV32fSse(f.data(), n, w, rp);
      ResizeLanczosV32fAC4Sse(fa.data(), n, w, rp);
      ResizeLanczosV8uSse(b.data(), n, w, rp);
      ResizeLanczosV8uAC4Sse(ba.data(), n, w, rp);
      ResizeLanczosV16uSse(h.data(), n, w, rp);
      ResizeLanczosV16uAC4Sse(ha.data(), n, w, rp);
      for (int e = 0; e < n; ++e) {
        ASSERT_TRUE(SameBits(f[e], model(e))) << n << " " << shift << " " << e;
        ASSERT_EQ(b[e], integer(e, 255));
        ASSERT_EQ(h[e], integer(e, 65535));
        for (int c = 0; c < 3; ++c) {
          ASSERT_TRUE(SameBits(fa[4 * e + c], model(3 * e + c)));
          ASSERT_EQ(ba[4 * e + c], integer(3 * e + c, 255));
          ASSERT_EQ(ha[4 * e + c], integer(3 * e + c, 65535));
        }
      }
      EXPECT_EQ(
          f.Damaged() + fa.Damaged() + b.Damaged() + ba.Damaged() + h.Damaged() + ha.Damaged(), 0);
    }
  }
  // A destination inside one of the rows runs element by element, in ascending order.
  for (int n : {11, 16, 17}) {
    std::vector<float> base(64);
    for (auto& v : base) v = Sample<float>(rng);
    std::vector<float> a = base, m = base;
    const float* ra[6] = {&a[0], &a[20], &a[20], &a[40], &a[40], &a[44]};
    ResizeLanczosV32fSse(&a[21], n, w, reinterpret_cast<const float* const(&)[6]>(ra));
    for (int e = 0; e < n; ++e) {
      const float t[6] = {m[e], m[20 + e], m[20 + e], m[40 + e], m[40 + e], m[44 + e]};
      m[21 + e] = Sum6(t, w);
    }
    EXPECT_EQ(a, m) << n;
  }
}

TEST(ResizeSseLanczos, EdgeCases) {
  const float w[6] = {0, 0, 1, 0, 0, 0};
  auto v8 = [&](float s) {
    const float r[1] = {s};
    const float* const rows[6] = {r, r, r, r, r, r};
    uint8_t d = 0x33;
    ResizeLanczosV8uSse(&d, 1, w, rows);
    return int{d};
  };
  EXPECT_EQ(v8(254.99998f), 254);
  EXPECT_EQ(v8(0.99999994f), 1);
  EXPECT_EQ(v8(-0.4f), 0);
  EXPECT_EQ(v8(300.7f), 255);
  auto v16 = [&](float s) {
    const float r[1] = {s};
    const float* const rows[6] = {r, r, r, r, r, r};
    uint16_t d = 0x33;
    ResizeLanczosV16uSse(&d, 1, w, rows);
    return int{d};
  };
  EXPECT_EQ(v16(70000.5f), 65535);
  EXPECT_EQ(v16(-3.0f), 0);
  // Phases: x = 0 with L = 0 reads column 0 for the taps x - 2 .. x; R - 1 repeats x to the right.
  const uint8_t s[] = {10, 20, 30, 40, 50, 60};
  const int32_t ofs[] = {0, 1, 2, 3, 4, 5};
  float ws[36];
  for (int j = 0; j < 6; ++j) {
    for (int k = 0; k < 6; ++k) ws[6 * j + k] = static_cast<float>(1 << k);
  }
  float out[6];
  ResizeLanczosH8uC1Sse(s, ofs, ws, out, 6, 0, 6);
  EXPECT_EQ(out[0], 10 + 20 + 40 + 8 * 20 + 16 * 30 + 32 * 40);          // 0, 0, 0, 1, 2, 3
  EXPECT_EQ(out[1], 10 + 20 + 4 * 20 + 8 * 30 + 16 * 40 + 32 * 50);      // 0, 0, 1, 2, 3, 4
  EXPECT_EQ(out[3], 20 + 2 * 30 + 4 * 40 + 8 * 50 + 16 * 60 + 32 * 60);  // R - 3
  EXPECT_EQ(out[4], 30 + 2 * 40 + 4 * 50 + 8 * 60 + 16 * 60 + 32 * 60);  // R - 2
  EXPECT_EQ(out[5], 40 + 2 * 50 + 4 * 60 + 8 * 60 + 16 * 60 + 32 * 60);  // R - 1
  // L = 1: x = 0 reads the column left of the region twice.
  ResizeLanczosH8uC1Sse(s + 1, ofs, ws, out, 1, 1, 5);
  EXPECT_EQ(out[0], 10 + 2 * 10 + 4 * 20 + 8 * 30 + 16 * 40 + 32 * 50);
  // A destination width of 0 writes nothing.
  out[0] = -1.0f;
  ResizeLanczosH8uC1Sse(s, ofs, ws, out, 0, 0, 6);
  EXPECT_EQ(out[0], -1.0f);
}

TEST(ResizeSseLanczos, WeightsAreSinglePrecision) {
  const float fractions[] = {0.0f, 0.5f, 0.25f, 0.75f, 0.999f, 1.0f - 1.0f / (1 << 24)};
  float sse[36], portable[36];
  ResizeLanczosWeightsSse(fractions, 6, sse);
  ResizeLanczosWeights(fractions, 6, portable);
  const float expected0[6] = {0, 0, 1, 0, 0, 0};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(sse[k], expected0[k]) << k;  // -0 compares equal
  EXPECT_EQ(sse[6], sse[11]);
  EXPECT_EQ(sse[7], sse[10]);
  EXPECT_EQ(sse[8], sse[9]);
  for (int k = 0; k < 30; ++k) EXPECT_NEAR(sse[k], portable[k], 3e-7) << k;
  // -2 - f rounds to -3 in single: tap -2 gets no weight (the portable builder's is tiny).
  EXPECT_EQ(sse[30], 0.0f);
  EXPECT_LT(std::fabs(portable[30]), 1e-6f);
  // The formula step by step for one tap.
  const float f = 0.25f;
  const float x = (-2.0f - f) + 1.0f;
  const float a = std::fabs(x) * 100.0f;
  const int k = static_cast<int>(a);
  const float d = ResizeLanczosTable[k + 1] - ResizeLanczosTable[k];
  const float e = a - static_cast<float>(k);
  EXPECT_TRUE(SameBits(sse[12 + 1], d * e + ResizeLanczosTable[k]));
  float untouched = 5.0f;
  ResizeLanczosWeightsSse(fractions, 0, &untouched);
  EXPECT_EQ(untouched, 5.0f);
}

// ---- Super-sampling accumulators ---------------------------------------------------------------

template <typename T>
void CallAcc(int ch, const T* s, int32_t step, int n, int m, ResizeSuperSum<T>* acc,
             int32_t stride) {
  if constexpr (std::is_same_v<T, uint8_t>) {
    if (ch == 1) ResizeSuperAcc8uC1Sse(s, step, n, m, acc);
    if (ch == 3) ResizeSuperAcc8uC3Sse(s, step, n, m, acc, stride);
    if (ch == 4) ResizeSuperAcc8uC4Sse(s, step, n, m, acc);
  } else if constexpr (std::is_same_v<T, uint16_t>) {
    if (ch == 1) ResizeSuperAcc16uC1Sse(s, step, n, m, acc);
    if (ch == 3) ResizeSuperAcc16uC3Sse(s, step, n, m, acc, stride);
    if (ch == 4) ResizeSuperAcc16uC4Sse(s, step, n, m, acc);
  } else {
    if (ch == 1) ResizeSuperAcc32fC1Sse(s, step, n, m, acc);
    if (ch == 3) ResizeSuperAcc32fC3Sse(s, step, n, m, acc, stride);
    if (ch == 4) ResizeSuperAcc32fC4Sse(s, step, n, m, acc);
  }
}

template <typename T>
void CheckAccumulators(uint64_t seed) {
  using Sum = ResizeSuperSum<T>;
  TestRng rng(seed);
  for (int n = 0; n <= kMaxCount; ++n) {
    for (int ch : {1, 3, 4}) {
      for (size_t shift = 0; shift < 4; ++shift) {
        const int m = rng.Range(0, 3);
        const int32_t stride = ch == 3 ? 3 + static_cast<int32_t>(shift % 2) : ch;
        const int32_t rowElems = n * stride + static_cast<int32_t>(shift);
        std::vector<T> src(static_cast<size_t>(rowElems) * 3 + 8);
        for (auto& v : src) v = Sample<T>(rng);
        const T* first = src.data() + shift;
        Row<Sum> acc(n * ch, shift, Sum{});
        std::vector<Sum> model(n * ch);
        for (int e = 0; e < n * ch; ++e) {
          acc[e] = model[e] = std::is_same_v<T, float> ? Sample<Sum>(rng) : Sum(rng.Next());
        }
        CallAcc<T>(ch, first, rowElems * static_cast<int32_t>(sizeof(T)), n, m, acc.data(), stride);
        for (int r = 0; r < m; ++r) {
          for (int x = 0; x < n; ++x) {
            for (int c = 0; c < ch; ++c) {
              model[x * ch + c] =
                  static_cast<Sum>(model[x * ch + c] + first[r * rowElems + x * stride + c]);
            }
          }
        }
        for (int e = 0; e < n * ch; ++e) {
          ASSERT_TRUE(SameBits(acc[e], model[e]))
              << n << " ch " << ch << " shift " << shift << " m " << m;
        }
        EXPECT_EQ(acc.Damaged(), 0);
      }
    }
  }
  // An accumulator row inside the source row: ascending element-by-element addition.
  if constexpr (sizeof(T) >= 2) {
    for (int n : {9, 12, 17}) {
      std::vector<uint8_t> bytes(400);
      for (auto& b : bytes) b = static_cast<uint8_t>(rng.Next() & 0x3F);
      std::vector<uint8_t> model = bytes;
      auto* s = reinterpret_cast<T*>(bytes.data() + 32);
      auto* acc = reinterpret_cast<Sum*>(bytes.data() + 48);
      CallAcc<T>(1, s, 0, n, 1, acc, 1);
      auto* ms = reinterpret_cast<T*>(model.data() + 32);
      auto* ma = reinterpret_cast<Sum*>(model.data() + 48);
      for (int e = 0; e < n; ++e) {
        T v;
        std::memcpy(&v, &ms[e], sizeof v);
        Sum a;
        std::memcpy(&a, &ma[e], sizeof a);
        a = static_cast<Sum>(a + v);
        std::memcpy(&ma[e], &a, sizeof a);
      }
      EXPECT_EQ(bytes, model) << n;
    }
  }
}

TEST(ResizeSseSuper, AccumulatorsAddLikeAscendingScalarCode) {
  CheckAccumulators<uint8_t>(10);
  CheckAccumulators<uint16_t>(11);
  CheckAccumulators<float>(12);
}

}  // namespace
