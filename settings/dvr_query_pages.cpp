#include "settings/dvr_query_pages.h"

#include <algorithm>

#include "net/device_family.h"
#include "net/key_value_items.h"
#include "net/sys_cfg_fields.h"

namespace {

template <typename T>
void ReadKey(std::string_view reply, std::string_view key, T& field) {
  if (const auto v = KeyValueItemNumber(reply, key)) field = static_cast<T>(*v);
}

// A combo's position, or the fetched value when nothing is chosen.
int Chosen(int position, int fetched) {
  return position >= 0 ? position : fetched;
}

static_assert(cfg::dvrrec::kTimers == kTimerRanges);

}  // namespace

bool DvrQueryPagesEnabled(std::string_view productId, std::string_view fwVersion) {
  return IsRZKSeriesProduct(productId) && !FirmwareOlderThan("1058", fwVersion);
}

// ---- Date -----------------------------------------------------------------------------------

void ParseDvrDateReply(std::string_view reply, DvrDateInfo& d) {
  ReadKey(reply, "YEAR", d.Year);
  ReadKey(reply, "MONTH", d.Month);
  ReadKey(reply, "DAY", d.Day);
  ReadKey(reply, "HOUR", d.Hour);
  ReadKey(reply, "MINUTE", d.Minute);
  ReadKey(reply, "SECOND", d.Second);
  ReadKey(reply, "FORMAT", d.Format);
  ReadKey(reply, "DAYLIGHTSAVING", d.DaylightSaving);
  ReadKey(reply, "STARTWEEKINDEX", d.StartWeekIndex);
  ReadKey(reply, "STARTDAYOFWEEK", d.StartDayOfWeek);
  ReadKey(reply, "STARTMONTH", d.StartMonth);
  ReadKey(reply, "STARTHOUR", d.StartHour);
  ReadKey(reply, "STARTMINUTE", d.StartMinute);
  ReadKey(reply, "ENDWEEKINDEX", d.EndWeekIndex);
  ReadKey(reply, "ENDDAYOFWEEK", d.EndDayOfWeek);
  ReadKey(reply, "ENDMONTH", d.EndMonth);
  ReadKey(reply, "ENDHOUR", d.EndHour);
  ReadKey(reply, "ENDMINUTE", d.EndMinute);
  ReadKey(reply, "ADJUSTHOUR", d.AdjustHour);
  ReadKey(reply, "ADJUSTMINUTE", d.AdjustMinute);
}

DvrDateChanges ApplyDvrDatePage(DvrDateInfo& f, const DvrDatePageValues& p) {
  DvrDateChanges c;
  const auto u16 = [](int v) { return static_cast<uint16_t>(v); };
  const auto u8 = [](int v) { return static_cast<uint8_t>(v); };
  if (f.Year != u16(p.year) || f.Month != u16(p.month) || f.Day != u16(p.day) ||
      f.Hour != u16(p.hour) || f.Minute != u16(p.minute) || f.Second != u16(p.second)) {
    c.date = true;
    f.Year = u16(p.year);
    f.Month = u16(p.month);
    f.Day = u16(p.day);
    f.Hour = u16(p.hour);
    f.Minute = u16(p.minute);
    f.Second = u16(p.second);
  }
  c.format = p.format >= 0 && u8(p.format) != f.Format;
  c.daylight = p.daylightSaving != f.DaylightSaving;
  const auto combo = [&](int position, uint8_t field) {
    return position >= 0 && u8(position) != field;
  };
  c.daylightTime = combo(p.startWeekIndex, f.StartWeekIndex) ||
                   combo(p.startDayOfWeek, f.StartDayOfWeek) || combo(p.startMonth, f.StartMonth) ||
                   combo(p.endWeekIndex, f.EndWeekIndex) || combo(p.endDayOfWeek, f.EndDayOfWeek) ||
                   combo(p.endMonth, f.EndMonth);
  const auto pair = [&](int hour, int minute, uint8_t& fh, uint8_t& fm) {
    if (fh == u8(hour) && fm == u8(minute)) return;
    fh = u8(hour);
    fm = u8(minute);
    c.daylightTime = true;
  };
  pair(p.startHour, p.startMinute, f.StartHour, f.StartMinute);
  pair(p.endHour, p.endMinute, f.EndHour, f.EndMinute);
  pair(p.adjustHour, p.adjustMinute, f.AdjustHour, f.AdjustMinute);
  return c;
}

