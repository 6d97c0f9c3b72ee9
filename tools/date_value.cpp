#include "tools/date_value.h"

#include <cmath>
#include <cstdio>

namespace {

// Days from 1 March of year 0 style civil counting; valid for any year >= 0.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);
constexpr int kSecondsPerDay = 86400;

}  // namespace

int GetDaysInMonth(int month, int year) {
  static const int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month];
}

DateValue DateValue::FromFields(int year, int month, int day, int hour, int minute, int second) {
  DateValue v;
  if (year < 0 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > GetDaysInMonth(month, year) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59) {
    v.valid = false;
    return v;
  }
  const int64_t days = DaysFromCivil(year, month, day) - kOleEpoch;
  const double fraction =
      (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
  // Before the epoch the whole days count down while the time of day still counts up.
  v.date = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return v;
}

bool DateValue::BreakDown(DateFields& f) const {
  if (!valid || !std::isfinite(date) || std::fabs(date) > 3.0e6) return false;
  int64_t days = static_cast<int64_t>(date);  // toward zero
  double fraction = std::fabs(date - static_cast<double>(days));
  int64_t seconds = std::llround(fraction * kSecondsPerDay);
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    days += date >= 0 ? 1 : -1;
  }
  const int64_t serial = days + kOleEpoch;
  CivilFromDays(serial, f.year, f.month, f.day);
  if (f.year < 0 || f.year > 9999) return false;
  f.hour = static_cast<int>(seconds / 3600);
  f.minute = static_cast<int>(seconds / 60 % 60);
  f.second = static_cast<int>(seconds % 60);
  // 1 January 1970 (serial 0) was a Thursday.
  f.weekday = static_cast<int>(((serial % 7 + 7 + 4) % 7)) + 1;
  return true;
}

bool CalendarIsLeapYear(int year, int gregorian) {
  if (gregorian == 1) return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
  return year % 4 == 0;
}

int CalendarDayOfWeek(int day, int month, int year, int gregorian) {
  const int a = (14 - month) / 12;
  const int y = year - a;
  const int m = month + 12 * a - 2;
  if (gregorian == 1) return (day + y + y / 4 - y / 100 + y / 400 + (31 * m) / 12) % 7;
  return (day + y + 5 + y / 4 + (31 * m) / 12) % 7;
}

int FirstDayOfWeekFromLocale(const std::string& setting) {
  if (setting.empty()) return 1;
  const int c = static_cast<unsigned char>(setting[0]);
  const int day = (c - 47) % 7;
  return day >= 0 && day <= 6 ? day : 1;
}

const char* MonthName(int month) {
  static const char* const kNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

const char* WeekdayAbbreviation(int weekday0) {
  static const char* const kNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  return weekday0 >= 0 && weekday0 <= 6 ? kNames[weekday0] : "";
}

std::string FormatDate(const DateFields& f, const char* format) {
  std::string out;
  char number[16];
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%' || p[1] == '\0') {
      out += *p;
      continue;
    }
    switch (*++p) {
      case 'a':
        out += WeekdayAbbreviation(f.weekday - 1);
        break;
      case 'B':
        out += MonthName(f.month);
        break;
      case 'Y':
        std::snprintf(number, sizeof number, "%04d", f.year);
        out += number;
        break;
      case 'd':
        std::snprintf(number, sizeof number, "%02d", f.day);
        out += number;
        break;
      case 'H':
        std::snprintf(number, sizeof number, "%02d", f.hour);
        out += number;
        break;
      case 'I':
        std::snprintf(number, sizeof number, "%02d", f.hour % 12 == 0 ? 12 : f.hour % 12);
        out += number;
        break;
      case 'M':
        std::snprintf(number, sizeof number, "%02d", f.minute);
        out += number;
        break;
      case 'S':
        std::snprintf(number, sizeof number, "%02d", f.second);
        out += number;
        break;
      case 'p':
        out += f.hour < 12 ? "AM" : "PM";
        break;
      case '%':
        out += '%';
        break;
      default:
        out += '%';
        out += *p;
        break;
    }
  }
  return out;
}
