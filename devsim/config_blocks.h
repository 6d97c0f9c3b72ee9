// The device's configuration blocks: names, sizes, families and the one-reply "ALL" form.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace devsim {

enum class Family { kDvr, kVideoServer };

struct BlockInfo {
  std::string_view name;
  uint32_t size;  // ONLINE: the largest size
  bool dvr;       // served by DVR-family devices
  bool video_server;
};

// INF .. PERI in option order ("ALL" is not a stored block).
const std::vector<BlockInfo>& Blocks();
const BlockInfo* FindBlock(std::string_view name);

inline constexpr std::string_view kAllOption = "ALL";
inline constexpr std::string_view kOnlineOption = "ONLINE";
inline constexpr uint32_t kAllVideoServerFixedSize = 1136;
inline constexpr uint32_t kAllDvrFixedSize = 2044;
inline constexpr size_t kInfCapabilityOffset = 20;

// Family of a Product-ID: the video-server layout for RZ2K, RZ5M, RZ6M, RZ7M and RZ8P, the DVR
// layout for every other text.
Family FamilyOf(std::string_view product_id);

// One byte vector per block, always exactly the block's size.
class BlockStore {
 public:
  BlockStore();

  const std::vector<uint8_t>& Get(std::string_view name) const;
  // false when the name is unknown or the size is not the block's size
  bool Set(std::string_view name, const std::vector<uint8_t>& bytes);
  // Whether the block was given by a blocks file or a block.NAME setting (ApplyLine).
  bool IsExplicit(std::string_view name) const { return explicit_.count(name) != 0; }

  void SetCapabilityMask(uint32_t mask);

  // The "ALL" reply: the family's fixed blocks in option order, then online_length bytes of ONLINE.
  std::string ComposeAll(Family family, uint32_t online_length) const;

  // Text form, one "NAME=hex" line per block.  Parse errors name the line.
  std::string ToText() const;
  bool ApplyText(std::string_view text, std::string* error);
  bool ApplyLine(std::string_view name, std::string_view hex, std::string* error);

 private:
  std::map<std::string, std::vector<uint8_t>, std::less<>> blocks_;
  std::set<std::string, std::less<>> explicit_;
};

std::optional<std::vector<uint8_t>> ParseHex(std::string_view hex);
std::string ToHex(const uint8_t* data, size_t size);

}  // namespace devsim
