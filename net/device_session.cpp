#include "net/device_session.h"

uint32_t g_fPendingWebPort = 0;
uint16_t g_wPendingWebPort = 0;
uint32_t g_fPendingServerName = 0;
std::string g_strPendingServerName;

std::mutex& SessionMutex() {
  static std::mutex m;
  return m;
}

std::mutex& SysCfgBlockMutex() {
  static std::mutex m;
  return m;
}
