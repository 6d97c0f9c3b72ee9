// The worker: argument checks and their order, fallbacks, clipping, destination fitting, and the
// row and column tables it hands the kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "resize/resize_build.h"
#include "resize/resize_image.h"
#include "resize/resize_worker.h"
#include "tests/resize/resize_capture_build.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::CapturedCalls;
using resize_test::GuardedBuffer;
using resize_test::kCaptureBuild;
using resize_test::KernelCall;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Args {
  const uint8_t* src;
  ImgSize srcSize;
  int32_t srcStep;
  ImgRect roi;
  uint8_t* dst;
  int32_t dstStep;
  ImgSize dstSize;
  double xf, yf;
  ResizeInterp interp;
};

ResizeStatus Call(ResizeEntryFn entry, const Args& a) {
  return entry(a.src, a.srcSize, a.srcStep, a.roi, a.dst, a.dstStep, a.dstSize, a.xf, a.yf,
               a.interp);
}

// Statuses, in the order the checks run; the five callables must agree and write nothing.
TEST(ResizeWorker, StatusesAndTheirOrder) {
  std::vector<uint8_t> src(64 * 48 * 3, 9);
  GuardedBuffer out(48, 64 * 3);
  const Args ok{src.data(), {64, 48}, 192, {0, 0, 64, 48}, out.data(), 192, {64, 48}, 1.0, 1.0, 2};
  struct Case {
    const char* name;
    Args args;
    ResizeStatus expect;
  };
  auto with = [&](auto change) {
    Args a = ok;
    change(a);
    return a;
  };
  const Case cases[] = {
      {"null src", with([](Args& a) { a.src = nullptr; }), -8},
      {"null dst", with([](Args& a) { a.dst = nullptr; }), -8},
      {"null src before zero width", with([](Args& a) { a.src = nullptr, a.srcSize.width = 0; }),
       -8},
      {"zero width", with([](Args& a) { a.srcSize.width = 0; }), -6},
      {"negative height", with([](Args& a) { a.srcSize.height = -1; }), -6},
      {"zero width before zero step", with([](Args& a) { a.srcSize.width = 0, a.srcStep = 0; }),
       -6},
      {"zero src step", with([](Args& a) { a.srcStep = 0; }), -14},
      {"negative dst step", with([](Args& a) { a.dstStep = -192; }), -14},
      {"roi x -1", with([](Args& a) { a.roi.x = -1; }), -6},
      {"roi y -1 before outside", with([](Args& a) { a.roi.y = -1, a.roi.x = 99; }), -6},
      {"roi width 0", with([](Args& a) { a.roi.width = 0; }), -6},
      {"roi x = width", with([](Args& a) { a.roi.x = 64; }), 29},
      {"roi y = height", with([](Args& a) { a.roi.y = 48; }), 29},
      {"roi outside before dst size", with([](Args& a) { a.roi.x = 64, a.dstSize.width = 0; }), 29},
      {"dst height 0", with([](Args& a) { a.dstSize.height = 0; }), -6},
      {"dst size before factor", with([](Args& a) { a.dstSize.width = 0, a.xf = 0; }), -6},
      {"x factor 0", with([](Args& a) { a.xf = 0; }), -23},
      {"y factor negative", with([](Args& a) { a.yf = -2; }), -23},
      {"NaN factor", with([](Args& a) { a.xf = kNaN; }), -23},
      {"NaN factor, super-sampling", with([](Args& a) { a.yf = kNaN, a.interp = 8; }), -23},
      {"factor 0, super-sampling", with([](Args& a) { a.xf = 0, a.interp = 8; }), -23},
      {"negative factor, super-sampling", with([](Args& a) { a.xf = -0.5, a.interp = 8; }), -23},
      {"factor before interpolation", with([](Args& a) { a.xf = 0, a.interp = 3; }), -23},
      {"interpolation 3", with([](Args& a) { a.interp = 3; }), -22},
      {"interpolation 0", with([](Args& a) { a.interp = 0; }), -22},
      {"interpolation 32", with([](Args& a) { a.interp = 32; }), -22},
      {"super-sampling with 1.5", with([](Args& a) { a.interp = 8, a.xf = 1.5; }), -22},
      {"super-sampling with y 2", with([](Args& a) { a.interp = 8, a.yf = 2; }), -22},
      {"super-sampling with infinity", with([](Args& a) { a.interp = 8, a.yf = kInf; }), -22},
  };
  const ResizeEntryFn entries[] = {ResizeImage8uC3, ResizeEntryGeneric, ResizeEntrySSE,
                                   ResizeEntrySSE2, ResizeEntrySSE3};
  for (const Case& c : cases) {
    for (ResizeEntryFn entry : entries) {
      EXPECT_EQ(Call(entry, c.args), c.expect) << c.name;
    }
    EXPECT_EQ(out.Untouched(0, 0, 3, 3, 1), "") << c.name;
  }
  for (ResizeInterp interp : {1, 2, 4, 8, 16}) {
    Args a = ok;
    a.interp = interp;
    for (ResizeEntryFn entry : entries) EXPECT_EQ(Call(entry, a), 0) << interp;
  }
}

