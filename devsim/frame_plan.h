// How one frame goes on the wire: the header and picture, changed by the stream faults that
// fired for it.
#pragma once

#include <string>
#include <vector>

#include "devsim/fault_registry.h"
#include "devsim/frame_view.h"

namespace devsim {

struct FramePiece {
  std::string bytes;
  int pause_before_ms = 0;
};

struct FramePlan {
  bool stall = false;  // send nothing for stall_ms first (0: until the peer closes or devsim stops)
  int stall_ms = 0;
  std::vector<FramePiece> pieces;  // each one send
  bool close_after = false;        // close the stream after the pieces
  bool reset = false;              // with close_after: abort the connection (RST)
};

// The bytes of one frame (header and picture) with the faults applied.
FramePlan PlanFrame(const FrameView& view, const std::string& jpeg, const FiredFaults& faults);

// Filler before a frame: `bytes` bytes without any FF byte, or an HTTP reply head.
std::string StreamGarbage(int64_t bytes, bool http_head);

}  // namespace devsim
