#include "pagerules/server_log.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "net/key_value_reply.h"

namespace {

constexpr ServerLogFilter kDvrFilters[] = {
    {1442, 0x1, "POWER ON"},     {1443, 0x2, "VIDEO LOSS"},      {1445, 0x4, "HDD FULL"},
    {1449, 0x8, "EMAIL FAILED"}, {1450, 0x10, "FTP FAILED"},     {1446, 0x20, "KEY LOCK"},
    {1447, 0x40, "KEY UNLOCK"},  {1448, 0x80, "RESET DEFAULT"},  {1444, 0x100, "REMOTE LOGIN"},
    {1451, 0x200, "HDD ERROR"},  {1452, 0x400, "HDD DMA ERROR"}, {1453, 0x4000, "DDNS"},
    {1454, 0x8000, "PPPOE"},     {1455, 0x10000, "DHCP"},
};
constexpr ServerLogFilter kServerFilters[] = {
    {1442, 0x1, "POWER ON"},       {1448, 0x2, "RESET DEFAULT"},     {1462, 0x4, "ALARM"},
    {1444, 0x10, "REMOTE LOGIN"},  {1445, 0x20, "REMOTE LOGOUT"},    {1446, 0x100, "MAIL SUCCESS"},
    {1447, 0x200, "FTP_SUCCESS"},  {1451, 0x1000, "PPPOE SUCCESS"},  {1449, 0x10000, "MAIL FAILED"},
    {1450, 0x20000, "FTP FAILED"}, {1452, 0x100000, "PPPOE FAILED"},
};

std::string WithText(const char* what, const std::string& text) {
  return std::string(what) + " ( " + text + " )";
}

std::string DvrName(const ServerLogEntry& e) {
  switch (e.event_id) {
    case 0x1:
      return "POWER ON";
    case 0x2:
      return "VIDEO LOSS";
    case 0x4:
      return "HDD FULL";
    case 0x8:
      return "EMAIL FAILED";
    case 0x10:
      return "FTP FAILED";
    case 0x20:
      return "KEY LOCK";
    case 0x40:
      return "KEY UNLOCK";
    case 0x80:
      return "RESET DEFAULT";
    case 0x100:
      return WithText("REMOTE LOGIN", e.text);
    case 0x200:
      return "HDD ERROR";
    case 0x400:
      return "HDD DMA ERROR";
    case 0x800:
      return "USB_ERROR";
    case 0x4000:
      return e.result ? "DDNS UPDATE SUCCESS" : "DDNS UPDATE FAIL";
    case 0x8000:
      return "PPPOE SUCCESS";
    case 0x10000:
      return "DHCP SUCCESS";
    default:
      return "NO EVENT";
  }
}

std::string ServerName(const ServerLogEntry& e) {
  switch (e.event_id) {
    case 0x1:
      return "POWER ON";
    case 0x2:
      return "RESET DEFAULT";
    case 0x4: {
      if (e.channel == 0) return "ALARM";
      int b = 0;
      while (!(e.channel & (1u << b))) ++b;
      char text[24];
      std::snprintf(text, sizeof text, "ALARM (%.1d)", b + 1);
      return text;
    }
    case 0x10:
      return WithText("REMOTE LOGIN", e.text);
    case 0x20:
      return WithText("REMOTE LOGOUT", e.text);
    case 0x100:
      return "EMAIL SUCCESS";
    case 0x200:
      return "FTP SUCCESS";
    case 0x1000:
      return "PPPOE SUCCESS";
    case 0x10000:
      return "EMAIL FAILED";
    case 0x20000:
      return "FTP FAILED";
    case 0x40000:
      return "SNTP FAILED";
    case 0x100000:
      return "PPPOE FAILED";
    default:
      return "NO EVENT";
  }
}

}  // namespace

ServerLogEntry DecodeServerLogEntry(std::span<const uint8_t, kServerLogEntrySize> bytes) {
  ServerLogEntry e;
  e.event_id = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
               static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  std::memcpy(e.time.data(), bytes.data() + 4, 6);
  e.channel = bytes[10];
  const auto* text = reinterpret_cast<const char*>(bytes.data() + 11);
  e.text.assign(text, strnlen(text, 16));
  e.result = bytes[27];
  return e;
}

