#include "settings/dvr_query_pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "net/cgi_command_table.h"

namespace {

TEST(DvrQueryPages, FirmwareGate) {
  struct Case {
    const char* product;
    const char* fw;
    bool enabled;
  } cases[] = {{"RZ1K", "1057", false}, {"RZ1K", "1058", true},  {"RZ3K", "1100", true},
               {"RZ4K", "0999", false}, {"RZ4K", "10580", true}, {"RZ2K", "1058", false},
               {"RZ8P", "2000", false}};
  for (const auto& c : cases)
    EXPECT_EQ(DvrQueryPagesEnabled(c.product, c.fw), c.enabled) << c.product << " " << c.fw;
}

TEST(DvrQueryPages, DateReply) {
  DvrDateInfo d;
  d.AdjustMinute = 30;  // not in the reply: kept
  ParseDvrDateReply("YEAR=2006;MONTH=5;DAY=17;HOUR=9;MINUTE=30;SECOND=0;FORMAT=1;", d);
  EXPECT_EQ(d.Year, 2006);
  EXPECT_EQ(d.Month, 5);
  EXPECT_EQ(d.Day, 17);
  EXPECT_EQ(d.Hour, 9);
  EXPECT_EQ(d.Minute, 30);
  EXPECT_EQ(d.Second, 0);
  EXPECT_EQ(d.Format, 1);
  EXPECT_EQ(d.AdjustMinute, 30);
  EXPECT_STREQ(DvrDatePickerFormat(d.Format), "MMM - dd - yyyy");
  EXPECT_STREQ(DvrDatePickerFormat(7), "yyyy - MMM - dd");
}

TEST(DvrQueryPages, ReplyKeysAreMatchedWhole) {
  DvrDateInfo d;
  // The longer keys first: a plain search would read DAY from "STARTDAYOFWEEK".
  ParseDvrDateReply(
      "DAYLIGHTSAVING=1;STARTDAYOFWEEK=6;ENDMONTH=10;STARTHOUR=2;DAY=17;MONTH=3;HOUR=4;", d);
  EXPECT_EQ(d.Day, 17);
  EXPECT_EQ(d.DaylightSaving, 1);
  EXPECT_EQ(d.StartDayOfWeek, 6);
  EXPECT_EQ(d.Month, 3);
  EXPECT_EQ(d.EndMonth, 10);
  EXPECT_EQ(d.Hour, 4);
  EXPECT_EQ(d.StartHour, 2);

  DvrRecordInfo r;
  ParseDvrRecordReply("MANUALRATETYPE=2;TIMERRATETYPE=3;MANUAL=1;TIMER=0;QUALITY=10;", r);
  EXPECT_EQ(r.Manual, 1);
  EXPECT_EQ(r.ManualRateType, 2);
  EXPECT_EQ(r.Timer, 0);
  EXPECT_EQ(r.TimerRateType, 3);
  EXPECT_EQ(r.Quality, 10);

  // An item without its ";" at the end of the reply is not read; a zero ends the reply.
  DvrRecordInfo cut;
  ParseDvrRecordReply("EVENT=1;OVERWRITE=1", cut);
  EXPECT_EQ(cut.Event, 1);
  EXPECT_EQ(cut.Overwrite, 0);
  ParseDvrRecordReply(std::string_view("SUPPORTMODE=7\0;", 15), cut);
  EXPECT_EQ(cut.SupportMode, 0);
}

DvrDatePageValues PageOf(const DvrDateInfo& d, int dayOfWeek) {
  DvrDatePageValues p;
  p.year = d.Year;
  p.month = d.Month;
  p.day = d.Day;
  p.dayOfWeek = dayOfWeek;
  p.hour = d.Hour;
  p.minute = d.Minute;
  p.second = d.Second;
  p.format = d.Format;
  p.daylightSaving = d.DaylightSaving;
  p.startWeekIndex = d.StartWeekIndex;
  p.startDayOfWeek = d.StartDayOfWeek;
  p.startMonth = d.StartMonth;
  p.endWeekIndex = d.EndWeekIndex;
  p.endDayOfWeek = d.EndDayOfWeek;
  p.endMonth = d.EndMonth;
  p.startHour = d.StartHour;
  p.startMinute = d.StartMinute;
  p.endHour = d.EndHour;
  p.endMinute = d.EndMinute;
  p.adjustHour = d.AdjustHour;
  p.adjustMinute = d.AdjustMinute;
  return p;
}

std::string DateQuery(const DvrDateInfo& f, const DvrDatePageValues& p, const DvrDateChanges& c) {
  CGIParamList q(kCgiSetDvrDate);
  BuildSetDvrDateQuery(q, "C0FFEE", f, p, c);
  return q.m_strQuery;
}

TEST(DvrQueryPages, SetDvrDateOnlyFormatChanged) {
  DvrDateInfo fetched;
  ParseDvrDateReply(
      "YEAR=2006;MONTH=5;DAY=17;HOUR=9;MINUTE=30;SECOND=0;FORMAT=1;DAYLIGHTSAVING=1;"
      "STARTWEEKINDEX=0;STARTDAYOFWEEK=0;STARTMONTH=2;STARTHOUR=2;STARTMINUTE=0;"
      "ENDWEEKINDEX=4;ENDDAYOFWEEK=0;ENDMONTH=9;ENDHOUR=3;ENDMINUTE=0;ADJUSTHOUR=1;ADJUSTMINUTE=0;",
      fetched);
  DvrDatePageValues page = PageOf(fetched, 3);
  EXPECT_FALSE(ApplyDvrDatePage(fetched, page).Any());

  page.format = 2;
  const DvrDateChanges c = ApplyDvrDatePage(fetched, page);
  EXPECT_EQ(DateQuery(fetched, page, c),
            "/SetDvrDate.cgi?Cookie=C0FFEE&YEAR=2006&MONTH=5&DAY=17&DAYOFWEEK=3&HOUR=9&MINUTE=30"
            "&SECOND=0&FORMAT=2&DAYLIGHTSAVING=1&CHDATE=0&CHFORMAT=1&CHDAYLIGHT=0"
            "&CHDAYLIGHTTIME=0&STARTWEEKINDEX=0&STARTDAYOFWEEK=0&STARTMONTH=2&STARTHOUR=2"
            "&STARTMINUTE=0&ENDWEEKINDEX=4&ENDDAYOFWEEK=0&ENDMONTH=9&ENDHOUR=3&ENDMINUTE=0"
            "&ADJUSTHOUR=1&ADJUSTMINUTE=0");
  // The format is compared with what was fetched, so a second APPLY reports it again.
  EXPECT_TRUE(ApplyDvrDatePage(fetched, page).format);
}

TEST(DvrQueryPages, SetDvrDateDateAndRuleTimes) {
  DvrDateInfo fetched;
  ParseDvrDateReply("YEAR=2006;MONTH=5;DAY=17;HOUR=9;MINUTE=30;SECOND=0;", fetched);
  DvrDatePageValues page = PageOf(fetched, 3);
  page.day = 18;
  page.endHour = 4;
  page.endMinute = 15;
  DvrDateChanges c = ApplyDvrDatePage(fetched, page);
  EXPECT_TRUE(c.date);
  EXPECT_FALSE(c.format);
  EXPECT_FALSE(c.daylight);
  EXPECT_TRUE(c.daylightTime);
  EXPECT_EQ(fetched.Day, 18);
  EXPECT_EQ(fetched.EndHour, 4);
  EXPECT_EQ(fetched.EndMinute, 15);
  // The date and the times were taken: the second APPLY has nothing to send.
  EXPECT_FALSE(ApplyDvrDatePage(fetched, page).Any());

  // A rule list without a choice is no change and sends the fetched value.
  page.startMonth = -1;
  c = ApplyDvrDatePage(fetched, page);
  EXPECT_FALSE(c.Any());
  EXPECT_NE(DateQuery(fetched, page, c).find("&STARTMONTH=0&"), std::string::npos);
}

DvrRecordPageValues PageOf(const DvrRecordInfo& r) {
  DvrRecordPageValues p;
  p.manual = r.Manual;
  p.event = r.Event;
  p.timer = r.Timer;
  p.overwrite = r.Overwrite;
  p.quality = r.Quality;
  p.recMode = r.RecMode;
  p.eventRate = r.MotionRateType;
  p.manualRate = r.ManualRateType;
  p.timerRate = r.TimerRateType;
  p.recordFix = r.RecordFix;
  return p;
}

std::string RecordQuery(const DvrRecordInfo& f, const DvrRecordPageValues& p) {
  CGIParamList q(kCgiSetRecordSetting);
  BuildSetRecordSettingQuery(q, "C0FFEE", f, p);
  return q.m_strQuery;
}

TEST(DvrQueryPages, SetRecordSettingQueries) {
  DvrRecordInfo fetched;
  ParseDvrRecordReply(
      "MANUAL=1;EVENT=1;TIMER=1;VIDEOTYPE=0;RECMODE=0;MANUALRATETYPE=0;MOTIONRATETYPE=1;"
      "TIMERRATETYPE=2;OVERWRITE=1;QUALITY=8;RECORDFIX=1;SUPPORTMODE=7;SUPPORTIPSSHARE=3;",
      fetched);
  DvrRecordPageValues page = PageOf(fetched);
  EXPECT_EQ(RecordQuery(fetched, page),
            "/SetRecordSetting.cgi?Cookie=C0FFEE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0"
            "&CHQT=0&CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1"
            "&RECORDFIX=1");

  page.overwrite = 0;
  EXPECT_EQ(RecordQuery(fetched, page),
            "/SetRecordSetting.cgi?Cookie=C0FFEE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=1"
            "&OVERWRITE=0&CHQT=0&CHRECMODE=0&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0"
            "&CHIPSSHARE=1&RECORDFIX=1");

  page = PageOf(fetched);
  page.quality = static_cast<uint8_t>(DvrQualityCode(2));  // "NORMAL"
  page.recMode = 2;
  page.eventRate = 0;
  page.recordFix = 1;
  EXPECT_EQ(RecordQuery(fetched, page),
            "/SetRecordSetting.cgi?Cookie=C0FFEE&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0"
            "&CHQT=1&QUALITY=10&CHRECMODE=1&RECMODE=2&CHMOTIONRATE=1&MOTIONRATETYPE=0"
            "&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=1");

  // Without a cookie and with a rate list without a choice.
  page = PageOf(fetched);
  page.timerRate = -1;
  CGIParamList q(kCgiSetRecordSetting);
  BuildSetRecordSettingQuery(q, "", fetched, page);
  EXPECT_EQ(q.m_strQuery.rfind("/SetRecordSetting.cgi?CHMANUALREC=0&", 0), 0u);
  EXPECT_NE(q.m_strQuery.find("&CHTIMERRATE=0&"), std::string::npos);
}

TEST(DvrQueryPages, QualityCodes) {
  EXPECT_EQ(DvrQualityIndex(6), 0);
  EXPECT_EQ(DvrQualityIndex(16), 3);
  EXPECT_EQ(DvrQualityIndex(7), -1);
  EXPECT_EQ(DvrQualityCode(2), 10);
  EXPECT_EQ(DvrQualityCode(4), -1);
}

TEST(DvrQueryPages, IpsTable) {
  using Row = std::array<uint16_t, 4>;
  struct Case {
    int channels;
    uint8_t videoType, size;
    Row row;
  } cases[] = {
      {16, 0, 0, {120, 60, 30, 15}},   {16, 0, 1, {240, 120, 60, 30}},
      {16, 0, 2, {480, 240, 120, 60}}, {16, 1, 0, {100, 50, 25, 12}},
      {16, 1, 1, {200, 100, 50, 25}},  {16, 1, 2, {400, 200, 100, 50}},
      {8, 0, 0, {60, 30, 15, 7}},      {8, 0, 1, {120, 60, 30, 15}},
      {8, 0, 2, {240, 120, 60, 30}},   {8, 1, 0, {50, 25, 12, 6}},
      {8, 1, 1, {100, 50, 25, 12}},    {8, 1, 2, {200, 100, 50, 25}},
      {4, 0, 0, {30, 15, 7, 3}},       {4, 0, 1, {60, 30, 15, 7}},
      {4, 0, 2, {120, 60, 30, 15}},    {4, 1, 0, {25, 12, 6, 3}},
      {4, 1, 1, {50, 25, 12, 6}},      {4, 1, 2, {100, 50, 25, 12}},
      {9, 0, 0, {30, 15, 7, 3}},       {16, 0, 3, {120, 60, 30, 15}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DvrIpsRow(c.channels, c.videoType, c.size), c.row)
        << c.channels << "/" << int{c.videoType} << "/" << int{c.size};
}

TEST(DvrQueryPages, TimerRangesInTheBlock) {
  uint8_t block[132];
  for (size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<uint8_t>(i * 5 + 1);
  block[87] = 8;
  block[94] = 0x00;
  block[95] = 0x08;
  block[108] = 0x30;
  block[109] = 0x11;
  block[120] = 0x00;  // range 7 ends at 18:00
  block[121] = 0x12;
  const TimerRanges stored = ReadTimerRanges(block);
  EXPECT_STREQ(kTimerDayTexts[stored[0].byDay], "MON-FRI");
  EXPECT_EQ(TimerPickerTime(stored[0].wStart), (TimerTime{8, 0}));
  EXPECT_EQ(TimerPickerTime(stored[0].wEnd), (TimerTime{17, 48}));

  // Range 7's end set to 23:59: only its end word changes.
  TimerRanges page = stored;
  TimerRowValues row{stored[6].byDay, TimerPickerTime(stored[6].wStart), {23, 59}};
  page[6] = TimerRangeOf(stored[6], row);
  EXPECT_EQ(page[6].wEnd, 0x173B);
  uint8_t after[132];
  std::memcpy(after, block, sizeof after);
  WriteTimerRanges(after, page);
  for (size_t i = 0; i < sizeof after; ++i) {
    if (i == 120)
      EXPECT_EQ(after[i], 0x3B);
    else if (i == 121)
      EXPECT_EQ(after[i], 0x17);
    else
      EXPECT_EQ(after[i], block[i]) << "byte " << i;
  }
}

TEST(DvrQueryPages, TimerRowsKeepWhatThePageCannotShow) {
  const TimerRange stored{12, 0x1940 /* 25:64 */, 0x0500};
  // A day outside the list and untouched pickers give the range back unchanged.
  for (int day : {-1, 11, 200}) {
    const TimerRowValues row{day, TimerPickerTime(stored.wStart), TimerPickerTime(stored.wEnd)};
    EXPECT_EQ(TimerPickerTime(stored.wStart), (TimerTime{23, 59}));
    EXPECT_EQ(TimerRangeOf(stored, row), stored) << day;
  }
  const TimerRowValues changed{10, {6, 30}, {5, 0}};
  EXPECT_EQ(TimerRangeOf(stored, changed), (TimerRange{10, 0x061E, 0x0500}));
}

}  // namespace
