// Multimedia timer: sets the system timer resolution for the session. A periodic timer is
// provided for but never started.
#pragma once

#include <windows.h>

class CMMTimer {
 public:
  CMMTimer() = default;
  ~CMMTimer();
  CMMTimer(const CMMTimer&) = delete;
  CMMTimer& operator=(const CMMTimer&) = delete;

  // Begins a timer period at the device's minimum resolution.
  void SetResolution();
  // Ends the period, kills a periodic timer and closes its event when they exist. Returns 1.
  int Stop();

 private:
  UINT m_uResolution = 0;
  UINT m_uTimerId = 0;
  HANDLE m_hTimerEvent = nullptr;
};
