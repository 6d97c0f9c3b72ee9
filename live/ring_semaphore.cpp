#include "live/ring_semaphore.h"

namespace {
class Exclusive {
 public:
  explicit Exclusive(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
  ~Exclusive() { ReleaseSRWLockExclusive(&m_lock); }
  Exclusive(const Exclusive&) = delete;
  Exclusive& operator=(const Exclusive&) = delete;

 private:
  SRWLOCK& m_lock;
};
}  // namespace

void CRingSemaphore::Release() {
  {
    Exclusive lock(m_lock);
    if (m_count < m_maximum) ++m_count;
  }
  WakeAllConditionVariable(&m_wake);
}

bool CRingSemaphore::TryTake() {
  Exclusive lock(m_lock);
  if (m_count == 0) return false;
  --m_count;
  return true;
}

void CRingSemaphore::Interrupt() {
  {
    Exclusive lock(m_lock);
    ++m_interrupts;
  }
  WakeAllConditionVariable(&m_wake);
}

LONG CRingSemaphore::Count() const {
  AcquireSRWLockShared(&m_lock);
  const LONG count = m_count;
  ReleaseSRWLockShared(&m_lock);
  return count;
}

int CRingSemaphore::FirstSetStop(const HANDLE* stops, DWORD stopCount) {
  for (DWORD i = 0; i < stopCount; ++i)
    if (stops[i] && WaitForSingleObject(stops[i], 0) == WAIT_OBJECT_0) return static_cast<int>(i);
  return -1;
}

DWORD CRingSemaphore::Wait(const HANDLE* stops, DWORD stopCount, DWORD timeoutMs, bool slotFirst) {
  const DWORD start = GetTickCount();
  Exclusive lock(m_lock);
  // The stop events are looked at after an Interrupt not yet seen (unless a free slot goes
  // first) and after every kStopPollMs of waiting.
  bool lookAtStops = m_interrupts != m_seen;
  for (;;) {
    if (lookAtStops && !(slotFirst && m_count > 0)) {
      m_seen = m_interrupts;
      ReleaseSRWLockExclusive(&m_lock);
      const int stop = FirstSetStop(stops, stopCount);
      AcquireSRWLockExclusive(&m_lock);
      if (stop >= 0 && !(slotFirst && m_count > 0)) return WAIT_OBJECT_0 + 1 + stop;
    }
    lookAtStops = false;
    if (m_count > 0) {
      --m_count;
      return WAIT_OBJECT_0;
    }
    DWORD slice = kStopPollMs;
    if (timeoutMs != INFINITE) {
      const DWORD waited = GetTickCount() - start;
      if (waited >= timeoutMs) return WAIT_TIMEOUT;
      if (timeoutMs - waited < slice) slice = timeoutMs - waited;
    }
    if (!SleepConditionVariableSRW(&m_wake, &m_lock, slice, 0) || m_interrupts != m_seen)
      lookAtStops = true;
  }
}