std::span<const ServerLogFilter> ServerLogFilters(ServerLogKind kind) {
  if (kind == ServerLogKind::kDvr) return kDvrFilters;
  return kServerFilters;
}

uint32_t ServerLogInitialMask(ServerLogKind kind) {
  return kind == ServerLogKind::kDvr ? 0x1CFFFu : 0x7F7F37u;
}

std::string ServerLogEventName(ServerLogKind kind, const ServerLogEntry& entry) {
  return kind == ServerLogKind::kDvr ? DvrName(entry) : ServerName(entry);
}

std::string ServerLogTimeText(const ServerLogEntry& e) {
  char text[40];
  std::snprintf(text, sizeof text, "%.2d-%.2d-%.2d %.2d:%.2d:%.2d", e.time[0], e.time[1], e.time[2],
                e.time[3], e.time[4], e.time[5]);
  return text;
}

std::vector<ServerLogRow> ServerLogRows(ServerLogKind kind, std::span<const uint8_t> buffer,
                                        size_t count, uint32_t mask) {
  std::vector<ServerLogRow> rows;
  count = std::min(count, buffer.size() / kServerLogEntrySize);
  for (size_t i = 0; i < count; ++i) {
    const ServerLogEntry e =
        DecodeServerLogEntry(buffer.subspan(i * kServerLogEntrySize).first<kServerLogEntrySize>());
    if (!(e.event_id & mask) || e.event_id == kServerLogNeverListed) continue;
    ServerLogRow r;
    char text[16];
    std::snprintf(text, sizeof text, "%2d", static_cast<int>(rows.size() + 1));
    r.number = text;
    r.event = ServerLogEventName(kind, e);
    if (kind == ServerLogKind::kDvr || !(e.event_id & 0x1)) r.time = ServerLogTimeText(e);
    if (kind == ServerLogKind::kDvr) {
      if (e.channel == 0) {
        r.channel = "NO";
      } else {
        std::snprintf(text, sizeof text, "%d", e.channel);
        r.channel = text;
      }
    }
    rows.push_back(std::move(r));
  }
  return rows;
}

uint32_t ParseServerLogCount(std::span<const uint8_t> reply) {
  const KeyValueReply kv(reply.data(), reply.size());
  auto n = kv.Number("COUNT", 1);
  return n && *n > 0 ? static_cast<uint32_t>(*n) : 0;
}

ServerLogOutcome FetchServerLog(
    const ServerLogFetchHost& host, uint32_t maxEntries,
    std::span<uint8_t, kServerLogMaxEntries * kServerLogEntrySize> buffer, uint32_t* count) {
  *count = 0;
  std::vector<uint8_t> reply;
  if (!host.request("COUNT", reply)) return ServerLogOutcome::kFailed;
  if (reply.size() > 256) reply.resize(256);
  uint32_t total = ParseServerLogCount(reply);
  if (total == 0) return ServerLogOutcome::kEmpty;
  total = std::min(total, maxEntries);
  host.progress(1, 0);
  host.progress(2, total);

  uint32_t received = 0;
  bool first = true;
  do {
    if (host.stopRequested()) {
      host.progress(4, 0);
      return ServerLogOutcome::kStopped;
    }
    reply.clear();
    const bool ok = host.request(first ? "LAST" : "PRE", reply);
    first = false;
    if (!ok || host.stopRequested()) {
      host.progress(4, 0);
      return ok || host.stopRequested() ? ServerLogOutcome::kStopped : ServerLogOutcome::kFailed;
    }
    const size_t entries = reply.size() / kServerLogEntrySize;
    if (entries == 0) break;
    const size_t room = kServerLogMaxEntries - received;
    const size_t kept = std::min(entries, room);
    std::memcpy(buffer.data() + received * kServerLogEntrySize, reply.data(),
                kept * kServerLogEntrySize);
    received += static_cast<uint32_t>(kept);
    *count = received;
    if (entries < 30) break;
    host.progress(3, std::min(received, total));
  } while (received < kServerLogMaxEntries && received < total);

  *count = std::min({*count, total, static_cast<uint32_t>(kServerLogMaxEntries)});
  host.progress(4, 0);
  return ServerLogOutcome::kReceived;
}
