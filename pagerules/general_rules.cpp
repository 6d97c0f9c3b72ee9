#include "pagerules/general_rules.h"

#include <algorithm>

#include "net/device_family.h"
#include "net/sys_cfg_fields.h"

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
  if ((rz2k || IsRZMSeriesProduct(productId)) && FirmwareOlderThan("1007", firmware))
    g.serverLog = false;
  g.title = IsRZKSeriesProduct(productId) || rz2k;
  g.channelNames = rz2k && !FirmwareOlderThan("1010", firmware);
  return g;
}

GeneralValues LoadGeneral(std::span<const uint8_t> system, std::span<const uint8_t> rs485,
                          const GeneralGates& gates) {
  GeneralValues v;
  if (gates.title) v.title = CfgGetText(system, cfg::sys::kDeviceTitle).substr(0, kTitleChars);
  if (gates.channelNames) {
    v.ch1 = CfgGetText(rs485, cfg::rs485::kTitleA).substr(0, kChannelNameChars);
    v.ch2 = CfgGetText(rs485, cfg::rs485::kTitleB).substr(0, kChannelNameChars);
  }
  return v;
}

GeneralStore StoreGeneral(const GeneralValues& now, const GeneralValues& snapshot,
                          const GeneralGates& gates, std::span<uint8_t> system,
                          std::span<uint8_t> rs485) {
  GeneralStore s;
  if (gates.title && now.title != snapshot.title) {
    CfgClear(system, cfg::sys::kDeviceTitle);
    CfgSetText(system, cfg::sys::kDeviceTitle, now.title.substr(0, kTitleChars));
    s.system = true;
  }
  if (gates.channelNames && (now.ch1 != snapshot.ch1 || now.ch2 != snapshot.ch2)) {
    CfgClear(rs485, cfg::rs485::kTitleA);
    CfgClear(rs485, cfg::rs485::kTitleB);
    if (now.ch1.size() <= kChannelNameChars) CfgSetText(rs485, cfg::rs485::kTitleA, now.ch1);
    if (now.ch2.size() <= kChannelNameChars) CfgSetText(rs485, cfg::rs485::kTitleB, now.ch2);
    s.rs485 = true;
  }
  return s;
}
