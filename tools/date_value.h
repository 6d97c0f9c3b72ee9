// The date value of the calendar popup and the date-time editor: an OLE Automation date (days
// since 30 December 1899 00:00, the fraction the time of day) with a valid flag, built from and
// broken down into calendar fields; month lengths; the calendar's weekday and leap-year rules;
// English ("C" locale) month and weekday names.
#pragma once

#include <cstdint>
#include <string>

struct DateFields {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;
  int hour = 0;  // 0..23
  int minute = 0;
  int second = 0;
  int weekday = 7;  // 1 Sunday .. 7 Saturday; filled by BreakDown
  bool operator==(const DateFields& o) const {
    return year == o.year && month == o.month && day == o.day && hour == o.hour &&
           minute == o.minute && second == o.second;
  }
};

struct DateValue {
  double date = 0.0;
  bool valid = true;

  // Invalid when the fields form no real date and time in the years 0..9999.
  static DateValue FromFields(int year, int month, int day, int hour, int minute, int second);
  static DateValue FromFields(const DateFields& f) {
    return FromFields(f.year, f.month, f.day, f.hour, f.minute, f.second);
  }
  // The fields of a valid value (seconds rounded to the nearest); false for an invalid one.
  bool BreakDown(DateFields& fields) const;
  bool operator==(const DateValue& o) const { return valid == o.valid && date == o.date; }
};

// Length of `month` (1..12) in `year` (Gregorian leap years).
int GetDaysInMonth(int month, int year);

// The calendar's own rules: Gregorian with the flag 1, Julian otherwise.
bool CalendarIsLeapYear(int year, int gregorian);
// 0 Sunday .. 6 Saturday.
int CalendarDayOfWeek(int day, int month, int year, int gregorian);
// The first day of the week (0 Sunday .. 6 Saturday) from the locale's setting, whose first
// character is "0" for Monday .. "6" for Sunday; anything else gives Monday.
int FirstDayOfWeekFromLocale(const std::string& setting);

// "January" .. "December"; "Sun" .. "Sat" (0 Sunday).
const char* MonthName(int month);
const char* WeekdayAbbreviation(int weekday0);

// The date-formatting directives used by the controls: %a %B %Y %d %H %I %M %S %p and %%.
std::string FormatDate(const DateFields& fields, const char* format);
