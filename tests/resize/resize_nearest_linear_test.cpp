// Worked examples of the nearest-neighbour and linear kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "resize/resize_image.h"
#include "tests/resize/resize_run.h"

namespace {

using resize_test::GuardedBuffer;
using resize_test::RunResize;
using Rows8 = std::vector<std::vector<uint8_t>>;

Rows8 Ramp(int32_t w, int32_t h, int32_t channels) {
  Rows8 rows(h, std::vector<uint8_t>(static_cast<size_t>(w) * channels));
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t e = 0; e < w * channels; ++e)
      rows[y][e] = static_cast<uint8_t>(y * 40 + e * 3 + 1);
  }
  return rows;
}

TEST(ResizeNearest, DoublingRepeatsEveryColumn) {
  const Rows8 src = Ramp(5, 3, 3);
  auto r = RunResize<uint8_t>(src, 3, 3, {}, {10, 6}, 2.0, 2.0, 1);
  ASSERT_EQ(r.status, 0);
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 10; ++x) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(r.at(x, y, c), src[y / 2][(x / 2) * 3 + c]);
    }
  }
  EXPECT_EQ(r.out.Untouched(6, 10, 3, 3, 1), "");
}

TEST(ResizeNearest, HalvingKeepsTheSecondOfEachPair) {
  const Rows8 src = Ramp(8, 4, 3);
  auto r = RunResize<uint8_t>(src, 3, 3, {}, {4, 2}, 0.5, 0.5, 1);
  ASSERT_EQ(r.status, 0);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      for (int c = 0; c < 3; ++c) EXPECT_EQ(r.at(x, y, c), src[2 * y + 1][(2 * x + 1) * 3 + c]);
    }
  }
}

// The fourth element of three-in-four pixels stays as it was; float NaN payloads pass unchanged.
TEST(ResizeNearest, ThreeInFourAndFloatBits) {
  const Rows8 src = Ramp(4, 2, 4);
  auto r = RunResize<uint8_t>(src, 4, 3, {}, {8, 4}, 2.0, 2.0, 1);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out.Untouched(4, 8, 4, 3, 1), "");
  EXPECT_EQ(r.at(3, 3, 2), src[1][1 * 4 + 2]);

  uint32_t payload = 0x7FA12345u;  // a signalling NaN with a payload
  float nan;
  std::memcpy(&nan, &payload, 4);
  std::vector<std::vector<float>> fsrc = {{nan, 1.5f}, {-0.0f, 2.5f}};
  auto f = RunResize<float>(fsrc, 1, 1, {}, {4, 4}, 2.0, 2.0, 1);
  ASSERT_EQ(f.status, 0);
  for (int32_t y : {0, 1}) {
    for (int32_t x : {0, 1}) {
      float v = f.at(x, y);
      uint32_t bits;
      std::memcpy(&bits, &v, 4);
      EXPECT_EQ(bits, payload);
    }
  }
  EXPECT_TRUE(std::signbit(f.at(0, 3)));
}

// A ROI that scales to less than a pixel reads its one pixel inside the image.
TEST(ResizeNearest, TinyRegionAtTheImageCorner) {
  const Rows8 src = Ramp(6, 6, 3);
  for (double factor : {0.3, 1e-3, 1e-300, 4.9e-324}) {
    auto r = RunResize<uint8_t>(src, 3, 3, {5, 5, 1, 1}, {4, 4}, factor, factor, 1);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out.Untouched(1, 1, 3, 3, 1), "");
    EXPECT_EQ(r.at(0, 0, 0), src[5][15]);
  }
}

TEST(ResizeLinear, TwoSamplesDoubled) {
  // 0 and 100 doubled: 0, 33, 67, 100, one channel and in channel 1 of three-channel pixels.
  auto r = RunResize<uint8_t>({{0, 100}, {0, 100}}, 1, 1, {}, {4, 2}, 2.0, 1.0, 2);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.Row(0, 4), (std::vector<uint8_t>{0, 33, 67, 100}));
  EXPECT_EQ(r.Row(1, 4), (std::vector<uint8_t>{0, 33, 67, 100}));
  auto c3 = RunResize<uint8_t>({{9, 0, 9, 9, 100, 9}, {9, 0, 9, 9, 100, 9}}, 3, 3, {}, {4, 2}, 2.0,
                               1.0, 2);
  EXPECT_EQ(c3.Row(0, 4, 1), (std::vector<uint8_t>{0, 33, 67, 100}));
  EXPECT_EQ(c3.Row(1, 4, 0), (std::vector<uint8_t>{9, 9, 9, 9}));
  EXPECT_EQ(c3.out.Untouched(2, 4, 3, 3, 1), "");
}

TEST(ResizeLinear, ThreeRowsDoubled) {
  // Rows 0, 100, 200 doubled sit at 0, 0.4, 0.8, 1.2, 1.6, 2.0: weights 0, 6553, 13107, 3276,
  // 9830, 16384 of the lower row.
  auto r = RunResize<uint8_t>({{0, 0}, {100, 100}, {200, 200}}, 1, 1, {}, {4, 6}, 1.0, 2.0, 2);
  ASSERT_EQ(r.status, 0);
  std::vector<uint8_t> column;
  for (int32_t y = 0; y < 6; ++y) column.push_back(r.at(0, y));
  EXPECT_EQ(column, (std::vector<uint8_t>{0, 40, 80, 120, 160, 200}));
  EXPECT_EQ(r.out.Untouched(6, 2, 1, 1, 1), "");
}

