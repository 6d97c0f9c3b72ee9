#include "devsim/frame_view.h"

#include <cstdio>

#include "devsim/http_request.h"
#include "devsim/picture_sizes.h"

namespace devsim {
namespace {

// A decimal number from 0 to hi, else nothing.
std::optional<int> SmallNumber(const std::optional<std::string>& text, int hi) {
  return text ? SmallDecimal(*text, hi) : std::nullopt;
}

// "older" as the client compares versions: both texts four characters, the threshold greater.
bool OlderThan(std::string_view firmware, std::string_view threshold) {
  if (firmware.size() != 4 || threshold.size() != 4) return false;
  return threshold > firmware;
}

TitleBytes TitleFor(const LiveSettings& live, int channel) {
  std::string text = live.title;
  if (text.empty()) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "CAMERA %02d", channel);
    text = buf;
  }
  TitleBytes title{};
  for (size_t i = 0; i < text.size() && i < title.size(); ++i) {
    title[i] = static_cast<uint8_t>(text[i]);
  }
  return title;
}

std::chrono::microseconds Elapsed(const LiveScene& scene, SteadyTime t) {
  auto us = std::chrono::duration_cast<std::chrono::microseconds>(t - scene.start);
  return us.count() < 0 ? std::chrono::microseconds(0) : us;
}

// The scene tick at time t, with the device clock at that tick.
SceneMoment MomentAt(const LiveScene& scene, const LiveSettings& live, SteadyTime t) {
  SceneMoment m;
  int64_t us = Elapsed(scene, t).count();
  m.tick = static_cast<uint64_t>(us * live.fps / 1000000);
  m.tick_ms = static_cast<int64_t>(m.tick) * 1000 / live.fps;
  auto since_start = std::chrono::milliseconds(m.tick_ms);
  m.clock = live.ClockAt(scene.start + since_start, scene.wall_start + since_start);
  return m;
}

}  // namespace

bool ClientAsksNewHeader(std::string_view product, std::string_view firmware) {
  if (product == "RZ1K" || product == "RZ3K" || product == "RZ4K") {
    return !OlderThan(firmware, "1046");
  }
  if (product == "RZ2K") return !OlderThan(firmware, "1006");
  return product == "RZ8P";
}

FrameView ResolveFrameView(const DeviceProfile& profile, const StreamChoices& choices,
                           const LiveScene& scene, SteadyTime t) {
  const LiveSettings& live = profile.live;
  FrameView view;
  view.fps = live.fps;
  view.paced = live.paced;
  view.moment = MomentAt(scene, live, t);
  auto tick_time = scene.start + std::chrono::milliseconds(view.moment.tick_ms);

  switch (live.layout) {
    case LayoutChoice::kVersioned:
      view.layout = HeaderLayout::kVersioned;
      break;
    case LayoutChoice::kMaskFirst:
      view.layout = HeaderLayout::kMaskFirst;
      break;
    case LayoutChoice::kAuto: {
      bool newer = choices.has_session ? choices.new_header
                                       : ClientAsksNewHeader(profile.product_id, profile.firmware);
      view.layout = newer ? HeaderLayout::kVersioned : HeaderLayout::kMaskFirst;
      break;
    }
  }
  PictureFamily family = PictureFamilyOf(profile.product_id);
  view.payload_counts_header =
      view.layout == HeaderLayout::kVersioned && family == PictureFamily::kCamera;

  int res = SmallNumber(choices.res, 2).value_or(live.res);
  int qua = SmallNumber(choices.qua, 2).value_or(live.qua);
  int channel = SmallNumber(choices.ch, kMaxChannel).value_or(live.ch);
  PictureSize size =
      PictureSizeFor(family, VideoStandardOf(profile.videomode), static_cast<Resolution>(res));

  FrameHeaderFields& h = view.header;
  h.channel = static_cast<uint8_t>(channel);
  h.display_channel = static_cast<uint8_t>(channel);
  h.motion = live.motion.At(tick_time);
  h.event_a = live.event_a.At(tick_time);
  h.event_b = live.event_b.At(tick_time);
  h.time_stamp = live.time_base + static_cast<uint32_t>(view.moment.tick_ms / 5);
  h.packed_date = PackDeviceDate(view.moment.clock);
  h.title = TitleFor(live, channel);
  h.extra = live.extra;
  h.retr = live.retr;
  h.sensor = live.sensor;
  h.half_width = IsHalfWidth(family, size);
  h.no_picture = live.video_loss.At(tick_time).has_value();
  h.network_backup = live.network_backup.At(tick_time).has_value();

  view.picture.content.size = size;
  view.picture.content.channel = static_cast<uint8_t>(channel);
  view.picture.content.no_picture = h.no_picture;
  view.picture.content.title = h.title;
  view.picture.jpeg_quality = JpegQualityOf(qua);
  return view;
}

}  // namespace devsim
