#include "pagerules/online_rules.h"

#include <cstdio>

#include "net/device_family.h"
#include "net/sys_cfg_fields.h"
#include "pagerules/user_levels.h"

namespace {

constexpr size_t kEntry = 24, kEntries = 5;

const char* ResolutionText(std::string_view productId, bool pal, uint8_t value) {
  static constexpr const char* kServer[2][3] = {{"704*480", "352*240", "176*120"},
                                                {"704*576", "352*288", "176*144"}};
  static constexpr const char* kRz8p[3] = {"640*480", "320*240", "160*120"};
  static constexpr const char* kDvr[2][3] = {{"640*456", "320*228", "160*114"},
                                             {"640*552", "320*276", "160*138"}};
  if (value > 2) return "";
  if (IsRZ8PProduct(productId)) return kRz8p[value];
  if (IsRZ2KProduct(productId) || IsRZMSeriesProduct(productId)) return kServer[pal][value];
  return kDvr[pal][value];
}

}  // namespace

std::vector<OnlineUserRow> OnlineUserRows(std::span<const uint8_t> online,
                                          std::string_view productId, bool pal) {
  std::vector<OnlineUserRow> rows;
  for (size_t i = 0; i < kEntries; ++i) {
    if ((i + 1) * kEntry > online.size() || online[i * kEntry] == 0) continue;
    const auto e = online.subspan(i * kEntry, kEntry);
    OnlineUserRow r;
    r.name = CfgGetText(online, cfg::online::kUserName, static_cast<unsigned>(i));
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", e[16], e[17], e[18], e[19]);
    r.address = text;
    r.levelTextId = UserLevelTextId(e[20]);
    if (e[21] == 0) {
      r.channel = "DVR";
    } else {
      std::snprintf(text, sizeof text, "%2d", e[21]);
      r.channel = text;
    }
    r.resolution = ResolutionText(productId, pal, e[22]);
    r.qualityTextId = e[23] <= 2 ? 2107u + e[23] : 0u;
    rows.push_back(std::move(r));
  }
  return rows;
}
