// The device's CGI commands by number.
#pragma once

#include <cstdint>

struct CgiCommand {
  uint32_t id;
  const char* path;
};

inline constexpr int kCgiCommandCount = 40;

enum CgiCommandId : uint8_t {
  kCgiLogin = 0,
  kCgiGetVideo = 1,
  kCgiSetChannel = 2,
  kCgiSetResolution = 3,
  kCgiSetQuality = 4,
  kCgiSetBrcssa = 5,
  kCgiGetSysCfg = 6,
  kCgiPeriodCommand = 7,
  kCgiSetSysCfg = 8,
  kCgiUpgradeFW = 9,
  kCgiGetOnlineUser = 10,
  kCgiRS485Cmd = 11,
  kCgiSetVoroz = 12,
  kCgiReboot = 13,
  kCgiGetDeviceInfo = 14,
  kCgiGetLog = 15,
  kCgiSetRetr = 16,
  kCgiGetDvrHDD = 17,
  kCgiNetworkBk = 18,
  kCgiPTZReset = 19,
  kCgiGetColor = 20,
  kCgiSetColor = 21,
  kCgiSyncTime = 22,
  kCgiGetSearchList = 23,
  kCgiGetVersion = 24,
  kCgiCancelNB = 25,
  kCgiGetVersion2 = 26,
  kCgiGetDvrName = 27,
  kCgiGetDefaultLang = 28,
  kCgiGetIndexLang = 29,
  kCgiOV9653Zoom = 30,
  kCgiOV9653Rotate = 31,
  kCgiClearLog = 32,
  kCgiGetDvrDate = 33,
  kCgiSetDvrDate = 34,
  kCgiGetRecordSetting = 35,
  kCgiSetRecordSetting = 36,
  kCgiCancelUPFW = 37,
  kCgiSetBuzzer = 38,
  kCgiSearchPlayBack = 39,
};

// Row n holds command n.
extern const CgiCommand CgiCommandTable[kCgiCommandCount];

// The path of a command, or an empty text for a number outside the table.
const char* CgiCommandPath(uint32_t id);
