// The row-only 8-bit linear kernel (factor 1 across): the same bytes as the general linear
// kernel of the same build, in every build, over widths, heights, regions, steps and factors;
// and its blend equal to the general formula for every sample pair.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resize/resize_build.h"
#include "resize/sse/resize_sse_rows.h"
#include "resize/sse2/resize_sse2.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::CallResult;
using resize_test::ResizeCall;
using resize_test::RunCall;

int g_rowKernelCalls = 0;

void CountingRows(const uint8_t* src, uint8_t* dst, int32_t srcStep, int32_t dstStep,
                  int32_t rowElems, int32_t dstH, const int32_t* rowOfs, const uint16_t* rowW) {
  ++g_rowKernelCalls;
  ResizeLinearRows8u(src, dst, srcStep, dstStep, rowElems, dstH, rowOfs, rowW);
}

ResizeBuild WithRows(const ResizeBuild& b, ResizeLinearRowsKernel rows) {
  ResizeBuild r = b;
  r.linearRows8u = rows;
  return r;
}

const ResizeBuild kGeneral = WithRows(kResizeGenericBuild, nullptr);
const ResizeBuild kCounting = WithRows(kResizeGenericBuild, CountingRows);

std::vector<uint8_t> Noise(size_t n, uint64_t seed) {
  resize_test::TestRng rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng.Next() >> 8);
  return v;
}

std::string Describe(const ResizeCall& c) {
  return std::to_string(c.srcSize.width) + "x" + std::to_string(c.srcSize.height) + " roi " +
         std::to_string(c.roi.x) + "," + std::to_string(c.roi.y) + " " +
         std::to_string(c.roi.width) + "x" + std::to_string(c.roi.height) + " dst " +
         std::to_string(c.dstRoi.width) + "x" + std::to_string(c.dstRoi.height) + " steps " +
         std::to_string(c.srcStep) + "/" + std::to_string(c.dstStep) + " yf " +
         std::to_string(c.yf) + " layout " + std::to_string(c.layout) + " mode " +
         std::to_string(c.factorMode);
}

// Runs c through `fast` and through the general kernel: same status, nothing written outside
// the fitted destination, the whole destination buffers equal.  Returns whether the row kernel
// ran.
bool ExpectSameAsGeneral(ResizeCall c, const ResizeBuild& fast, const std::vector<uint8_t>& fill) {
  c.build = &kGeneral;
  const CallResult general = RunCall(c, fill.data(), fill.size());
  c.build = &fast;
  const int before = g_rowKernelCalls;
  const CallResult r = RunCall(c, fill.data(), fill.size());
  EXPECT_EQ(r.status, 0) << Describe(c);
  EXPECT_EQ(r.status, general.status) << Describe(c);
  EXPECT_EQ(r.untouched, "") << Describe(c);
  EXPECT_EQ(general.untouched, "") << Describe(c);
  EXPECT_TRUE(r.dstPlanes == general.dstPlanes) << Describe(c);
  return g_rowKernelCalls != before;
}

enum RoiKind { kWhole, kOffsetToEdge, kInside, kLastRow, kPastEdge };

// The region of one kind on a w x h image, or false when the image is too small for it.
bool RoiOf(RoiKind k, int32_t w, int32_t h, ImgRect* roi) {
  switch (k) {
    case kWhole:
      *roi = {0, 0, w, h};
      return true;
    case kOffsetToEdge:  // the image's last column and row are the region's
      *roi = {1, 1, w - 1, h - 1};
      return w > 1 && h > 1;
    case kInside:  // the second taps lie just past the region
      *roi = {1, 1, w - 2, h - 2};
      return w > 2 && h > 2;
    case kLastRow:  // every row blends onto the image's last row
      *roi = {w / 3, h - 1, w - w / 3, 1};
      return true;
    case kPastEdge:  // clipped to the image
      *roi = {w / 2, h / 2, w + 5, h + 9};
      return true;
  }
  return false;
}

