// The frame rings' semaphore: counts and cap, hand-over between threads, and the stop events a
// waiter obeys (at once when told, within its poll time when not).
#include "live/ring_semaphore.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class Event {
 public:
  Event() : m_h(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() { CloseHandle(m_h); }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  HANDLE Get() const { return m_h; }

 private:
  HANDLE m_h;
};

TEST(RingSemaphore, CountsUpToItsMaximumAndTimesOut) {
  CRingSemaphore sem(1, 2);
  sem.Release();
  sem.Release();  // above the maximum: ignored
  EXPECT_EQ(sem.Count(), 2);
  EXPECT_EQ(sem.Wait(nullptr, 0, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(sem.TryTake());
  EXPECT_FALSE(sem.TryTake());
  const DWORD start = GetTickCount();
  EXPECT_EQ(sem.Wait(nullptr, 0, 120), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_GE(GetTickCount() - start, 100u);
}

TEST(RingSemaphore, ReleaseFromAnotherThreadEndsAWait) {
  CRingSemaphore sem(0, 1);
  std::thread giver([&] {
    Sleep(30);
    sem.Release();
  });
  EXPECT_EQ(sem.Wait(nullptr, 0, 10000), WAIT_OBJECT_0);
  giver.join();
  EXPECT_EQ(sem.Count(), 0);
}

// Which of a free slot and a set stop event a wait reports, and how fast a stop is seen.
TEST(RingSemaphore, StopEventsAgainstFreeSlots) {
  Event end, reset;
  const HANDLE stops[] = {end.Get(), reset.Get()};
  {
    CRingSemaphore sem(1, 1);
    SetEvent(reset.Get());
    sem.Interrupt();
    // Told of the stop: it goes before the free slot unless the slot goes first.
    EXPECT_EQ(sem.Wait(stops, 2, INFINITE, true), WAIT_OBJECT_0);
    EXPECT_EQ(sem.Wait(stops, 2, INFINITE, true), WAIT_OBJECT_0 + 2u);
    sem.Release();
    SetEvent(end.Get());
    sem.Interrupt();
    EXPECT_EQ(sem.Wait(stops, 2, INFINITE), WAIT_OBJECT_0 + 1u);  // the lowest set stop
    ResetEvent(end.Get());
    ResetEvent(reset.Get());
  }
  for (const bool told : {true, false}) {
    SCOPED_TRACE(told ? "interrupted" : "polled");
    CRingSemaphore sem(0, 1);
    DWORD result = 0, waited = 0;
    std::thread waiter([&] {
      const DWORD start = GetTickCount();
      result = sem.Wait(stops, 2, INFINITE);
      waited = GetTickCount() - start;
    });
    Sleep(100);
    SetEvent(end.Get());
    if (told) sem.Interrupt();
    waiter.join();
    EXPECT_EQ(result, WAIT_OBJECT_0 + 1u);
    EXPECT_LT(waited, 100u + 10 * CRingSemaphore::kStopPollMs);  // not stuck: no timing test
    ResetEvent(end.Get());
  }
}

}  // namespace