TEST(ResizeLinear, FixedPointStages) {
  // 10 and 20 at (8192, 8192) give 640 + 320 = 960, 20 and 40 give 1920; 960 over 1920 with
  // w = 4096 gives 19.
  auto r8 = RunResize<uint8_t>({{10, 20}, {20, 40}}, 1, 1, {}, {3, 5}, 1.5, 2.5, 2);
  ASSERT_EQ(r8.status, 0);
  EXPECT_EQ(r8.at(1, 1), 19);
  // 16-bit: 1000 and 3001 at (12288, 4096) give 1500; 60000 and 65535 give 61384; the two
  // halfway give 31442.
  auto r16 = RunResize<uint16_t>({{1000, 3001}, {60000, 65535}}, 1, 1, {}, {5, 3}, 2.5, 1.5, 2);
  ASSERT_EQ(r16.status, 0);
  EXPECT_EQ(r16.at(1, 0), 1500);
  EXPECT_EQ(r16.at(1, 2), 61384);
  EXPECT_EQ(r16.at(1, 1), 31442);
  EXPECT_EQ(r16.out.Untouched(3, 5, 1, 1, 2), "");
}

// Factors of 1 copy the ROI: every interpolation, every element type and layout.
TEST(ResizeIdentity, FactorsOfOneCopyTheRegion) {
  resize_test::TestRng rng(5);
  std::vector<std::vector<float>> f(9, std::vector<float>(40));
  std::vector<std::vector<uint16_t>> s(9, std::vector<uint16_t>(40));
  Rows8 b(9, std::vector<uint8_t>(40));
  for (int32_t y = 0; y < 9; ++y) {
    for (int32_t e = 0; e < 40; ++e) {
      b[y][e] = static_cast<uint8_t>(rng.Next());
      s[y][e] = static_cast<uint16_t>(rng.Next());
      f[y][e] = static_cast<float>(rng.Unit() * 1000 - 300);
    }
  }
  struct Lay {
    int32_t channels, layout;
  };
  for (int32_t interp : {1, 2, 4, 16, 8}) {
    for (Lay l : {Lay{1, 1}, Lay{4, 4}, Lay{4, 3}}) {
      const ImgRect roi{1, 2, 7, 6};
      const int32_t n = l.layout == 1 ? 1 : l.layout;
      auto r8 = RunResize<uint8_t>(b, l.channels, l.layout, roi, {20, 20}, 1.0, 1.0, interp);
      auto r16 = RunResize<uint16_t>(s, l.channels, l.layout, roi, {20, 20}, 1.0, 1.0, interp);
      auto r32 = RunResize<float>(f, l.channels, l.layout, roi, {20, 20}, 1.0, 1.0, interp);
      ASSERT_EQ(r8.status, 0);
      ASSERT_EQ(r16.status, 0);
      ASSERT_EQ(r32.status, 0);
      int bad = 0;
      for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 7; ++x) {
          for (int32_t c = 0; c < n; ++c) {
            const int32_t e = (roi.x + x) * l.channels + c;
            bad += r8.at(x, y, c) != b[roi.y + y][e];
            bad += r16.at(x, y, c) != s[roi.y + y][e];
            bad += r32.at(x, y, c) != f[roi.y + y][e];
          }
        }
      }
      EXPECT_EQ(bad, 0) << "interp " << interp << " layout " << l.layout;
      EXPECT_EQ(r8.out.Untouched(6, 7, l.channels, n, 1), "");
      EXPECT_EQ(r16.out.Untouched(6, 7, l.channels, n, 2), "");
      EXPECT_EQ(r32.out.Untouched(6, 7, l.channels, n, 4), "");
    }
  }
}

// The live view's two calls: line doubling with linear and full screen with nearest, through
// the public function with a destination step rounded up to four bytes.
TEST(ResizeLiveView, LineDoublingAndFullScreen) {
  const int32_t w = 64, h = 24;
  GuardedBuffer src(h, w * 3);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t e = 0; e < w * 3; ++e) src.Set<uint8_t>(y, e, static_cast<uint8_t>(e ^ (y * 9)));
  }
  GuardedBuffer doubled(2 * h, w * 3);
  ASSERT_EQ(ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, doubled.data(), w * 3,
                            {w, 2 * h}, 1.0, 2.0, 2),
            0);
  EXPECT_EQ(doubled.Untouched(2 * h, w, 3, 3, 1), "");
  // Columns stay; the first and last rows are the source's.
  EXPECT_EQ(std::memcmp(doubled.row(0), src.row(0), w * 3), 0);
  EXPECT_EQ(std::memcmp(doubled.row(2 * h - 1), src.row(h - 1), w * 3), 0);

  const int32_t W = 150, H = 70, step = (W * 3 + 3) & ~3;
  GuardedBuffer full(H, step);
  ASSERT_EQ(ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, full.data(), step, {W, H},
                            static_cast<double>(W) / w, static_cast<double>(H) / h, 1),
            0);
  EXPECT_EQ(full.Untouched(H, W, 3, 3, 1), "");
  EXPECT_EQ(full.Get<uint8_t>(H - 1, (W - 1) * 3 + 2), src.Get<uint8_t>(h - 1, (w - 1) * 3 + 2));
}

}  // namespace