TEST(ResizeLinearRows, SameBytesAsTheGeneralKernel) {
  const std::vector<uint8_t> fill = Noise(7919, 1);
  const int32_t widths[] = {1,  2,  3,  4,  5,  6,  7,  8,   9,   10,
                            11, 12, 13, 14, 15, 16, 17, 640, 704, 720};
  const int32_t heights[] = {1, 2, 3, 228, 240, 288};
  const double yFactors[] = {2.0, 1.0, 0.5, 3.0, 1.3, 0.29};
  const RoiKind rois[] = {kWhole, kOffsetToEdge, kInside, kLastRow, kPastEdge};
  int cases = 0;
  for (int32_t w : widths) {
    for (int32_t h : heights) {
      for (double yf : yFactors) {
        for (RoiKind k : rois) {
          ResizeCall c;
          if (!RoiOf(k, w, h, &c.roi)) continue;
          const bool large = w > 17 && h > 3;
          // The large images with the live view's factor and one reduction; every factor on
          // the small ones.
          if (large && yf != 2.0 && yf != 0.29) continue;
          c.publicEntry = true;
          c.interp = kResizeLinear;
          c.srcSize = {w, h};
          c.xf = 1.0, c.yf = yf;
          // Odd paddings of the rows, and destinations larger, exact and smaller than fitted.
          c.srcStep = w * 3 + (cases % 4 == 0 ? 0 : 2 * (cases % 4) - 1);
          const int32_t fittedH = static_cast<int32_t>(c.roi.height * yf + 1e-7);
          const int32_t dstH = cases % 3 == 0   ? fittedH + 2
                               : cases % 3 == 1 ? fittedH
                                                : fittedH / 2;
          c.dstRoi = {w + (cases % 2 == 0 ? 0 : 3), dstH > 0 ? dstH : 1};
          // Every seventh: destination rows that overlap, written in order.
          c.dstStep = cases % 7 == 6 ? c.dstRoi.width * 3 - 1
                                     : c.dstRoi.width * 3 + (cases % 5 == 0 ? 0 : cases % 5);
          // Taken unless the image falls back to nearest (one column or one row).
          EXPECT_EQ(ExpectSameAsGeneral(c, kCounting, fill), w > 1 && h > 1) << Describe(c);
          ++cases;
          if (::testing::Test::HasFailure()) return;
        }
      }
    }
  }
}

TEST(ResizeLinearRows, TakenOnlyForLinearAtFactorOneAcross) {
  const std::vector<uint8_t> fill = Noise(4099, 2);
  struct Case {
    int32_t w, h;
    double xf, yf;
    int32_t interp;
    bool taken;
  } const cases[] = {
      {704, 240, 1.0, 2.0, kResizeLinear, true},      {9, 7, 1.0, 0.5, kResizeLinear, true},
      {9, 1, 1.0, 2.0, kResizeLinear, false},  // one row: nearest
      {1, 9, 1.0, 2.0, kResizeLinear, false},  // one column: nearest
      {9, 7, 1.0 + 1e-12, 2.0, kResizeLinear, false}, {9, 7, 2.0, 2.0, kResizeLinear, false},
      {9, 7, 1.0, 2.0, kResizeCubic, false},          {9, 7, 1.0, 2.0, kResizeNearest, false},
  };
  for (const Case& k : cases) {
    ResizeCall c;
    c.publicEntry = true;
    c.interp = k.interp;
    c.srcSize = {k.w, k.h};
    c.srcStep = k.w * 3 + 1;
    c.roi = {0, 0, k.w, k.h};
    c.xf = k.xf, c.yf = k.yf;
    c.dstRoi = {static_cast<int32_t>(k.w * k.xf + 1e-7), static_cast<int32_t>(k.h * k.yf + 1e-7)};
    c.dstStep = c.dstRoi.width * 3 + 2;
    EXPECT_EQ(ExpectSameAsGeneral(c, kCounting, fill), k.taken)
        << k.w << "x" << k.h << " xf " << k.xf << " interp " << k.interp;
  }
}

