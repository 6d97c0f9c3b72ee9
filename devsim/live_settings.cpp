#include "devsim/live_settings.h"

namespace devsim {
namespace {

std::optional<int64_t> ParseNumber(std::string_view s) {
  if (s.empty() || s.size() > 12) return std::nullopt;
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  int64_t v = 0;
  for (char c : s) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return std::nullopt;
    v = v * base + d;
  }
  return v;
}

bool InRange(std::string_view key, std::string_view value, int64_t lo, int64_t hi, int64_t* out,
             std::string* error) {
  auto v = ParseNumber(value);
  if (!v || *v < lo || *v > hi) {
    *error = "stream." + std::string(key) + ": expected a number from " + std::to_string(lo) +
             " to " + std::to_string(hi);
    return false;
  }
  *out = *v;
  return true;
}

// off | VALUE | VALUE/ON_MS/PERIOD_MS
bool ParseSchedule(std::string_view key, std::string_view value, Schedule& s, std::string* error) {
  if (value == "off") {
    s = Schedule{};
    return true;
  }
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (true) {
    size_t slash = value.find('/', start);
    parts.push_back(value.substr(start, slash == std::string_view::npos ? slash : slash - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  size_t count = parts.size();
  Schedule parsed;
  int64_t v = 0, on = 0, period = 0;
  bool ok = (count == 1 || count == 3);
  std::string why;
  ok = ok && InRange(key, parts[0], 0, 0xFFFF, &v, &why);
  if (ok && count == 3) {
    ok = InRange(key, parts[1], 0, 86400000, &on, &why) &&
         InRange(key, parts[2], 1, 86400000, &period, &why);
  }
  if (!ok) {
    *error = "stream." + std::string(key) + ": expected off, VALUE or VALUE/ON_MS/PERIOD_MS";
    return false;
  }
  parsed.enabled = true;
  parsed.value = static_cast<uint16_t>(v);
  parsed.on_ms = on;
  parsed.period_ms = period;
  parsed.set_at = std::chrono::steady_clock::now();
  s = parsed;
  return true;
}

// 0 | 1 | 1/ON_MS/PERIOD_MS
bool ParseFlag(std::string_view key, std::string_view value, Schedule& s, std::string* error) {
  if (value == "0") value = "off";
  if (value != "off" && value != "1" && value.rfind("1/", 0) != 0) {
    *error = "stream." + std::string(key) + ": expected 0, 1 or 1/ON_MS/PERIOD_MS";
    return false;
  }
  return ParseSchedule(key, value, s, error);
}

// off | N (0-255)
bool ParseByte(std::string_view key, std::string_view value, std::optional<uint8_t>& field,
               std::string* error) {
  if (value == "off") {
    field.reset();
    return true;
  }
  int64_t v;
  if (!InRange(key, value, 0, 255, &v, error)) {
    *error += " or off";
    return false;
  }
  field = static_cast<uint8_t>(v);
  return true;
}

}  // namespace

std::optional<uint16_t> Schedule::At(SteadyTime t) const {
  if (!enabled) return std::nullopt;
  if (period_ms == 0) return value;
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - set_at).count();
  if (ms < 0) ms = 0;
  if (ms % period_ms < on_ms) return value;
  return std::nullopt;
}

DeviceClock LiveSettings::ClockAt(SteadyTime t, std::chrono::system_clock::time_point wall) const {
  if (!clock) return LocalClock(wall);
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(t - clock_set_at).count();
  if (seconds < 0) seconds = 0;
  return ClockFromSecondsSince2000(SecondsSince2000(*clock) + seconds);
}

bool ApplyLiveSetting(std::string_view key, std::string_view value, LiveSettings& live,
                      std::string* error) {
  int64_t v = 0;
  if (key == "fps") {
    if (!InRange(key, value, 1, kMaxFps, &v, error)) return false;
    live.fps = static_cast<int>(v);
    return true;
  }
  if (key == "paced") {
    if (!InRange(key, value, 0, 1, &v, error)) return false;
    live.paced = v != 0;
    return true;
  }
  if (key == "layout") {
    if (value == "auto")
      live.layout = LayoutChoice::kAuto;
    else if (value == "1")
      live.layout = LayoutChoice::kVersioned;
    else if (value == "2")
      live.layout = LayoutChoice::kMaskFirst;
    else {
      *error = "stream.layout: expected auto, 1 or 2";
      return false;
    }
    return true;
  }
  if (key == "res" || key == "qua") {
    if (!InRange(key, value, 0, 2, &v, error)) return false;
    (key == "res" ? live.res : live.qua) = static_cast<int>(v);
    return true;
  }
  if (key == "ch") {
    if (!InRange(key, value, 0, kMaxChannel, &v, error)) return false;
    live.ch = static_cast<int>(v);
    return true;
  }
  if (key == "title") {
    if (value.size() > 16) {
      *error = "stream.title: at most 16 bytes";
      return false;
    }
    live.title = std::string(value);
    return true;
  }
  if (key == "motion") return ParseSchedule(key, value, live.motion, error);
  if (key == "event_a") return ParseSchedule(key, value, live.event_a, error);
  if (key == "event_b") return ParseSchedule(key, value, live.event_b, error);
  if (key == "video_loss") return ParseFlag(key, value, live.video_loss, error);
  if (key == "network_backup") return ParseFlag(key, value, live.network_backup, error);
  if (key == "retr") return ParseByte(key, value, live.retr, error);
  if (key == "sensor") return ParseByte(key, value, live.sensor, error);
  if (key == "extra") return ParseByte(key, value, live.extra, error);
  if (key == "time_base") {
    if (!InRange(key, value, 0, 0xFFFFFFFFll, &v, error)) return false;
    live.time_base = static_cast<uint32_t>(v);
    return true;
  }
  if (key == "clock") {
    if (value == "local") {
      live.clock.reset();
      return true;
    }
    auto c = ParseClockText(value);
    if (!c) {
      *error = "stream.clock: expected local or YYYY-MM-DDTHH:MM:SS (years 2000-2063)";
      return false;
    }
    live.clock = *c;
    live.clock_set_at = std::chrono::steady_clock::now();
    return true;
  }
  *error = "unknown setting stream." + std::string(key);
  return false;
}

const std::vector<LiveSettingHelp>& LiveSettingKeys() {
  static const std::vector<LiveSettingHelp> kKeys = {
      {"stream.fps", "frames per second of every stream, 1..60 (default 10)"},
      {"stream.paced", "1 (default): frames at stream.fps; 0: back to back"},
      {"stream.layout",
       "header layout: auto (default: the session's NEWHR; without a session the "
       "client's rule for the Product-ID and firmware) | 1 | 2"},
      {"stream.res", "RES of streams without a session: 0 full, 1 half (default), 2 small"},
      {"stream.qua", "QUA of streams without a session: 0 (default), 1, 2"},
      {"stream.ch", "channel of streams without a session, 0..16 (default 1)"},
      {"stream.title", "title text, at most 16 bytes (empty: CAMERA nn)"},
      {"stream.motion", "motion word: off (default) | VALUE | VALUE/ON_MS/PERIOD_MS"},
      {"stream.event_a", "event word A: off | VALUE | VALUE/ON_MS/PERIOD_MS"},
      {"stream.event_b", "event word B: off | VALUE | VALUE/ON_MS/PERIOD_MS"},
      {"stream.video_loss", "frames without picture: 0 | 1 | 1/ON_MS/PERIOD_MS"},
      {"stream.network_backup", "network-backup flag: 0 | 1 | 1/ON_MS/PERIOD_MS"},
      {"stream.retr", "R.E.T.R. byte: off (default) | 0..255"},
      {"stream.sensor", "camera-sensor byte (layout 1 only): off (default) | 0..255"},
      {"stream.extra", "extra byte: off (default) | 0..255"},
      {"stream.clock", "device clock: local (default) | YYYY-MM-DDTHH:MM:SS, running on"},
      {"stream.time_base", "added to every time stamp (5 ms units, modulo 2^32; default 0)"},
  };
  return kKeys;
}

int JpegQualityOf(int qua) {
  switch (qua) {
    case 1:
      return 60;
    case 2:
      return 40;
    default:
      return 80;
  }
}

}  // namespace devsim
