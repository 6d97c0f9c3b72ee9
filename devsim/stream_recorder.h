// Records a live stream to a file: the bytes a client without a session would receive from
// "/Getvideo.cgi", frames back to back on a virtual clock (for the client's decode benchmark).
#pragma once

#include <cstdint>
#include <string>

#include "devsim/device.h"

namespace devsim {

struct RecordSummary {
  int64_t frames = 0;  // frames written whole
  uint64_t bytes = 0;
};

// Writes `frames` frames (fewer when a stream-drop fault ends the stream) with the stream faults
// applied; pauses (stalls, split sends) leave no trace in the file.
bool RecordStream(Device& device, const std::string& path, int64_t frames, RecordSummary* summary,
                  std::string* error);

}  // namespace devsim
