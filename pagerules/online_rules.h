// The online-users page's rows from the ONLINE block.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct OnlineUserRow {
  std::string name;
  std::string address;     // "%d.%d.%d.%d"
  uint32_t levelTextId;    // 0: empty cell
  std::string resolution;  // empty for a value above 2
  uint32_t qualityTextId;  // 0: empty cell
  std::string channel;     // "%2d", or "DVR" for 0
};

// The non-empty entries among the first five, in entry order. pal: the 625-line standard.
std::vector<OnlineUserRow> OnlineUserRows(std::span<const uint8_t> online,
                                          std::string_view productId, bool pal);
