#include "devsim/picture_cache.h"

#include "devsim/jpeg_encoder.h"

namespace devsim {
namespace {

constexpr size_t kMaxEntries = 64;
constexpr auto kUnusedAfter = std::chrono::seconds(10);

}  // namespace

std::shared_ptr<const std::string> PictureCache::Get(const PictureKey& key,
                                                     const SceneMoment& moment,
                                                     std::string* error) {
  auto now = std::chrono::steady_clock::now();
  std::shared_ptr<Entry> entry;
  {
    std::lock_guard lock(mu_);
    if (entries_.size() >= kMaxEntries) DropUnused(now);
    auto& slot = entries_[key];
    if (!slot) slot = std::make_shared<Entry>();
    entry = slot;
    entry->last_use = now;
  }
  std::lock_guard lock(entry->mu);
  if (entry->jpeg && entry->moment == moment) return entry->jpeg;
  std::string jpeg;
  if (!EncodeDevicePicture(RenderScene(key.content, moment), key.jpeg_quality, kMaxPictureBytes,
                           &jpeg, error)) {
    return nullptr;
  }
  ++encodes_;
  entry->moment = moment;
  entry->jpeg = std::make_shared<const std::string>(std::move(jpeg));
  return entry->jpeg;
}

void PictureCache::DropUnused(std::chrono::steady_clock::time_point now) {
  std::erase_if(entries_, [&](const auto& item) {
    return item.second.use_count() == 1 && now - item.second->last_use > kUnusedAfter;
  });
}

}  // namespace devsim
