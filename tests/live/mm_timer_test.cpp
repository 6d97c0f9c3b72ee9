// The multimedia timer as the program uses it: the resolution is raised and restored, the
// periodic tick never runs and Wait never paces.
#include <gtest/gtest.h>

#include "live/mm_timer.h"

namespace {

TEST(MMTimer, DisabledTimerNeverTicksAndStopsTwiceHarmlessly) {
  CMMTimer timer;
  EXPECT_EQ(timer.m_uResolution, 1u);
  EXPECT_EQ(timer.m_bEnabled, 0u);
  EXPECT_EQ(timer.SetResolution(), 1);
  EXPECT_GE(timer.m_uResolution, 1u);
  for (const char* product : {"RZ1K", "RZ2K", "RZ8P", "RZ5M"}) {
    EXPECT_EQ(timer.Start(product), 1);
    EXPECT_EQ(timer.m_uTimerId, 0u);
    EXPECT_EQ(timer.m_hTickEvent, nullptr);
  }
  const DWORD start = GetTickCount();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(timer.Wait(), -1);
  EXPECT_LT(GetTickCount() - start, 100u);  // at once, every time
  EXPECT_EQ(timer.Stop(), 1);
  EXPECT_EQ(timer.Stop(), 1);
}

}  // namespace
