// Worked examples of the cubic and lanczos kernels and the lanczos weights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "resize/resize_worker.h"
#include "tests/resize/resize_reference.h"
#include "tests/resize/resize_run.h"

namespace {

using resize_test::RunResize;
using Rows8 = std::vector<std::vector<uint8_t>>;

// Four equal rows of `row`; the column at position 1.5 (base 1, t = 0.5) of a 1.75 enlargement.
template <typename T>
T CubicAtHalf(std::vector<T> row) {
  auto r = RunResize<T>({row, row, row, row}, 1, 1, {}, {7, 4}, 1.75, 1.0, 4);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.Untouched(4, 7, 1, 1, sizeof(T)), "");
  return r.at(3, 1);
}

TEST(ResizeCubic, PolynomialThroughTheSamples) {
  EXPECT_EQ(CubicAtHalf<uint8_t>({0, 0, 100, 100}), 50);
  EXPECT_EQ(CubicAtHalf<uint8_t>({0, 255, 255, 0}), 255);  // 286.875, clamped
  EXPECT_EQ(CubicAtHalf<uint8_t>({255, 0, 0, 255}), 0);    // -31.875, clamped
  EXPECT_EQ(CubicAtHalf<uint16_t>({0, 65535, 65535, 0}), 65535);
  EXPECT_FLOAT_EQ(CubicAtHalf<float>({0, 255, 255, 0}), 286.875f);
  EXPECT_FLOAT_EQ(CubicAtHalf<float>({255, 0, 0, 255}), -31.875f);
}

TEST(ResizeCubic, BordersReturnTheEdgeSamples) {
  // An enlargement to whole sizes puts the first and last destination pixels on the corners.
  Rows8 src(5, std::vector<uint8_t>(6 * 3));
  for (int32_t y = 0; y < 5; ++y) {
    for (int32_t e = 0; e < 18; ++e) src[y][e] = static_cast<uint8_t>(17 * y + 5 * e);
  }
  for (auto [fx, fy] : {std::pair{2.0, 2.0}, {3.0, 3.0}, {1.5, 2.6}}) {
    auto r = RunResize<uint8_t>(src, 3, 3, {}, {100, 100}, fx, fy, 4);
    ASSERT_EQ(r.status, 0);
    const int32_t w = static_cast<int32_t>(6 * fx + 1e-7), h = static_cast<int32_t>(5 * fy + 1e-7);
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(r.at(0, 0, c), src[0][c]);
      EXPECT_EQ(r.at(w - 1, 0, c), src[0][15 + c]);
      EXPECT_EQ(r.at(w - 1, h - 1, c), src[4][15 + c]);
    }
    EXPECT_EQ(r.out.Untouched(h, w, 3, 3, 1), "");
  }
}

TEST(ResizeLanczos, WindowTable) {
  const float* t = ResizeLanczosTable;
  EXPECT_EQ(t[0], 1.0f);
  EXPECT_EQ(t[100], 0.0f);
  EXPECT_TRUE(std::signbit(t[100]));
  EXPECT_EQ(t[200], 0.0f);
  EXPECT_EQ(t[300], 0.0f);
  EXPECT_EQ(t[301], 0.0f);
  EXPECT_FLOAT_EQ(t[50], 0.60792708f);
  EXPECT_FLOAT_EQ(t[150], -0.13509491f);
  EXPECT_FLOAT_EQ(t[250], 0.02431709f);
  EXPECT_FLOAT_EQ(t[299], 0.00001118f);
  for (int i = 0; i <= 300; ++i) {
    EXPECT_NEAR(t[i], resize_test::LanczosWindow(i / 100.0), 1e-7) << i;
  }
}

TEST(ResizeLanczos, Weights) {
  const float fractions[] = {0.0f, 0.5f, 0.25f, 0.75f};
  float w[24];
  ResizeLanczosWeights(fractions, 4, w);
  EXPECT_EQ(w[2], 1.0f);
  for (int k : {0, 1, 3, 4, 5}) EXPECT_EQ(w[k], 0.0f) << k;
  EXPECT_TRUE(std::signbit(w[1]));
  EXPECT_TRUE(std::signbit(w[3]));
  const double half[6] = {0.024317, -0.135095, 0.607927, 0.607927, -0.135095, 0.024317};
  double sum[4] = {};
  for (int j = 0; j < 4; ++j) {
    for (int k = 0; k < 6; ++k) sum[j] += w[6 * j + k];
  }
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(w[6 + k], half[k], 1e-6) << k;
  EXPECT_EQ(sum[0], 1.0);
  EXPECT_NEAR(sum[1], 0.99430, 5e-6);
  EXPECT_NEAR(sum[2], 0.99697, 5e-6);
  EXPECT_NEAR(sum[3], 0.99697, 5e-6);
  ResizeLanczosWeights(fractions, 0, nullptr);  // nothing for an empty count
}

