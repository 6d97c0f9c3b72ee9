#include "platform/tick_timeout.h"

#include <atomic>
#include <chrono>

namespace {
std::atomic<uint32_t> g_tickTimeoutStart{0};
std::atomic<bool> g_tickTimeoutReached{true};

uint32_t TickCountMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
}  // namespace

int StartTickTimeout() {
  if (g_tickTimeoutReached.load()) g_tickTimeoutStart.store(TickCountMs());
  g_tickTimeoutReached.store(false);
  return 1;
}

int TickTimeoutReached(uint32_t seconds) {
  const uint32_t elapsed = TickCountMs() - g_tickTimeoutStart.load();
  if (static_cast<uint64_t>(elapsed) < static_cast<uint64_t>(seconds) * 1000u) return 0;
  g_tickTimeoutReached.store(true);
  return 1;
}
