// The time-zone table, the "/SyncTime.cgi" request and the SNTP block the page writes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "net/cgi_command_table.h"
#include "pagerules/time_server_rules.h"
#include "pagerules/time_zone_table.h"

namespace {

TEST(TimeZoneTable, RowsAndTexts) {
  struct Case {
    int row;
    uint16_t id;
    int hour, minute;
    const char* text;
  };
  const Case cases[] = {
      {0, 8448, -12, 0, "(GMT-12:00) International Date Line West"},
      {18, 8466, -3, -30, "(GMT-03:30) Newfoundland"},
      {42, 8490, 3, 30, "(GMT+03:30) Tehran"},
      {49, 8497, 5, 45, "(GMT+05:45) Kathmandu"},
      {57, 8505, 8, 0, nullptr},
      {74, 8522, 13, 0, "(GMT+13:00) Nuku'alofa"},
  };
  for (const Case& c : cases) {
    const TimeZoneRow* r = TimeZoneAt(c.row);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->stringId, c.id);
    EXPECT_EQ(r->hour, c.hour);
    EXPECT_EQ(r->minute, c.minute);
    if (c.text) {
      EXPECT_STREQ(r->text, c.text);
    }
  }
  EXPECT_EQ(TimeZoneAt(75), nullptr);
  EXPECT_EQ(TimeZoneAt(-1), nullptr);
  // Every text names its own offset, and the offsets never go back.
  int last = -13 * 60;
  for (const TimeZoneRow& r : TimeZoneTable) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "(GMT%c%02d:%02d)", r.hour < 0 || r.minute < 0 ? '-' : '+',
                  std::abs(r.hour), std::abs(r.minute));
    EXPECT_EQ(std::string(r.text).rfind(prefix, 0), 0u) << r.text;
    const int minutes = r.hour * 60 + r.minute;
    EXPECT_GE(minutes, last) << r.text;
    last = minutes;
  }
}

TEST(SyncTime, KeysInOrder) {
  struct Case {
    TimeServerValues values;
    SyncTimeBuild result;
    const char* query;
  };
  const SyncTimeClock clock{2026, 12, 11, 9, 5, 7};
  const Case cases[] = {
      {{1, 0, "ntp.example", 57},
       SyncTimeBuild::kOk,
       "/SyncTime.cgi?Cookie=c1&Mode=1&ServerMode=0&Server=ntp.example&NationID=57&Hour=8&Minute="
       "0"},
      {{1, 1, "ignored", 18},
       SyncTimeBuild::kOk,
       "/SyncTime.cgi?Cookie=c1&Mode=1&ServerMode=1&NationID=18&Hour=-3&Minute=-30"},
      {{0, 0, "ntp.example", 57},
       SyncTimeBuild::kOk,
       "/SyncTime.cgi?Cookie=c1&Mode=0&Year=2026&Month=12&Day=11&Hour=9&Minute=5&Second=7"},
      {{1, 0, "a b", 3}, SyncTimeBuild::kServerUnsafe, "/SyncTime.cgi"},
      {{1, 0, "x&Mode=0", 3}, SyncTimeBuild::kServerUnsafe, "/SyncTime.cgi"},
      {{1, 0, std::string(28, 'n'), 3}, SyncTimeBuild::kServerTooLong, "/SyncTime.cgi"},
      {{1, 0, "ntp", -1}, SyncTimeBuild::kNoZone, "/SyncTime.cgi"},
      {{0, 0, "a b", -1},
       SyncTimeBuild::kOk,
       "/SyncTime.cgi?Cookie=c1&Mode=0&Year=2026&Month=12&Day=11&Hour=9&Minute=5&Second=7"},
  };
  for (const Case& c : cases) {
    CGIParamList request(kCgiSyncTime);
    EXPECT_EQ(BuildSyncTimeRequest(request, "c1", c.values, clock), c.result) << c.query;
    EXPECT_EQ(request.m_strQuery, c.query);
  }
}

TEST(SntpBlock, StoreAndSyncNow) {
  std::array<uint8_t, 36> sntp{};
  for (size_t i = 0; i < sntp.size(); ++i) sntp[i] = static_cast<uint8_t>(0xA0 + i);
  sntp[5] = 80;  // outside the table
  sntp[6] = 1;
  std::memcpy(&sntp[8], "time.example\0", 13);
  const auto original = sntp;
  const TimeServerValues before = LoadTimeServer(sntp);
  EXPECT_EQ(before.zone, -1);
  EXPECT_EQ(before.autoServer, 0);
  EXPECT_FALSE(StoreTimeServer(before, before, sntp));
  EXPECT_EQ(sntp, original);

  TimeServerValues now = before;
  now.server = std::string(27, 'z');  // fills the field up to its last byte, which stays 0
  EXPECT_TRUE(StoreTimeServer(now, before, sntp));
  EXPECT_EQ(sntp[8 + 26], 'z');
  EXPECT_EQ(sntp[35], 0);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(sntp[i], original[i]);

  now.server = std::string(40, 'y');  // bounded by the field
  StoreTimeServer(now, before, sntp);
  EXPECT_EQ(sntp[35], 0);

  now = LoadTimeServer(sntp);
  now.autoServer = 1;
  now.zone = 18;
  EXPECT_TRUE(StoreTimeServerNow(now, sntp));
  EXPECT_EQ(sntp[8], 0);
  EXPECT_EQ(static_cast<int8_t>(sntp[2]), -3);
  EXPECT_EQ(static_cast<int8_t>(sntp[3]), -30);
  EXPECT_EQ(sntp[5], 18);
  EXPECT_FALSE(StoreTimeServerNow(now, sntp));
}

}  // namespace
