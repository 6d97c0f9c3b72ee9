// The recorder's clock and record settings over query keys: replies with the short keys first,
// the Set commands checked key by key and applied by their change flags, older firmware without
// the four commands.
#include <string>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

constexpr char kDateRule[] =
    "FORMAT=0;DAYLIGHTSAVING=0;STARTWEEKINDEX=1;STARTDAYOFWEEK=0;STARTMONTH=2;STARTHOUR=2;"
    "STARTMINUTE=0;ENDWEEKINDEX=0;ENDDAYOFWEEK=0;ENDMONTH=10;ENDHOUR=2;ENDMINUTE=0;ADJUSTHOUR=1;"
    "ADJUSTMINUTE=0;";

std::string SetDate(const std::string& cookie, const std::string& date, const std::string& flags,
                    const std::string& rule,
                    const std::string& format = "FORMAT=0&DAYLIGHTSAVING=0") {
  return "/SetDvrDate.cgi?Cookie=" + cookie + "&" + date + "&" + format + "&" + flags + "&" + rule;
}

constexpr char kDate[] = "YEAR=2006&MONTH=5&DAY=18&DAYOFWEEK=4&HOUR=9&MINUTE=30&SECOND=0";
constexpr char kRule[] =
    "STARTWEEKINDEX=4&STARTDAYOFWEEK=0&STARTMONTH=2&STARTHOUR=3&STARTMINUTE=0&ENDWEEKINDEX=4"
    "&ENDDAYOFWEEK=0&ENDMONTH=9&ENDHOUR=3&ENDMINUTE=0&ADJUSTHOUR=1&ADJUSTMINUTE=30";

TEST_F(DevsimTest, DvrDateIsReportedAndSetByItsChangeFlags) {
  StartDevsim(
      {"--product", "RZ1K", "--firmware", "1058", "--set", "dvrdate.clock=2006-05-17T09:30:00"});
  const std::string cookie = Login();
  const auto date = [&] { return Get("/GetDvrDate.cgi?Cookie=" + cookie).body; };
  EXPECT_EQ(date(), std::string("YEAR=2006;MONTH=5;DAY=17;HOUR=9;MINUTE=30;SECOND=0;") + kDateRule);

  // Only the format: the date and the rule sent along are not taken.
  EXPECT_EQ(Get(SetDate(cookie, kDate, "CHDATE=0&CHFORMAT=1&CHDAYLIGHT=0&CHDAYLIGHTTIME=0", kRule,
                        "FORMAT=2&DAYLIGHTSAVING=1"))
                .status,
            200);
  EXPECT_EQ(date(), std::string("YEAR=2006;MONTH=5;DAY=17;HOUR=9;MINUTE=30;SECOND=0;FORMAT=2;") +
                        (kDateRule + std::string(kDateRule).find("DAYLIGHTSAVING")));
  // Date, switch and rule.
  EXPECT_EQ(Get(SetDate(cookie, kDate, "CHDATE=1&CHFORMAT=0&CHDAYLIGHT=1&CHDAYLIGHTTIME=1", kRule,
                        "FORMAT=0&DAYLIGHTSAVING=1"))
                .status,
            200);
  EXPECT_EQ(date(),
            "YEAR=2006;MONTH=5;DAY=18;HOUR=9;MINUTE=30;SECOND=0;FORMAT=2;DAYLIGHTSAVING=1;"
            "STARTWEEKINDEX=4;STARTDAYOFWEEK=0;STARTMONTH=2;STARTHOUR=3;STARTMINUTE=0;"
            "ENDWEEKINDEX=4;ENDDAYOFWEEK=0;ENDMONTH=9;ENDHOUR=3;ENDMINUTE=0;ADJUSTHOUR=1;"
            "ADJUSTMINUTE=30;");
  const auto lines = LogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2]["decoded"].text, "format=2");
  EXPECT_EQ(lines[4]["decoded"].text, "date=2006-05-18 09:30:00 daylight=1 rule");
}

