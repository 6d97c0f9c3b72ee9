#include "settings/carried_page_rules.h"

#include <gtest/gtest.h>

namespace {

constexpr int64_t kHour = 3600;

TEST(CarriedPages, RetrTimeLimit) {
  EXPECT_EQ(RetrLimitHour("30"), 23);
  EXPECT_EQ(RetrLimitHour("7"), 7);
  EXPECT_EQ(RetrLimitMinute("75"), 59);
  EXPECT_EQ(RetrLimitMinute("x"), -1);
}

TEST(CarriedPages, SchedulePeriods) {
  ScheduleList list;
  // Start equal to end (the dialog untouched) is wrong.
  EXPECT_EQ(list.Add({10 * kHour, 10 * kHour}), ScheduleResult::kWrongTime);
  EXPECT_EQ(list.Add({20 * kHour, 21 * kHour}), ScheduleResult::kDone);
  EXPECT_EQ(list.Add({10 * kHour, 11 * kHour}), ScheduleResult::kDone);
  // Listed by start.
  EXPECT_EQ(list.At(0), (SchedulePeriod{10 * kHour, 11 * kHour}));
  // A period that ends exactly when another starts is covered.
  EXPECT_EQ(list.Add({9 * kHour, 10 * kHour}), ScheduleResult::kCovered);
  EXPECT_EQ(list.Add({11 * kHour, 12 * kHour}), ScheduleResult::kCovered);
  EXPECT_STREQ(ScheduleResultText(ScheduleResult::kCovered),
               "Time setting is covered with other setting");
  // Editing a period into a range that overlaps only itself is accepted.
  EXPECT_EQ(list.Edit(0, {10 * kHour, 12 * kHour}), ScheduleResult::kDone);
  EXPECT_EQ(list.Edit(0, {19 * kHour, 20 * kHour + 1}), ScheduleResult::kCovered);
  EXPECT_EQ(list.Edit(5, {1, 2}), ScheduleResult::kNoSelection);
  // The eleventh period is refused.
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(list.Add({(30 + 2 * i) * kHour, (31 + 2 * i) * kHour}), ScheduleResult::kDone);
  EXPECT_EQ(list.Count(), 10);
  EXPECT_EQ(list.Add({100 * kHour, 101 * kHour}), ScheduleResult::kFull);
  // Deleting the second row moves the later ones up.
  const SchedulePeriod third = list.At(2);
  EXPECT_EQ(list.Delete(1), ScheduleResult::kDone);
  EXPECT_EQ(list.Count(), 9);
  EXPECT_EQ(list.At(1), third);
  EXPECT_EQ(ScheduleList::SelectionAfterDelete(1, 10), 1);
  EXPECT_EQ(ScheduleList::SelectionAfterDelete(9, 10), 0);
  EXPECT_EQ(ScheduleTimeText(2006, 5, 7, 8, 9, 0), "2006.05.07 08:09:00");
}

TEST(CarriedPages, ScheduleCivilTimes) {
  const ScheduleCivil cases[] = {{1970, 1, 1, 0, 0, 0},
                                 {2006, 5, 17, 9, 30, 0},
                                 {2000, 2, 29, 23, 59, 59},
                                 {2038, 1, 19, 3, 14, 8},
                                 {2100, 12, 31, 12, 0, 1}};
  for (const auto& c : cases) EXPECT_EQ(ScheduleCivilOf(ScheduleSeconds(c)), c) << c.year;
  EXPECT_EQ(ScheduleSeconds({2006, 5, 17, 9, 30, 0}), 1147858200);
}

TEST(CarriedPages, VideoSettingChoices) {
  std::array<uint8_t, 16> record{};
  record[2] = 4;
  record[4] = 34;
  record[11] = 0;
  VideoSettingChoices c = VideoSettingChoicesOf(352, 288, record);
  EXPECT_EQ(c.resolution, 1);
  EXPECT_EQ(c.videoType, 1);
  EXPECT_EQ(c.bitRate, 2);
  EXPECT_FALSE(c.jpegQuality);
  struct Rate {
    int rate, index;
  } rates[] = {{20, 0}, {21, 1}, {33, 1}, {50, 2}, {67, 3}, {101, 4}, {152, 5}, {153, 6}, {600, 6}};
  for (const auto& r : rates) {
    record[4] = static_cast<uint8_t>(r.rate);
    record[5] = static_cast<uint8_t>(r.rate >> 8);
    EXPECT_EQ(VideoSettingChoicesOf(0, 0, record).bitRate, r.index) << r.rate;
  }
  record[2] = 9;
  record[11] = 69;
  c = VideoSettingChoicesOf(640, 480, record);
  EXPECT_FALSE(c.resolution);
  EXPECT_FALSE(c.videoType);
  EXPECT_EQ(c.jpegQuality, 1);
  record[11] = 101;
  EXPECT_FALSE(VideoSettingChoicesOf(0, 0, record).jpegQuality);
  EXPECT_STREQ(VideoResolutionTexts(1)[0], "704 x 576");
  EXPECT_STREQ(VideoResolutionTexts(0)[2], "176 x 112");
}

TEST(CarriedPages, RzmModelTexts) {
  EXPECT_STREQ(RzmModelText(114), "4CH NETWORK DVR (BASIC)");
  EXPECT_STREQ(RzmModelText(138), "4CH NETWORK MEPG2 DVR");
  EXPECT_STREQ(RzmModelText(19), "");
}

}  // namespace
