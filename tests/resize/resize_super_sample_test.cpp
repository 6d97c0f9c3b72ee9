// Worked examples of the super-sampling (area average) kernels, and the mended walks.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "resize/resize_image.h"
#include "tests/resize/resize_run.h"

namespace {

using resize_test::GuardedBuffer;
using resize_test::RunResize;
using Rows8 = std::vector<std::vector<uint8_t>>;

TEST(ResizeSuperSample, HalvingRoundsHalvesUp) {
  // Blocks 10 21 / 50 61 and 10 20 / 50 60: means 35.5 and 35.
  auto r = RunResize<uint8_t>({{10, 21, 10, 20}, {50, 61, 50, 60}}, 1, 1, {}, {5, 5}, 0.5, 0.5, 8);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.Row(0, 2), (std::vector<uint8_t>{36, 35}));
  // A 4 x 2 region gives 2 x 1 even with a larger destination; nothing else is written.
  EXPECT_EQ(r.out.Untouched(1, 2, 1, 1, 1), "");
  // Two samples 1 and 2 halved: 1.5 rounds up.
  EXPECT_EQ(RunResize<uint8_t>({{1, 2}}, 1, 1, {}, {1, 1}, 0.5, 1.0, 8).at(0, 0), 2);
}

TEST(ResizeSuperSample, FractionalSpans) {
  // 0.4 across: span 2.5, the third pixel counts half in each destination pixel.
  auto a = RunResize<uint8_t>({{0, 10, 20, 30, 40}}, 1, 1, {}, {9, 9}, 0.4, 1.0, 8);
  EXPECT_EQ(a.Row(0, 2), (std::vector<uint8_t>{8, 32}));
  EXPECT_EQ(a.out.Untouched(1, 2, 1, 1, 1), "");
  auto b = RunResize<uint8_t>({{10, 20, 30, 40, 50}}, 1, 1, {}, {9, 9}, 0.4, 1.0, 8);
  EXPECT_EQ(b.Row(0, 2), (std::vector<uint8_t>{18, 42}));
  // 2/3 down: span 1.5.
  auto c =
      RunResize<uint8_t>({{0}, {30}, {60}, {90}, {120}, {150}}, 1, 1, {}, {9, 9}, 1.0, 2.0 / 3, 8);
  std::vector<uint8_t> column;
  for (int32_t y = 0; y < 4; ++y) column.push_back(c.at(0, y));
  EXPECT_EQ(column, (std::vector<uint8_t>{10, 50, 100, 140}));
  // 0.4 both ways on 50 row + 10 column.
  Rows8 grid(5, std::vector<uint8_t>(5));
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t x = 0; x < 5; ++x) grid[y][x] = static_cast<uint8_t>(50 * y + 10 * x);
  }
  auto d = RunResize<uint8_t>(grid, 1, 1, {}, {9, 9}, 0.4, 0.4, 8);
  EXPECT_EQ(d.Row(0, 2), (std::vector<uint8_t>{48, 72}));
  EXPECT_EQ(d.Row(1, 2), (std::vector<uint8_t>{168, 192}));
  EXPECT_EQ(d.out.Untouched(2, 2, 1, 1, 1), "");
}

TEST(ResizeSuperSample, ThreeAndFourChannelPixels) {
  // (10,20,30) (50,60,70) over (90,100,110) (130,140,150) halved: (70,80,90).
  auto c3 = RunResize<uint8_t>({{10, 20, 30, 50, 60, 70}, {90, 100, 110, 130, 140, 150}}, 3, 3, {},
                               {4, 4}, 0.5, 0.5, 8);
  EXPECT_EQ(c3.Row(0, 3, 0)[0], 70);
  EXPECT_EQ(c3.at(0, 0, 1), 80);
  EXPECT_EQ(c3.at(0, 0, 2), 90);
  // The same with a fourth sample per pixel: it is neither read nor written.
  auto c34 =
      RunResize<uint8_t>({{10, 20, 30, 1, 50, 60, 70, 2}, {90, 100, 110, 3, 130, 140, 150, 4}}, 4,
                         3, {}, {4, 4}, 0.5, 0.5, 8);
  EXPECT_EQ(c34.at(0, 0, 0), 70);
  EXPECT_EQ(c34.at(0, 0, 2), 90);
  EXPECT_EQ(c34.out.Untouched(1, 1, 4, 3, 1), "");
  // Four channels, each rounded on its own: (3, 25, 150, 128).
  auto c4 = RunResize<uint8_t>({{1, 10, 100, 255, 2, 20, 200, 255}, {3, 30, 100, 0, 4, 40, 201, 0}},
                               4, 4, {}, {4, 4}, 0.5, 0.5, 8);
  EXPECT_EQ(c4.at(0, 0, 0), 3);
  EXPECT_EQ(c4.at(0, 0, 1), 25);
  EXPECT_EQ(c4.at(0, 0, 2), 150);
  EXPECT_EQ(c4.at(0, 0, 3), 128);
  // Full-scale 16-bit stays full scale; a float level stays exact.
  auto s16 = RunResize<uint16_t>(
      {{65535, 65535, 65535, 65535, 65535, 65535}, {65535, 65535, 65535, 65535, 65535, 65535}}, 3,
      3, {}, {4, 4}, 0.5, 0.5, 8);
  EXPECT_EQ(s16.at(0, 0, 2), 65535);
  std::vector<std::vector<float>> level(5, std::vector<float>(5, 7.25f));
  EXPECT_EQ(RunResize<float>(level, 1, 1, {}, {4, 4}, 0.5, 0.5, 8).at(1, 1), 7.25f);
  EXPECT_EQ(RunResize<float>(level, 1, 1, {}, {4, 4}, 0.4, 0.4, 8).at(1, 1), 7.25f);
}

