// A counting semaphore of this process for the frame rings: taking and giving back a slot stay
// inside the process (a lock and a condition variable, no kernel object), so that handing a
// frame from one stream thread to the next does not go through the system's object server.
// A wait also ends on stop events, which stay real events set by other code: the waiter looks
// at them when told that a stop was asked for (Interrupt) and, failing that, every 50 ms.
#pragma once

#include <windows.h>

#include <cstdint>

class CRingSemaphore {
 public:
  static constexpr DWORD kStopPollMs = 50;

  CRingSemaphore(LONG count, LONG maximum) : m_count(count), m_maximum(maximum) {}
  CRingSemaphore(const CRingSemaphore&) = delete;
  CRingSemaphore& operator=(const CRingSemaphore&) = delete;

  // Gives one slot back (never above the maximum) and wakes the waiter.
  void Release();

  // Takes a slot without waiting: true when one was free.
  bool TryTake();

  // Waits for a slot or one of the stop events, up to timeoutMs (INFINITE: no limit).
  // WAIT_OBJECT_0: a slot was taken; WAIT_OBJECT_0 + 1 + i: stops[i] is set (the lowest such
  // i); WAIT_TIMEOUT. With slotFirst a free slot is taken even when a stop event is set;
  // otherwise the stop events are looked at first.
  DWORD Wait(const HANDLE* stops, DWORD stopCount, DWORD timeoutMs, bool slotFirst = false);

  // A stop event was set: the waiter looks at its stop events now.
  void Interrupt();

  LONG Count() const;
  LONG Maximum() const { return m_maximum; }

 private:
  // Index of the first set stop event, or -1.
  static int FirstSetStop(const HANDLE* stops, DWORD stopCount);

  mutable SRWLOCK m_lock = SRWLOCK_INIT;
  CONDITION_VARIABLE m_wake = CONDITION_VARIABLE_INIT;
  LONG m_count;
  const LONG m_maximum;
  uint32_t m_interrupts = 0;  // Interrupt calls so far
  uint32_t m_seen = 0;        // of them, those the waiter has looked at
};
