// The pictures of the current scene tick, encoded once and shared by every stream that shows
// the same content at the same quality.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "devsim/scene_renderer.h"

namespace devsim {

// Largest JPEG the stream sends: it must fit the 16-bit payload field of the versioned header
// together with that header.
inline constexpr size_t kMaxPictureBytes = 65535 - 64;

struct PictureKey {
  SceneContent content;
  int jpeg_quality = 80;
  auto operator<=>(const PictureKey&) const = default;
};

class PictureCache {
 public:
  // The JPEG of `key` at `moment`, encoded now unless an earlier call of this tick already did.
  // Null when encoding failed (*error says why).
  std::shared_ptr<const std::string> Get(const PictureKey& key, const SceneMoment& moment,
                                         std::string* error);
  uint64_t encodes() const { return encodes_.load(); }

 private:
  struct Entry {
    std::mutex mu;  // held while the entry's picture is encoded
    SceneMoment moment;
    std::shared_ptr<const std::string> jpeg;
    std::chrono::steady_clock::time_point last_use;
  };
  void DropUnused(std::chrono::steady_clock::time_point now);

  std::mutex mu_;  // guards entries_
  std::map<PictureKey, std::shared_ptr<Entry>> entries_;
  std::atomic<uint64_t> encodes_{0};
};

}  // namespace devsim
