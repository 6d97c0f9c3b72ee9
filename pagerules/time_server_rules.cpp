#include "pagerules/time_server_rules.h"

#include "pagerules/field_text.h"
#include "pagerules/time_zone_table.h"

namespace {

constexpr size_t kZoneHour = 2, kZoneMinute = 3, kZoneIndex = 5, kMode = 6;
constexpr size_t kServerOffset = 8, kServerWidth = 28;

bool WriteZone(int zone, std::span<uint8_t> sntp) {
  const TimeZoneRow* row = TimeZoneAt(zone);
  if (!row) return false;
  sntp[kZoneHour] = static_cast<uint8_t>(row->hour);
  sntp[kZoneMinute] = static_cast<uint8_t>(row->minute);
  sntp[kZoneIndex] = static_cast<uint8_t>(zone);
  return true;
}

}  // namespace

TimeServerValues LoadTimeServer(std::span<const uint8_t> sntp) {
  TimeServerValues v;
  if (sntp.size() < kSntpBlockSize) return v;
  v.mode = sntp[kMode];
  v.server = FieldText(BlockField(sntp, kServerOffset, kServerWidth));
  v.autoServer = v.server.empty() ? 1 : 0;
  v.zone = TimeZoneAt(sntp[kZoneIndex]) ? sntp[kZoneIndex] : -1;
  return v;
}

bool StoreTimeServer(const TimeServerValues& now, const TimeServerValues& snapshot,
                     std::span<uint8_t> sntp) {
  if (sntp.size() < kSntpBlockSize) return false;
  bool changed = false;
  auto server = BlockField(sntp, kServerOffset, kServerWidth);
  if (now.autoServer != snapshot.autoServer) {
    WriteFieldText(server, now.autoServer ? std::string_view() : std::string_view(now.server));
    changed = true;
  } else if (now.server != snapshot.server) {
    WriteFieldText(server, now.autoServer ? std::string_view() : std::string_view(now.server));
    changed = true;
  }
  if (now.zone != snapshot.zone && WriteZone(now.zone, sntp)) changed = true;
  if (now.mode != snapshot.mode) {
    sntp[kMode] = now.mode;
    changed = true;
  }
  return changed;
}

bool StoreTimeServerNow(const TimeServerValues& now, std::span<uint8_t> sntp) {
  if (sntp.size() < kSntpBlockSize) return false;
  bool changed = false;
  if (sntp[kMode] != now.mode) {
    sntp[kMode] = now.mode;
    changed = true;
  }
  auto server = BlockField(sntp, kServerOffset, kServerWidth);
  const std::string stored = FieldText(server);
  if (now.autoServer) {
    if (!stored.empty()) {
      WriteFieldText(server, {});
      changed = true;
    }
  } else if (stored != now.server) {
    WriteFieldText(server, now.server);
    changed = true;
  }
  if (now.zone >= 0 && sntp[kZoneIndex] != now.zone && WriteZone(now.zone, sntp)) changed = true;
  return changed;
}

SyncTimeBuild BuildSyncTimeRequest(CGIParamList& request, std::string_view cookie,
                                   const TimeServerValues& values, const SyncTimeClock& clock) {
  const bool typedServer = values.mode == 1 && !values.autoServer;
  if (typedServer && values.server.size() > kSntpServerChars) return SyncTimeBuild::kServerTooLong;
  if (typedServer && !QuerySafeText(values.server)) return SyncTimeBuild::kServerUnsafe;
  const TimeZoneRow* zone = TimeZoneAt(values.zone);
  if (values.mode == 1 && !zone) return SyncTimeBuild::kNoZone;

  if (!cookie.empty()) request.AddParam("Cookie", cookie);
  request.AddParamInt("Mode", values.mode);
  if (values.mode == 1) {
    request.AddParamInt("ServerMode", values.autoServer);
    if (!values.autoServer) request.AddParam("Server", values.server);
    request.AddParamInt("NationID", values.zone);
    request.AddParamInt("Hour", zone->hour);
    request.AddParamInt("Minute", zone->minute);
  } else {
    request.AddParamInt("Year", clock.year);
    request.AddParamInt("Month", clock.month);
    request.AddParamInt("Day", clock.day);
    request.AddParamInt("Hour", clock.hour);
    request.AddParamInt("Minute", clock.minute);
    request.AddParamInt("Second", clock.second);
  }
  return SyncTimeBuild::kOk;
}
