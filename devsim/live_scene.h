// The device's one live scene: its time origin, the shared picture cache and stream counters.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "devsim/picture_cache.h"

namespace devsim {

struct LiveScene {
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::chrono::system_clock::time_point wall_start = std::chrono::system_clock::now();
  PictureCache pictures;
  std::atomic<int> open_streams{0};
  std::atomic<uint64_t> frames_sent{0};
};

}  // namespace devsim