// Runs the worker on the capture build and returns the single kernel call.
KernelCall Capture(ImgSize srcSize, ImgRect roi, ImgSize dstSize, double xf, double yf,
                   int32_t interp, int32_t channels = 3, int32_t layout = 3, int32_t type = 0,
                   int32_t planar = 0, int32_t factorMode = 1, int32_t srcStep = 0) {
  resize_test::ResetCapture();
  static std::vector<uint8_t> image(1 << 20);  // large enough for every region offset
  uint8_t* dummy = image.data();
  const void* planes[4] = {dummy, dummy, dummy, dummy};
  void* dplanes[4] = {dummy, dummy, dummy, dummy};
  if (srcStep == 0) srcStep = srcSize.width * channels * (1 << type);
  const ResizeStatus s =
      ResizeRunWorker(kCaptureBuild, planar ? static_cast<const void*>(planes) : dummy, srcSize,
                      srcStep, roi, planar ? static_cast<void*>(dplanes) : dummy, 4096, dstSize, xf,
                      yf, 0.0, 0.0, channels, layout, type, planar, interp, factorMode);
  EXPECT_EQ(s, 0);
  EXPECT_GE(CapturedCalls().size(), 1u);
  return CapturedCalls().empty() ? KernelCall{} : CapturedCalls().front();
}

TEST(ResizeWorker, FallbackByImageSize) {
  struct Case {
    ImgSize size;
    int32_t asked;
    char group;
  };
  const Case cases[] = {
      {{10, 1}, 2, 'n'},  {{1, 10}, 4, 'n'}, {{1, 1}, 16, 'n'}, {{5, 5}, 16, 'c'},
      {{3, 10}, 16, 'l'}, {{3, 10}, 4, 'l'}, {{10, 3}, 4, 'l'}, {{6, 6}, 16, 'z'},
      {{4, 4}, 4, 'c'},   {{2, 2}, 2, 'l'},  {{2, 2}, 16, 'l'},
  };
  for (const Case& c : cases) {
    // The fallback looks at the image, not the region.
    const KernelCall k = Capture(c.size, {0, 0, 1, 1}, {8, 8}, 2.0, 2.0, c.asked);
    EXPECT_EQ(k.group, c.group) << c.size.width << "x" << c.size.height << " asked " << c.asked;
  }
}

TEST(ResizeWorker, DestinationFitting) {
  KernelCall k = Capture({640, 480}, {0, 0, 640, 480}, {2000, 2000}, 2.0, 2.0, 2);
  EXPECT_EQ(k.dstW, 1280);
  EXPECT_EQ(k.dstH, 960);
  k = Capture({640, 480}, {0, 0, 640, 480}, {1000, 500}, 2.0, 2.0, 2);
  EXPECT_EQ(k.dstW, 1000);
  EXPECT_EQ(k.dstH, 500);
  // 100 x 0.29 is 28.999999999999996; the 1e-7 term makes it 29.
  k = Capture({100, 10}, {0, 0, 100, 10}, {200, 200}, 0.29, 1.0, 1);
  EXPECT_EQ(k.dstW, 29);
  // A region past the image is clipped: x 10 width 100 on 50 columns scales 40.
  k = Capture({50, 10}, {10, 0, 100, 10}, {500, 500}, 2.0, 1.0, 1);
  EXPECT_EQ(k.dstW, 80);
  // A region that scales below one pixel still gives one.
  k = Capture({50, 50}, {0, 0, 4, 4}, {500, 500}, 0.1, 0.1, 2);
  EXPECT_EQ(k.dstW, 1);
  EXPECT_EQ(k.dstH, 1);
  // Factor mode 0: factors are source pixels per destination pixel.
  k = Capture({100, 100}, {0, 0, 100, 100}, {500, 500}, 4.0, 0.5, 1, 3, 3, 0, 0, 0);
  EXPECT_EQ(k.dstW, 25);
  EXPECT_EQ(k.dstH, 200);
  k = Capture({100, 100}, {0, 0, 100, 100}, {500, 500}, 4.0, 0.5, 2, 3, 3, 0, 0, 0);
  EXPECT_EQ(k.dstW, 25);  // trunc(99 / 4) + 1
  EXPECT_EQ(k.dstH, 199);
}

