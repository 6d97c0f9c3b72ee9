// The SSE2 build and its SSE3-class twin: the twin equals it bit for bit, it agrees with the
// generic build within the rules of each interpolation, and its own rounding shows where the
// rules say it must (cubic blocks and remainders, single-precision lanczos weights).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "resize/resize_alloc.h"
#include "resize/resize_cpu.h"
#include "resize/resize_image.h"
#include "resize/resize_worker.h"
#include "resize/sse2/resize_sse2.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_compare.h"
#include "tests/resize/resize_run.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::ResizeCall;
using resize_test::TestRng;

// ---- Differential over a randomized matrix ------------------------------------------------------

double PickFactor(TestRng& rng) {
  static const double kPool[] = {0.0,  -1.0, std::numeric_limits<double>::quiet_NaN(),
                                 1e-9, 1e9,  1.0,
                                 0.5,  2.0,  static_cast<double>(1.0f / 3),
                                 0.4,  0.25, 1.0 / 3 - 1e-10};
  switch (rng.Next() % 5) {
    case 0:
      return kPool[rng.Next() % (sizeof kPool / sizeof kPool[0])];
    case 1:
      return 0.05 + rng.Unit() * 0.95;
    default:
      return 0.2 + rng.Unit() * 4.0;
  }
}

struct LayoutChoice {
  int32_t channels, layout, planar;
};
constexpr LayoutChoice kLayouts[] = {{1, 1, 0}, {3, 3, 0}, {4, 4, 0}, {4, 3, 0},
                                     {1, 3, 1}, {1, 4, 1}, {1, 1, 1}};

ResizeCall RandomCall(TestRng& rng) {
  ResizeCall c;
  c.publicEntry = rng.Next() % 4 == 0;
  if (!c.publicEntry) {
    const LayoutChoice& l = kLayouts[rng.Next() % (sizeof kLayouts / sizeof kLayouts[0])];
    c.type = rng.Range(0, 2), c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
    c.factorMode = rng.Next() % 8 == 0 ? 0 : 1;
  }
  c.srcSize = {rng.Range(1, 40), rng.Range(1, 30)};
  if (rng.Next() % 30 == 0) c.srcSize.height = 0;
  const int32_t pixelBytes = (c.planar ? 1 : c.channels) << c.type;
  c.srcStep = c.srcSize.width * pixelBytes + (rng.Range(0, 3) << c.type);
  if (rng.Next() % 30 == 0) c.srcStep = 0;
  c.roi = {rng.Range(0, c.srcSize.width - 1), rng.Range(0, std::max(c.srcSize.height - 1, 0)),
           rng.Range(1, 45), rng.Range(1, 35)};
  if (rng.Next() % 30 == 0) c.roi.x = c.srcSize.width;
  if (rng.Next() % 30 == 0) c.roi.y = -1;
  c.dstRoi = {rng.Range(1, 50), rng.Range(1, 40)};
  c.dstStep = c.dstRoi.width * pixelBytes + (rng.Range(0, 5) << c.type);
  c.xf = PickFactor(rng);
  c.yf = rng.Next() % 3 == 0 ? c.xf : PickFactor(rng);
  static const int32_t kInterp[] = {1, 2, 4, 8, 16, 2, 4, 8, 16, 3};
  c.interp = kInterp[rng.Next() % (sizeof kInterp / sizeof kInterp[0])];
  c.nullSrc = rng.Next() % 50 == 0;
  return c;
}

