#include "devsim/stream_recorder.h"

#include <fstream>

#include "devsim/cgi_paths.h"
#include "devsim/frame_plan.h"
#include "devsim/frame_view.h"

namespace devsim {

bool RecordStream(Device& device, const std::string& path, int64_t frames, RecordSummary* summary,
                  std::string* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  *summary = {};
  SteadyTime start = SteadyTime::clock::now();
  StreamChoices no_session;
  for (int64_t i = 0; i < frames; ++i) {
    FrameView view;
    {
      std::lock_guard lock(device.mu);
      int64_t period_us = (1000000 + device.profile.live.fps - 1) / device.profile.live.fps;
      view = ResolveFrameView(device.profile, no_session, device.scene,
                              start + std::chrono::microseconds(i * period_us));
    }
    FiredFaults faults = device.faults.TakeForFrame(kVideoPath);
    auto jpeg = device.scene.pictures.Get(view.picture, view.moment, error);
    if (!jpeg) return false;
    FramePlan plan = PlanFrame(view, *jpeg, faults);
    for (const auto& piece : plan.pieces) {
      out.write(piece.bytes.data(), static_cast<std::streamsize>(piece.bytes.size()));
      summary->bytes += piece.bytes.size();
    }
    if (plan.close_after) break;
    ++summary->frames;
  }
  out.close();
  if (!out) {
    *error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace devsim
