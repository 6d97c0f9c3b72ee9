// A key's command script turned into the "/RS485Cmd.cgi" request: the body (count, command bytes
// with their marks filled in, repeat byte, 0x32) and the query that addresses the unit.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "net/ctrl_file.h"
#include "net/cgi_param_list.h"

inline constexpr size_t kRs485BodyMax = 64;
inline constexpr size_t kRs485CommandMax = kRs485BodyMax - 3;
inline constexpr uint8_t kRs485EndByte = 0x32;
// Key flag: the request carries no PTZ protocol parameters.
inline constexpr uint16_t kKeyFlagNoPtzProtocol = 0x0200;

// The level code of a user class (0 SUPERVISOR 60, 1 HIGH USER 40, 2 GUEST 4, 3 NORMAL USER 20;
// any other class counts as 3), sent by mark 1.
uint8_t LevelCodeOfAccessClass(uint8_t accessClass);

// What the marks are filled with.
struct Rs485MarkValues {
  uint8_t byLevelCode = 20;          // mark 1
  uint8_t byLastChannelAddress = 0;  // mark 13 (D)
  uint8_t byLastPtzAddress = 0;      // mark 11 (B) on RZK recorders without channel cameras
  bool fRzkWithoutMultiChannel = false;
  bool fPresetMode = false;  // selects the PRESET variant of "%7" scripts
};

enum class Rs485BodyOutcome {
  kOk,
  kNoCommand,   // the script has no bytes
  kTooLong,     // more than 61 command bytes
  kIncomplete,  // a variant or end the script's form needs is missing
};

struct Rs485Body {
  Rs485BodyOutcome outcome = Rs485BodyOutcome::kNoCommand;
  std::vector<uint8_t> bytes;  // N + 3 bytes when kOk, else empty
};

// Produces the body of a script (forms "%A", "%7", "%3" and plain) with repeat as its repeat
// byte. Marks other than 1, 2, 6, 11 and 13 take the owning record's parameter of their number
// (form "%3": 0).
Rs485Body BuildRs485Body(const ControlCommandScript& script, uint8_t repeat,
                         const Rs485MarkValues& marks);

// Who the request goes to.
struct Rs485Addressing {
  std::string_view productId;
  uint8_t byMultiChannel = 0;
  bool fCurrentInChannelGroup = true;
  uint8_t byPosition = 0;  // of the current unit within its group
  uint8_t byCurrentModelRow = 0;
  uint8_t byLastChannelModelRow = 0;  // of the channel-group unit made current last
  uint16_t wKeyFlags = 0;
  std::string_view cookie;  // left out when empty
  // A channel-group unit last made current with row 25 gets the PELCO parameters too (the
  // hot point asks them for row 18 only).
  bool fRow25Pelco = true;
};

// "/RS485Cmd.cgi?Control=RZ1K", then MASTER, CH, PELOCO and PROTOCOL as the unit requires, then
// Cookie.
void BuildRs485Query(CGIParamList& request, const Rs485Addressing& addressing);
