#include "settings/carried_page_rules.h"

#include <algorithm>
#include <cstdio>

#include "settings/dvr_channel_rows.h"

int RetrLimitHour(const std::string& text) {
  return ClampDigits(text, 0, 23);
}
int RetrLimitMinute(const std::string& text) {
  return ClampDigits(text, 0, 59);
}

const char* ScheduleResultText(ScheduleResult result) {
  switch (result) {
    case ScheduleResult::kWrongTime:
      return "Time setting is wrong";
    case ScheduleResult::kCovered:
      return "Time setting is covered with other setting";
    case ScheduleResult::kFull:
      return "Schedule record setting is too many,you could not add any more.";
    default:
      return "";
  }
}

bool ScheduleList::Overlaps(const SchedulePeriod& p, int skip) const {
  for (int i = 0; i < m_count; ++i) {
    if (i == skip) continue;
    const SchedulePeriod& q = m_periods[static_cast<size_t>(i)];
    const bool after = p.start > q.end && p.end > q.end;
    const bool before = p.start < q.start && p.end < q.start;
    if (!after && !before) return true;
  }
  return false;
}

void ScheduleList::Sort() {
  std::stable_sort(
      m_periods.begin(), m_periods.begin() + m_count,
      [](const SchedulePeriod& a, const SchedulePeriod& b) { return a.start < b.start; });
}

ScheduleResult ScheduleList::Add(const SchedulePeriod& p) {
  if (p.start >= p.end) return ScheduleResult::kWrongTime;
  if (Overlaps(p, -1)) return ScheduleResult::kCovered;
  if (m_count >= kSlots) return ScheduleResult::kFull;
  m_periods[static_cast<size_t>(m_count++)] = p;
  Sort();
  return ScheduleResult::kDone;
}

ScheduleResult ScheduleList::Edit(int i, const SchedulePeriod& p) {
  if (i < 0 || i >= m_count) return ScheduleResult::kNoSelection;
  if (p.start >= p.end) return ScheduleResult::kWrongTime;
  if (Overlaps(p, i)) return ScheduleResult::kCovered;
  m_periods[static_cast<size_t>(i)] = p;
  Sort();
  return ScheduleResult::kDone;
}

ScheduleResult ScheduleList::Delete(int i) {
  if (i < 0 || i >= m_count) return ScheduleResult::kNoSelection;
  std::copy(m_periods.begin() + i + 1, m_periods.begin() + m_count, m_periods.begin() + i);
  m_periods[static_cast<size_t>(--m_count)] = {};
  return ScheduleResult::kDone;
}

namespace {
// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
}  // namespace

int64_t ScheduleSeconds(const ScheduleCivil& c) {
  return DaysFromCivil(c.year, c.month, c.day) * 86400 + c.hour * 3600 + c.minute * 60 + c.second;
}

ScheduleCivil ScheduleCivilOf(int64_t seconds) {
  int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  ScheduleCivil c;
  c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  c.year = static_cast<int>(yoe + era * 400 + (c.month <= 2));
  c.hour = static_cast<int>(rest / 3600);
  c.minute = static_cast<int>(rest % 3600 / 60);
  c.second = static_cast<int>(rest % 60);
  return c;
}

std::string ScheduleTimeText(int year, int month, int day, int hour, int minute, int second) {
  char text[40];
  std::snprintf(text, sizeof text, "%.4d.%.2d.%.2d %.2d:%.2d:%.2d", year, month, day, hour, minute,
                second);
  return text;
}

VideoSettingChoices VideoSettingChoicesOf(int width, int height,
                                          const std::array<uint8_t, 16>& record) {
  VideoSettingChoices c;
  if (width == 176 && (height == 112 || height == 144)) c.resolution = 2;
  if (width == 352 && (height == 240 || height == 288)) c.resolution = 1;
  if (width == 704 && (height == 480 || height == 576)) c.resolution = 0;
  if (record[2] == 0) c.videoType = 0;
  if (record[2] == 4) c.videoType = 1;
  const int rate = record[4] | (record[5] << 8);
  c.bitRate = rate <= 20    ? 0
              : rate <= 33  ? 1
              : rate <= 50  ? 2
              : rate <= 67  ? 3
              : rate <= 101 ? 4
              : rate <= 152 ? 5
                            : 6;
  const int quality = record[11];
  if (quality >= 1 && quality <= 49) c.jpegQuality = 0;
  if (quality >= 50 && quality <= 69) c.jpegQuality = 1;
  if (quality >= 70 && quality <= 100) c.jpegQuality = 2;
  return c;
}

std::array<const char*, 3> VideoResolutionTexts(uint8_t videoMode) {
  if (videoMode == 1) return {"704 x 576", "352 x 288", "176 x 144"};
  return {"704 x 480", "352 x 240", "176 x 112"};
}

const std::array<const char*, 7> kVideoBitRateTexts = {"512K", "640K", "1M",   "1.5M",
                                                       "2M",   "3M",   "Local"};

const char* RzmModelText(uint8_t model) {
  switch (model) {
    case 113:
    case 114:
      return "4CH NETWORK DVR (BASIC)";
    case 115:
      return "4CH NETWORK DVR (FULL)";
    case 118:
      return "9CH NETWORK DMR";
    case 119:
      return "16CH NETWORK DMR";
    case 132:
    case 138:
      return "4CH NETWORK MEPG2 DVR";
    default:
      return "";
  }
}
