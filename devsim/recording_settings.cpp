#include "devsim/recording_settings.h"

#include <charconv>

namespace devsim {
namespace {

bool Number(std::string_view value, int64_t lo, int64_t hi, int64_t& out, std::string_view key,
            std::string* error) {
  int64_t v = 0;
  auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
  if (ec != std::errc() || end != value.data() + value.size() || v < lo || v > hi) {
    *error = std::string(key) + ": expected a number from " + std::to_string(lo) + " to " +
             std::to_string(hi);
    return false;
  }
  out = v;
  return true;
}

bool DiskList(std::string_view value, std::array<uint8_t, 32>& disks, std::string* error) {
  std::array<uint8_t, 32> set{};
  while (!value.empty()) {
    const size_t comma = value.find(',');
    int64_t n = 0;
    if (!Number(value.substr(0, comma), 0, 255, n, "backup.disks", error)) return false;
    set[static_cast<size_t>(n / 8)] |= static_cast<uint8_t>(1u << (n % 8));
    value = comma == std::string_view::npos ? std::string_view{} : value.substr(comma + 1);
  }
  disks = set;
  return true;
}

}  // namespace

bool ApplyRecordingSetting(std::string_view key, std::string_view value, RecordingSettings& r,
                           std::string* error) {
  int64_t n = 0;
  if (key == "backup.disks") return DiskList(value, r.disks, error);
  if (key == "backup.disk_flag") {
    if (!Number(value, 0, 255, n, key, error)) return false;
    r.disk_flag = static_cast<uint8_t>(n);
    return true;
  }
  if (key == "backup.bytes") {
    if (!Number(value, -1, int64_t{1} << 40, n, key, error)) return false;
    r.backup_bytes = n;
    return true;
  }
  if (key == "backup.abort_after" || key == "backup.chunk_delay_ms" || key == "search.entries" ||
      key == "search.page" || key == "search.overstate") {
    const int64_t hi = key == "search.page" ? 127 : 1000000;
    if (!Number(value, key == "search.page" ? 1 : 0, hi, n, key, error)) return false;
    int& field = key == "backup.abort_after"      ? r.abort_after
                 : key == "backup.chunk_delay_ms" ? r.chunk_delay_ms
                 : key == "search.entries"        ? r.search_entries
                 : key == "search.page"           ? r.search_page
                                                  : r.search_overstate;
    field = static_cast<int>(n);
    return true;
  }
  if (key == "backup.scenario") {
    static constexpr std::pair<std::string_view, BackupScenario> kNames[] = {
        {"normal", BackupScenario::kNormal},        {"end-first", BackupScenario::kEndFirst},
        {"abort", BackupScenario::kAbort},          {"close", BackupScenario::kClose},
        {"stall", BackupScenario::kStall},          {"oversize", BackupScenario::kOversize},
        {"other-type", BackupScenario::kOtherType}, {"split", BackupScenario::kSplit}};
    for (const auto& [name, s] : kNames) {
      if (value == name) {
        r.scenario = s;
        return true;
      }
    }
    *error = "backup.scenario: normal, end-first, abort, close, stall, oversize, other-type, split";
    return false;
  }
  *error = "unknown setting " + std::string(key);
  return false;
}

const std::vector<LiveSettingHelp>& RecordingSettingKeys() {
  static const std::vector<LiveSettingHelp> kKeys = {
      {"backup.disks", "disk numbers 0-255, comma-separated (default 0,1)"},
      {"backup.disk_flag", "byte 32 of /GetDvrHDD.cgi (default 0)"},
      {"backup.bytes", "payload bytes of /NetworkBk.cgi (default -1: Size MiB)"},
      {"backup.scenario",
       "normal, end-first, abort, close, stall, oversize, other-type, split (default normal)"},
      {"backup.abort_after", "data chunks before the scenario's fault (default 3)"},
      {"backup.chunk_delay_ms", "pause before each backup chunk (default 0)"},
      {"search.entries", "records in each disk's list (default 300)"},
      {"search.page", "entries per /GetSearchList.cgi reply, 1-127 (default 20)"},
      {"search.overstate", "bytes the reply's count claims beyond what is sent (default 0)"},
  };
  return kKeys;
}

}  // namespace devsim
