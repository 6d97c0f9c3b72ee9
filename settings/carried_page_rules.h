// The rules of the pages the settings sheet constructs but never shows: the R.E.T.R. page's time
// limit, the schedule record page's periods, the video setting page's choices and the RZM
// peripheral page's model names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// ---- R.E.T.R. -------------------------------------------------------------------------------

// The time-limit edits: digits read as a number, hour limited to 0-23, minute to 0-59; -1 when the
// text holds no digit.
int RetrLimitHour(const std::string& text);
int RetrLimitMinute(const std::string& text);

// ---- Schedule record ------------------------------------------------------------------------

// A period of the client's schedule recording, in seconds of local time.
struct SchedulePeriod {
  int64_t start = 0, end = 0;
  bool operator==(const SchedulePeriod&) const = default;
};

enum class ScheduleResult {
  kDone,
  kWrongTime,  // "Time setting is wrong": the start is not before the end
  kCovered,    // "Time setting is covered with other setting"
  kFull,       // "Schedule record setting is too many,you could not add any more."
  kNoSelection,
};
// The literal message of a result (empty for kDone and kNoSelection, which shows string 4086).
const char* ScheduleResultText(ScheduleResult result);

// Up to ten periods, the used ones first, kept sorted by start.
class ScheduleList {
 public:
  static constexpr int kSlots = 10;

  int Count() const { return m_count; }
  const SchedulePeriod& At(int i) const { return m_periods[static_cast<size_t>(i)]; }

  ScheduleResult Add(const SchedulePeriod& p);
  // Replaces period i; the overlap check skips it.
  ScheduleResult Edit(int i, const SchedulePeriod& p);
  ScheduleResult Delete(int i);
  // The row the list selects after deleting row i of a list that had count rows.
  static int SelectionAfterDelete(int i, int count) { return i < count - 1 ? i : 0; }

 private:
  // Accepted against a period when it lies strictly after it or strictly before it.
  bool Overlaps(const SchedulePeriod& p, int skip) const;
  void Sort();

  std::array<SchedulePeriod, kSlots> m_periods{};
  int m_count = 0;
};

// A civil date and time as the seconds the list keeps, and back.
struct ScheduleCivil {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  bool operator==(const ScheduleCivil&) const = default;
};
int64_t ScheduleSeconds(const ScheduleCivil& c);
ScheduleCivil ScheduleCivilOf(int64_t seconds);

// "%.4d.%.2d.%.2d %.2d:%.2d:%.2d" of a civil date and time.
std::string ScheduleTimeText(int year, int month, int day, int hour, int minute, int second);

// ---- Video setting --------------------------------------------------------------------------

struct VideoSettingChoices {
  std::optional<int> resolution;   // 0 large, 1 middle, 2 small
  std::optional<int> videoType;    // 0 "JPEG", 1 "MPEG4"
  std::optional<int> jpegQuality;  // 0 "Low", 1 "Middle", 2 "High"
  std::optional<int> bitRate;      // 0 "512K" .. 6 "Local"
};
// From the picture's size and the 16-byte video-setting record.
VideoSettingChoices VideoSettingChoicesOf(int width, int height,
                                          const std::array<uint8_t, 16>& record);
// The resolution list by VIDEOMODE: 1 the 625-line sizes, otherwise the 525-line ones.
std::array<const char*, 3> VideoResolutionTexts(uint8_t videoMode);
extern const std::array<const char*, 7> kVideoBitRateTexts;

// ---- RZM peripheral -------------------------------------------------------------------------

// The model text of a control device's model byte (empty for any other byte).
const char* RzmModelText(uint8_t model);
