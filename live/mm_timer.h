// Multimedia timer: raises the system timer resolution for the program's lifetime and can run
// a periodic 1 ms tick that would pace the show thread. It is created disabled and nothing
// enables it, so no periodic timer runs and frames are handed on without pacing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

class CMMTimer {
 public:
  CMMTimer() = default;
  ~CMMTimer();
  CMMTimer(const CMMTimer&) = delete;
  CMMTimer& operator=(const CMMTimer&) = delete;

  // Begins a timer period at the device's minimum resolution (at least 1 ms, at most its
  // maximum; 1 ms when the capabilities cannot be read). Returns 1.
  int SetResolution();
  // Disabled for RZ1K, RZ3K, RZ4K and RZ2K; starts the periodic tick only when enabled.
  // Returns 1.
  int Start(std::string_view productId);
  // -1 at once when disabled; else 0 when a tick came within 200 ms, 1 when none did.
  int Wait();
  // Ends the timer period, kills the tick and closes its event when they exist. Returns 1.
  int Stop();

  static void CALLBACK TimerProc(UINT id, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                                 DWORD_PTR reserved2);

  uint32_t m_uResolution = 1;
  uint32_t m_uTimerId = 0;
  HANDLE m_hTickEvent = nullptr;
  uint32_t m_bEnabled = 0;

 private:
  bool m_fPeriodBegun = false;
};
