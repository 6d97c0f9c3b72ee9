#include "devsim/device_clock.h"

#include <cstdio>
#include <ctime>

namespace devsim {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  int64_t era = (y >= 0 ? y : y - 399) / 400;
  int64_t yoe = y - era * 400;
  int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int* year, int* month, int* day) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  *day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *year = static_cast<int>(yoe + era * 400 + (*month <= 2));
}

const int64_t kDaysTo2000 = DaysFromCivil(2000, 1, 1);

bool ReadNumber(std::string_view text, size_t pos, size_t digits, int* out) {
  if (pos + digits > text.size()) return false;
  int v = 0;
  for (size_t i = pos; i < pos + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = v * 10 + (text[i] - '0');
  }
  *out = v;
  return true;
}

}  // namespace

int64_t SecondsSince2000(const DeviceClock& c) {
  int64_t days = DaysFromCivil(c.year, c.month, c.day) - kDaysTo2000;
  return ((days * 24 + c.hour) * 60 + c.minute) * 60 + c.second;
}

DeviceClock ClockFromSecondsSince2000(int64_t seconds) {
  int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  int64_t rest = seconds - days * 86400;
  DeviceClock c;
  CivilFromDays(days + kDaysTo2000, &c.year, &c.month, &c.day);
  c.hour = static_cast<int>(rest / 3600);
  c.minute = static_cast<int>(rest / 60 % 60);
  c.second = static_cast<int>(rest % 60);
  return c;
}

std::optional<DeviceClock> ParseClockText(std::string_view t) {
  // YYYY-MM-DDTHH:MM:SS
  if (t.size() != 19 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' ||
      t[16] != ':') {
    return std::nullopt;
  }
  DeviceClock c;
  if (!ReadNumber(t, 0, 4, &c.year) || !ReadNumber(t, 5, 2, &c.month) ||
      !ReadNumber(t, 8, 2, &c.day) || !ReadNumber(t, 11, 2, &c.hour) ||
      !ReadNumber(t, 14, 2, &c.minute) || !ReadNumber(t, 17, 2, &c.second)) {
    return std::nullopt;
  }
  if (c.year < 2000 || c.year > 2063 || c.month < 1 || c.month > 12 || c.day < 1 || c.hour > 23 ||
      c.minute > 59 || c.second > 59) {
    return std::nullopt;
  }
  // The day must exist in its month.
  if (ClockFromSecondsSince2000(SecondsSince2000(c)) != c) return std::nullopt;
  return c;
}

std::string FormatClock(const DeviceClock& c) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                c.minute, c.second);
  return text;
}

DeviceClock LocalClock(std::chrono::system_clock::time_point when) {
  std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm tm{};
  localtime_r(&t, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace devsim
