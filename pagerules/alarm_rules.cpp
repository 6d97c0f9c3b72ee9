#include "pagerules/alarm_rules.h"

#include "net/device_family.h"
#include "pagerules/field_text.h"

namespace {

constexpr const char* kServerTexts[] = {"3      SEC", "15     SEC", "30     SEC",
                                        "1      MIN", "30     MIN", "AUTO"};
constexpr uint16_t kServerSeconds[] = {3, 15, 30, 60, 1800, 65535};
constexpr const char* kDvrTexts[] = {"5      SEC", "10     SEC", "20     SEC", "40     SEC"};
constexpr uint16_t kDvrSeconds[] = {5, 10, 20, 40};
constexpr size_t kPost = 2, kMethod = 3, kResolution = 5, kDuration = 6, kSource = 9;

}  // namespace

AlarmDurationRow AlarmDurationsFor(std::string_view productId) {
  if (IsRZKSeriesProduct(productId)) return {kDvrTexts, kDvrSeconds, 4};
  return {kServerTexts, kServerSeconds, 6};
}

int AlarmDurationIndex(const AlarmDurationRow& row, uint16_t seconds) {
  for (int i = 0; i < row.count; ++i)
    if (row.seconds[i] == seconds) return i;
  return 0;
}

uint8_t AlarmMethodAfterEmail(uint8_t method) {
  switch (method) {
    case 2: return 3;
    case 3: return 2;
    default: return 1;
  }
}

uint8_t AlarmMethodAfterFtp(uint8_t method) {
  switch (method) {
    case 0: return 2;
    case 1: return 3;
    case 3: return 1;
    default: return 2;
  }
}

AlarmValues LoadAlarm(std::span<const uint8_t> alarm, const AlarmDurationRow& row) {
  AlarmValues v;
  if (alarm.size() < kAlarmBlockSize) return v;
  v.duration = AlarmDurationIndex(row, ReadU16(alarm, kDuration));
  v.postIndex = alarm[kPost] == 0 ? 0 : alarm[kPost] - 1;
  v.method = alarm[kMethod];
  v.resolution = alarm[kResolution];
  v.source = alarm[kSource];
  return v;
}

bool StoreAlarm(const AlarmValues& now, const AlarmValues& snapshot, const AlarmDurationRow& row,
                std::span<uint8_t> alarm) {
  if (alarm.size() < kAlarmBlockSize) return false;
  bool changed = false;
  auto byte = [&](uint8_t value, uint8_t was, size_t offset) {
    if (value == was) return;
    alarm[offset] = value;
    changed = true;
  };
  byte(now.method, snapshot.method, kMethod);
  byte(now.resolution, snapshot.resolution, kResolution);
  if (now.postIndex != snapshot.postIndex && now.postIndex >= 0 && now.postIndex < 10) {
    alarm[kPost] = static_cast<uint8_t>(now.postIndex + 1);
    changed = true;
  }
  byte(now.source, snapshot.source, kSource);
  if (now.duration >= 0 && now.duration != snapshot.duration) {
    const int i = now.duration < row.count ? now.duration : 0;
    WriteU16(alarm, kDuration, row.seconds[i]);
    changed = true;
  }
  return changed;
}
