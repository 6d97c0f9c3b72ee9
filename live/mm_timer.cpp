#include "live/mm_timer.h"

#include <mmsystem.h>

CMMTimer::~CMMTimer() {
  if (m_uTimerId) timeKillEvent(m_uTimerId);
  if (m_hTimerEvent) CloseHandle(m_hTimerEvent);
}

void CMMTimer::SetResolution() {
  TIMECAPS caps{};
  if (timeGetDevCaps(&caps, sizeof caps) != TIMERR_NOERROR) return;
  m_uResolution = caps.wPeriodMin;
  timeBeginPeriod(m_uResolution);
}

int CMMTimer::Stop() {
  // A repeated end is refused by the multimedia system without effect.
  if (m_uResolution) timeEndPeriod(m_uResolution);
  m_uResolution = 0;
  if (m_uTimerId) {
    timeKillEvent(m_uTimerId);
    m_uTimerId = 0;
  }
  if (m_hTimerEvent) {
    CloseHandle(m_hTimerEvent);
    m_hTimerEvent = nullptr;
  }
  return 1;
}
