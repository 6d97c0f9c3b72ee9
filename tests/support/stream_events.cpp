#include "tests/support/stream_events.h"

#include <array>

#include "app/app_data.h"
#include "session/kernel_mailbox.h"

namespace testsupport {

namespace {

struct Slot {
  HANDLE* handle;
  bool manualReset;
};

// Every event but the stream threads' end (manual-reset) resets itself.
std::array<Slot, 7> EventSlots(APP_DATA& a) {
  return {{{&a.h_NotifyGetJPEGImageThreadResetEvent, false},
           {&a.h_FeedBackForNotifyResetEvent, false},
           {&a.h_StartToGetJpegImageEvent, false},
           {&a.h_EndofGetJpegImageEvent, true},
           {&a.h_StartToShowImageEvent, false},
           {&a.h_EndofShowImageEvent, false},
           {&a.h_FinishShowImageJobEvent, false}}};
}

}  // namespace

void MakeStreamEvents(APP_DATA& a) {
  a.h_KernelMessageSem = CreateSemaphoreA(nullptr, 0, 1, nullptr);
  a.h_KernelMessageSlotSem = CreateSemaphoreA(nullptr, 1, 1, nullptr);
  for (const Slot& s : EventSlots(a))
    *s.handle = CreateEventA(nullptr, s.manualReset ? TRUE : FALSE, FALSE, nullptr);
}

void CloseStreamEvents(APP_DATA& a) {
  for (HANDLE* h : {&a.h_KernelMessageSem, &a.h_KernelMessageSlotSem}) {
    if (*h) CloseHandle(*h);
    *h = nullptr;
  }
  for (const Slot& s : EventSlots(a)) {
    if (*s.handle) CloseHandle(*s.handle);
    *s.handle = nullptr;
  }
}

void StreamKernelStandIn::Start() {
  m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_thread = std::thread([this] { Run(); });
}

void StreamKernelStandIn::Stop() {
  if (!m_thread.joinable()) return;
  SetEvent(m_stop);
  m_thread.join();
  CloseHandle(m_stop);
}

void StreamKernelStandIn::Run() {
  APP_DATA& a = *g_lpApp;
  const HANDLE waits[] = {a.h_KernelMessageSem, m_stop};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
    if (a.KernelMessageCode == KM_DRAW_IMAGE && drawing) a.m_StreamPipeline.DrawCurrentFrame();
    if (a.KernelMessageCode == Get_Image_TimeOut_Message) {
      reloginTick = GetTickCount();
      ++relogins;
    }
    ReleaseSemaphore(a.h_KernelMessageSlotSem, 1, nullptr);
  }
}

}  // namespace testsupport
