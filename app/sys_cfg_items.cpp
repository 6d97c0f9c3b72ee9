#include "app/sys_cfg_items.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "net/device_session.h"
#include "net/sys_cfg_blocks.h"
#include "net/sys_cfg_transfer.h"

// Every copy holds its whole block.
static_assert(sizeof(APP_DATA::cfg_INF) == SysCfgBlockSizes[kSysCfgInf]);
static_assert(sizeof(APP_DATA::cfg_IP) == SysCfgBlockSizes[kSysCfgIp]);
static_assert(sizeof(APP_DATA::cfg_SECURE) == SysCfgBlockSizes[kSysCfgSecure]);
static_assert(sizeof(APP_DATA::cfg_DNS) == SysCfgBlockSizes[kSysCfgDns]);
static_assert(sizeof(APP_DATA::cfg_SMTP) == SysCfgBlockSizes[kSysCfgSmtp]);
static_assert(sizeof(APP_DATA::cfg_FTP) == SysCfgBlockSizes[kSysCfgFtp]);
static_assert(sizeof(APP_DATA::cfg_PPPOE) == SysCfgBlockSizes[kSysCfgPppoe]);
static_assert(sizeof(APP_DATA::cfg_PPPOE_Old) == SysCfgBlockSizes[kSysCfgPppoe]);
static_assert(sizeof(APP_DATA::cfg_SYSTEM) == SysCfgBlockSizes[kSysCfgSystem]);
static_assert(sizeof(APP_DATA::cfg_SNTP) == SysCfgBlockSizes[kSysCfgSntp]);
static_assert(sizeof(APP_DATA::cfg_IMG) == SysCfgBlockSizes[kSysCfgImg]);
static_assert(sizeof(APP_DATA::cfg_RS485) == SysCfgBlockSizes[kSysCfgRs485]);
static_assert(sizeof(APP_DATA::cfg_ALARM) == SysCfgBlockSizes[kSysCfgAlarm]);
static_assert(sizeof(APP_DATA::cfg_ONLINE) == SysCfgBlockSizes[kSysCfgOnline]);
static_assert(sizeof(APP_DATA::cfg_DVRLIVE) == SysCfgBlockSizes[kSysCfgDvrLive]);
static_assert(sizeof(APP_DATA::cfg_DVROSD) == SysCfgBlockSizes[kSysCfgDvrOsd]);
static_assert(sizeof(APP_DATA::cfg_DVRREC) == SysCfgBlockSizes[kSysCfgDvrRec]);
static_assert(sizeof(APP_DATA::cfg_PERI) == SysCfgBlockSizes[kSysCfgPeri]);

namespace {
std::string CookieCopy() {
  std::lock_guard<std::mutex> lock(SessionMutex());
  return std::string(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
}

SysCfgAllTargets AppDataTargets(APP_DATA& a, bool pppoeOlderCopy) {
  SysCfgAllTargets t;
  t.block[kSysCfgInf] = a.cfg_INF;
  t.block[kSysCfgIp] = a.cfg_IP;
  t.block[kSysCfgSecure] = a.cfg_SECURE;
  t.block[kSysCfgDns] = a.cfg_DNS;
  t.block[kSysCfgSmtp] = a.cfg_SMTP;
  t.block[kSysCfgFtp] = a.cfg_FTP;
  t.block[kSysCfgPppoe] = pppoeOlderCopy ? a.cfg_PPPOE_Old : a.cfg_PPPOE;
  t.block[kSysCfgSystem] = a.cfg_SYSTEM;
  t.block[kSysCfgSntp] = a.cfg_SNTP;
  t.block[kSysCfgImg] = a.cfg_IMG;
  t.block[kSysCfgRs485] = a.cfg_RS485;
  t.block[kSysCfgAlarm] = a.cfg_ALARM;
  t.block[kSysCfgOnline] = a.cfg_ONLINE;
  t.block[kSysCfgDvrLive] = a.cfg_DVRLIVE;
  t.block[kSysCfgDvrOsd] = a.cfg_DVROSD;
  t.block[kSysCfgDvrRec] = a.cfg_DVRREC;
  t.block[kSysCfgPeri] = a.cfg_PERI;
  return t;
}
}  // namespace

int GetSysCfgItem(uint8_t option, void* destination, uint32_t size) {
  if (option >= kSysCfgOptionCount || !g_lpApp) return 0;
  if (option != kSysCfgAll)
    return GetSysCfgBlock(ProgramDeviceSession(), CookieCopy(), option, destination, size);

  std::vector<uint8_t> reply;
  uint32_t length = 0;
  if (!FetchSysCfg(ProgramDeviceSession(), CookieCopy(), option, 0, reply, length)) return 0;
  std::lock_guard<std::mutex> lock(SysCfgBlockMutex());
  const std::string& productId = g_lpApp->str_ProductID;
  const std::string& firmware = g_lpApp->str_FWVersion;
  return CutSysCfgAll(reply.data(), length, true, SysCfgAllLayoutFor(productId),
                      AppDataTargets(*g_lpApp, PppoeUsesOlderCopy(productId, firmware)))
             ? 1
             : 0;
}

int SetSysCfgItem(uint8_t option, const void* block, uint32_t size, uint32_t refresh) {
  return SetSysCfgBlock(ProgramDeviceSession(), CookieCopy(), option, block, size, refresh);
}

std::span<uint8_t> SysCfgCopy(APP_DATA& a, uint8_t option, PppoeLayout pppoe) {
  if (option >= kSysCfgAll) return {};
  return {AppDataTargets(a, pppoe == PppoeLayout::kOld).block[option], SysCfgBlockSizes[option]};
}

std::span<uint8_t> SysCfgCopy(APP_DATA& a, uint8_t option) {
  return SysCfgCopy(a, option, PppoeLayoutFor(a.str_ProductID, a.str_FWVersion));
}
