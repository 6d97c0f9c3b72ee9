// The date value, month lengths, the calendar's weekday and first-day rules.
#include "tools/date_value.h"

#include <gtest/gtest.h>

namespace {

TEST(DateValue, MonthLengths) {
  struct Case {
    int month, year, days;
  } cases[] = {{2, 1900, 28}, {2, 2000, 29}, {2, 2004, 29}, {2, 2006, 28},  {2, 2100, 28},
               {4, 2006, 30}, {4, 2000, 30}, {1, 2006, 31}, {12, 1999, 31}, {9, 2024, 30}};
  for (const Case& c : cases)
    EXPECT_EQ(GetDaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

TEST(DateValue, BuildsAndBreaksDown) {
  struct Case {
    int y, mo, d, h, mi, s;
    double date;
    int weekday;
  } cases[] = {
      {1899, 12, 30, 0, 0, 0, 0.0, 7},     // the epoch, a Saturday
      {1900, 1, 1, 0, 0, 0, 2.0, 2},       // Monday
      {2006, 1, 1, 12, 0, 0, 38718.5, 1},  // Sunday noon
      {2000, 3, 1, 6, 0, 0, 36586.25, 4},  // Wednesday
      {1899, 12, 29, 6, 0, 0, -1.25, 6},   // before the epoch the time still counts up
      {9999, 12, 31, 23, 59, 59, 2958465.0 + 86399.0 / 86400.0, 6},
      {100, 1, 1, 0, 0, 0, -657434.0, 6},
  };
  for (const Case& c : cases) {
    const DateValue v = DateValue::FromFields(c.y, c.mo, c.d, c.h, c.mi, c.s);
    ASSERT_TRUE(v.valid) << c.y << "-" << c.mo << "-" << c.d;
    EXPECT_DOUBLE_EQ(v.date, c.date) << c.y << "-" << c.mo << "-" << c.d;
    DateFields f;
    ASSERT_TRUE(v.BreakDown(f));
    EXPECT_EQ(f, (DateFields{c.y, c.mo, c.d, c.h, c.mi, c.s}));
    EXPECT_EQ(f.weekday, c.weekday) << c.y << "-" << c.mo << "-" << c.d;
  }
}

TEST(DateValue, FieldsThatAreNoRealDateGiveAnInvalidValue) {
  const int cases[][6] = {{2006, 4, 31, 0, 0, 0}, {2006, 1, 1, 24, 0, 0}, {2006, 13, 1, 0, 0, 0},
                          {2006, 0, 1, 0, 0, 0},  {2006, 2, 29, 0, 0, 0}, {2006, 1, 1, 0, 60, 0},
                          {2006, 1, 1, 0, 0, 60}, {10000, 1, 1, 0, 0, 0}, {-1, 1, 1, 0, 0, 0}};
  for (const auto& c : cases) {
    const DateValue v = DateValue::FromFields(c[0], c[1], c[2], c[3], c[4], c[5]);
    EXPECT_FALSE(v.valid) << c[0] << "-" << c[1] << "-" << c[2] << " " << c[3] << ":" << c[4];
    DateFields f;
    EXPECT_FALSE(v.BreakDown(f));
  }
  EXPECT_TRUE(DateValue::FromFields(2004, 2, 29, 23, 59, 59).valid);
}

TEST(DateValue, CalendarWeekdayAndLeapYearRules) {
  EXPECT_EQ(CalendarDayOfWeek(1, 1, 2006, 1), 0);
  EXPECT_EQ(CalendarDayOfWeek(1, 3, 2000, 1), 3);
  // Against the date value for the first of every month over a few centuries.
  for (int year = 1800; year <= 2200; year += 37)
    for (int month = 1; month <= 12; ++month) {
      DateFields f;
      ASSERT_TRUE(DateValue::FromFields(year, month, 1, 0, 0, 0).BreakDown(f));
      EXPECT_EQ(CalendarDayOfWeek(1, month, year, 1), f.weekday - 1) << month << "/" << year;
    }
  EXPECT_TRUE(CalendarIsLeapYear(2000, 1));
  EXPECT_FALSE(CalendarIsLeapYear(1900, 1));
  EXPECT_TRUE(CalendarIsLeapYear(1900, 0));
  EXPECT_FALSE(CalendarIsLeapYear(2006, 0));
}

TEST(DateValue, FirstDayOfWeekFromTheLocaleSetting) {
  const std::pair<const char*, int> cases[] = {{"0", 1}, {"1", 2}, {"5", 6}, {"6", 0},
                                               {"7", 1}, {"", 1},  {"-", 1}, {"x", 3}};
  for (const auto& [setting, day] : cases)
    EXPECT_EQ(FirstDayOfWeekFromLocale(setting), day) << "\"" << setting << "\"";
}

TEST(DateValue, Formats) {
  const DateFields f{2006, 1, 5, 13, 7, 9, 5};
  EXPECT_EQ(FormatDate(f, "%a %B %d %Y %H:%M:%S %I %p %%"), "Thu January 05 2006 13:07:09 01 PM %");
  EXPECT_EQ(FormatDate(DateFields{2006, 1, 5, 0, 0, 0, 5}, "%I %p"), "12 AM");
}

}  // namespace
