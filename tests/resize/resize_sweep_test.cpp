// A randomized sweep over regions, steps, sizes, factors (tiny, huge, NaN, infinite) and
// interpolations, for every element type and layout: the expected status, no write outside the
// fitted destination, and (under the sanitizers) no access outside the buffers.  Valid calls
// are also compared with the reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "tests/resize/resize_call.h"
#include "tests/resize/resize_compare.h"
#include "tests/resize/resize_reference.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::ResizeCall;
using resize_test::TestRng;

double PickFactor(TestRng& rng) {
  static const double kPool[] = {0.0,
                                 -1.0,
                                 std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity(),
                                 -std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::denorm_min(),
                                 std::numeric_limits<double>::min(),
                                 1e-300,
                                 1e-9,
                                 1e9,
                                 1e300,
                                 1.0,
                                 0.5,
                                 static_cast<double>(1.0f / 3),
                                 static_cast<double>(0.2f),
                                 2.0,
                                 1.0 / 3 - 1e-10};
  const uint32_t k = rng.Next() % 4;
  if (k == 0) return kPool[rng.Next() % (sizeof kPool / sizeof kPool[0])];
  if (k == 1) return 0.05 + rng.Unit();
  return 0.05 + rng.Unit() * 5.0;
}

int32_t PickInt(TestRng& rng, int32_t lo, int32_t hi) {
  switch (rng.Next() % 8) {
    case 0:
      return -static_cast<int32_t>(rng.Next() % 3);
    case 1:
      return hi + static_cast<int32_t>(rng.Next() % 4);
    default:
      return rng.Range(lo, hi);
  }
}

struct LayoutChoice {
  int32_t channels, layout, planar;
};
constexpr LayoutChoice kLayouts[] = {{1, 1, 0}, {3, 3, 0}, {4, 4, 0}, {4, 3, 0},
                                     {1, 3, 1}, {1, 4, 1}, {1, 1, 1}};

ResizeCall RandomCall(TestRng& rng) {
  ResizeCall c;
  c.publicEntry = rng.Next() % 3 == 0;
  if (c.publicEntry) {
    c.type = 0, c.channels = 3, c.layout = 3, c.planar = 0;
  } else {
    const LayoutChoice& l = kLayouts[rng.Next() % (sizeof kLayouts / sizeof kLayouts[0])];
    c.type = rng.Range(0, 2), c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
    c.factorMode = rng.Next() % 6 == 0 ? 0 : 1;
  }
  c.srcSize = {rng.Range(1, 30), rng.Range(1, 30)};
  if (rng.Next() % 20 == 0) c.srcSize.width = -rng.Range(0, 2);
  const int32_t pixelBytes = (c.planar ? 1 : c.channels) << c.type;
  c.srcStep = std::max(c.srcSize.width, 1) * pixelBytes + (rng.Range(0, 3) << c.type);
  if (rng.Next() % 25 == 0) c.srcStep = -rng.Range(0, 2);
  c.roi = {PickInt(rng, 0, std::max(c.srcSize.width - 1, 0)), PickInt(rng, 0, c.srcSize.height - 1),
           PickInt(rng, 1, 35), PickInt(rng, 1, 35)};
  c.dstRoi = {PickInt(rng, 1, 40), PickInt(rng, 1, 40)};
  c.dstStep = std::max(c.dstRoi.width, 1) * pixelBytes + (rng.Range(0, 3) << c.type);
  if (rng.Next() % 25 == 0) c.dstStep = -rng.Range(0, 2);
  c.xf = PickFactor(rng);
  c.yf = rng.Next() % 3 == 0 ? c.xf : PickFactor(rng);
  static const int32_t kInterp[] = {1, 2, 4, 8, 16, 1, 2, 8, 0, 3, 32};
  c.interp = kInterp[rng.Next() % (sizeof kInterp / sizeof kInterp[0])];
  c.nullSrc = rng.Next() % 40 == 0;
  c.nullDst = rng.Next() % 40 == 0;
  return c;
}

TEST(ResizeSweep, RandomArguments) {
  TestRng rng(2024);
  int valid = 0, compared = 0;
  for (int n = 0; n < 6000; ++n) {
    const ResizeCall c = RandomCall(rng);
    const auto r = resize_test::RunCall(c, nullptr, 0);
    const ResizeStatus expect = resize_test::ExpectedStatus(c);
    ASSERT_EQ(r.status, expect) << "case " << n;
    ASSERT_EQ(r.untouched, "") << "case " << n;
    if (r.status != 0) continue;
    ++valid;
    // Compare with the reference where it is defined: factor mode 1, finite factors.
    if (c.factorMode != 1 || !std::isfinite(c.xf) || !std::isfinite(c.yf)) continue;
    const int32_t elems = c.planar || c.layout == 1 ? 1 : c.layout == 4 ? 4 : 3;
    const int32_t pix = c.planar ? 1 : c.channels;
    const int32_t es = 1 << c.type;
    for (size_t p = 0; p < r.srcPlanes.size(); ++p) {
      resize_test::RefSource ref{r.srcPlanes[p].data(), c.srcStep, c.type, pix, c.srcSize};
      const auto want =
          resize_test::ReferenceResize(ref, c.roi, c.dstRoi, c.xf, c.yf, c.interp, elems);
      ASSERT_EQ(want.w, r.dstW) << "case " << n;
      ASSERT_EQ(want.h, r.dstH) << "case " << n;
      const double tol = c.interp != 8 ? 0 : c.type == 2 ? 0.01 : 1;
      for (int32_t y = 0; y < want.h; ++y) {
        for (int32_t x = 0; x < want.w; ++x) {
          for (int32_t e = 0; e < elems; ++e) {
            const size_t off = static_cast<size_t>(y) * (c.dstStep / es * es) +
                               (static_cast<size_t>(x) * pix + e) * es;
            const double got = resize_test::StoredElement(r.dstPlanes[p], c.type, off);
            ASSERT_LE(std::fabs(got - want.at(x, y, e)), tol)
                << "case " << n << " at " << x << "," << y << "," << e << " interp " << c.interp;
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_GT(valid, 1000);
  EXPECT_GT(compared, 100000);
}

}  // namespace
