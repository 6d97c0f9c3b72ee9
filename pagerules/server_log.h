// The device's event log: the 32-byte entries, their names in the two dialogs, the event
// filters, and the paged fetch ("COUNT", then "LAST" and "PRE" pages) into a bounded buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct ServerLogEntry {
  uint32_t event_id = 0;
  std::array<uint8_t, 6> time{};
  uint8_t channel = 0;  // DVR: channel; video server: alarm-input bits
  std::string text;     // up to 15 characters of the 16-byte field
  uint8_t result = 0;
};

inline constexpr size_t kServerLogEntrySize = 32;
inline constexpr size_t kServerLogMaxEntries = 2048;
inline constexpr uint32_t kServerLogNeverListed = 0xFFFF;

// Decodes entry i of the buffer; the caller keeps i below size / 32.
ServerLogEntry DecodeServerLogEntry(std::span<const uint8_t, kServerLogEntrySize> bytes);

enum class ServerLogKind { kDvr, kVideoServer };

struct ServerLogFilter {
  uint16_t checkId;  // the check box
  uint32_t bit;
  const char* label;
};
std::span<const ServerLogFilter> ServerLogFilters(ServerLogKind kind);
uint32_t ServerLogInitialMask(ServerLogKind kind);  // 0x1CFFF, 0x7F7F37

std::string ServerLogEventName(ServerLogKind kind, const ServerLogEntry& entry);
std::string ServerLogTimeText(const ServerLogEntry& entry);

struct ServerLogRow {
  std::string number;  // "%2d" from 1
  std::string event;
  std::string time;     // empty for a power-on entry of the video-server dialog
  std::string channel;  // DVR dialog: "%d", or "NO" for 0
};
// The listed rows: entries sharing a bit with the mask, except the never-listed value.
std::vector<ServerLogRow> ServerLogRows(ServerLogKind kind, std::span<const uint8_t> buffer,
                                        size_t count, uint32_t mask);

// The value of "COUNT" up to its ";"; 0 when the key or the ";" is missing.
uint32_t ParseServerLogCount(std::span<const uint8_t> reply);

// What the fetch needs from its surroundings.
struct ServerLogFetchHost {
  // Sends "/Getlog.cgi" with STATE = state; the reply body (at most 4096 bytes) goes to reply.
  std::function<bool(std::string_view state, std::vector<uint8_t>& reply)> request;
  std::function<bool()> stopRequested;
  std::function<void(int command, uint32_t value)> progress;  // 1 begin, 2 total, 3 draw, 4 end
};

enum class ServerLogOutcome : uint32_t {
  kStopped = 0,
  kReceived = 1,
  kEmpty = 2,
  kFailed = 4,
};

// Fills buffer (2048 entries of 32 bytes) and count. Each page goes into the room left; entries
// beyond it are dropped. maxEntries limits what is fetched (the page's "MAX LOG LIST").
ServerLogOutcome FetchServerLog(
    const ServerLogFetchHost& host, uint32_t maxEntries,
    std::span<uint8_t, kServerLogMaxEntries * kServerLogEntrySize> buffer, uint32_t* count);
