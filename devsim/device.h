// The simulated device's state, shared by all connections.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "devsim/config_blocks.h"
#include "devsim/device_log.h"
#include "devsim/device_profile.h"
#include "devsim/fault_registry.h"
#include "devsim/firmware_upgrade.h"
#include "devsim/live_scene.h"
#include "devsim/recordings.h"
#include "devsim/sessions.h"

namespace devsim {

struct Device {
  std::mutex mu;  // guards profile, blocks and sessions
  DeviceProfile profile;
  BlockStore blocks;
  SessionTable sessions;
  std::string blocks_file;    // when set: loaded at start, saved after every accepted block write
  FaultRegistry faults;       // locks itself
  LogCursors log_cursors;     // "/Getlog.cgi" paging per session
  LiveScene scene;            // the live picture shared by all streams (locks itself)
  FirmwareStore firmware;     // uploaded firmware parts (locks itself)
  RecordingState recordings;  // search cursors, backup cancel and payload

  // Set by the server: listens on one more port of its address (as the device does when its
  // IP block gets a new web port); false when the port cannot be bound. Called without mu.
  std::function<bool(int port)> listen_also;
  std::vector<int> ports_also;  // the ports added so, in order (guarded by mu)

  // Writes the blocks to blocks_file (through a temporary file); call with mu held.
  bool SaveBlocks(std::string* error) const;
  bool LoadBlocks(std::string* error);
};

}  // namespace devsim
