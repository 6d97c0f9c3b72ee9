#include "pagerules/alarm_rules.h"

#include "net/device_family.h"
#include "net/sys_cfg_fields.h"

namespace {

constexpr const char* kServerTexts[] = {"3      SEC", "15     SEC", "30     SEC",
                                        "1      MIN", "30     MIN", "AUTO"};
constexpr uint16_t kServerSeconds[] = {3, 15, 30, 60, 1800, 65535};
constexpr const char* kDvrTexts[] = {"5      SEC", "10     SEC", "20     SEC", "40     SEC"};
constexpr uint16_t kDvrSeconds[] = {5, 10, 20, 40};

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
    case 2:
      return 3;
    case 3:
      return 2;
    default:
      return 1;
  }
}

uint8_t AlarmMethodAfterFtp(uint8_t method) {
  switch (method) {
    case 0:
      return 2;
    case 1:
      return 3;
    case 3:
      return 1;
    default:
      return 2;
  }
}

AlarmValues LoadAlarm(std::span<const uint8_t> alarm, const AlarmDurationRow& row) {
  using namespace cfg::alarm;
  AlarmValues v;
  v.duration = AlarmDurationIndex(row, static_cast<uint16_t>(CfgGetUint(alarm, kAlarmDuration)));
  const uint32_t post = CfgGetUint(alarm, kPostNumber);
  v.postIndex = post == 0 ? 0 : static_cast<int>(post) - 1;
  v.method = static_cast<uint8_t>(CfgGetUint(alarm, kAlarmMethod));
  v.resolution = static_cast<uint8_t>(CfgGetUint(alarm, kAlarmResolution));
  v.source = static_cast<uint8_t>(CfgGetUint(alarm, kAlarmSource));
  return v;
}

bool StoreAlarm(const AlarmValues& now, const AlarmValues& snapshot, const AlarmDurationRow& row,
                std::span<uint8_t> alarm) {
  using namespace cfg::alarm;
  if (alarm.size() < SysCfgBlockSizes[kSysCfgAlarm]) return false;
  bool changed = false;
  auto set = [&](const CfgField& field, uint32_t value) {
    CfgSetUint(alarm, field, value);
    changed = true;
  };
  if (now.method != snapshot.method) set(kAlarmMethod, now.method);
  if (now.resolution != snapshot.resolution) set(kAlarmResolution, now.resolution);
  if (now.postIndex != snapshot.postIndex && now.postIndex >= 0 && now.postIndex < 10)
    set(kPostNumber, static_cast<uint32_t>(now.postIndex + 1));
  if (now.source != snapshot.source) set(kAlarmSource, now.source);
  if (now.duration >= 0 && now.duration != snapshot.duration)
    set(kAlarmDuration, row.seconds[now.duration < row.count ? now.duration : 0]);
  return changed;
}
