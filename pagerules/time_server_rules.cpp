#include "pagerules/time_server_rules.h"

#include <algorithm>

#include "net/sys_cfg_fields.h"
#include "pagerules/time_zone_table.h"

namespace {

using namespace cfg::sntp;

bool WriteZone(int zone, std::span<uint8_t> sntp) {
  const TimeZoneRow* row = TimeZoneAt(zone);
  if (!row) return false;
  CfgSetUint(sntp, kTimeZoneHour, static_cast<uint32_t>(row->hour));
  CfgSetUint(sntp, kTimeZoneMinute, static_cast<uint32_t>(row->minute));
  CfgSetUint(sntp, kTimeZoneIndex, static_cast<uint32_t>(zone));
  return true;
}

void WriteServer(std::span<uint8_t> sntp, std::string_view server) {
  CfgClear(sntp, kSNTPServer);
  CfgSetText(sntp, kSNTPServer, server);
}

}  // namespace

TimeServerValues LoadTimeServer(std::span<const uint8_t> sntp) {
  TimeServerValues v;
  if (sntp.size() < SysCfgBlockSizes[kSysCfgSntp]) return v;
  v.mode = static_cast<uint8_t>(CfgGetUint(sntp, kSNTPMode));
  v.server = CfgGetText(sntp, kSNTPServer).substr(0, kSntpServerChars);
  v.autoServer = v.server.empty() ? 1 : 0;
  const int zone = static_cast<int>(CfgGetUint(sntp, kTimeZoneIndex));
  v.zone = TimeZoneAt(zone) ? zone : -1;
  return v;
}

bool StoreTimeServer(const TimeServerValues& now, const TimeServerValues& snapshot,
                     std::span<uint8_t> sntp) {
  if (sntp.size() < SysCfgBlockSizes[kSysCfgSntp]) return false;
  bool changed = false;
  if (now.autoServer != snapshot.autoServer || now.server != snapshot.server) {
    WriteServer(sntp, now.autoServer ? std::string_view() : std::string_view(now.server));
    changed = true;
  }
  if (now.zone != snapshot.zone && WriteZone(now.zone, sntp)) changed = true;
  if (now.mode != snapshot.mode) {
    CfgSetUint(sntp, kSNTPMode, now.mode);
    changed = true;
  }
  return changed;
}

bool StoreTimeServerNow(const TimeServerValues& now, std::span<uint8_t> sntp) {
  if (sntp.size() < SysCfgBlockSizes[kSysCfgSntp]) return false;
  bool changed = false;
  if (CfgGetUint(sntp, kSNTPMode) != now.mode) {
    CfgSetUint(sntp, kSNTPMode, now.mode);
    changed = true;
  }
  const std::string stored = CfgGetText(sntp, kSNTPServer);
  const std::string_view wanted =
      now.autoServer ? std::string_view() : std::string_view(now.server);
  if (stored != wanted) {
    WriteServer(sntp, wanted);
    changed = true;
  }
  if (now.zone >= 0 && CfgGetUint(sntp, kTimeZoneIndex) != static_cast<uint32_t>(now.zone) &&
      WriteZone(now.zone, sntp))
    changed = true;
  return changed;
}

bool QuerySafeText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F && c != '&' && c != '=' && c != '?' && c != '#' && c != '%';
  });
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