void BuildSetDvrDateQuery(CGIParamList& q, std::string_view cookie, const DvrDateInfo& f,
                          const DvrDatePageValues& p, const DvrDateChanges& c) {
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  q.AddParamInt("YEAR", f.Year);
  q.AddParamInt("MONTH", f.Month);
  q.AddParamInt("DAY", f.Day);
  q.AddParamInt("DAYOFWEEK", p.dayOfWeek);
  q.AddParamInt("HOUR", f.Hour);
  q.AddParamInt("MINUTE", f.Minute);
  q.AddParamInt("SECOND", f.Second);
  q.AddParamInt("FORMAT", Chosen(p.format, f.Format));
  q.AddParamInt("DAYLIGHTSAVING", p.daylightSaving);
  q.AddParamInt("CHDATE", c.date ? 1 : 0);
  q.AddParamInt("CHFORMAT", c.format ? 1 : 0);
  q.AddParamInt("CHDAYLIGHT", c.daylight ? 1 : 0);
  q.AddParamInt("CHDAYLIGHTTIME", c.daylightTime ? 1 : 0);
  q.AddParamInt("STARTWEEKINDEX", Chosen(p.startWeekIndex, f.StartWeekIndex));
  q.AddParamInt("STARTDAYOFWEEK", Chosen(p.startDayOfWeek, f.StartDayOfWeek));
  q.AddParamInt("STARTMONTH", Chosen(p.startMonth, f.StartMonth));
  q.AddParamInt("STARTHOUR", f.StartHour);
  q.AddParamInt("STARTMINUTE", f.StartMinute);
  q.AddParamInt("ENDWEEKINDEX", Chosen(p.endWeekIndex, f.EndWeekIndex));
  q.AddParamInt("ENDDAYOFWEEK", Chosen(p.endDayOfWeek, f.EndDayOfWeek));
  q.AddParamInt("ENDMONTH", Chosen(p.endMonth, f.EndMonth));
  q.AddParamInt("ENDHOUR", f.EndHour);
  q.AddParamInt("ENDMINUTE", f.EndMinute);
  q.AddParamInt("ADJUSTHOUR", f.AdjustHour);
  q.AddParamInt("ADJUSTMINUTE", f.AdjustMinute);
}

const char* DvrDatePickerFormat(int format) {
  switch (format) {
    case 1:
      return "MMM - dd - yyyy";
    case 2:
      return "dd - MMM - yyyy";
    default:
      return "yyyy - MMM - dd";
  }
}

// ---- Record setting -------------------------------------------------------------------------

void ParseDvrRecordReply(std::string_view reply, DvrRecordInfo& r) {
  ReadKey(reply, "MANUAL", r.Manual);
  ReadKey(reply, "EVENT", r.Event);
  ReadKey(reply, "TIMER", r.Timer);
  ReadKey(reply, "VIDEOTYPE", r.VideoType);
  ReadKey(reply, "RECMODE", r.RecMode);
  ReadKey(reply, "MANUALRATETYPE", r.ManualRateType);
  ReadKey(reply, "MOTIONRATETYPE", r.MotionRateType);
  ReadKey(reply, "TIMERRATETYPE", r.TimerRateType);
  ReadKey(reply, "OVERWRITE", r.Overwrite);
  ReadKey(reply, "QUALITY", r.Quality);
  ReadKey(reply, "RECORDFIX", r.RecordFix);
  ReadKey(reply, "SUPPORTMODE", r.SupportMode);
  ReadKey(reply, "SUPPORTIPSSHARE", r.SupportIpsShare);
}

