// The frame renderer's decisions: line doubling, drawn size, bitmap rows, statistics and the
// overlay texts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mainwnd/frame_overlay.h"

namespace {

constexpr uint32_t kDoubleBuffer = 1572864;

TEST(FramePlan, LineDoublingAndItsBound) {
  struct Case {
    uint16_t w, h;
    bool rz8p;
    bool doubled;
    uint16_t drawnH;
  };
  const Case cases[] = {
      {320, 228, false, false, 228},  // 1:1
      {640, 228, false, true, 456},   // an RZ1K field
      {704, 240, false, true, 480},   // an RZ2K field
      {640, 480, true, false, 480},   // RZ8P: not doubled
      // Doubled, these would not fit the buffer (1843200 and 2488320 bytes): drawn as they are.
      {640, 480, false, false, 480},
      {720, 576, false, false, 576},
  };
  for (const Case& c : cases) {
    const FramePlan p = PlanFrame(c.w, c.h, c.rz8p, kDoubleBuffer);
    EXPECT_EQ(p.lineDouble, c.doubled) << c.w << "x" << c.h;
    EXPECT_EQ(p.height, c.drawnH) << c.w << "x" << c.h;
    EXPECT_EQ(p.width, c.w);
  }
}

TEST(FramePlan, StrideAndWindowedArea) {
  EXPECT_EQ(DibStride(1366), 4100u);  // full screen at 1366 x 768
  EXPECT_EQ(DibStride(640), 1920u);
  EXPECT_EQ(DibStride(1), 4u);
  const DrawArea a = WindowedDrawArea(42, 96, 640, 456, 320, 228);
  EXPECT_EQ(a.x, 42);
  EXPECT_EQ(a.width, 320);
  const DrawArea cut = WindowedDrawArea(24, 90, 320, 228, 640, 456);
  EXPECT_EQ(cut.width, 320);
  EXPECT_EQ(cut.height, 228);
}

// Every pixel count around the four-pixel groups, through both ways: each pixel widened in
// place, the fourth byte 0, nothing read or written past the ends.
TEST(FramePlan, WidenedPixels) {
  for (auto* widen : {&WidenBgrToBgrx, &WidenBgrToBgrxScalar}) {
    for (size_t pixels = 0; pixels <= 37; ++pixels) {
      std::vector<uint8_t> bgr(pixels * 3);
      for (size_t i = 0; i < bgr.size(); ++i) bgr[i] = static_cast<uint8_t>(i * 7 + 1);
      std::vector<uint8_t> bgrx(pixels * 4 + 4, 0xEE);
      widen(bgr.data(), bgrx.data(), pixels);
      for (size_t p = 0; p < pixels; ++p) {
        const uint8_t expected[4] = {bgr[p * 3], bgr[p * 3 + 1], bgr[p * 3 + 2], 0};
        ASSERT_EQ(0, std::memcmp(&bgrx[p * 4], expected, 4)) << pixels << " " << p;
      }
      for (size_t g = pixels * 4; g < bgrx.size(); ++g) EXPECT_EQ(bgrx[g], 0xEE) << pixels;
    }
  }
}

TEST(Overlay, AlarmChannelAndTitle) {
  EXPECT_EQ(AlarmChannelText(0x0008), "4");
  EXPECT_EQ(AlarmChannelText(0x0001), "1");
  EXPECT_EQ(AlarmChannelText(0x8000), "16");
  EXPECT_EQ(AlarmChannelText(0x000C), "3");
  EXPECT_EQ(AlarmChannelText(0), "");
  const char full[16] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H',
                         'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P'};
  EXPECT_EQ(HuText(full), "HU: ABCDEFGHIJKLMNOP");
  const char shortTitle[16] = "GATE";
  EXPECT_EQ(HuText(shortTitle), "HU: GATE");
  const char empty[16] = {};
  EXPECT_EQ(HuText(empty), "");
}

TEST(Statistics, PeriodRatesAndTexts) {
  const Statistics s = ComputeStatistics({10000, 8000, 100, 0, 5000});
  ASSERT_TRUE(s.due);
  EXPECT_EQ(s.frameRateText, "FR:50.00 fps ");
  EXPECT_EQ(s.dataRateText, "DR:19 kbps ");
  EXPECT_EQ(StatusLineOf(s, false), "FR:50.00 fps DR:19 kbps ");
  EXPECT_EQ(StatusLineOf(s, true), "Video Loss!");

  EXPECT_FALSE(ComputeStatistics({9999, 8000, 100, 0, 5000}).due);
  // The tick count wrapping inside the period.
  const Statistics wrapped = ComputeStatistics({1000, 0xFFFFFC18u, 30, 0, 0});
  ASSERT_TRUE(wrapped.due);
  EXPECT_EQ(wrapped.elapsedMs, 2000u);
  EXPECT_EQ(wrapped.frameRateText, "FR:15.00 fps ");
  // A counter that restarted below the last mark counts its distance.
  EXPECT_EQ(ComputeStatistics({2000, 0, 10, 30, 0}).frameRateText, "FR:10.00 fps ");
  // 10 MB in 2 s: 5,000,000 bytes per second is 39062 kbps, not a wrapped 32-bit product.
  EXPECT_EQ(ComputeStatistics({2000, 0, 0, 0, 10000000}).kbps, 39062u);
  EXPECT_EQ(ComputeStatistics({2500, 0, 0, 0, 4000000000u}).kbps, 12500000u);
}

}  // namespace
