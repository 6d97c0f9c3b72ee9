// Hot-point grid and spot, hot-point packets per model row, PTZ select and leave bodies.
#include "mainwnd/ptz_packets.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(HotPointAim, GridCellsAndSpots) {
  const PictureRect layout0{42, 96, 682, 552};  // 640 x 456: steps 40 and 38
  const PictureRect layout8{10, 20, 714, 594};  // 704 x 574: steps 44 and 47
  const PictureRect screen{0, 0, 1280, 1024};
  struct Case {
    const char* name;
    PictureRect picture, video;
    int32_t x, y;
    bool fullScreen;
    std::optional<HotPointAim> aim;
  };
  const Case cases[] = {
      {"worked example", layout0, layout0, 42 + 81, 96 + 39, false, HotPointAim{0x12, 81, 39}},
      {"on the first column line", layout0, layout0, 42 + 40, 100, false, HotPointAim{0x00, 40, 4}},
      {"just past it", layout0, layout0, 42 + 41, 100, false, HotPointAim{0x01, 41, 4}},
      {"below the twelfth row line", layout8, layout8, 11, 20 + 565, false,
       HotPointAim{0xB0, 1, 565}},
      {"last pixel", layout8, layout8, 713, 593, false, HotPointAim{0xBF, 703, 573}},
      {"on the left edge", layout0, layout0, 42, 100, false, std::nullopt},
      {"on the bottom edge", layout0, layout0, 100, 552, false, std::nullopt},
      {"full screen, scaled spot", screen, layout0, 1000, 512, true, HotPointAim{0x6C, 500, 228}},
      {"full screen, 8-pixel margin", screen, layout0, 8, 512, true, std::nullopt},
      {"full screen, past the margin", screen, layout0, 9, 512, true, HotPointAim{0x60, 4, 228}},
  };
  for (const Case& c : cases) {
    const auto aim = AimHotPoint(c.picture, c.video, c.x, c.y, c.fullScreen);
    ASSERT_EQ(aim.has_value(), c.aim.has_value()) << c.name;
    if (!aim) continue;
    EXPECT_EQ(aim->cell, c.aim->cell) << c.name;
    EXPECT_EQ(aim->spotX, c.aim->spotX) << c.name;
    EXPECT_EQ(aim->spotY, c.aim->spotY) << c.name;
  }
}

TEST(HotPointPacket, PerModelRow) {
  EXPECT_EQ(HotPointPacket(8, 3, 0x0A, 0x12), (Bytes{5, 0xD0, 3, 0x52, 0x12, 0, 1, 0x32}));
  // 0xD0 + 1 + 0x0A + 0x52 + 0x12 = 0x13F.
  for (uint32_t row : {11u, 18u, 25u})
    EXPECT_EQ(HotPointPacket(row, 1, 0x0A, 0x12),
              (Bytes{7, 0xD0, 1, 0x0A, 0x52, 0x12, 0, 0x3F, 1, 0x32}))
        << row;
  for (uint32_t row : {0u, 19u, 26u, 1000u})
    EXPECT_EQ(HotPointPacket(row, 1, 2, 3), (Bytes{0, 0, 0}));
}

TEST(PtzBodies, SelectAndLeave) {
  EXPECT_EQ(PtzSelectBody(3), (Bytes{2, 5, 8, 1, 0x32}));
  EXPECT_EQ(PtzSelectBody(1), (Bytes{2, 5, 6, 1, 0x32}));
  EXPECT_EQ(PtzSelectBody(9), (Bytes{2, 5, 14, 1, 0x32}));
  EXPECT_EQ(PtzSelectBody(10), (Bytes{2, 6, 5, 1, 0x32}));
  EXPECT_EQ(PtzSelectBody(12), (Bytes{2, 6, 7, 1, 0x32}));
  EXPECT_EQ(PtzSelectBody(16), (Bytes{2, 6, 11, 1, 0x32}));
  EXPECT_FALSE(PtzSelectBody(0));
  EXPECT_FALSE(PtzSelectBody(17));
  EXPECT_EQ(PtzLeaveBody(), (Bytes{1, 0x10, 1, 0x32}));
}

}  // namespace
