// The 75 time zones of the time-server page: string id, text and offset from GMT.
#pragma once

#include <array>
#include <cstdint>

struct TimeZoneRow {
  uint16_t stringId;
  int8_t hour;    // signed
  int8_t minute;  // same sign as the hour
  const char* text;
};

inline constexpr int kTimeZoneCount = 75;
extern const std::array<TimeZoneRow, kTimeZoneCount> TimeZoneTable;

// The row of an index, or null outside 0..74.
const TimeZoneRow* TimeZoneAt(int index);
