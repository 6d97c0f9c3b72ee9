// The synthetic live scene: a moving pattern with the device clock, channel and title drawn in,
// so that a person can see that the picture is live.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "devsim/device_clock.h"
#include "devsim/picture_sizes.h"

namespace devsim {

using TitleBytes = std::array<uint8_t, 16>;

// What a picture shows.
struct SceneContent {
  PictureSize size;
  uint8_t channel = 1;      // 0 is drawn as "DVR"
  bool no_picture = false;  // video loss: a dark picture saying so
  TitleBytes title{};       // zero bytes end the text
  auto operator<=>(const SceneContent&) const = default;
};

// When: the scene tick and the device clock at that tick.
struct SceneMoment {
  uint64_t tick = 0;    // tick number since devsim started
  int64_t tick_ms = 0;  // scene time of the tick
  DeviceClock clock;
  bool operator==(const SceneMoment&) const = default;
};

// Packed RGB, top row first, width x 3 bytes per row.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

RgbImage RenderScene(const SceneContent& content, const SceneMoment& moment);

// The title as text (up to its first zero byte).
std::string TitleText(const TitleBytes& title);

}  // namespace devsim