TEST(ResizeWorker, ExtremeFactorsStayWithinTheDestination) {
  for (double f : {1e300, kInf, 1e12, std::numeric_limits<double>::max()}) {
    KernelCall k = Capture({20, 20}, {3, 3, 10, 10}, {33, 17}, f, f, 1);
    EXPECT_EQ(k.dstW, 33);
    EXPECT_EQ(k.dstH, 17);
    for (int32_t o : k.colOfs) EXPECT_EQ(o, 0);
  }
  for (double f : {1e-300, 4.9e-324, 1e-9}) {
    for (int32_t interp : {1, 2, 4, 16}) {
      KernelCall k = Capture({20, 20}, {3, 3, 10, 10}, {33, 17}, f, f, interp);
      EXPECT_EQ(k.dstW, 1);
      EXPECT_EQ(k.dstH, 1);
    }
  }
}

TEST(ResizeWorker, NearestTables) {
  // Four columns doubled: 0, 0, 1, 1, 2, 2, 3, 3 (times the pixel stride).
  KernelCall k = Capture({4, 4}, {0, 0, 4, 4}, {8, 8}, 2.0, 2.0, 1);
  EXPECT_EQ(k.colOfs, (std::vector<int32_t>{0, 0, 3, 3, 6, 6, 9, 9}));
  EXPECT_EQ(k.rowOfs, (std::vector<int32_t>{0, 0, 12, 12, 24, 24, 36, 36}));
  EXPECT_EQ(k.member, 0);
  // Halving keeps the second of each pair: column 2j + 1.
  k = Capture({8, 2}, {0, 0, 8, 2}, {8, 8}, 0.5, 1.0, 1, 1, 1);
  EXPECT_EQ(k.colOfs, (std::vector<int32_t>{1, 3, 5, 7}));
  EXPECT_EQ(k.member, 3);
  // A region smaller than half a pixel keeps its one column inside the image.
  k = Capture({20, 20}, {18, 18, 2, 2}, {4, 4}, 0.2, 0.2, 1, 1, 1);
  EXPECT_EQ(k.colOfs, (std::vector<int32_t>{1}));
  EXPECT_EQ(k.rowOfs, (std::vector<int32_t>{20}));
  k = Capture({20, 20}, {0, 0, 2, 2}, {4, 4}, 0.2, 0.2, 1, 1, 1);
  EXPECT_EQ(k.colOfs, (std::vector<int32_t>{2}));  // inside the image, past the region
}