void BuildSetRecordSettingQuery(CGIParamList& q, std::string_view cookie, const DvrRecordInfo& f,
                                const DvrRecordPageValues& p) {
  if (!cookie.empty()) q.AddParam("Cookie", cookie);
  const auto item = [&](std::string_view change, std::string_view key, int value, int fetched) {
    if (value >= 0 && value != fetched) {
      q.AddParamInt(change, 1);
      q.AddParamInt(key, value);
    } else {
      q.AddParamInt(change, 0);
    }
  };
  item("CHMANUALREC", "MANUAL", p.manual, f.Manual);
  item("CHEVENTREC", "EVENT", p.event, f.Event);
  item("CHTIMERREC", "TIMER", p.timer, f.Timer);
  item("CHOV", "OVERWRITE", p.overwrite, f.Overwrite);
  item("CHQT", "QUALITY", p.quality, f.Quality);
  item("CHRECMODE", "RECMODE", p.recMode, f.RecMode);
  item("CHMOTIONRATE", "MOTIONRATETYPE", p.eventRate, f.MotionRateType);
  item("CHMANUALRATE", "MANUALRATETYPE", p.manualRate, f.ManualRateType);
  item("CHTIMERRATE", "TIMERRATETYPE", p.timerRate, f.TimerRateType);
  q.AddParamInt("CHIPSSHARE", 1);
  q.AddParamInt("RECORDFIX", p.recordFix);
}

int DvrQualityIndex(uint8_t code) {
  for (size_t i = 0; i < kDvrQualityCodes.size(); ++i)
    if (kDvrQualityCodes[i] == code) return static_cast<int>(i);
  return -1;
}

int DvrQualityCode(int index) {
  return index >= 0 && index < 4 ? kDvrQualityCodes[static_cast<size_t>(index)] : -1;
}

std::array<uint16_t, 4> DvrIpsRow(int channels, uint8_t videoType, uint8_t imageSize) {
  const int scale = channels == 16 ? 4 : channels == 8 ? 2 : 1;
  const int base = (videoType == 0 ? 30 : 25) * scale;
  const int size = imageSize <= 2 ? imageSize : 0;
  std::array<uint16_t, 4> row{};
  int v = base << size;
  for (auto& r : row) {
    r = static_cast<uint16_t>(v);
    v /= 2;
  }
  return row;
}

// ---- Timer record ---------------------------------------------------------------------------

const std::array<const char*, kTimerDayCodes> kTimerDayTexts = {
    "OFF", "SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT", "MON-FRI", "SAT-SUN", "DAILY"};

TimerRanges ReadTimerRanges(std::span<const uint8_t> b) {
  TimerRanges t{};
  for (unsigned r = 0; r < kTimerRanges; ++r) {
    t[r].byDay = static_cast<uint8_t>(CfgGetUint(b, cfg::dvrrec::kTimerDay, r));
    t[r].wStart = static_cast<uint16_t>(CfgGetUint(b, cfg::dvrrec::kTimerStart, r));
    t[r].wEnd = static_cast<uint16_t>(CfgGetUint(b, cfg::dvrrec::kTimerEnd, r));
  }
  return t;
}

void WriteTimerRanges(std::span<uint8_t> b, const TimerRanges& t) {
  for (unsigned r = 0; r < kTimerRanges; ++r) {
    CfgSetUint(b, cfg::dvrrec::kTimerDay, t[r].byDay, r);
    CfgSetUint(b, cfg::dvrrec::kTimerStart, t[r].wStart, r);
    CfgSetUint(b, cfg::dvrrec::kTimerEnd, t[r].wEnd, r);
  }
}

TimerTime TimerPickerTime(uint16_t word) {
  return {std::min(word >> 8, 23), std::min(word & 0xFF, 59)};
}

TimerRange TimerRangeOf(const TimerRange& stored, const TimerRowValues& row) {
  TimerRange r = stored;
  if (row.nDay >= 0 && row.nDay < kTimerDayCodes) r.byDay = static_cast<uint8_t>(row.nDay);
  if (!(row.start == TimerPickerTime(stored.wStart)))
    r.wStart = TimerWord(row.start.hour, row.start.minute);
  if (!(row.end == TimerPickerTime(stored.wEnd))) r.wEnd = TimerWord(row.end.hour, row.end.minute);
  return r;
}