// Spans just under a whole number (single-precision factors) take the shared row or column
// once: a full-scale image stays full scale, rows 0, 10, .. 80 give 10, 40, 70.
TEST(ResizeSuperSample, SharedRowOrColumnCountsOnce) {
  for (double f : {static_cast<double>(1.0f / 3), static_cast<double>(0.2f), 1.0 / 3 - 1e-10,
                   static_cast<double>(0.7f), 0.3, 0.5, 1.0, 1.0 / 7}) {
    const int32_t w = 61, h = 47;
    GuardedBuffer src(h, w * 3);
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t e = 0; e < w * 3; ++e) src.Set<uint8_t>(y, e, 255);
    }
    GuardedBuffer dst(h, w * 3);
    ASSERT_EQ(ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, dst.data(), w * 3, {w, h}, f,
                              f, 8),
              0);
    const int32_t dw = static_cast<int32_t>(w * f + 1e-7), dh = static_cast<int32_t>(h * f + 1e-7);
    int bad = 0;
    for (int32_t y = 0; y < dh; ++y) {
      for (int32_t e = 0; e < dw * 3; ++e) bad += dst.Get<uint8_t>(y, e) != 255;
    }
    EXPECT_EQ(bad, 0) << "factor " << f;
    EXPECT_EQ(dst.Untouched(dh, dw, 3, 3, 1), "");
  }
  Rows8 rows;
  for (int v = 0; v <= 80; v += 10) rows.push_back({static_cast<uint8_t>(v)});
  auto r = RunResize<uint8_t>(rows, 1, 1, {}, {1, 9}, 1.0, static_cast<double>(1.0f / 3), 8);
  EXPECT_EQ(r.at(0, 0), 10);
  EXPECT_EQ(r.at(0, 1), 40);
  EXPECT_EQ(r.at(0, 2), 70);
  // Column 1 of the same factor across starts at column 3: the sliver of column 2 is dropped.
  Rows8 ramp = {{0, 0, 90, 30, 30, 30, 0, 0, 0}};
  auto c = RunResize<uint8_t>(ramp, 1, 1, {}, {3, 1}, static_cast<double>(1.0f / 3), 1.0, 8);
  EXPECT_EQ(c.at(0, 0), 30);
  EXPECT_EQ(c.at(1, 0), 30);
}

// A region smaller than one span gives its mean; spans never read past the region, even at the
// image's edge and with the smallest factors.
TEST(ResizeSuperSample, SpansStayInsideTheRegion) {
  Rows8 src(4, std::vector<uint8_t>(4 * 3));
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t e = 0; e < 12; ++e) src[y][e] = static_cast<uint8_t>(20 * y + 4 * e);
  }
  auto one = RunResize<uint8_t>(src, 3, 3, {3, 3, 1, 1}, {2, 2}, 0.5, 0.5, 8);
  ASSERT_EQ(one.status, 0);
  EXPECT_EQ(one.at(0, 0, 1), src[3][10]);
  EXPECT_EQ(one.out.Untouched(1, 1, 3, 3, 1), "");
  for (double f : {0.3, 1e-3, 1e-300, std::numeric_limits<double>::denorm_min()}) {
    auto r = RunResize<uint8_t>(src, 3, 3, {2, 1, 5, 5}, {3, 3}, f, f, 8);
    ASSERT_EQ(r.status, 0) << f;
    // Region columns 2..3, rows 1..3: channel 0 values 20y + 4(3x), mean of x in {2, 3}.
    double sum = 0;
    for (int32_t y = 1; y < 4; ++y) {
      for (int32_t x = 2; x < 4; ++x) sum += src[y][x * 3];
    }
    EXPECT_EQ(r.at(0, 0, 0), static_cast<int>(sum / 6 + 0.5)) << f;
    EXPECT_EQ(r.out.Untouched(1, 1, 3, 3, 1), "");
  }
  // Spans ending a sliver past the region (the fitting's 1e-7 term): the region's last row or
  // column stands in for the sliver.  The buffers are exactly the image.
  const double f = (3 - 5e-8) / 300;
  std::vector<uint8_t> row(300, 50), out(3, 0);
  ASSERT_EQ(ResizeSuperSample(row.data(), {300, 1}, 300, {0, 0, 300, 1}, out.data(), 3, {3, 1}, f,
                              1.0, 1, 1, 0, 0, 1),
            0);
  EXPECT_EQ(out, (std::vector<uint8_t>{50, 50, 50}));
  ASSERT_EQ(ResizeSuperSample(row.data(), {1, 300}, 1, {0, 0, 1, 300}, out.data(), 1, {1, 3}, 1.0,
                              f, 1, 1, 0, 0, 1),
            0);
  EXPECT_EQ(out, (std::vector<uint8_t>{50, 50, 50}));
}

