// Helpers of the GUI tests: bounded waits, so that no test hangs.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/message_loop.h"

namespace ost_test {

constexpr DWORD kWaitMs = 5000;

// Processes this thread's messages until `done` (or the time-out).
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
  return ost::PumpMessagesUntil(done, timeoutMs);
}

// Polls `done` without processing messages (for helper threads).
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(5);
  }
  return true;
}

// Lets queued messages run for a moment.
inline void PumpFor(DWORD ms) {
  ost::PumpMessagesUntil([] { return false; }, ms);
}

}  // namespace ost_test
