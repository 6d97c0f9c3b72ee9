// What one frame of a stream shows and says, resolved from the device profile, the stream's
// session and the live settings at a moment of the scene.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "devsim/device_profile.h"
#include "devsim/frame_header.h"
#include "devsim/live_scene.h"
#include "devsim/picture_cache.h"

namespace devsim {

// The choices of a stream's session: RES, QUA and CH of its device-information request and of
// the later commands, and whether it asked for the newer header (NEWHR=1).
struct StreamChoices {
  bool has_session = false;
  std::optional<std::string> res;
  std::optional<std::string> qua;
  std::optional<std::string> ch;
  bool new_header = false;
};

struct FrameView {
  HeaderLayout layout = HeaderLayout::kMaskFirst;
  bool payload_counts_header = false;  // the camera's versioned header
  PictureKey picture;
  FrameHeaderFields header;
  SceneMoment moment;
  int fps = 10;
  bool paced = true;
};

// Whether the client asks for the newer header (NEWHR=1): RZ1K, RZ3K, RZ4K with firmware not
// older than "1046", RZ2K not older than "1006", every RZ8P.  A firmware text that is not four
// characters long counts as not older.
bool ClientAsksNewHeader(std::string_view product_id, std::string_view firmware);

FrameView ResolveFrameView(const DeviceProfile& profile, const StreamChoices& choices,
                           const LiveScene& scene, SteadyTime t);

}  // namespace devsim
