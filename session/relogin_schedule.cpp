#include "session/relogin_schedule.h"

#include "net/device_family.h"

uint32_t ReloginBackoffMs(uint64_t failures, const ReloginBackoff& backoff) {
  const uint64_t divisor = backoff.dwDivisor ? backoff.dwDivisor : 1;
  const uint64_t steps = 1 + failures / divisor;
  const uint64_t cap = backoff.dwCapMs;
  // steps * unit cannot overflow 64 bits unless steps is huge; clamp before multiplying.
  if (backoff.dwUnitMs != 0 && steps >= cap / backoff.dwUnitMs + 1) return backoff.dwCapMs;
  const uint64_t product = steps * backoff.dwUnitMs;
  return static_cast<uint32_t>(product >= cap ? cap : product);
}

int ReloginControlEntryIndex(std::string_view productId, uint8_t multiChannel,
                             uint8_t selectedChannel) {
  if (IsRZKSeriesProduct(productId))
    return IsMultiChannelDevice(multiChannel) ? selectedChannel : 0;
  if (IsRZMSeriesProduct(productId) || IsRZ8PProduct(productId)) return 0;
  if (IsRZ2KProduct(productId)) return selectedChannel == 1 ? 0 : 1;
  return -1;
}

bool LifetimeReached(uint32_t seconds, int32_t minutes) {
  const uint64_t limit = static_cast<uint64_t>(static_cast<uint32_t>(minutes)) * 60u;
  return seconds >= limit;
}

int IsIpAddressText(std::string_view text) {
  for (const char c : text)
    if (!(c >= '0' && c <= '9') && c != '.') return 1;
  return 2;
}
