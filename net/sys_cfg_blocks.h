// The device's configuration blocks: option names and sizes, the queries that read and write
// them, and how the one-reply form "ALL" is cut into blocks.
#pragma once

#include <cstdint>
#include <string_view>

#include "net/cgi_param_list.h"

enum SysCfgOption : uint8_t {
  kSysCfgInf = 0,
  kSysCfgIp = 1,
  kSysCfgSecure = 2,
  kSysCfgDns = 3,
  kSysCfgSmtp = 4,
  kSysCfgFtp = 5,
  kSysCfgPppoe = 6,
  kSysCfgSystem = 7,
  kSysCfgSntp = 8,
  kSysCfgImg = 9,
  kSysCfgRs485 = 10,
  kSysCfgAlarm = 11,
  kSysCfgOnline = 12,
  kSysCfgDvrLive = 13,
  kSysCfgDvrOsd = 14,
  kSysCfgDvrRec = 15,
  kSysCfgPeri = 16,
  kSysCfgAll = 17,
};

inline constexpr int kSysCfgOptionCount = 18;

extern const char* const SysCfgOptionNames[kSysCfgOptionCount];
// Block size by option; ONLINE is its largest size, ALL has none of its own.
inline constexpr uint32_t SysCfgBlockSizes[kSysCfgOptionCount] = {
    44, 24, 196, 12, 440, 104, 68, 36, 36, 12, 124, 24, 240, 772, 20, 132, 16, 0};

// The option's name, or an empty text for a number outside the table.
const char* SysCfgOptionName(uint32_t option);

// "/GetSysCfg.cgi?Option=<name>&Size=<size>[&Cookie=<cookie>]".
void BuildGetSysCfgRequest(CGIParamList& request, uint8_t option, uint32_t size,
                           std::string_view cookie);
// "/SetSysCfg.cgi?Option=<name>[&Refresh=True|False][&Cookie=<cookie>]"; Refresh only for DNS.
void BuildSetSysCfgRequest(CGIParamList& request, uint8_t option, bool refresh,
                           std::string_view cookie);

// The two layouts of "ALL": the video-server families end the fixed part with PERI at 1120 (1136
// bytes), every other device with DVRLIVE, DVROSD and DVRREC (2044 bytes). ONLINE follows.
enum class SysCfgAllLayout { kVideoServer, kDvr };

uint32_t SysCfgAllFixedSize(SysCfgAllLayout layout);

// The video-server layout for "RZ2K", the RZM series and "RZ8P"; the DVR layout for every other
// device.
SysCfgAllLayout SysCfgAllLayoutFor(std::string_view productId);

// Whether the PPPOE block belongs in the copy for older firmware: firmware older than "1007" on
// the video-server families, older than "1052" on the others. Version texts that are not four
// characters long count as new.
bool PppoeUsesOlderCopy(std::string_view productId, std::string_view fwVersion);

// Where each block of "ALL" goes, by option. The PPPOE entry is the copy chosen for the device's
// firmware. Blocks that the layout does not carry may be null.
struct SysCfgAllTargets {
  uint8_t* block[kSysCfgAll] = {};
};

// Cuts an "ALL" reply into the targets. A reply shorter than the layout's fixed part, or one
// whose body did not arrive complete, changes nothing and gives false. The ONLINE copy is cleared
// and receives the rest when it is at most its size.
bool CutSysCfgAll(const uint8_t* body, uint32_t length, bool complete, SysCfgAllLayout layout,
                  const SysCfgAllTargets& targets);
