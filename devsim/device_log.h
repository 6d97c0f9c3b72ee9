// The device's event log: "/Getlog.cgi" (its entry count, then pages of 32-byte entries, newest
// first, with a cursor per session) and "/ClearLog.cgi"; "/SyncTime.cgi" is checked here too.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "devsim/config_blocks.h"

namespace devsim {

// The log's settings ("log.length", "log.page").
struct LogSettings {
  uint32_t length = 0;  // entries in the log
  uint32_t page = 30;   // entries per page
};

// Where each session's paging stands: the number of entries not yet sent.
struct LogCursors {
  std::map<std::string, uint32_t, std::less<>> left;
};

// Entry i of a log (0 the oldest): event kinds of the family in turn, a date and time from i, a
// channel or alarm-input byte, an address text on login and logout, a DDNS result.
std::string LogEntryBytes(Family family, uint32_t i);

bool ApplyLogSetting(std::string_view key, std::string_view value, LogSettings& log,
                     std::string* error);

}  // namespace devsim