TEST(ResizeSse2, RandomMatrixAgainstTheGenericBuildAndTheTwin) {
  TestRng rng(816);
  int compared = 0, differing = 0;
  for (int n = 0; n < 4000; ++n) {
    ResizeCall c = RandomCall(rng);
    const auto generic = resize_test::RunCall(c, nullptr, 0);
    c.build = &kResizeSse2Build, c.entry = ResizeEntrySSE2;
    const auto sse2 = resize_test::RunCall(c, nullptr, 0);
    c.build = &kResizeSse3Build, c.entry = ResizeEntrySSE3;
    const auto sse3 = resize_test::RunCall(c, nullptr, 0);
    ASSERT_EQ(sse2.status, resize_test::ExpectedStatus(c)) << "case " << n;
    ASSERT_EQ(generic.status, sse2.status) << "case " << n;
    ASSERT_EQ(sse3.status, sse2.status) << "case " << n;
    ASSERT_EQ(sse2.untouched, "") << "case " << n;
    ASSERT_TRUE(sse3.dstPlanes == sse2.dstPlanes) << "case " << n;
    if (sse2.status != 0) continue;

    const int32_t interp = resize_test::EffectiveInterpolation(c);
    const bool integer = c.type != 2;
    const int32_t es = 1 << c.type;
    const int32_t pix = c.planar ? 1 : c.channels;
    const int32_t elems = c.planar || c.layout == 1 ? 1 : c.layout == 4 ? 4 : 3;
    for (size_t p = 0; p < sse2.dstPlanes.size(); ++p) {
      double maxAbs = 1.0;
      for (size_t b = 0; b + es <= sse2.srcPlanes[p].size(); b += es) {
        maxAbs =
            std::max(maxAbs, std::fabs(resize_test::StoredElement(sse2.srcPlanes[p], c.type, b)));
      }
      double tol;
      if (integer) {
        tol = interp == 4 || interp == 16 ? 1 : 0;
      } else {
        tol = (interp == 8 ? 1e-6 : interp == 2 ? 2e-6 : 2e-5) * maxAbs;
      }
      for (int32_t y = 0; y < sse2.dstH; ++y) {
        for (int32_t x = 0; x < sse2.dstW; ++x) {
          for (int32_t e = 0; e < elems; ++e) {
            const size_t off =
                static_cast<size_t>(y) * c.dstStep + (static_cast<size_t>(x) * pix + e) * es;
            const double a = resize_test::StoredElement(sse2.dstPlanes[p], c.type, off);
            const double g = resize_test::StoredElement(generic.dstPlanes[p], c.type, off);
            ASSERT_LE(std::fabs(a - g), tol) << "case " << n << " interp " << interp << " type "
                                             << c.type << " at " << x << "," << y << "," << e;
            differing += a != g;
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_GT(compared, 300000);
  EXPECT_GT(differing, 0);  // the builds' own rounding does show
}

// ---- Width sweeps with guard bands (and scratch canaries in debug trees) ------------------------

TEST(ResizeSse2, WidthsOneToSeventeenWriteExactlyTheDestination) {
  std::vector<uint8_t> fill(1009);
  TestRng rng(17);
  for (auto& b : fill) b = static_cast<uint8_t>(rng.Next());
  for (int32_t interp : {1, 2, 4, 16, 8}) {
    for (int32_t type = 0; type < 3; ++type) {
      for (const LayoutChoice& l : kLayouts) {
        for (int32_t w = 1; w <= 17; ++w) {
          ResizeCall c;
          c.type = type, c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
          c.interp = interp;
          // Reductions for super-sampling, enlargements and reductions for the others.
          const int32_t srcW = interp == 8 ? 2 * w + 1 : (w % 2 ? 6 : 2 * w + 3);
          c.srcSize = {srcW, 8};
          const int32_t pixelBytes = (l.planar ? 1 : l.channels) << type;
          c.srcStep = srcW * pixelBytes;
          c.roi = {0, 0, srcW, 8};
          c.dstRoi = {w, interp == 8 ? 4 : 11};
          c.dstStep = w * pixelBytes;
          c.xf = static_cast<double>(w) / srcW;
          c.yf = interp == 8 ? 0.5 : 11.0 / 8;
          const auto generic = resize_test::RunCall(c, fill.data(), fill.size());
          c.build = &kResizeSse2Build;
          const auto sse2 = resize_test::RunCall(c, fill.data(), fill.size());
          ASSERT_EQ(sse2.status, 0);
          ASSERT_EQ(sse2.dstW, w) << interp << " " << type << " " << l.channels << l.layout;
          ASSERT_EQ(sse2.untouched, "")
              << interp << " type " << type << " layout " << l.channels << l.layout << " w " << w;
          if (type != 2 && interp != 4 && interp != 16) {
            ASSERT_TRUE(sse2.dstPlanes == generic.dstPlanes)
                << interp << " type " << type << " layout " << l.channels << l.layout << " w " << w;
          }
        }
      }
    }
  }
}

// Whole area spans (2 x 2, 3 x 3, 2 x 3, 4 x 1) of packed 8-bit pixels, summed in 16-bit lanes by
// this build: the portable bytes, rows stored tight with nothing written past them, also for
// regions one column and one row longer than the spans.
TEST(ResizeSse2, WholeAreaSpansGiveThePortableBytes) {
  std::vector<uint8_t> fill(4099);
  TestRng rng(29);
  for (auto& b : fill) b = static_cast<uint8_t>(rng.Next());
  struct Span {
    int32_t x, y;
  };
  for (const Span span : {Span{2, 2}, Span{3, 3}, Span{2, 3}, Span{4, 1}}) {
    for (const int32_t ch : {3, 4}) {
      for (int32_t w = 1; w <= 19; ++w) {
        for (const int32_t extra : {0, 1}) {
          ResizeCall c;
          c.type = 0, c.channels = ch, c.layout = ch, c.planar = 0;
          c.interp = 8;
          const int32_t srcW = w * span.x + extra;
          const int32_t srcH = 3 * span.y + extra;
          c.srcSize = {srcW, srcH};
          c.srcStep = srcW * ch;
          c.roi = {0, 0, srcW, srcH};
          c.dstRoi = {w + extra, 3 + extra};
          c.dstStep = (w + extra) * ch;
          c.xf = 1.0 / span.x;
          c.yf = 1.0 / span.y;
          const auto generic = resize_test::RunCall(c, fill.data(), fill.size());
          for (const ResizeBuild* b : {&kResizeSse2Build, &kResizeSse3Build}) {
            c.build = b;
            const auto simd = resize_test::RunCall(c, fill.data(), fill.size());
            ASSERT_EQ(simd.status, 0);
            ASSERT_EQ(simd.untouched, "") << span.x << "x" << span.y << " C" << ch << " w " << w;
            ASSERT_TRUE(simd.dstPlanes == generic.dstPlanes)
                << span.x << "x" << span.y << " C" << ch << " w " << w << " extra " << extra;
          }
        }
      }
    }
  }
}

#ifndef NDEBUG
TEST(ResizeSse2DeathTest, ScratchCanaryCatchesAnOverrun) {
  EXPECT_DEATH(
      {
        uint8_t* p = static_cast<uint8_t*>(ResizeAlloc2(5));
        p[10] = 0;  // one byte past the ten asked for
        ResizeFree(p);
      },
      "overrun");
}
#endif

// ---- Kernel rules, through the build's table ----------------------------------------------------

// Scratch of the worker's allocator, freed at the end of a test.
struct Scratch {
  std::vector<void*> blocks;
  ~Scratch() {
    for (void* b : blocks) ResizeFree(b);
  }
  template <typename T>
  T* Take(int64_t n, std::initializer_list<T> values = {}) {
    T* p = static_cast<T*>(ResizeAlloc4((n * static_cast<int64_t>(sizeof(T)) + 3) / 4));
    blocks.push_back(p);
    std::fill_n(p, n, T{});
    std::copy(values.begin(), values.end(), p);
    return p;
  }
};

struct Build {
  const char* name;
  const ResizeKernelTable* table;
  ResizeLanczosWeightsFn weights;
};
const Build kBuilds[] = {{"sse2", &ResizeKernelTableSse2, ResizeLanczosWeightsSse2},
                         {"sse3", &ResizeKernelTableSse3, ResizeLanczosWeightsSse3}};

// One destination row of the cubic kernel over four constant source rows (98, 100, 102, 104):
// every column is the source column, every value the cubic at t down the rows.
template <typename T>
std::vector<T> CubicRow(const ResizeKernelTable& table, bool single, int32_t dstW,
                        const T (&rowValues)[4], float t) {
  Scratch s;
  const int32_t pix = single ? 1 : 3;
  const int32_t srcW = 4;
  std::vector<T> src(4 * srcW * pix);
  for (int32_t r = 0; r < 4; ++r) {
    for (int32_t e = 0; e < srcW * pix; ++e) src[r * srcW * pix + e] = rowValues[r];
  }
  int32_t* rowOfs = s.Take<int32_t>(1, {srcW * pix});  // base row 1
  int32_t* colOfs = s.Take<int32_t>(dstW);
  float* yT = s.Take<float>(1, {t});
  float* xT = s.Take<float>(dstW);
  for (int32_t j = 0; j < dstW; ++j) colOfs[j] = pix;  // base column 1, t 0
  float* bufs[4];
  for (auto& b : bufs) b = s.Take<float>(4 * dstW + 16);
  std::vector<T> dst(dstW * pix + 4, T{7});
  const int32_t member = (sizeof(T) == 1 ? 0 : sizeof(T) == 2 ? 1 : 2) + (single ? 3 : 0);
  table.cubic[member](src.data(), dst.data(), srcW * pix, dstW * pix, dstW, 1, rowOfs, colOfs, yT,
                      xT, bufs[0], bufs[1], bufs[2], bufs[3], pix, pix);
  EXPECT_EQ(dst[dstW * pix], T{7});  // nothing past the row
  dst.resize(dstW * pix);
  return dst;
}

TEST(ResizeSse2Cubic, BlocksRoundAndRemaindersTruncate) {
  for (const Build& b : kBuilds) {
    // 100 + 0.3 x 2 = 100.6: 101 in the four-wide block, 100 in the one-at-a-time remainder.
    const uint8_t ramp8[4] = {98, 100, 102, 104};
    EXPECT_EQ(CubicRow<uint8_t>(*b.table, true, 5, ramp8, 0.3f),
              (std::vector<uint8_t>{101, 101, 101, 101, 100}))
        << b.name;
    // A whole row below four values goes through the remainder.
    EXPECT_EQ(CubicRow<uint8_t>(*b.table, true, 3, ramp8, 0.3f),
              (std::vector<uint8_t>{100, 100, 100}))
        << b.name;
    // Exact halves in a block: 2.5 gives 3.
    const uint8_t small[4] = {1, 2, 3, 4};
    EXPECT_EQ(CubicRow<uint8_t>(*b.table, true, 4, small, 0.5f)[0], 3) << b.name;
    // 16-bit: 1000.6 gives 1001 in a block and 1000 in the remainder; halves round to even
    // from 256 up.
    const uint16_t ramp16[4] = {998, 1000, 1002, 1004};
    EXPECT_EQ(CubicRow<uint16_t>(*b.table, true, 5, ramp16, 0.3f),
              (std::vector<uint16_t>{1001, 1001, 1001, 1001, 1000}))
        << b.name;
    const uint16_t r256[4] = {255, 256, 257, 258};
    const uint16_t r257[4] = {256, 257, 258, 259};
    const uint16_t r2[4] = {1, 2, 3, 4};
    EXPECT_EQ(CubicRow<uint16_t>(*b.table, true, 4, r256, 0.5f)[0], 256) << b.name;
    EXPECT_EQ(CubicRow<uint16_t>(*b.table, true, 4, r257, 0.5f)[0], 258) << b.name;
    EXPECT_EQ(CubicRow<uint16_t>(*b.table, true, 4, r2, 0.5f)[0], 3) << b.name;
    // Float: no bias, no clamp; block and remainder agree here.
    const float rampF[4] = {98, 100, 102, 104};
    for (float v : CubicRow<float>(*b.table, true, 5, rampF, 0.5f)) EXPECT_EQ(v, 101.0f);
  }
}

// The image's last column (t = 2) after three zeros: the four-wide horizontal pass weights the
// last difference by 3 K = 0.99999994, so 200 is filtered to 199.99998; a vertical block rounds
// that to 200, the three-channel remainder truncates it to 199.
TEST(ResizeSse2Cubic, LastColumnGivesOneLessInTheThreeChannelRemainder) {
  for (const Build& b : kBuilds) {
    for (int32_t stride : {3, 4}) {
      Scratch s;
      const int32_t srcW = 4, dstW = 3;
      std::vector<uint8_t> src(4 * srcW * stride, 0);
      for (int32_t r = 0; r < 4; ++r) {
        for (int32_t c = 0; c < 3; ++c) src[(r * srcW + 3) * stride + c] = 200;
      }
      int32_t* rowOfs = s.Take<int32_t>(1, {srcW * stride});
      int32_t* colOfs = s.Take<int32_t>(dstW, {stride, stride, stride});
      float* yT = s.Take<float>(1, {0.0f});
      float* xT = s.Take<float>(dstW, {2.0f, 2.0f, 2.0f});
      float* bufs[4];
      for (auto& p : bufs) p = s.Take<float>(3 * dstW + 12);
      std::vector<uint8_t> dst(dstW * stride, 9);
      b.table->cubic[0](src.data(), dst.data(), srcW * stride, dstW * stride, dstW, 1, rowOfs,
                        colOfs, yT, xT, bufs[0], bufs[1], bufs[2], bufs[3], stride, 3);
      std::vector<uint8_t> values;
      for (int32_t p = 0; p < dstW; ++p) {
        for (int32_t c = 0; c < 3; ++c) values.push_back(dst[p * stride + c]);
        if (stride == 4) {
          EXPECT_EQ(dst[p * 4 + 3], 9) << "fourth byte";
        }
      }
      EXPECT_EQ(values, (std::vector<uint8_t>{200, 200, 200, 200, 200, 200, 200, 200, 199}))
          << b.name << " stride " << stride;
    }
  }
}

// ---- Lanczos ------------------------------------------------------------------------------------

TEST(ResizeSse2Lanczos, SinglePrecisionWeights) {
  for (const Build& b : kBuilds) {
    const float fractions[4] = {0.0f, 0.5f, 0.25f, 0.75f};
    float w[24];
    b.weights(fractions, 4, w);
    EXPECT_EQ(w[0], 0.0f);
    EXPECT_EQ(w[2], 1.0f);
    EXPECT_EQ(w[3], 0.0f);
    EXPECT_EQ(w[5], 0.0f);
    auto sum = [&](int j) {
      float s = 0;
      for (int k = 0; k < 6; ++k) s += w[6 * j + k];
      return s;
    };
    EXPECT_NEAR(sum(1), 0.99430, 5e-6) << b.name;
    EXPECT_NEAR(sum(2), 0.99697, 5e-6) << b.name;
    EXPECT_NEAR(sum(3), 0.99697, 5e-6) << b.name;
    float g[24];
    ResizeLanczosWeights(fractions, 4, g);
    for (int k = 0; k < 24; ++k) EXPECT_NEAR(w[k], g[k], 3e-7) << k;
  }
}

// Float kernel: a step from 0 to 1 with the weights of column fraction 0.25 overshoots to
// 1.0998214 where the taps read 0 0 1 1 1 1 and undershoots to -0.0604354 where they read
// 0 0 0 0 1 1; a constant 1 at column fraction 0.5 gives the weights' sum, 0.99429852.
TEST(ResizeSse2Lanczos, FloatExamples) {
  for (const Build& b : kBuilds) {
    Scratch s;
    const int32_t srcW = 8, srcH = 8;
    std::vector<float> src(srcW * srcH);
    for (int32_t r = 0; r < srcH; ++r) {
      for (int32_t x = 0; x < srcW; ++x) {
        src[r * srcW + x] = r < 4 ? (x >= 2 ? 1.0f : 0.0f) : r < 7 ? (x >= 4 ? 1.0f : 0.0f) : 1.0f;
      }
    }
    const float colFractions[2] = {0.25f, 0.5f};
    const float rowFractions[3] = {0.0f, 0.0f, 0.0f};
    float* xW6 = s.Take<float>(12);
    float* yW6 = s.Take<float>(18);
    b.weights(colFractions, 2, xW6);
    b.weights(rowFractions, 3, yW6);
    int32_t* rowOfs = s.Take<int32_t>(3, {2 * srcW, 5 * srcW, 7 * srcW});
    int32_t* colOfs = s.Take<int32_t>(2, {2, 2});
    float* bufs[6];
    for (auto& p : bufs) p = s.Take<float>(2 + 4);
    std::vector<float> dst(6, -9.0f);
    b.table->lanczos[5](src.data(), dst.data(), srcW, 2, 2, 3, rowOfs, colOfs, yW6, xW6, bufs[0],
                        bufs[1], bufs[2], bufs[3], bufs[4], bufs[5], 0, 0, srcW, srcH, 0, 0, 0);
    EXPECT_NEAR(dst[0], 1.0998214, 1e-6) << b.name;
    EXPECT_NEAR(dst[2], -0.060435429, 1e-6) << b.name;
    EXPECT_NEAR(dst[5], 0.99429852, 1e-6) << b.name;
  }
}

// Identity through the worker (weights 0 0 1 0 0 0): every layout and both integer sizes.
TEST(ResizeSse2Lanczos, IdentityReproducesTheSource) {
  std::vector<uint8_t> fill(509);
  TestRng rng(5);
  for (auto& v : fill) v = static_cast<uint8_t>(rng.Next());
  for (int32_t type : {0, 1}) {
    for (const LayoutChoice& l : kLayouts) {
      ResizeCall c;
      c.type = type, c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
      c.interp = 16;
      c.srcSize = {9, 7};
      const int32_t pixelBytes = (l.planar ? 1 : l.channels) << type;
      c.srcStep = 9 * pixelBytes, c.dstStep = 9 * pixelBytes;
      c.roi = {0, 0, 9, 7};
      c.dstRoi = {9, 7};
      c.build = &kResizeSse2Build;
      const auto r = resize_test::RunCall(c, fill.data(), fill.size());
      ASSERT_EQ(r.status, 0);
      const int32_t written = l.planar || l.layout == 1 ? 1 : l.layout == 4 ? 4 : 3;
      const int32_t pix = l.planar ? 1 : l.channels;
      for (size_t p = 0; p < r.dstPlanes.size(); ++p) {
        for (size_t b = 0; b < r.dstPlanes[p].size(); ++b) {
          if ((b >> type) % pix < static_cast<size_t>(written)) {
            ASSERT_EQ(r.dstPlanes[p][b], r.srcPlanes[p][b])
                << type << " " << l.channels << l.layout;
          }
        }
      }
    }
  }
}

// ---- Linear -------------------------------------------------------------------------------------

TEST(ResizeSse2Linear, FixedPointExamples) {
  for (const Build& b : kBuilds) {
    Scratch s;
    // 8-bit: 10 and 20 halfway give 960, 20 and 40 give 1920; a quarter down gives 19.
    {
      const uint8_t src[4] = {10, 20, 20, 40};
      int32_t* rowOfs = s.Take<int32_t>(1, {0});
      int32_t* colOfs = s.Take<int32_t>(1, {0});
      uint16_t* yW = s.Take<uint16_t>(8, {4096});
      uint16_t* xW = s.Take<uint16_t>(8, {8192, 8192});
      int16_t* b0 = s.Take<int16_t>(8);
      int16_t* b1 = s.Take<int16_t>(8);
      uint8_t dst[2] = {0, 77};
      b.table->linear[3](src, dst, 2, 1, 1, 1, rowOfs, colOfs, yW, xW, b0, b1, 0, 0);
      EXPECT_EQ(dst[0], 19) << b.name;
      EXPECT_EQ(dst[1], 77);
    }
    // 16-bit: 1000 and 3001 at (12288, 4096) give 1500, 60000 and 65535 give 61384, halfway
    // between them 31442.
    {
      const uint16_t src[4] = {1000, 3001, 60000, 65535};
      int32_t* rowOfs = s.Take<int32_t>(1, {0});
      int32_t* colOfs = s.Take<int32_t>(1, {0});
      uint16_t* yW = s.Take<uint16_t>(8, {8192});
      uint16_t* xW = s.Take<uint16_t>(8, {12288, 4096});
      uint16_t* b0 = s.Take<uint16_t>(8);
      uint16_t* b1 = s.Take<uint16_t>(8);
      uint16_t dst[2] = {0, 77};
      b.table->linear[4](src, dst, 2, 1, 1, 1, rowOfs, colOfs, yW, xW, b0, b1, 0, 0);
      EXPECT_EQ(std::min(b0[0], b1[0]), 1500) << b.name;  // the two filtered rows
      EXPECT_EQ(std::max(b0[0], b1[0]), 61384) << b.name;
      EXPECT_EQ(dst[0], 31442) << b.name;
      EXPECT_EQ(dst[1], 77);
    }
  }
}

// A region whose first row is the image's last: all weight on that row (the pair names the row
// above it and the last one), so every destination row is the region's row.
TEST(ResizeSse2Linear, RegionOnTheLastRow) {
  for (const Build& b : kBuilds) {
    Scratch s;
    std::vector<uint8_t> src = {99, 99, 99, 10, 250, 40};  // the image's last two rows
    int32_t* rowOfs = s.Take<int32_t>(2, {-3, -3});
    int32_t* colOfs = s.Take<int32_t>(2, {0, 1});
    uint16_t* yW = s.Take<uint16_t>(8, {16384, 16384});
    uint16_t* xW = s.Take<uint16_t>(8, {16384, 0, 0, 16384});
    int16_t* b0 = s.Take<int16_t>(8);
    int16_t* b1 = s.Take<int16_t>(8);
    uint8_t dst[4] = {};
    b.table->linear[3](src.data() + 3, dst, 3, 2, 2, 2, rowOfs, colOfs, yW, xW, b0, b1, 0, 0);
    EXPECT_EQ(std::vector<uint8_t>(dst, dst + 4), (std::vector<uint8_t>{10, 40, 10, 40}));
  }
}

// ---- Super-sampling worked examples -------------------------------------------------------------

const ResizeBuild* const kSuperBuilds[] = {&kResizeSse2Build, &kResizeSse3Build};

TEST(ResizeSse2Super, SingleChannelExamples) {
  using resize_test::RunResize;
  for (const ResizeBuild* b : kSuperBuilds) {
    auto halved =
        RunResize<uint8_t>({{10, 20, 30, 40}, {50, 60, 70, 80}}, 1, 1, {}, {2, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ(halved.Row(0, 2), (std::vector<uint8_t>{35, 55}));
    auto fifths = RunResize<uint8_t>({{10, 20, 30, 40, 50}}, 1, 1, {}, {5, 1}, 0.4, 1, 8, b);
    EXPECT_EQ(fifths.Row(0, 2), (std::vector<uint8_t>{18, 42}));
    EXPECT_EQ(fifths.out.Untouched(1, 2, 1, 1, 1), "");
    EXPECT_EQ(RunResize<uint8_t>({{1, 2}}, 1, 1, {}, {1, 1}, 0.5, 1, 8, b).at(0, 0), 2);
    auto ones = RunResize<float>({{1, 1, 1, 1}, {1, 1, 1, 1}}, 1, 1, {}, {2, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ(ones.Row(0, 2), (std::vector<float>{1.0f, 1.0f}));
    auto copy = RunResize<uint8_t>({{1, 2, 3}, {4, 5, 6}}, 1, 1, {}, {2, 1}, 1, 1, 8, b);
    EXPECT_EQ(copy.Row(0, 2), (std::vector<uint8_t>{1, 2}));
    auto eleven = RunResize<uint8_t>({std::vector<uint8_t>(11, 9)}, 1, 1, {}, {8, 1}, 0.5, 1, 8, b);
    EXPECT_EQ(eleven.Row(0, 5), std::vector<uint8_t>(5, 9));
    EXPECT_EQ(eleven.out.Untouched(1, 5, 1, 1, 1), "");
  }
}

TEST(ResizeSse2Super, ThreeChannelExamples) {
  using resize_test::RunResize;
  for (const ResizeBuild* b : kSuperBuilds) {
    auto c3 = RunResize<uint8_t>({{10, 20, 30, 50, 60, 70}, {90, 100, 110, 130, 140, 150}}, 3, 3,
                                 {}, {1, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ((std::vector<uint8_t>{c3.at(0, 0, 0), c3.at(0, 0, 1), c3.at(0, 0, 2)}),
              (std::vector<uint8_t>{70, 80, 90}));
    // Stride 4: the fourth sample of the destination keeps its value.
    auto c3in4 =
        RunResize<uint8_t>({{10, 20, 30, 1, 50, 60, 70, 2}, {90, 100, 110, 3, 130, 140, 150, 4}}, 4,
                           3, {}, {1, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ((std::vector<uint8_t>{c3in4.at(0, 0, 0), c3in4.at(0, 0, 1), c3in4.at(0, 0, 2),
                                    c3in4.at(0, 0, 3)}),
              (std::vector<uint8_t>{70, 80, 90, resize_test::kSentinel}));
    // Ten pixels by two rows halved: pixel 4 averages pixels 8 and 9.
    std::vector<uint8_t> row;
    for (int k = 0; k < 10; ++k) {
      row.insert(row.end(), {static_cast<uint8_t>(k), static_cast<uint8_t>(2 * k),
                             static_cast<uint8_t>(100 + k)});
    }
    auto ten = RunResize<uint8_t>({row, row}, 3, 3, {}, {5, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ((std::vector<uint8_t>{ten.at(4, 0, 0), ten.at(4, 0, 1), ten.at(4, 0, 2)}),
              (std::vector<uint8_t>{9, 17, 109}));
    // Spans just under 3 (single-precision 1/3): nothing above the largest sample.
    std::vector<uint8_t> white(3 * 30, 255);
    auto third =
        RunResize<uint8_t>(std::vector<std::vector<uint8_t>>(30, white), 3, 3, {}, {10, 10},
                           static_cast<double>(1.0f / 3), static_cast<double>(1.0f / 3), 8, b);
    for (int32_t y = 0; y < 10; ++y) {
      EXPECT_EQ(third.Row(y, 10, 1), std::vector<uint8_t>(10, 255)) << y;
    }
    // 16-bit full scale and float 7.25 in fraction modes 0 and 3.
    auto full = RunResize<uint16_t>(
        {{65535, 65535, 65535, 65535, 65535, 65535}, {65535, 65535, 65535, 65535, 65535, 65535}}, 3,
        3, {}, {1, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ(full.at(0, 0, 2), 65535);
    std::vector<float> f(3 * 5, 7.25f);
    for (double factor : {0.5, 0.4}) {
      auto sevens = RunResize<float>(std::vector<std::vector<float>>(5, f), 3, 3, {}, {2, 2},
                                     factor, factor, 8, b);
      EXPECT_EQ(sevens.at(1, 1, 2), 7.25f) << factor;
    }
  }
}

TEST(ResizeSse2Super, FourChannelExamples) {
  using resize_test::RunResize;
  for (const ResizeBuild* b : kSuperBuilds) {
    auto c4 =
        RunResize<uint8_t>({{1, 10, 100, 255, 2, 20, 200, 255}, {3, 30, 100, 0, 4, 40, 201, 0}}, 4,
                           4, {}, {1, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ(
        (std::vector<uint8_t>{c4.at(0, 0, 0), c4.at(0, 0, 1), c4.at(0, 0, 2), c4.at(0, 0, 3)}),
        (std::vector<uint8_t>{3, 25, 150, 128}));
    auto quarter = RunResize<float>({{1, 1, 1, 1, 2, 2, 2, 2}, {3, 3, 3, 3, 4, 4, 4, 4}}, 4, 4, {},
                                    {1, 1}, 0.5, 0.5, 8, b);
    EXPECT_EQ(quarter.at(0, 0, 3), 2.5f);
    auto fifths = RunResize<uint8_t>(
        {{10, 1, 200, 0, 20, 2, 200, 0, 30, 3, 200, 255, 40, 4, 200, 255, 50, 5, 200, 255}}, 4, 4,
        {}, {2, 1}, 0.4, 1, 8, b);
    EXPECT_EQ((std::vector<uint8_t>{fifths.at(0, 0, 0), fifths.at(0, 0, 1), fifths.at(0, 0, 2),
                                    fifths.at(0, 0, 3), fifths.at(1, 0, 0), fifths.at(1, 0, 1),
                                    fifths.at(1, 0, 2), fifths.at(1, 0, 3)}),
              (std::vector<uint8_t>{18, 2, 200, 51, 42, 4, 200, 255}));
    // Five float pixels in fraction mode 0: a block of four and one alone, single precision.
    std::vector<float> row;
    for (int k = 0; k < 10; ++k) row.insert(row.end(), {0.1f * k, 1.0f, 2.0f, 3.0f});
    auto five = RunResize<float>({row, row}, 4, 4, {}, {5, 1}, 0.5, 0.5, 8, b);
    EXPECT_FLOAT_EQ(five.at(4, 0, 0), (0.1f * 8 + 0.1f * 9) / 2);
  }
}

// ---- Dispatch -----------------------------------------------------------------------------------

class SlotGuard {
 public:
  SlotGuard() : saved_(ResizeCpuSlot.load()) {}
  ~SlotGuard() { ResizeCpuSlot.store(saved_); }

 private:
  int32_t saved_;
};

// Processor types 9 and 32 select the SSE2 and SSE3-class builds: the public function then
// gives their bytes, which differ from the generic build's (cubic blocks round).
TEST(ResizeSse2, ProcessorTypesSelectTheBuilds) {
  SlotGuard guard;
  std::vector<uint8_t> src(31 * 23 * 3);
  TestRng rng(3);
  for (auto& v : src) v = static_cast<uint8_t>(rng.Next());
  auto run = [&](ResizeEntryFn entry) {
    std::vector<uint8_t> dst(70 * 50 * 3, 0);
    EXPECT_EQ(entry(src.data(), {31, 23}, 31 * 3, {0, 0, 31, 23}, dst.data(), 70 * 3, {70, 50}, 2.2,
                    2.1, kResizeCubic),
              0);
    return dst;
  };
  const auto generic = run(ResizeEntryGeneric);
  const auto sse2 = run(ResizeEntrySSE2);
  EXPECT_NE(generic, sse2);
  EXPECT_EQ(run(ResizeEntrySSE3), sse2);
  for (auto [type, slot] :
       {std::pair{9, 3}, std::pair{6, 3}, std::pair{7, 3}, std::pair{32, 4}, std::pair{8, 4}}) {
    ASSERT_EQ(ResizeSetCpuSlot(type), 0);
    EXPECT_EQ(ResizeCpuSlot.load(), slot) << type;
    EXPECT_EQ(run(ResizeImage8uC3), sse2) << type;
  }
  ASSERT_EQ(ResizeSetCpuSlot(1), 0);
  EXPECT_EQ(run(ResizeImage8uC3), generic);
}

}  // namespace
