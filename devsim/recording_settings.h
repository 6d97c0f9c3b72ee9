// Settings of the recordings on the simulated disks: the disk set, the record list the search
// pages through, and how "/NetworkBk.cgi" answers (payload size, pacing, faults).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/live_settings.h"

namespace devsim {

enum class BackupScenario {
  kNormal,     // data chunks of 1..2048 bytes, then the end chunk, then close
  kEndFirst,   // the end chunk at once
  kAbort,      // the abort chunk after abort_after data chunks
  kClose,      // the connection closed in the middle of the data chunk after abort_after
  kStall,      // nothing more after abort_after data chunks, the connection kept open
  kOversize,   // a data chunk of 4096 bytes after abort_after data chunks
  kOtherType,  // a type-2 header (with no payload) before every data chunk
  kSplit,      // every byte in a write of its own (headers arrive in pieces)
};

struct RecordingSettings {
  std::array<uint8_t, 32> disks{0x03};  // disk bit set ("MASTER1", "SLAVE1")
  uint8_t disk_flag = 0;
  int search_entries = 300;   // records in the list of each disk
  int search_page = 20;       // entries per page reply (at most 127)
  int search_overstate = 0;   // bytes the reply's count claims beyond the entries sent
  int64_t backup_bytes = -1;  // payload size; -1: Size MiB
  BackupScenario scenario = BackupScenario::kNormal;
  int abort_after = 3;     // data chunks before the scenario's fault
  int chunk_delay_ms = 0;  // pause before each chunk (a trickle for the cancel tests)
};

inline constexpr std::string_view kBackupPrefix = "backup.";
inline constexpr std::string_view kSearchPrefix = "search.";

// One "backup.KEY" or "search.KEY" setting (key with its prefix); false with error otherwise.
bool ApplyRecordingSetting(std::string_view key, std::string_view value, RecordingSettings& r,
                           std::string* error);
const std::vector<LiveSettingHelp>& RecordingSettingKeys();

}  // namespace devsim
