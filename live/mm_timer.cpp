#include "live/mm_timer.h"

#include <mmsystem.h>

#include <atomic>

#include "net/device_family.h"

namespace {
// The tick event as the timer callback sees it.
std::atomic<HANDLE> g_hTimerTickEvent{nullptr};
}  // namespace

CMMTimer::~CMMTimer() {
  Stop();
}

int CMMTimer::SetResolution() {
  TIMECAPS caps{};
  UINT resolution = 1;
  if (timeGetDevCaps(&caps, sizeof caps) == TIMERR_NOERROR) {
    resolution = caps.wPeriodMin < 1 ? 1 : caps.wPeriodMin;
    if (resolution > caps.wPeriodMax) resolution = caps.wPeriodMax;
  }
  m_uResolution = resolution;
  if (!m_fPeriodBegun && timeBeginPeriod(m_uResolution) == TIMERR_NOERROR) m_fPeriodBegun = true;
  return 1;
}

int CMMTimer::Start(std::string_view productId) {
  if (IsRZKSeriesProduct(productId) || IsRZ2KProduct(productId)) m_bEnabled = 0;
  if (!m_bEnabled || m_uTimerId) return 1;
  m_hTickEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!m_hTickEvent) return 1;
  g_hTimerTickEvent = m_hTickEvent;
  m_uTimerId = timeSetEvent(1, m_uResolution & 0xFFFF, &CMMTimer::TimerProc, 0, TIME_PERIODIC);
  return 1;
}

void CALLBACK CMMTimer::TimerProc(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  if (HANDLE e = g_hTimerTickEvent.load()) SetEvent(e);
}

int CMMTimer::Wait() {
  if (!m_bEnabled || !m_hTickEvent) return -1;
  return WaitForSingleObject(m_hTickEvent, 200) == WAIT_OBJECT_0 ? 0 : 1;
}

int CMMTimer::Stop() {
  // The period is ended once, however often the program stops the timer.
  if (m_fPeriodBegun) {
    timeEndPeriod(m_uResolution);
    m_fPeriodBegun = false;
  }
  if (m_uTimerId) {
    timeKillEvent(m_uTimerId);
    m_uTimerId = 0;
  }
  if (m_hTickEvent) {
    g_hTimerTickEvent = nullptr;
    CloseHandle(m_hTickEvent);
    m_hTickEvent = nullptr;
  }
  return 1;
}