// The worker's other packed layouts and the span factor mode.
TEST(ResizeLinearRows, OneAndFourChannelsAndSpanFactors) {
  const std::vector<uint8_t> fill = Noise(5003, 3);
  const int32_t widths[] = {1, 2, 3, 5, 8, 13, 16, 17, 704};
  const int32_t heights[] = {2, 3, 240};
  int cases = 0;
  for (int32_t layout : {1, 4, 3}) {
    for (int32_t mode : {1, 0}) {
      for (int32_t w : widths) {
        for (int32_t h : heights) {
          for (double yf : {2.0, 0.7}) {
            ResizeCall c;
            c.channels = c.layout = layout;
            c.factorMode = mode;
            c.interp = kResizeLinear;
            c.srcSize = {w, h};
            c.srcStep = w * layout + cases % 3;
            c.roi = {0, cases % 2, w, h};
            c.xf = 1.0, c.yf = mode == 0 ? 1.0 / yf : yf;
            c.dstRoi = {w, static_cast<int32_t>(h * yf) + 1};
            c.dstStep = w * layout + cases % 4;
            EXPECT_EQ(ExpectSameAsGeneral(c, kCounting, fill), w > 1) << Describe(c);
            ++cases;
          }
        }
      }
    }
  }
}

// Each build's own route takes the row kernel and gives the general kernel's bytes.
TEST(ResizeLinearRows, EveryBuildGivesTheGeneralBytes) {
  const std::vector<uint8_t> fill = Noise(6007, 4);
  const ResizeBuild* builds[] = {&kResizeGenericBuild, &kResizeSseBuild, &kResizeSse2Build,
                                 &kResizeSse3Build};
  for (const ResizeBuild* b : builds) {
    EXPECT_EQ(b->linearRows8u, &ResizeLinearRows8u);
    for (int32_t w : {1, 2, 5, 16, 17, 704}) {
      for (double yf : {2.0, 0.5, 1.7}) {
        ResizeCall c;
        c.publicEntry = true;
        c.interp = kResizeLinear;
        c.srcSize = {w, 240};
        c.srcStep = w * 3 + 3;
        c.roi = {0, 0, w, 240};
        c.xf = 1.0, c.yf = yf;
        c.dstRoi = {w, static_cast<int32_t>(240 * yf + 1e-7)};
        c.dstStep = (w * 3 + 3) & ~3;
        ExpectSameAsGeneral(c, *b, fill);
      }
    }
  }
}

// Every sample pair (upper, lower) at weights around the powers of two and spread over the
// range: upper + ((lower - upper) a + 8192) >> 14.
TEST(ResizeLinearRows, BlendIsTheGeneralFormulaForEveryPair) {
  std::vector<uint8_t> rows(2 * 65536), out(65536);
  uint8_t* upper = rows.data();
  uint8_t* lower = upper + 65536;
  for (int32_t i = 0; i < 65536; ++i) {
    upper[i] = static_cast<uint8_t>(i);
    lower[i] = static_cast<uint8_t>(i >> 8);
  }
  std::vector<int32_t> weights = {1, 2, 3, 4095, 4096, 4097, 8191, 8192, 8193, 16381, 16382, 16383};
  for (int32_t a = 5; a < 16384; a += 157) weights.push_back(a);
  const int32_t rowOfs[1] = {0};
  for (int32_t a : weights) {
    const uint16_t rowW[1] = {static_cast<uint16_t>(a)};
    ResizeLinearRows8u(upper, out.data(), 65536, 65536, 65536, 1, rowOfs, rowW);
    for (int32_t i = 0; i < 65536; ++i) {
      const int32_t u = upper[i];
      const int32_t want = u + (((lower[i] - u) * a + 8192) >> 14);
      ASSERT_EQ(out[i], want) << "upper " << u << " lower " << int{lower[i]} << " a " << a;
    }
  }
}

}  // namespace