// A uniform level is scaled by the weight sums and truncated: 200 at fraction 0.5 gives 198,
// 255 at fraction 0.5 gives 253 (253.55, not rounded).
TEST(ResizeLanczos, UniformLevelsAreScaledAndTruncated) {
  for (auto [level, expect] : {std::pair<uint8_t, uint8_t>{200, 198}, {255, 253}}) {
    Rows8 src(6, std::vector<uint8_t>(6, level));
    // Columns 0 .. 5 at 0, 0.5, .. 5 (11 columns), rows on whole positions.
    auto r = RunResize<uint8_t>(src, 1, 1, {}, {11, 6}, 11.0 / 6, 1.0, 16);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.at(0, 0), level);
    EXPECT_EQ(r.at(1, 0), expect);
    EXPECT_EQ(r.at(5, 3), expect);
    EXPECT_EQ(r.out.Untouched(6, 11, 1, 1, 1), "");
  }
}

// A black-to-white edge rings: 8-bit output is clamped, float output keeps the overshoot.
TEST(ResizeLanczos, RingingIsClampedOnlyForIntegers) {
  std::vector<uint8_t> row8 = {0, 0, 0, 0, 255, 255, 255, 255};
  std::vector<float> rowf(row8.begin(), row8.end());
  Rows8 s8(6, row8);
  std::vector<std::vector<float>> sf(6, rowf);
  auto r8 = RunResize<uint8_t>(s8, 1, 1, {}, {30, 6}, 3.7, 1.0, 16);
  auto rf = RunResize<float>(sf, 1, 1, {}, {30, 6}, 3.7, 1.0, 16);
  ASSERT_EQ(r8.status, 0);
  ASSERT_EQ(rf.status, 0);
  float lo = 0, hi = 0;
  for (int32_t x = 0; x < 29; ++x) {
    lo = std::min(lo, rf.at(x, 2));
    hi = std::max(hi, rf.at(x, 2));
    const double clamped = std::clamp(std::trunc(rf.at(x, 2) + 1e-7), 0.0, 255.0);
    EXPECT_NEAR(r8.at(x, 2), clamped, 1.0) << x;
  }
  EXPECT_LT(lo, -1.0f);
  EXPECT_GT(hi, 256.0f);
}

// Taps above and left of a ROI come from the image where it has pixels, so a ROI inside the
// image differs at its edges from the same pixels resized as an image of their own; a ROI at
// the image's corner repeats the edge.
TEST(ResizeLanczos, TapsAroundTheRegion) {
  Rows8 src(12, std::vector<uint8_t>(12));
  for (int32_t y = 0; y < 12; ++y) {
    for (int32_t x = 0; x < 12; ++x) src[y][x] = static_cast<uint8_t>((x * 37 + y * 91) % 256);
  }
  Rows8 crop(8, std::vector<uint8_t>(8));
  for (int32_t y = 0; y < 8; ++y) {
    for (int32_t x = 0; x < 8; ++x) crop[y][x] = src[y + 2][x + 2];
  }
  auto inside = RunResize<uint8_t>(src, 1, 1, {2, 2, 8, 8}, {20, 20}, 2.0, 2.0, 16);
  auto alone = RunResize<uint8_t>(crop, 1, 1, {}, {20, 20}, 2.0, 2.0, 16);
  ASSERT_EQ(inside.status, 0);
  ASSERT_EQ(alone.status, 0);
  EXPECT_NE(inside.Row(1, 16), alone.Row(1, 16));
  EXPECT_EQ(inside.at(0, 0), src[2][2]);  // on a pixel: its own value
  // A ROI one row below the top uses that row for both window rows above it.
  auto second = RunResize<uint8_t>(src, 1, 1, {0, 1, 12, 11}, {24, 22}, 2.0, 2.0, 16);
  ASSERT_EQ(second.status, 0);
  EXPECT_EQ(second.out.Untouched(22, 24, 1, 1, 1), "");
  EXPECT_EQ(second.at(0, 0), src[1][0]);
}

}  // namespace