TEST_F(DevsimTest, SetDvrDateRefusesKeysOutOfOrderOrRange) {
  StartDevsim(
      {"--product", "RZ4K", "--firmware", "1058", "--set", "dvrdate.clock=2006-05-17T09:30:00"});
  const std::string cookie = Login();
  const std::string before = Get("/GetDvrDate.cgi?Cookie=" + cookie).body;
  const std::string flags = "CHDATE=1&CHFORMAT=0&CHDAYLIGHT=0&CHDAYLIGHTTIME=0";
  const std::string bad[] = {
      SetDate(cookie, "YEAR=2006&MONTH=2&DAY=30&DAYOFWEEK=4&HOUR=9&MINUTE=30&SECOND=0", flags,
              kRule),
      SetDate(cookie, "MONTH=5&YEAR=2006&DAY=18&DAYOFWEEK=4&HOUR=9&MINUTE=30&SECOND=0", flags,
              kRule),
      SetDate(cookie, kDate, "CHDATE=2&CHFORMAT=0&CHDAYLIGHT=0&CHDAYLIGHTTIME=0", kRule),
      SetDate(
          cookie, kDate, "CHDATE=0&CHFORMAT=0&CHDAYLIGHT=0&CHDAYLIGHTTIME=1",
          std::string(kRule).replace(std::string(kRule).find("STARTMONTH=2"), 12, "STARTMONTH=12")),
      SetDate(cookie, kDate, flags, "STARTWEEKINDEX=4"),
  };
  for (const auto& q : bad) EXPECT_EQ(Get(q).status, 400) << q;
  EXPECT_EQ(Get("/GetDvrDate.cgi?Cookie=" + cookie).body, before);
}

TEST_F(DevsimTest, OlderFirmwareAndOtherDevicesLackTheQueryCommands) {
  struct Case {
    const char* product;
    const char* firmware;
    int status;
  } cases[] = {{"RZ1K", "1057", 404}, {"RZ3K", "1058", 200}, {"RZ2K", "1060", 404}};
  for (const auto& c : cases) {
    StartDevsim({"--product", c.product, "--firmware", c.firmware});
    const std::string cookie = Login();
    EXPECT_EQ(Get("/GetDvrDate.cgi?Cookie=" + cookie).status, c.status) << c.product << c.firmware;
    EXPECT_EQ(Get("/GetRecordSetting.cgi?Cookie=" + cookie).status, c.status) << c.product;
    devsim_.Stop();
  }
}

TEST_F(DevsimTest, RecordSettingIsReportedAndSetByItsChangeFlags) {
  StartDevsim({"--product", "RZ1K", "--firmware", "1058", "--set", "videomode=1"});
  const std::string cookie = Login();
  const auto settings = [&] { return Get("/GetRecordSetting.cgi?Cookie=" + cookie).body; };
  EXPECT_EQ(settings(),
            "MANUAL=1;EVENT=1;TIMER=0;VIDEOTYPE=1;RECMODE=0;MANUALRATETYPE=0;MOTIONRATETYPE=1;"
            "TIMERRATETYPE=2;OVERWRITE=1;QUALITY=8;RECORDFIX=1;SUPPORTMODE=7;SUPPORTIPSSHARE=3;");
  const std::string set = "/SetRecordSetting.cgi?Cookie=" + cookie;
  EXPECT_EQ(Get(set + "&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=1&OVERWRITE=0&CHQT=1"
                      "&QUALITY=10&CHRECMODE=1&RECMODE=2&CHMOTIONRATE=1&MOTIONRATETYPE=0"
                      "&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=1")
                .status,
            200);
  EXPECT_EQ(settings(),
            "MANUAL=1;EVENT=1;TIMER=0;VIDEOTYPE=1;RECMODE=2;MANUALRATETYPE=0;MOTIONRATETYPE=0;"
            "TIMERRATETYPE=2;OVERWRITE=0;QUALITY=10;RECORDFIX=1;SUPPORTMODE=7;SUPPORTIPSSHARE=3;");
  const auto lines = LogLines();  // login, get, set, get
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2]["decoded"].text,
            "overwrite=0 quality=10 recmode=2 motionratetype=0 recordfix=1");

  // Refused, nothing changed: a value key without its change flag, a quality code the device
  // lacks, an image size SUPPORTMODE does not allow, a missing change key.
  Control("/_devsim/set?dvrrec.supportmode=3");
  const std::string after = settings();
  const std::string zeros = "&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=0";
  const std::string tail = "&CHMOTIONRATE=0&CHMANUALRATE=0&CHTIMERRATE=0&CHIPSSHARE=1&RECORDFIX=0";
  const std::string bad[] = {
      set + "&CHMANUALREC=0&MANUAL=1" + zeros + "&CHRECMODE=0" + tail,
      set + "&CHMANUALREC=0&CHEVENTREC=0&CHTIMERREC=0&CHOV=0&CHQT=1&QUALITY=9&CHRECMODE=0" + tail,
      set + "&CHMANUALREC=0" + zeros + "&CHRECMODE=1&RECMODE=2" + tail,
      set + "&CHMANUALREC=0" + zeros + tail,
  };
  for (const auto& q : bad) EXPECT_EQ(Get(q).status, 400) << q;
  EXPECT_EQ(settings(), after);
}

}  // namespace
}  // namespace devsim_test
