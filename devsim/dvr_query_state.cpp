#include "devsim/dvr_query_state.h"

#include <array>
#include <cctype>
#include <chrono>

namespace devsim {
namespace {

struct DateField {
  std::string_view key;
  int DvrDateState::*field;
  int lo, hi;
};
// The rule and display fields, in reply order (the date and time come first, from the clock).
constexpr std::array<DateField, 14> kDateFields = {{
    {"FORMAT", &DvrDateState::format, 0, 2},
    {"DAYLIGHTSAVING", &DvrDateState::daylight_saving, 0, 1},
    {"STARTWEEKINDEX", &DvrDateState::start_week, 0, 4},
    {"STARTDAYOFWEEK", &DvrDateState::start_day, 0, 6},
    {"STARTMONTH", &DvrDateState::start_month, 0, 11},
    {"STARTHOUR", &DvrDateState::start_hour, 0, 23},
    {"STARTMINUTE", &DvrDateState::start_minute, 0, 59},
    {"ENDWEEKINDEX", &DvrDateState::end_week, 0, 4},
    {"ENDDAYOFWEEK", &DvrDateState::end_day, 0, 6},
    {"ENDMONTH", &DvrDateState::end_month, 0, 11},
    {"ENDHOUR", &DvrDateState::end_hour, 0, 23},
    {"ENDMINUTE", &DvrDateState::end_minute, 0, 59},
    {"ADJUSTHOUR", &DvrDateState::adjust_hour, 0, 23},
    {"ADJUSTMINUTE", &DvrDateState::adjust_minute, 0, 59},
}};

struct RecordField {
  std::string_view change;  // empty: not settable
  std::string_view key;
  int DvrRecordState::*field;
  int lo, hi;
};
constexpr std::array<RecordField, 10> kRecordSets = {{
    {"CHMANUALREC", "MANUAL", &DvrRecordState::manual, 0, 1},
    {"CHEVENTREC", "EVENT", &DvrRecordState::event, 0, 1},
    {"CHTIMERREC", "TIMER", &DvrRecordState::timer, 0, 1},
    {"CHOV", "OVERWRITE", &DvrRecordState::overwrite, 0, 1},
    {"CHQT", "QUALITY", &DvrRecordState::quality, 6, 16},
    {"CHRECMODE", "RECMODE", &DvrRecordState::rec_mode, 0, 2},
    {"CHMOTIONRATE", "MOTIONRATETYPE", &DvrRecordState::motion_rate, 0, 3},
    {"CHMANUALRATE", "MANUALRATETYPE", &DvrRecordState::manual_rate, 0, 3},
    {"CHTIMERRATE", "TIMERRATETYPE", &DvrRecordState::timer_rate, 0, 3},
    {"CHIPSSHARE", "RECORDFIX", &DvrRecordState::record_fix, 0, 1},
}};

// A decimal number of at most six digits with an optional '-'.
std::optional<int> Number(std::string_view text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 6) return std::nullopt;
  int v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return negative ? -v : v;
}

std::string Item(std::string_view key, int value) {
  return std::string(key) + "=" + std::to_string(value) + ";";
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The parameters without "Cookie", in order.
std::vector<const QueryParam*> Keys(const std::vector<QueryParam>& params) {
  std::vector<const QueryParam*> out;
  for (const auto& p : params)
    if (p.name != "Cookie") out.push_back(&p);
  return out;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool KnowsDvrQueries(std::string_view product_id, std::string_view firmware) {
  if (product_id != "RZ1K" && product_id != "RZ3K" && product_id != "RZ4K") return false;
  return firmware.size() != 4 || firmware >= std::string_view("1058");
}

DeviceClock DvrClockNow(const DvrDateState& s) {
  if (s.frozen) return *s.frozen;
  const int64_t now = SecondsSince2000(LocalClock(std::chrono::system_clock::now()));
  return ClockFromSecondsSince2000(now + s.offset_seconds);
}

std::string DvrDateReplyText(const DvrDateState& s) {
  if (!s.reply_text.empty()) return s.reply_text;
  const DeviceClock c = DvrClockNow(s);
  std::string out = Item("YEAR", c.year) + Item("MONTH", c.month) + Item("DAY", c.day) +
                    Item("HOUR", c.hour) + Item("MINUTE", c.minute) + Item("SECOND", c.second);
  for (const auto& f : kDateFields) out += Item(f.key, s.*f.field);
  return out;
}

std::string DvrRecordReplyText(const DvrRecordState& s, std::string_view video_mode) {
  if (!s.reply_text.empty()) return s.reply_text;
  const int video_type = s.video_type                                ? *s.video_type
                         : (video_mode == "0" || video_mode.empty()) ? 0
                                                                     : 1;
  return Item("MANUAL", s.manual) + Item("EVENT", s.event) + Item("TIMER", s.timer) +
         Item("VIDEOTYPE", video_type) + Item("RECMODE", s.rec_mode) +
         Item("MANUALRATETYPE", s.manual_rate) + Item("MOTIONRATETYPE", s.motion_rate) +
         Item("TIMERRATETYPE", s.timer_rate) + Item("OVERWRITE", s.overwrite) +
         Item("QUALITY", s.quality) + Item("RECORDFIX", s.record_fix) +
         Item("SUPPORTMODE", s.support_mode) + Item("SUPPORTIPSSHARE", s.support_ips_share);
}

bool ApplySetDvrDate(const std::vector<QueryParam>& params, DvrDateState& s, std::string* error,
                     std::string* decoded) {
  static constexpr std::array<std::string_view, 25> kOrder = {
      "YEAR",           "MONTH",          "DAY",
      "DAYOFWEEK",      "HOUR",           "MINUTE",
      "SECOND",         "FORMAT",         "DAYLIGHTSAVING",
      "CHDATE",         "CHFORMAT",       "CHDAYLIGHT",
      "CHDAYLIGHTTIME", "STARTWEEKINDEX", "STARTDAYOFWEEK",
      "STARTMONTH",     "STARTHOUR",      "STARTMINUTE",
      "ENDWEEKINDEX",   "ENDDAYOFWEEK",   "ENDMONTH",
      "ENDHOUR",        "ENDMINUTE",      "ADJUSTHOUR",
      "ADJUSTMINUTE"};
  const auto keys = Keys(params);
  if (keys.size() != kOrder.size()) {
    *error =
        "expected " + std::to_string(kOrder.size()) + " keys, got " + std::to_string(keys.size());
    return false;
  }
  int v[kOrder.size()];
  for (size_t i = 0; i < kOrder.size(); ++i) {
    if (keys[i]->name != kOrder[i]) {
      *error = "key " + std::to_string(i + 1) + " is " + keys[i]->name + ", expected " +
               std::string(kOrder[i]);
      return false;
    }
    const auto n = Number(keys[i]->value);
    if (!n) {
      *error = std::string(kOrder[i]) + " is not a number";
      return false;
    }
    v[i] = *n;
  }
  const auto at = [&](std::string_view key) {
    for (size_t i = 0; i < kOrder.size(); ++i)
      if (kOrder[i] == key) return v[i];
    return -1;
  };
  const auto in = [&](std::string_view key, int lo, int hi) {
    const int x = at(key);
    if (x >= lo && x <= hi) return true;
    *error = std::string(key) + "=" + std::to_string(x) + " out of range";
    return false;
  };
  for (std::string_view flag : {"CHDATE", "CHFORMAT", "CHDAYLIGHT", "CHDAYLIGHTTIME"})
    if (!in(flag, 0, 1)) return false;
  const bool ch_date = at("CHDATE") == 1, ch_format = at("CHFORMAT") == 1;
  const bool ch_daylight = at("CHDAYLIGHT") == 1, ch_time = at("CHDAYLIGHTTIME") == 1;
  if (ch_date) {
    if (!in("YEAR", 2000, 2063) || !in("MONTH", 1, 12) || !in("HOUR", 0, 23) ||
        !in("MINUTE", 0, 59) || !in("SECOND", 0, 59) || !in("DAYOFWEEK", 0, 6) ||
        !in("DAY", 1, DaysInMonth(at("YEAR"), at("MONTH"))))
      return false;
  }
  if (ch_format && !in("FORMAT", 0, 2)) return false;
  if (ch_daylight && !in("DAYLIGHTSAVING", 0, 1)) return false;
  if (ch_time) {
    for (const auto& f : kDateFields)
      if (f.key != "FORMAT" && f.key != "DAYLIGHTSAVING" && !in(f.key, f.lo, f.hi)) return false;
  }

  std::string said;
  if (ch_date) {
    const DeviceClock c{at("YEAR"), at("MONTH"), at("DAY"), at("HOUR"), at("MINUTE"), at("SECOND")};
    if (s.frozen) {
      s.frozen = c;
    } else {
      const int64_t now = SecondsSince2000(LocalClock(std::chrono::system_clock::now()));
      s.offset_seconds = SecondsSince2000(c) - now;
    }
    said += "date=" + FormatClock(c) + " ";
  }
  if (ch_format) {
    s.format = at("FORMAT");
    said += "format=" + std::to_string(s.format) + " ";
  }
  if (ch_daylight) {
    s.daylight_saving = at("DAYLIGHTSAVING");
    said += "daylight=" + std::to_string(s.daylight_saving) + " ";
  }
  if (ch_time) {
    for (const auto& f : kDateFields)
      if (f.key != "FORMAT" && f.key != "DAYLIGHTSAVING") s.*f.field = at(f.key);
    said += "rule ";
  }
  if (said.empty()) said = "nothing ";
  said.pop_back();
  *decoded = said;
  return true;
}

bool ApplySetRecordSetting(const std::vector<QueryParam>& params, DvrRecordState& s,
                           std::string* error, std::string* decoded) {
  const auto keys = Keys(params);
  DvrRecordState next = s;
  std::string said;
  size_t k = 0;
  for (const auto& f : kRecordSets) {
    if (k >= keys.size() || keys[k]->name != f.change) {
      *error = "expected " + std::string(f.change) +
               (k < keys.size() ? ", got " + keys[k]->name : std::string(" at the end"));
      return false;
    }
    const auto flag = Number(keys[k]->value);
    if (!flag || *flag < 0 || *flag > 1) {
      *error = std::string(f.change) + " is not 0 or 1";
      return false;
    }
    ++k;
    if (*flag == 0) continue;
    if (k >= keys.size() || keys[k]->name != f.key) {
      *error = std::string(f.change) + "=1 without " + std::string(f.key);
      return false;
    }
    const auto value = Number(keys[k]->value);
    const bool quality_ok = f.key != "QUALITY" ||
                            (value && (*value == 6 || *value == 8 || *value == 10 || *value == 16));
    if (!value || *value < f.lo || *value > f.hi || !quality_ok) {
      *error = std::string(f.key) + "=" + keys[k]->value + " out of range";
      return false;
    }
    if (f.key == "RECMODE" && !(s.support_mode & (1 << *value))) {
      *error = "RECMODE=" + keys[k]->value + " not supported";
      return false;
    }
    ++k;
    next.*f.field = *value;
    said += Lower(f.key) + "=" + std::to_string(*value) + " ";
  }
  if (k != keys.size()) {
    *error = "unexpected key " + keys[k]->name;
    return false;
  }
  s = next;
  if (said.empty()) said = "nothing ";
  said.pop_back();
  *decoded = said;
  return true;
}

bool IsDvrQuerySetting(std::string_view key) {
  return key.starts_with("dvrdate.") || key.starts_with("dvrrec.");
}

bool ApplyDvrQuerySetting(std::string_view key, std::string_view value, DvrQueryState& s,
                          std::string* error) {
  const auto bad = [&](std::string_view why) {
    *error = std::string(key) + ": " + std::string(why);
    return false;
  };
  if (key == "dvrdate.clock") {
    if (value.empty()) {
      s.date.frozen.reset();
      return true;
    }
    const auto c = ParseClockText(value);
    if (!c) return bad("expected YYYY-MM-DDTHH:MM:SS");
    s.date.frozen = *c;
    return true;
  }
  if (key == "dvrdate.reply_text") {
    s.date.reply_text = std::string(value);
    return true;
  }
  if (key == "dvrrec.reply_text") {
    s.record.reply_text = std::string(value);
    return true;
  }
  const auto n = Number(value);
  for (const auto& f : kDateFields) {
    if (key == "dvrdate." + Lower(f.key)) {
      if (!n || *n < 0 || *n > 255) return bad("expected 0-255");
      s.date.*f.field = *n;
      return true;
    }
  }
  if (key == "dvrrec.videotype") {
    if (!n || *n < 0 || *n > 255) return bad("expected 0-255");
    s.record.video_type = *n;
    return true;
  }
  if (key == "dvrrec.supportmode" || key == "dvrrec.supportipsshare") {
    if (!n || *n < 0 || *n > 255) return bad("expected 0-255");
    (key == "dvrrec.supportmode" ? s.record.support_mode : s.record.support_ips_share) = *n;
    return true;
  }
  for (const auto& f : kRecordSets) {
    if (key == "dvrrec." + Lower(f.key)) {
      if (!n || *n < 0 || *n > 255) return bad("expected 0-255");
      s.record.*f.field = *n;
      return true;
    }
  }
  return bad("unknown setting");
}

const std::vector<DvrQuerySettingHelp>& DvrQuerySettingKeys() {
  static const std::vector<DvrQuerySettingHelp> kKeys = {
      {"dvrdate.clock", "recorder clock frozen at YYYY-MM-DDTHH:MM:SS (empty: runs with the host)"},
      {"dvrdate.<key>",
       "a /GetDvrDate.cgi value: format, daylightsaving, startweekindex, ..., adjustminute"},
      {"dvrdate.reply_text", "the whole /GetDvrDate.cgi reply (empty: built from the state)"},
      {"dvrrec.<key>",
       "a /GetRecordSetting.cgi value: manual, event, timer, videotype, recmode, ..., "
       "supportipsshare"},
      {"dvrrec.reply_text", "the whole /GetRecordSetting.cgi reply (empty: built from the state)"},
  };
  return kKeys;
}

}  // namespace devsim
