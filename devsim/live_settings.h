// Settings of the live stream: frame rate, the view of streams without a session, the event
// words and flags the headers carry (always, on a schedule, or off), the device clock and title.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/device_clock.h"

namespace devsim {

using SteadyTime = std::chrono::steady_clock::time_point;

// A header word or flag: off, on with a value, or on for on_ms of every period_ms counted from
// the moment it was set.
struct Schedule {
  bool enabled = false;
  uint16_t value = 0;
  int64_t on_ms = 0;
  int64_t period_ms = 0;  // 0: always on
  SteadyTime set_at{};

  // The value while on, else nothing.
  std::optional<uint16_t> At(SteadyTime t) const;
};

enum class LayoutChoice { kAuto, kVersioned, kMaskFirst };

struct LiveSettings {
  int fps = 10;
  // Off: every frame is sent as soon as the one before has gone (the picture still changes at
  // fps); for load tests.
  bool paced = true;
  // auto: a session's NEWHR decides; without a session, the rule the client applies to the
  // Product-ID and firmware.
  LayoutChoice layout = LayoutChoice::kAuto;
  // View of streams without a session (and the recording): RES, QUA, CH.
  int res = 1;
  int qua = 0;
  int ch = 1;
  std::string title;  // empty: "CAMERA nn"
  Schedule motion;
  Schedule event_a;
  Schedule event_b;
  Schedule video_loss;
  Schedule network_backup;
  std::optional<uint8_t> retr;
  std::optional<uint8_t> sensor;
  std::optional<uint8_t> extra;
  uint32_t time_base = 0;  // added to every time stamp (units of 5 ms, modulo 2^32)
  // Unset: the local time.  Set: this civil time at clock_set_at, running on from there.
  std::optional<DeviceClock> clock;
  SteadyTime clock_set_at{};

  DeviceClock ClockAt(SteadyTime t, std::chrono::system_clock::time_point wall) const;
};

inline constexpr std::string_view kLivePrefix = "stream.";
inline constexpr int kMaxFps = 60;
inline constexpr int kMaxChannel = 16;

// One "stream.KEY" setting (key given without the prefix).
bool ApplyLiveSetting(std::string_view key, std::string_view value, LiveSettings& live,
                      std::string* error);

struct LiveSettingHelp {
  std::string_view key;  // with the prefix
  std::string_view help;
};
const std::vector<LiveSettingHelp>& LiveSettingKeys();

// The JPEG quality of a QUA value (0 best, 1, 2 lowest; others as 0).
int JpegQualityOf(int qua);

}  // namespace devsim
