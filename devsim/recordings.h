// The recordings on the simulated disks: their state shared by connections, the network backup
// stream and its payload.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "devsim/recording_settings.h"

namespace devsim {

// What a "/NetworkBk.cgi" connection sends, fixed when the request is answered.
struct BackupPlan {
  uint32_t seed = 0;
  int64_t bytes = 0;
  RecordingSettings settings;
  uint64_t cancel_generation = 0;
};

struct RecordingState {
  // Search cursors: entries already sent per session id (guarded by Device::mu).
  std::map<std::string, int, std::less<>> search_sent;
  // "/CancelNB.cgi" counts up; a backup stops when it changes.
  std::atomic<uint64_t> cancel_generation{0};
  std::atomic<int> backups_running{0};

  // The data bytes of the last backup (up to kKeptPayload), for the tests.
  static constexpr size_t kKeptPayload = 64u << 20;
  std::mutex payload_mu;
  std::vector<uint8_t> last_payload;
};

// Byte i of the payload of a backup with this seed.
uint8_t BackupPayloadByte(uint32_t seed, uint64_t i);

// Sends the chunks of plan on fd and closes it.
void ServeNetworkBackup(int fd, RecordingState& state, int stop_fd, const BackupPlan& plan);

}  // namespace devsim
