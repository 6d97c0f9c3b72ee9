#include "pagerules/general_rules.h"

#include <algorithm>

#include "net/device_family.h"
#include "pagerules/field_text.h"

namespace {

constexpr size_t kTitleOffset = 20, kTitleWidth = 16;
constexpr size_t kTitleAOffset = 44, kTitleBOffset = 52, kChannelNameWidth = 8;

}  // namespace

std::string DottedFirmware(std::string_view firmware) {
  std::string out;
  for (char c : firmware) {
    if (!out.empty()) out.push_back('.');
    out.push_back(c);
  }
  return out;
}

std::string ColonMac(std::string_view mac) {
  std::string out;
  for (size_t i = 0; i < mac.size(); ++i) {
    if (i > 0 && i % 2 == 0) out.push_back(':');
    out.push_back(mac[i]);
  }
  return out;
}

bool FilterMaxLogList(std::string_view text, int* value) {
  int64_t n = 0;
  bool digits = false;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    digits = true;
    n = std::min<int64_t>(n * 10 + (c - '0'), 1000000);
  }
  if (!digits) return false;
  *value = static_cast<int>(std::min<int64_t>(n, 2048));
  return true;
}

GeneralGates GeneralGatesFor(std::string_view productId, std::string_view firmware) {
  GeneralGates g;
  const bool rz2k = IsRZ2KProduct(productId);
  if ((rz2k || IsRZMSeriesProduct(productId)) && FirmwareOlderThan(firmware, "1007"))
    g.serverLog = false;
  g.title = IsRZKSeriesProduct(productId) || rz2k;
  g.channelNames = rz2k && !FirmwareOlderThan(firmware, "1010");
  return g;
}

GeneralValues LoadGeneral(std::span<const uint8_t> system, std::span<const uint8_t> rs485,
                          const GeneralGates& gates) {
  GeneralValues v;
  if (gates.title)
    v.title = FieldText(BlockField(system, kTitleOffset, kTitleWidth)).substr(0, kTitleChars);
  if (gates.channelNames) {
    v.ch1 = FieldText(BlockField(rs485, kTitleAOffset, kChannelNameWidth)).substr(0, kChannelNameChars);
    v.ch2 = FieldText(BlockField(rs485, kTitleBOffset, kChannelNameWidth)).substr(0, kChannelNameChars);
  }
  return v;
}

GeneralStore StoreGeneral(const GeneralValues& now, const GeneralValues& snapshot,
                          const GeneralGates& gates, std::span<uint8_t> system,
                          std::span<uint8_t> rs485) {
  GeneralStore s;
  if (gates.title && now.title != snapshot.title) {
    WriteFieldText(BlockField(system, kTitleOffset, kTitleWidth), now.title.substr(0, kTitleChars));
    s.system = true;
  }
  if (gates.channelNames && (now.ch1 != snapshot.ch1 || now.ch2 != snapshot.ch2)) {
    auto both = BlockField(rs485, kTitleAOffset, 2 * kChannelNameWidth);
    std::fill(both.begin(), both.end(), uint8_t{0});
    if (now.ch1.size() <= kChannelNameChars)
      WriteFieldText(BlockField(rs485, kTitleAOffset, kChannelNameWidth), now.ch1);
    if (now.ch2.size() <= kChannelNameChars)
      WriteFieldText(BlockField(rs485, kTitleBOffset, kChannelNameWidth), now.ch2);
    s.rs485 = true;
  }
  return s;
}
