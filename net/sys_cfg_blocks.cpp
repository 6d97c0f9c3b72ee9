#include "net/sys_cfg_blocks.h"

#include <cstring>

#include "net/device_family.h"
#include "net/cgi_command_table.h"

const char* const SysCfgOptionNames[kSysCfgOptionCount] = {
    "INF", "IP",    "SECURE", "DNS",    "SMTP",    "FTP",    "PPPOE",  "SYSTEM", "SNTP",
    "IMG", "RS485", "ALARM",  "ONLINE", "DVRLIVE", "DVROSD", "DVRREC", "PERI",   "ALL"};

namespace {
struct BlockPlace {
  SysCfgOption option;
  uint32_t offset;
};

constexpr BlockPlace kCommonPart[] = {
    {kSysCfgInf, 0},    {kSysCfgIp, 44},   {kSysCfgSecure, 68}, {kSysCfgDns, 264},
    {kSysCfgSmtp, 276}, {kSysCfgFtp, 716}, {kSysCfgPppoe, 820}, {kSysCfgSystem, 888},
    {kSysCfgSntp, 924}, {kSysCfgImg, 960}, {kSysCfgRs485, 972}, {kSysCfgAlarm, 1096},
};
constexpr BlockPlace kVideoServerPart[] = {{kSysCfgPeri, 1120}};
constexpr BlockPlace kDvrPart[] = {
    {kSysCfgDvrLive, 1120}, {kSysCfgDvrOsd, 1892}, {kSysCfgDvrRec, 1912}};

constexpr uint32_t kVideoServerFixedSize = 1136;
constexpr uint32_t kDvrFixedSize = 2044;

template <size_t N>
void CopyBlocks(const BlockPlace (&places)[N], const uint8_t* body, const SysCfgAllTargets& t) {
  for (const BlockPlace& p : places)
    if (uint8_t* dst = t.block[p.option])
      std::memcpy(dst, body + p.offset, SysCfgBlockSizes[p.option]);
}
}  // namespace

const char* SysCfgOptionName(uint32_t option) {
  return option < static_cast<uint32_t>(kSysCfgOptionCount) ? SysCfgOptionNames[option] : "";
}

void BuildGetSysCfgRequest(CGIParamList& request, uint8_t option, uint32_t size,
                           std::string_view cookie) {
  request.AddParam("Option", SysCfgOptionName(option));
  request.AddParam("Size", std::to_string(size));
  if (!cookie.empty()) request.AddParam("Cookie", cookie);
}

void BuildSetSysCfgRequest(CGIParamList& request, uint8_t option, bool refresh,
                           std::string_view cookie) {
  request.AddParam("Option", SysCfgOptionName(option));
  if (option == kSysCfgDns) request.AddParam("Refresh", refresh ? "True" : "False");
  if (!cookie.empty()) request.AddParam("Cookie", cookie);
}

uint32_t SysCfgAllFixedSize(SysCfgAllLayout layout) {
  return layout == SysCfgAllLayout::kVideoServer ? kVideoServerFixedSize : kDvrFixedSize;
}

SysCfgAllLayout SysCfgAllLayoutFor(std::string_view productId) {
  if (IsRZ2KProduct(productId) || IsRZMSeriesProduct(productId) || IsRZ8PProduct(productId))
    return SysCfgAllLayout::kVideoServer;
  return SysCfgAllLayout::kDvr;
}

bool PppoeUsesOlderCopy(std::string_view productId, std::string_view fwVersion) {
  const char* threshold =
      SysCfgAllLayoutFor(productId) == SysCfgAllLayout::kVideoServer ? "1007" : "1052";
  return CompareVersionString(threshold, fwVersion) == 2;
}

bool CutSysCfgAll(const uint8_t* body, uint32_t length, bool complete, SysCfgAllLayout layout,
                  const SysCfgAllTargets& targets) {
  const uint32_t fixed = SysCfgAllFixedSize(layout);
  if (!complete || !body || length < fixed) return false;
  CopyBlocks(kCommonPart, body, targets);
  if (layout == SysCfgAllLayout::kVideoServer)
    CopyBlocks(kVideoServerPart, body, targets);
  else
    CopyBlocks(kDvrPart, body, targets);
  if (uint8_t* online = targets.block[kSysCfgOnline]) {
    const uint32_t onlineSize = SysCfgBlockSizes[kSysCfgOnline];
    std::memset(online, 0, onlineSize);
    const uint32_t rest = length - fixed;
    if (rest <= onlineSize) std::memcpy(online, body + fixed, rest);
  }
  return true;
}