TEST(ResizeWorker, LinearTables) {
  // ROI width 4 at factor 0.1: one column, source column 0, weights (16384, 0).
  KernelCall k = Capture({50, 50}, {0, 0, 4, 4}, {10, 10}, 0.1, 0.1, 2);
  EXPECT_EQ(k.colOfs, (std::vector<int32_t>{0}));
  EXPECT_EQ(k.colW, (std::vector<double>{16384, 0}));
  // ROI 640 x 2: column 1279 at u = 639, the image's last column: index 638, (0, 16384).
  k = Capture({640, 4}, {0, 0, 640, 4}, {1280, 8}, 2.0, 2.0, 2);
  EXPECT_EQ(k.colOfs[1279], 638 * 3);
  EXPECT_EQ(k.colW[2 * 1279], 0);
  EXPECT_EQ(k.colW[2 * 1279 + 1], 16384);
  // The same column when the ROI ends before the image's edge reads the pixel past it.
  k = Capture({641, 4}, {0, 0, 640, 4}, {1280, 8}, 2.0, 2.0, 2);
  EXPECT_EQ(k.colOfs[1279], 639 * 3);
  EXPECT_EQ(k.colW[2 * 1279], 16384);
  // Four columns doubled: step 3/7; column 7 lands on the last column: index 2, (0, 16384).
  k = Capture({4, 4}, {0, 0, 4, 4}, {8, 8}, 2.0, 2.0, 2, 1, 1);
  EXPECT_EQ(k.colOfs[7], 2);
  EXPECT_EQ(k.colW[14], 0);
  EXPECT_EQ(k.colW[15], 16384);
  EXPECT_EQ(k.colOfs[1], 0);
  EXPECT_EQ(k.colW[3], 7021);  // 3/7 * 16384 = 7021.7
  // Rows: three rows doubled sit at 0, 0.4, 0.8, 1.2, 1.6, 2.0.
  k = Capture({3, 3}, {0, 0, 3, 3}, {6, 6}, 2.0, 2.0, 2, 1, 1);
  EXPECT_EQ(k.rowOfs, (std::vector<int32_t>{0, 0, 0, 3, 3, 3}));
  EXPECT_EQ(k.rowW, (std::vector<double>{0, 6553, 13107, 3276, 9830, 16384}));
  // Float weights are the fractions, 1.0 at the last row and column.
  k = Capture({3, 3}, {0, 0, 3, 3}, {6, 6}, 2.0, 2.0, 2, 1, 1, 2);
  EXPECT_EQ(k.member, 5);
  EXPECT_FLOAT_EQ(static_cast<float>(k.rowW[1]), 0.4f);
  EXPECT_EQ(k.rowW[5], 1.0);
  // A one-row ROI on the image's last row blends from the row above with the full lower weight.
  k = Capture({5, 5}, {0, 4, 5, 1}, {10, 10}, 2.0, 2.0, 2, 1, 1);
  EXPECT_EQ(k.rowOfs, (std::vector<int32_t>{-5, -5}));
  EXPECT_EQ(k.rowW, (std::vector<double>{16384, 16384}));
}

TEST(ResizeWorker, CubicTables) {
  // Left edge: base 1, t in [-1, 0).  A position 0.25 on the first column gives -0.75.
  KernelCall k = Capture({8, 8}, {0, 0, 8, 8}, {29, 29}, 29.0 / 8, 29.0 / 8, 4, 1, 1);
  EXPECT_EQ(k.colOfs[0], 1);
  EXPECT_EQ(k.colW[0], -1.0);
  EXPECT_EQ(k.colOfs[1], 1);
  EXPECT_FLOAT_EQ(static_cast<float>(k.colW[1]), 0.25f - 1.0f);
  // Right edge: base width - 3 with t = 2; the column before the last: base width - 3 too.
  EXPECT_EQ(k.colOfs[28], 5);
  EXPECT_EQ(k.colW[28], 2.0);
  EXPECT_EQ(k.colOfs[27], 5);
  EXPECT_GE(k.colW[27], 1.0);
  EXPECT_LT(k.colW[27], 2.0);
  // Inside, base = index and t = the fraction.
  EXPECT_EQ(k.colOfs[10], 2);
  EXPECT_NEAR(k.colW[10], 10 * 7.0 / 28 - 2, 1e-6);
  // A ROI away from the image edges keeps the plain index.
  k = Capture({20, 20}, {5, 5, 8, 8}, {29, 29}, 29.0 / 8, 29.0 / 8, 4, 1, 1);
  EXPECT_EQ(k.colOfs[0], 0);
  EXPECT_EQ(k.colOfs[28], 7);
  EXPECT_EQ(k.colW[28], 0.0);
}

TEST(ResizeWorker, LanczosArguments) {
  KernelCall k = Capture({40, 30}, {4, 3, 20, 10}, {100, 100}, 2.0, 1.0, 16);
  EXPECT_EQ(k.group, 'z');
  EXPECT_EQ(k.roiX, 4);
  EXPECT_EQ(k.roiY, 3);
  EXPECT_EQ(k.restW, 36);
  EXPECT_EQ(k.restH, 27);
  EXPECT_EQ(k.yEnlarge, 1);
  ASSERT_EQ(k.colW.size(), 6u * 40);
  // Column 0 on a pixel: weights (0, -0, 1, -0, 0, 0).
  EXPECT_EQ(k.colW[2], 1.0);
  EXPECT_EQ(k.colW[0] + k.colW[1] + k.colW[3] + k.colW[4] + k.colW[5], 0.0);
  k = Capture({40, 30}, {4, 3, 20, 10}, {100, 100}, 2.0, 0.5, 16);
  EXPECT_EQ(k.yEnlarge, 0);
}

