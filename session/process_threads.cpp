#include "session/process_threads.h"

#include <atomic>

#include "app/app_data.h"
#include "session/main_window_link.h"
#include "session/relogin_schedule.h"
#include "session/session_control.h"
#include "session/session_messages.h"
#include "session/session_resources.h"
#include "platform/event_log.h"
#include "platform/trace_log.h"

namespace {
std::atomic<DWORD> g_dwSecondMs{1000};

constexpr DWORD kFeedbackWaitMs = 5000;

// Waits for the one event of a serving thread or the process stop; true for the event.
bool WaitForRequest(HANDLE notify) {
  HANDLE waits[2] = {notify, ProcessStopEvent()};
  return WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
}
}  // namespace

void SetLifeTimeSecondMs(DWORD ms) {
  g_dwSecondMs = ms;
}

DWORD WINAPI Process_Terminate_Thread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  while (WaitForRequest(a.h_Process_Notify_TerminateEvent)) {
    const uint64_t request = TakeStopRequest();
    const ULONGLONG start = GetTickCount64();
    a.fVideoConnected = 0;
    a.dwLifeTimeMinutes = -1;
    StopSession();
    EventLogWrite("session stopped %llu ms",
                  static_cast<unsigned long long>(GetTickCount64() - start));
    ReplyStopRequest(request);
  }
  return 0;
}

DWORD WINAPI Process_Init_Thread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  while (WaitForRequest(a.h_Process_Notify_InitEvent)) {
    const uint64_t request = TakeRestartRequest();
    const bool started = StartSession() != 0;
    EventLogWrite("session %s", started ? "started" : "not started");
    ReplyRestartRequest(request, started);
  }
  return 0;
}

DWORD WINAPI Life_Time_Thread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  const DWORD second = g_dwSecondMs;
  // Every wait also ends on the session stop, which stays set until the session is freed.
  HANDLE start[3] = {a.h_LifeTimeStartEvent, a.h_LifeTimeStopEvent, a.h_EndofGetJpegImageEvent};
  HANDLE stop[2] = {a.h_LifeTimeStopEvent, a.h_EndofGetJpegImageEvent};
  a.dwLifeTimeSeconds = 0;
  if (WaitForMultipleObjects(3, start, FALSE, INFINITE) != WAIT_OBJECT_0) return 0;
  if (WaitForMultipleObjects(2, stop, FALSE, second) != WAIT_TIMEOUT) return 0;
  if (a.dwLifeTimeMinutes == -1) return 0;
  a.dwLifeTimeSeconds = 1;
  for (;;) {
    if (WaitForMultipleObjects(2, stop, FALSE, second) != WAIT_TIMEOUT) return 0;
    ++a.dwLifeTimeSeconds;
    if (LifetimeReached(a.dwLifeTimeSeconds, a.dwLifeTimeMinutes)) break;
  }
  // The receive thread ends its stream quietly: it answers, or has already ended. (This thread
  // is stopped before the receive thread, so the receive thread's handle is valid here.)
  a.m_StreamPipeline.SetStopEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
  HANDLE feedback[3] = {a.h_FeedBackForNotifyResetEvent, a.h_EndofGetJpegImageEvent,
                        a.h_GetJpegImageThread.h};
  WaitForMultipleObjects(a.h_GetJpegImageThread.h ? 3 : 2, feedback, FALSE, kFeedbackWaitMs);
  PostClearOverlayTexts(kOverlayBoth);
  PostMainWindowStatusText("Life time is Up.Application shutdown later");
  if (WaitForMultipleObjects(2, stop, FALSE, second) != WAIT_TIMEOUT) return 0;
  PostLifeTimeUp();
  return 0;
}
