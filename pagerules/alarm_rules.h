// The alarm page's rules: duration choices by family, the method toggles, the source bits and
// the values in the ALARM block.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct AlarmDurationRow {
  const char* const* texts;
  const uint16_t* seconds;
  int count;
};
// Six choices (3 s .. AUTO) for the video-server families, four (5 s .. 40 s) for the DVRs.
AlarmDurationRow AlarmDurationsFor(std::string_view productId);
// The index of a stored duration; 0 when it is not in the row.
int AlarmDurationIndex(const AlarmDurationRow& row, uint16_t seconds);

// Method byte after a click on "Email" / "FTP" (bit 0 e-mail, bit 1 FTP; the last box stays).
uint8_t AlarmMethodAfterEmail(uint8_t method);
uint8_t AlarmMethodAfterFtp(uint8_t method);

struct AlarmValues {
  int duration = 0;   // index in the family's row
  int postIndex = 0;  // pictures - 1
  uint8_t method = 1;
  uint8_t resolution = 3;
  uint8_t source = 0;
};

AlarmValues LoadAlarm(std::span<const uint8_t> alarm, const AlarmDurationRow& row);
// Writes the values that differ from the snapshot; true when anything was written.
bool StoreAlarm(const AlarmValues& now, const AlarmValues& snapshot, const AlarmDurationRow& row,
                std::span<uint8_t> alarm);
