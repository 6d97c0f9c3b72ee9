// The display mode and layout id: the start-up choice and the per-frame follow-up.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "live/display_mode.h"

namespace {

class RecordingObserver : public DisplayModeObserver {
 public:
  std::vector<std::string> calls;
  void RelayoutChannelBar() override { calls.push_back("RelayoutChannelBar"); }
  void ChangeItemPositionForDeviceModified() override { calls.push_back("ChangeItemPosition"); }
  void ReloadTurboBitmapsNQVGA() override { calls.push_back("NQVGA"); }
  void ReloadTurboBitmapsNVGA() override { calls.push_back("NVGA"); }
  void ReloadTurboBitmapsPQVGA() override { calls.push_back("PQVGA"); }
  void ReloadTurboBitmapsPVGA() override { calls.push_back("PVGA"); }
};

struct DisplayModeFixture : ::testing::Test {
  std::string product;
  uint8_t standard = 0;
  int32_t resolution = 1;
  uint8_t mode = 99, applied = 99;
  uint16_t layout = 99;
  RecordingObserver observer;
  CDisplayMode displayMode;

  void SetUp() override {
    displayMode.Bind({&product, &standard, &resolution, &mode, &applied, &layout, &observer});
  }
};

TEST_F(DisplayModeFixture, StartUpChoiceByFamilyStandardAndResolution) {
  struct Case {
    const char* product;
    uint8_t standard;
    int32_t resolution;
    uint16_t layout;
    uint8_t mode;
  };
  const Case cases[] = {
      {"RZ1K", 0, 2, 1, 4},  {"RZ3K", 0, 1, 1, 1},  {"RZ4K", 0, 0, 0, 0},  {"RZ1K", 1, 2, 3, 5},
      {"RZ1K", 1, 1, 3, 3},  {"RZ1K", 1, 7, 2, 2},  {"RZ2K", 0, 2, 7, 4},  {"RZ5M", 0, 1, 7, 1},
      {"RZ6M", 0, 0, 6, 0},  {"RZ7M", 1, 2, 9, 5},  {"RZ2K", 1, 1, 9, 3},  {"RZ2K", 1, 0, 8, 2},
      {"RZ8P", 0, 2, 13, 4}, {"RZ8P", 1, 1, 13, 1}, {"RZ8P", 5, 0, 12, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + std::to_string(c.standard) + " " +
                 std::to_string(c.resolution));
    product = c.product;
    standard = c.standard;
    resolution = c.resolution;
    mode = applied = 99;
    layout = 99;
    EXPECT_EQ(displayMode.SelectByFamily(), 1);
    EXPECT_EQ(layout, c.layout);
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(applied, c.mode);
    EXPECT_EQ(displayMode.GetMode(), c.mode);
  }
  // Other devices, and a recorder standard other than 0 and 1, change nothing.
  for (const auto& [p, s] : {std::pair{"ABCD", 0}, std::pair{"RZ1K", 2}, std::pair{"RZ2K", 3}}) {
    product = p;
    standard = static_cast<uint8_t>(s);
    mode = applied = 99;
    layout = 99;
    displayMode.SelectByFamily();
    EXPECT_EQ(layout, 99);
    EXPECT_EQ(mode, 99);
  }
  EXPECT_TRUE(observer.calls.empty());
}

TEST_F(DisplayModeFixture, PictureSizeFollowsAndReLaysOutOnce) {
  // An RZ1K in PAL at resolution 1: layout 3 and mode 3; the first 640 x 276 frame switches to
  // mode 2 and layout 2 with one re-layout.
  product = "RZ1K";
  standard = 1;
  resolution = 1;
  displayMode.SelectByFamily();
  ASSERT_EQ(layout, 3);
  ASSERT_EQ(mode, 3);
  displayMode.SetImageSize(640, 276);
  displayMode.SetImageSize(640, 276);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(applied, 2);
  EXPECT_EQ(layout, 2);
  EXPECT_EQ(displayMode.w_Width, 640);
  EXPECT_EQ(displayMode.w_Height, 276);
  EXPECT_EQ(observer.calls,
            (std::vector<std::string>{"RelayoutChannelBar", "ChangeItemPosition", "PVGA"}));
}

TEST_F(DisplayModeFixture, SizeTable) {
  struct Case {
    const char* product;
    uint16_t w, h;
    uint8_t mode;
    uint16_t layout;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"RZ3K", 320, 228, 1, 1, {"RelayoutChannelBar", "ChangeItemPosition", "NQVGA"}},
      {"RZ4K", 320, 276, 3, 3, {"RelayoutChannelBar", "ChangeItemPosition", "PQVGA"}},
      {"RZ1K", 640, 228, 0, 0, {"RelayoutChannelBar", "ChangeItemPosition", "NVGA"}},
      {"RZ2K", 352, 240, 1, 7, {"ChangeItemPosition", "NQVGA"}},
      {"RZ5M", 352, 288, 3, 9, {"ChangeItemPosition", "PQVGA"}},
      {"RZ6M", 704, 240, 0, 6, {"ChangeItemPosition", "NVGA"}},
      {"RZ7M", 704, 576, 2, 8, {"ChangeItemPosition", "PVGA"}},
      {"RZ8P", 320, 240, 1, 13, {"ChangeItemPosition", "NQVGA"}},
      {"RZ8P", 640, 480, 0, 12, {"ChangeItemPosition", "NVGA"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + std::to_string(c.w) + "x" + std::to_string(c.h));
    product = c.product;
    mode = applied = 42;  // a mode no size gives
    layout = 42;
    observer.calls.clear();
    displayMode.SetImageSize(c.w, c.h);
    EXPECT_EQ(mode, c.mode);
    EXPECT_EQ(applied, c.mode);
    EXPECT_EQ(layout, c.layout);
    EXPECT_EQ(observer.calls, c.calls);
  }
}

TEST_F(DisplayModeFixture, SmallPictureKeepsTheLayoutAndUnlistedSizesChangeNothing) {
  product = "RZ8P";
  resolution = 1;
  displayMode.SelectByFamily();
  displayMode.SetImageSize(320, 240);
  EXPECT_TRUE(observer.calls.empty());
  displayMode.SetImageSize(160, 120);
  EXPECT_EQ(mode, 4);
  EXPECT_EQ(applied, 4);
  EXPECT_EQ(layout, 13);
  EXPECT_EQ(observer.calls, std::vector<std::string>{"ChangeItemPosition"});

  product = "RZ2K";
  standard = 0;
  displayMode.SelectByFamily();
  observer.calls.clear();
  const uint8_t before = mode;
  displayMode.SetImageSize(176, 144);
  EXPECT_EQ(mode, before);
  EXPECT_EQ(layout, 7);
  EXPECT_TRUE(observer.calls.empty());
}

TEST(DisplayMode, UnboundChangesNothing) {
  CDisplayMode m;
  EXPECT_EQ(m.SelectByFamily(), 1);
  EXPECT_EQ(m.SetImageSize(640, 480), 1);
  EXPECT_EQ(m.GetMode(), 0);
  EXPECT_EQ(m.w_Width, 640);
}

}  // namespace
