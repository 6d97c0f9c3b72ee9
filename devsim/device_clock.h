// The device's clock as the stream reports it: a civil date and time without time zone.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace devsim {

struct DeviceClock {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const DeviceClock&) const = default;
};

// Seconds since 2000-01-01 00:00:00 of a civil date and time, and back.
int64_t SecondsSince2000(const DeviceClock& clock);
DeviceClock ClockFromSecondsSince2000(int64_t seconds);

// "YYYY-MM-DDTHH:MM:SS" (years 2000-2063, the range the stream can carry).
std::optional<DeviceClock> ParseClockText(std::string_view text);
// "YYYY-MM-DD HH:MM:SS"
std::string FormatClock(const DeviceClock& clock);

// The local civil time of a wall-clock instant.
DeviceClock LocalClock(std::chrono::system_clock::time_point when);

}  // namespace devsim