// 16-bit spans of more than 65,537 full-scale samples are summed without wrapping.
TEST(ResizeSuperSample, LargeIntegerSpans) {
  std::vector<std::vector<uint16_t>> big(300, std::vector<uint16_t>(300, 65535));
  auto r = RunResize<uint16_t>(big, 1, 1, {}, {1, 1}, 1.0 / 300, 1.0 / 300, 8);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.at(0, 0), 65535);
}

TEST(ResizeSuperSample, SelectorStatuses) {
  uint8_t src[64] = {}, dst[64];
  std::fill(std::begin(dst), std::end(dst), resize_test::kSentinel);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const void* s;
    ImgSize size;
    int32_t srcStep;
    ImgRect roi;
    void* d;
    ImgSize dstSize;
    double xf, yf;
    int32_t type, factorMode;
    ResizeStatus expect;
  };
  const Case cases[] = {
      {src, {4, 4}, 12, {4, 0, 1, 1}, dst, {2, 2}, 0.5, 0.5, 0, 1, 29},
      {src, {4, 4}, 12, {0, -1, 1, 1}, dst, {2, 2}, 0.5, 0.5, 0, 1, -6},
      {src, {0, 0}, 0, {0, 0, 0, 0}, nullptr, {0, 0}, 0.5, 0.5, 0, 1, -8},
      {src, {4, 4}, 0, {0, 0, 4, 4}, dst, {2, 2}, 0.5, 0.5, 0, 1, -14},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 0}, 0.5, 0.5, 0, 1, -6},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 2}, 0.0, 0.5, 0, 1, -23},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 2}, 0.5, -1.0, 0, 1, -23},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 2}, nan, 0.5, 0, 1, -23},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 2}, 1.5, 0.5, 0, 1, -22},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 2}, 0.5, 2.0, 0, 0, -22},
      {src, {4, 4}, 12, {0, 0, 4, 4}, dst, {2, 2}, 0.5, 0.5, 3, 1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResizeSuperSample(c.s, c.size, c.srcStep, c.roi, c.d, 6, c.dstSize, c.xf, c.yf, 3, 3,
                                c.type, 0, c.factorMode),
              c.expect);
    for (uint8_t b : dst) ASSERT_EQ(b, resize_test::kSentinel);
  }
}

TEST(ResizeSuperSample, ClippedRegionEqualsTheClippedCall) {
  Rows8 src(6, std::vector<uint8_t>(10));
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 10; ++x) src[y][x] = static_cast<uint8_t>(x * 23 + y * 41);
  }
  auto past = RunResize<uint8_t>(src, 1, 1, {4, 2, 100, 100}, {9, 9}, 0.4, 0.5, 8);
  auto clipped = RunResize<uint8_t>(src, 1, 1, {4, 2, 6, 4}, {9, 9}, 0.4, 0.5, 8);
  ASSERT_EQ(past.status, 0);
  EXPECT_EQ(past.Row(0, 2), clipped.Row(0, 2));
  EXPECT_EQ(past.Row(1, 2), clipped.Row(1, 2));
  EXPECT_EQ(past.out.Untouched(2, 2, 1, 1, 1), "");
}

// Factor mode 0: the factors are the spans.
TEST(ResizeSuperSample, SpanFactors) {
  auto r = RunResize<uint8_t>({{10, 20, 30, 40}, {50, 60, 70, 80}}, 1, 1, {}, {2, 1}, 0.5, 0.5, 8);
  uint8_t src[8] = {10, 20, 30, 40, 50, 60, 70, 80}, dst[2] = {};
  ASSERT_EQ(
      ResizeSuperSample(src, {4, 2}, 4, {0, 0, 4, 2}, dst, 2, {2, 1}, 2.0, 2.0, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(dst[0], r.at(0, 0));
  EXPECT_EQ(dst[1], r.at(1, 0));
  EXPECT_EQ(dst[0], 35);
}

}  // namespace
