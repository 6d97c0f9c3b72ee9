// The application data's buffer and semaphore groups, in process.
#include <gtest/gtest.h>

#include "app/app_data.h"
#include "program/program_objects.h"

namespace {

// The count a semaphore holds, found by taking it down to zero and giving everything back.
LONG CountOf(HANDLE sem) {
  LONG n = 0;
  while (WaitForSingleObject(sem, 0) == WAIT_OBJECT_0) ++n;
  if (n > 0) ReleaseSemaphore(sem, n, nullptr);
  return n;
}

// The maximum: how many releases it takes above the current count.
LONG MaximumOf(HANDLE sem) {
  LONG extra = 0;
  while (ReleaseSemaphore(sem, 1, nullptr)) ++extra;
  for (LONG i = 0; i < extra; ++i) WaitForSingleObject(sem, 0);
  return CountOf(sem) + extra;
}

TEST(AppData, CreationValuesBuffersAndRingSemaphores) {
  ProgramObjects objects;
  ASSERT_EQ(CreateAppData(objects.Parts()), 1);  // CtrlFile.ini lies beside the test
  ASSERT_NE(g_lpApp, nullptr);
  EXPECT_EQ(g_lpApp->byPtzHotPointMode, 1);
  EXPECT_EQ(g_lpApp->wHotPointMarkX, 50);
  EXPECT_EQ(g_lpApp->wHotPointMarkY, 50);
  EXPECT_EQ(g_lpApp->byTurboRepeatStep, 5);
  EXPECT_EQ(g_lpApp->StreamFormatCode, 4);
  EXPECT_EQ(g_lpApp->dwLifeTimeMinutes, -1);
  EXPECT_EQ(g_lpApp->str_ClientVersion, "1.0.6.0");
  EXPECT_NE(g_lpApp->h_ConnectedEvent, nullptr);
  EXPECT_EQ(g_szCookie[0], '\0');

  ASSERT_EQ(AllocateSystemBuffer(), 1);
  EXPECT_EQ(g_lpApp->wSocketSlots, 2);
  EXPECT_EQ(g_lpApp->wImageSlots, 1);
  ASSERT_NE(g_lpApp->lp_SocketBuffer, nullptr);
  g_lpApp->lp_SocketBuffer[2 * APP_DATA::kSocketSlotBytes - 1] = 1;  // whole ring is there
  reinterpret_cast<uint8_t*>(g_lpApp->lp_HeaderSlots)[2 * APP_DATA::kHeaderSlotBytes - 1] = 1;
  g_lpApp->lp_ImageBuffer[APP_DATA::kImageSlotBytes - 1] = 1;

  // Every restart gives the same fresh ring semaphores.
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(InitialSemaphore(), 1);
    const std::pair<CRingSemaphore*, std::pair<LONG, LONG>> rings[] = {
        {g_lpApp->SocketBufferFreeSem, {1, 1}},
        {g_lpApp->SocketBufferFilledSem, {0, 1}},
        {g_lpApp->JPEGImageBufferFreeSem, {1, 1}},
        {g_lpApp->JPEGImageBufferRelSem, {0, 1}},
    };
    for (const auto& [sem, counts] : rings) {
      ASSERT_NE(sem, nullptr);
      EXPECT_EQ(sem->Count(), counts.first);
      EXPECT_EQ(sem->Maximum(), counts.second);
    }
    ASSERT_NE(g_lpApp->MotionEditImageSem, nullptr);
    EXPECT_EQ(CountOf(g_lpApp->MotionEditImageSem), 0);
    EXPECT_EQ(MaximumOf(g_lpApp->MotionEditImageSem), 1);
    g_lpApp->SocketBufferFreeSem->TryTake();  // a used ring must not leak into
    EXPECT_EQ(FreeSemaphore(), 1);            // the next session
  }

  // Freeing twice is harmless and leaves every slot empty.
  EXPECT_EQ(FreeSystemBuffer(), 1);
  EXPECT_EQ(FreeSystemBuffer(), 1);
  EXPECT_EQ(FreeSemaphore(), 1);
  EXPECT_EQ(FreeSemaphore(), 1);
  EXPECT_EQ(g_lpApp->lp_SocketBuffer, nullptr);
  EXPECT_EQ(g_lpApp->lp_ImageBuffer, nullptr);
  EXPECT_EQ(g_lpApp->lp_ViewBuffer, nullptr);
  EXPECT_EQ(g_lpApp->SocketBufferFreeSem, nullptr);
  EXPECT_EQ(g_lpApp->MotionEditImageSem, nullptr);
  delete g_lpApp;
  g_lpApp = nullptr;
  EXPECT_EQ(FreeSystemBuffer(), 1);  // and harmless without the object
  EXPECT_EQ(FreeSemaphore(), 1);
}

}  // namespace
