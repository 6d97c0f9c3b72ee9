// The time-server page's rules: its values in the SNTP block, the "Sync Time" request, and the
// block write that follows it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "net/cgi_param_list.h"

inline constexpr size_t kSntpServerChars = 27;

struct TimeServerValues {
  uint8_t mode = 0;        // 1 from the server, 0 by user
  uint8_t autoServer = 1;  // 1 "Automatic": no server name
  std::string server;
  int zone = -1;  // row of the zone table; -1 none
  bool operator==(const TimeServerValues&) const = default;
};

// A stored zone index outside the table gives no selection (-1).
TimeServerValues LoadTimeServer(std::span<const uint8_t> sntp);

// Writes what differs from the snapshot; true when anything was written. A zone of no selection
// leaves the zone bytes as they are; a server text is written bounded by its field.
bool StoreTimeServer(const TimeServerValues& now, const TimeServerValues& snapshot,
                     std::span<uint8_t> sntp);
// The write after "Sync Time": the block takes the page's values where it differs from them.
bool StoreTimeServerNow(const TimeServerValues& now, std::span<uint8_t> sntp);

// Whether text may stand as a raw query value: printable ASCII without blank, "&", "=", "?",
// "#" or "%".
bool QuerySafeText(std::string_view text);

struct SyncTimeClock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

enum class SyncTimeBuild {
  kOk,
  kServerTooLong,  // more than 27 characters
  kServerUnsafe,   // characters a query value cannot carry
  kNoZone,         // mode 1 without a zone
};

// Checks the values and builds "/SyncTime.cgi": Cookie (when not empty), Mode, then for mode 1
// ServerMode, Server (only for a typed server), NationID, Hour and Minute of the zone; for mode 0
// Year, Month, Day, Hour, Minute, Second. Nothing is added to the request unless kOk.
SyncTimeBuild BuildSyncTimeRequest(CGIParamList& request, std::string_view cookie,
                                   const TimeServerValues& values, const SyncTimeClock& clock);
