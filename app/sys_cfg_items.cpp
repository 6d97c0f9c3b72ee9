#include "app/sys_cfg_items.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "net/device_session.h"
#include "net/sys_cfg_blocks.h"
#include "net/sys_cfg_transfer.h"

namespace {
std::string CookieCopy() {
  std::lock_guard<std::mutex> lock(SessionMutex());
  return std::string(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
}

SysCfgAllTargets AppDataTargets(bool pppoeOlderCopy) {
  APP_DATA& a = *g_lpApp;
  SysCfgAllTargets t;
  t.block[kSysCfgInf] = a.InfBlock;
  t.block[kSysCfgIp] = a.IpBlock;
  t.block[kSysCfgSecure] = a.SecureBlock;
  t.block[kSysCfgDns] = a.DnsBlock;
  t.block[kSysCfgSmtp] = a.SmtpBlock;
  t.block[kSysCfgFtp] = a.FtpBlock;
  // The first PPPOE image is the copy for older firmware.
  t.block[kSysCfgPppoe] = pppoeOlderCopy ? a.PppoeBlock : a.PppoeBlock2;
  t.block[kSysCfgSystem] = a.SystemBlock;
  t.block[kSysCfgSntp] = a.SntpBlock;
  t.block[kSysCfgImg] = a.ImgBlock;
  t.block[kSysCfgRs485] = a.Rs485Block;
  t.block[kSysCfgAlarm] = a.AlarmBlock;
  t.block[kSysCfgOnline] = a.OnlineBlock;
  t.block[kSysCfgDvrLive] = a.DvrLiveBlock;
  t.block[kSysCfgDvrOsd] = a.DvrOsdBlock;
  t.block[kSysCfgDvrRec] = a.DvrRecBlock;
  t.block[kSysCfgPeri] = a.PeriBlock;
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
                      AppDataTargets(PppoeUsesOlderCopy(productId, firmware)))
             ? 1
             : 0;
}

int SetSysCfgItem(uint8_t option, const void* block, uint32_t size, uint32_t refresh) {
  return SetSysCfgBlock(ProgramDeviceSession(), CookieCopy(), option, block, size, refresh);
}
