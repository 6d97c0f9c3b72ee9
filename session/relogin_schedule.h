// The relogin thread's decisions that need no platform: its back-off wait, the control entry it
// makes current for the device found, the account lifetime limit and the server text test.
#pragma once

#include <cstdint>
#include <string_view>

// Waits of the relogin thread's back-off.
struct ReloginBackoff {
  uint32_t dwUnitMs = 3000;  // the grown wait is unit x (1 + failures / divisor)
  uint32_t dwCapMs = 30000;  // a grown wait of this or more waits this
  uint32_t dwDivisor = 2000;
};

// The grown wait after `failures` earlier failed attempts: 3000 ms x (1 + failures / 2000),
// the division rounded down, at most 30000 ms. Computed wide, so it never wraps.
uint32_t ReloginBackoffMs(uint64_t failures, const ReloginBackoff& backoff = {});

// Which kind-2 control entry (counting from 0) the relogin makes current for the device found,
// or -1 when it chooses none.
int ReloginControlEntryIndex(std::string_view productId, uint8_t multiChannel,
                             uint8_t selectedChannel);

// True once `seconds` of connected time reach the account's allowed `minutes`; -1 means no
// limit and is told apart by the caller. Other negative values are taken as unsigned 32-bit
// minutes, and minutes x 60 is computed in 64 bits.
bool LifetimeReached(uint32_t seconds, int32_t minutes);

// 2 when every character is a digit or "." (the empty text included), else 1.
int IsIpAddressText(std::string_view text);