TEST(ResizeWorker, ElementTypesLayoutsAndPlanes) {
  struct Case {
    int32_t interp, channels, layout, type, planar;
    char group;
    int32_t member, calls, colScale;
  };
  const Case cases[] = {
      {1, 3, 3, 0, 0, 'n', 0, 1, 3},  {1, 3, 3, 1, 0, 'n', 1, 1, 3},
      {1, 3, 3, 2, 0, 'n', 2, 1, 3},  {1, 1, 1, 0, 0, 'n', 3, 1, 1},
      {1, 4, 4, 2, 0, 'n', 8, 1, 4},  {1, 4, 3, 0, 0, 'n', 0, 1, 4},
      {1, 3, 3, 1, 1, 'n', 4, 3, 1},  {1, 4, 4, 0, 1, 'n', 3, 4, 1},
      {2, 4, 4, 1, 0, 'l', 1, 1, 4},  {2, 1, 1, 2, 0, 'l', 5, 1, 1},
      {2, 3, 3, 0, 1, 'l', 3, 3, 1},  {2, 3, 1, 0, 1, 'l', 3, 4, 1},
      {4, 4, 3, 2, 0, 'c', 2, 1, 4},  {4, 3, 3, 1, 1, 'c', 4, 3, 1},
      {16, 3, 3, 0, 0, 'z', 0, 1, 3}, {16, 1, 1, 1, 0, 'z', 4, 1, 1},
      {16, 4, 4, 0, 1, 'z', 3, 4, 1},
  };
  for (const Case& c : cases) {
    resize_test::ResetCapture();
    Capture({16, 16}, {2, 2, 10, 10}, {30, 30}, 2.0, 2.0, c.interp, c.channels, c.layout, c.type,
            c.planar);
    ASSERT_EQ(static_cast<int32_t>(CapturedCalls().size()), c.calls);
    const KernelCall& k = CapturedCalls().front();
    EXPECT_EQ(k.group, c.group);
    EXPECT_EQ(k.member, c.member) << c.interp << " " << c.layout << " " << c.type;
    if (c.interp == 1) {
      EXPECT_EQ(k.colOfs[2], c.colScale);  // source column 1
    }
  }
}

// The source pointer is the ROI's top-left pixel; in a planar image every plane moves alike.
TEST(ResizeWorker, SourceOffsets) {
  resize_test::ResetCapture();
  std::vector<std::vector<uint16_t>> in(4, std::vector<uint16_t>(64 * 128));
  std::vector<std::vector<uint16_t>> out(4, std::vector<uint16_t>(4 * 32));
  const void* planes[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
  void* dplanes[4] = {out[0].data(), out[1].data(), out[2].data(), out[3].data()};
  ASSERT_EQ(ResizeRunWorker(kCaptureBuild, planes, {64, 64}, 256, {2, 10, 4, 4}, dplanes, 64,
                            {4, 4}, 1.0, 1.0, 0.0, 0.0, 4, 4, 1, 1, 2, 1),
            0);
  ASSERT_EQ(CapturedCalls().size(), 4u);
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(CapturedCalls()[p].src, reinterpret_cast<const uint8_t*>(planes[p]) + 10 * 256 + 4);
    EXPECT_EQ(CapturedCalls()[p].dst, dplanes[p]);
    EXPECT_EQ(CapturedCalls()[p].srcStep, 128);  // in elements
    EXPECT_EQ(CapturedCalls()[p].dstStep, 32);
  }
  resize_test::ResetCapture();
  std::vector<float> image(64 * 256);
  ASSERT_EQ(ResizeRunWorker(kCaptureBuild, image.data(), {64, 64}, 1024, {5, 7, 4, 4}, image.data(),
                            1024, {4, 4}, 1.0, 1.0, 0.0, 0.0, 4, 3, 2, 0, 2, 1),
            0);
  EXPECT_EQ(CapturedCalls().front().src,
            reinterpret_cast<const uint8_t*>(image.data()) + 7 * 1024 + 5 * 4 * 4);
  EXPECT_EQ(CapturedCalls().front().srcStep, 256);
}

TEST(ResizeWorker, UnknownElementTypeWritesNothing) {
  resize_test::ResetCapture();
  uint8_t src[16] = {}, dst[16] = {};
  EXPECT_EQ(ResizeRunWorker(kCaptureBuild, src, {2, 2}, 8, {0, 0, 2, 2}, dst, 8, {2, 2}, 1.0, 1.0,
                            0.0, 0.0, 4, 4, 3, 0, 1, 1),
            0);
  EXPECT_TRUE(CapturedCalls().empty());
}

}  // namespace
