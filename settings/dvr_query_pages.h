// The recorder's date, record-setting and timer-record pages without their windows: the
// "/GetDvrDate.cgi" and "/GetRecordSetting.cgi" replies, the "/SetDvrDate.cgi" and
// "/SetRecordSetting.cgi" queries with their change flags, the IPS lists, the quality codes and
// the seven timer ranges of DVRREC.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "net/cgi_param_list.h"

// The three pages work on the RZ1K/RZ3K/RZ4K family with firmware "1058" or newer (a version
// text that is not four characters long counts as newer).
bool DvrQueryPagesEnabled(std::string_view productId, std::string_view fwVersion);

// ---- Date -----------------------------------------------------------------------------------

struct DvrDateInfo {
  uint16_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  uint8_t Format = 0, DaylightSaving = 0;
  uint8_t StartWeekIndex = 0, StartDayOfWeek = 0, StartMonth = 0, StartHour = 0, StartMinute = 0;
  uint8_t EndWeekIndex = 0, EndDayOfWeek = 0, EndMonth = 0, EndHour = 0, EndMinute = 0;
  uint8_t AdjustHour = 0, AdjustMinute = 0;
  bool operator==(const DvrDateInfo&) const = default;
};

// Reads each key whose item is in the reply into its field (keys matched whole; a missing key
// leaves its field).
void ParseDvrDateReply(std::string_view reply, DvrDateInfo& info);

// What the date page holds when APPLY runs: combo positions (-1: nothing chosen) and the times
// of its pickers.
struct DvrDatePageValues {
  int year = 0, month = 0, day = 0, dayOfWeek = 0, hour = 0, minute = 0, second = 0;
  int format = -1;
  uint8_t daylightSaving = 0;
  int startWeekIndex = -1, startDayOfWeek = -1, startMonth = -1;
  int endWeekIndex = -1, endDayOfWeek = -1, endMonth = -1;
  int startHour = 0, startMinute = 0, endHour = 0, endMinute = 0;
  int adjustHour = 0, adjustMinute = 0;
};

struct DvrDateChanges {
  bool date = false, format = false, daylight = false, daylightTime = false;
  bool Any() const { return date || format || daylight || daylightTime; }
};

// The change flags of an APPLY. The date and time and the three hour-and-minute pairs of the
// fetched values take the page's values when they differ (so a second APPLY does not resend
// them); the format, the daylight-saving switch and the rule's combos are compared only.
DvrDateChanges ApplyDvrDatePage(DvrDateInfo& fetched, const DvrDatePageValues& page);

// "/SetDvrDate.cgi": Cookie (when not empty), then the date, format, switch, the four change
// flags and the rule, in the device's order. A combo without a choice sends the fetched value.
void BuildSetDvrDateQuery(CGIParamList& query, std::string_view cookie, const DvrDateInfo& fetched,
                          const DvrDatePageValues& page, const DvrDateChanges& changes);

// Date formats of the date picker by the format list's position (any other: the first).
const char* DvrDatePickerFormat(int format);

// ---- Record setting -------------------------------------------------------------------------

struct DvrRecordInfo {
  uint8_t Manual = 0, Event = 0, Timer = 0, VideoType = 0, RecMode = 0;
  uint8_t ManualRateType = 0, MotionRateType = 0, TimerRateType = 0;
  uint8_t Overwrite = 0, Quality = 0, RecordFix = 0, SupportMode = 0, SupportIpsShare = 0;
  bool operator==(const DvrRecordInfo&) const = default;
};

void ParseDvrRecordReply(std::string_view reply, DvrRecordInfo& info);

struct DvrRecordPageValues {
  uint8_t manual = 0, event = 0, timer = 0, overwrite = 0;
  uint8_t quality = 0;  // the code: 6, 8, 10 or 16
  uint8_t recMode = 0;
  int eventRate = -1, manualRate = -1, timerRate = -1;  // positions in the IPS lists
  uint8_t recordFix = 0;
};

// "/SetRecordSetting.cgi": Cookie (when not empty), then for each item its change key with 1 and
// its value, or its change key with 0 alone; "CHIPSSHARE" is always 1 with "RECORDFIX". A rate
// list without a choice counts as unchanged.
void BuildSetRecordSettingQuery(CGIParamList& query, std::string_view cookie,
                                const DvrRecordInfo& fetched, const DvrRecordPageValues& page);

// Quality list positions 0-3 and their codes 6, 8, 10, 16.
inline constexpr std::array<uint8_t, 4> kDvrQualityCodes = {6, 8, 10, 16};
int DvrQualityIndex(uint8_t code);  // -1 for another code
int DvrQualityCode(int index);      // -1 for another position

// The four images-per-second numbers of the rate lists for the channel count (16, 8, or 4 and
// any other), the video type (0, else 1) and the record image size (0 frame, 1 field, 2 CIF;
// another size: frame).
std::array<uint16_t, 4> DvrIpsRow(int channels, uint8_t videoType, uint8_t imageSize);

// ---- Timer record (DVRREC) ------------------------------------------------------------------

inline constexpr int kTimerRanges = 7;
inline constexpr int kTimerDayCodes = 11;  // "OFF", the seven days, "MON-FRI", "SAT-SUN", "DAILY"
extern const std::array<const char*, kTimerDayCodes> kTimerDayTexts;

struct TimerRange {
  uint8_t byDay = 0;
  uint16_t wStart = 0, wEnd = 0;  // hour * 256 + minute
  bool operator==(const TimerRange&) const = default;
};
using TimerRanges = std::array<TimerRange, kTimerRanges>;

TimerRanges ReadTimerRanges(std::span<const uint8_t> dvrrec);
// Writes the seven day codes, start and end words; nothing else of the block.
void WriteTimerRanges(std::span<uint8_t> dvrrec, const TimerRanges& ranges);

inline uint16_t TimerWord(int hour, int minute) {
  return static_cast<uint16_t>(((hour & 0xFF) << 8) | (minute & 0xFF));
}
// The hour and minute a time picker can show for a stored word (hour at most 23, minute at most
// 59).
struct TimerTime {
  int hour = 0, minute = 0;
  bool operator==(const TimerTime&) const = default;
};
TimerTime TimerPickerTime(uint16_t word);

// One row of the page as APPLY reads it.
struct TimerRowValues {
  int nDay = -1;  // list position, -1 when nothing is chosen
  TimerTime start, end;
};
// The range a row gives: a day outside the list keeps the stored day; a picker still showing the
// stored time keeps the stored word (so a time a picker cannot show goes back unchanged).
TimerRange TimerRangeOf(const TimerRange& stored, const TimerRowValues& row);
