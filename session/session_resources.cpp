#include "session/session_resources.h"

#include <array>
#include <atomic>

#include "app/app_data.h"
#include "app/ctrl_file_load.h"
#include "session/kernel_mailbox.h"
#include "session/login_thread.h"
#include "session/process_threads.h"
#include "session/session_control.h"
#include "session/thread_stop.h"
#include "platform/trace_log.h"
#include "session/stream_threads.h"
#include "platform/scoped_handle.h"

namespace {
// Stacks (bytes committed at the start) and stop waits of the thread table.
constexpr SIZE_T kProcessThreadStack = 1000;
constexpr DWORD kKernelStopMs = 20;
constexpr DWORD kProcessThreadStopMs = 500;
constexpr DWORD kLoginSlotStopMs = 30;
constexpr DWORD kReloginStopMs = 30;
constexpr DWORD kUpgradeStopMs = 10;
constexpr DWORD kAudioStopMs = 10;
constexpr DWORD kLifeTimeStopMs = 30;
constexpr DWORD kReceiveFeedbackMs = 2000;
constexpr DWORD kReceiveStopMs = 500;
constexpr DWORD kComposeStopMs = 30;
constexpr DWORD kShowStopMs = 1000;
constexpr DWORD kKernelExitSlotMs = 1000;
// A relogin thread's device requests end with its stop; only a host-name lookup, which cannot be
// cut short, may keep it longer.
constexpr DWORD kReloginReapMs = 25000;

// Set when a session thread had to be given up: what it may still wait on is never closed.
std::atomic<bool> g_fThreadLeftRunning{false};

void SetIfOpen(HANDLE h) {
  if (h) SetEvent(h);
}

HANDLE NewEvent(bool manualReset) {
  return SessionSystem().createEvent(manualReset ? TRUE : FALSE);
}

bool NewThread(ThreadSlot& slot, SIZE_T stack, LPTHREAD_START_ROUTINE routine,
               LPVOID param = nullptr) {
  slot.h = SessionSystem().createThread(stack, routine, param, &slot.id);
  if (!slot.h) {
    slot.id = 0;
    DebugTrace("create thread failed,error is %lu \n", GetLastError());
    return false;
  }
  return true;
}

// The login resources' events, in one list for the set and close steps.
std::array<HANDLE*, 11> LoginEvents(APP_DATA& a) {
  return {&a.h_StartToGetJpegImageEvent, &a.h_EndofGetJpegImageEvent,  &a.h_StartToShowImageEvent,
          &a.h_EndofShowImageEvent,      &a.h_FinishShowImageJobEvent, &a.h_LifeTimeStartEvent,
          &a.h_LifeTimeStopEvent,        &a.h_AudioBufferDoneEvent,    &a.h_AudioStopEvent,
          &a.h_StartRTPThreadEvent,      &a.h_EndRTPThreadEvent};
}

bool LoginThreadsExist(const APP_DATA& a) {
  return a.h_ConnectionThread.h || a.h_GetJpegImageThread.h || a.h_ComposeImageDataThread.h ||
         a.h_ShowImageDataThread.h || a.h_PlayAudioWavThread.h || a.m_AlarmRecord.HasThread() ||
         a.m_UserRecord.HasThread() || a.m_SchRecord.HasThread();
}
// The session's process events, made at the session's start and closed at its end.
std::array<HANDLE*, 7> ProcessEventSlots(APP_DATA& a) {
  return {&a.h_Process_Notify_TerminateEvent,
          &a.h_Process_Reply_TerminateEvent,
          &a.h_Process_Notify_InitEvent,
          &a.h_Process_Reply_InitEvent,
          &a.h_NotifyGetJPEGImageThreadResetEvent,
          &a.h_FeedBackForNotifyResetEvent,
          &a.h_TimerEvent};
}

}  // namespace

bool LoginResourcesExist() {
  if (!g_lpApp) return false;
  APP_DATA& a = *g_lpApp;
  for (HANDLE* e : LoginEvents(a))
    if (*e) return true;
  return LoginThreadsExist(a);
}

int InitProcessResource() {
  if (!g_lpApp) return 0;
  APP_DATA& a = *g_lpApp;
  ResetEvent(ProcessStopEvent());
  a.h_KernelMessageSem = SessionSystem().createSemaphore(0, 1);
  a.h_KernelMessageSlotSem = SessionSystem().createSemaphore(1, 1);
  // Without both semaphores the mailbox cannot be served: the program ends.
  if (!a.h_KernelMessageSem || !a.h_KernelMessageSlotSem) return 0;
  for (HANDLE* e : ProcessEventSlots(a)) {
    *e = NewEvent(false);
    if (!*e) return 0;
  }
  if (!NewThread(a.h_Process_Terminate_Thread, kProcessThreadStack, Process_Terminate_Thread))
    return 0;
  if (!NewThread(a.h_Process_Init_Thread, kProcessThreadStack, Process_Init_Thread)) return 0;
  if (!NewThread(a.h_Process_KernelMessageThread, kProcessThreadStack, Process_KernelMessageThread))
    return 0;
  return 1;
}

int InitLoginResource() {
  if (!g_lpApp) return 0;
  SessionResourceLock lock;
  if (ProcessStopping() || LoginResourcesExist()) return 0;
  APP_DATA& a = *g_lpApp;
  // The stop events are manual-reset: one set ends every session thread, and they stay open
  // until all of those have been waited for.
  struct EventSpec {
    HANDLE* slot;
    bool manualReset;
  };
  const EventSpec first[] = {
      {&a.h_StartToGetJpegImageEvent, false}, {&a.h_EndofGetJpegImageEvent, true},
      {&a.h_LifeTimeStartEvent, false},       {&a.h_LifeTimeStopEvent, false},
      {&a.h_StartRTPThreadEvent, false},      {&a.h_EndRTPThreadEvent, false}};
  for (const EventSpec& e : first) {
    *e.slot = NewEvent(e.manualReset);
    if (!*e.slot) return 0;
  }
  if (!NewThread(a.h_ConnectionThread, kProcessThreadStack, Life_Time_Thread)) return 0;
  const EventSpec second[] = {{&a.h_StartToShowImageEvent, false},
                              {&a.h_EndofShowImageEvent, true},
                              {&a.h_FinishShowImageJobEvent, false}};
  for (const EventSpec& e : second) {
    *e.slot = NewEvent(e.manualReset);
    if (!*e.slot) return 0;
  }
  a.StreamFormatCode = 0;
  if (!StartStreamThreads(a)) return 0;
  a.m_AlarmRecord.CreateThread(a.StreamFormatCode);
  a.m_UserRecord.CreateThread(a.StreamFormatCode);
  return 1;
}

bool StartStreamThreads(APP_DATA& a) {
  // The stream threads get the pipeline they carry frames through.
  CStreamPipeline* pipeline = &a.m_StreamPipeline;
  if (!NewThread(a.h_GetJpegImageThread, kReceiveThreadStackBytes, Jpeg_TCP_Get_Image_Data_Thread,
                 pipeline))
    return false;
  SetThreadPriority(a.h_GetJpegImageThread.h, kReceiveThreadPriority);
  NewThread(a.h_ComposeImageDataThread, kComposeThreadStackBytes, Jpeg_Compose_Image_Data_Thread,
            pipeline);
  NewThread(a.h_ShowImageDataThread, kShowThreadStackBytes, Jpeg_Show_Image_Data_Thread, pipeline);
  if (!a.h_ComposeImageDataThread.h || !a.h_ShowImageDataThread.h) return false;
  SetThreadPriority(a.h_ShowImageDataThread.h, kShowThreadPriority);
  return true;
}

int ExitLoginResource() {
  if (!g_lpApp) return 1;
  SessionResourceLock lock;
  if (!LoginResourcesExist()) return 1;
  APP_DATA& a = *g_lpApp;
  // Ask every session thread to end.
  for (HANDLE stop : {a.h_NotifyGetJPEGImageThreadResetEvent, a.h_EndofShowImageEvent,
                      a.h_EndofGetJpegImageEvent})
    a.m_StreamPipeline.SetStopEvent(stop);
  SetIfOpen(a.h_EndRTPThreadEvent);
  SetIfOpen(a.h_LifeTimeStopEvent);
  SetIfOpen(a.h_AudioStopEvent);
  Sleep(100);
  bool joined = StopThreadSlot(a.h_PlayAudioWavThread, kAudioStopMs, "PlayAudioWavThread");
  joined &= StopThreadSlot(a.h_ConnectionThread, kLifeTimeStopMs, "Life_Time_Thread");
  if (a.h_GetJpegImageThread.h) {
    // Its answer to the reset request, or its end.
    HANDLE waits[2] = {a.h_FeedBackForNotifyResetEvent, a.h_GetJpegImageThread.h};
    WaitServingSentMessages(a.h_FeedBackForNotifyResetEvent ? 2 : 1,
                            a.h_FeedBackForNotifyResetEvent ? waits : waits + 1,
                            kReceiveFeedbackMs);
    joined &=
        StopThreadSlot(a.h_GetJpegImageThread, kReceiveStopMs, "Jpeg_TCP_Get_Image_Data_Thread");
  }
  joined &=
      StopThreadSlot(a.h_ComposeImageDataThread, kComposeStopMs, "Jpeg_Compose_Image_Data_Thread");
  joined &= StopThreadSlot(a.h_ShowImageDataThread, kShowStopMs, "Jpeg_Show_Image_Data_Thread");
  a.m_AlarmRecord.CloseThread();
  a.m_UserRecord.CloseThread();
  a.m_SchRecord.CloseThread();

  const auto events = LoginEvents(a);
  if (!joined) {
    // A thread still running may wait on any of them: they are left open, never reused.
    g_fThreadLeftRunning = true;
    TraceLogWrite("ExitLoginResource : a session thread is still running; its events stay open");
    for (HANDLE* e : events) *e = nullptr;
    return 1;
  }
  // No frame is being drawn while the events the drawing sets are closed.
  std::lock_guard<std::mutex> draw(DrawLock());
  if (a.h_EndofGetJpegImageEvent) ResetEvent(a.h_EndofGetJpegImageEvent);
  for (HANDLE* e : events) ost::CloseHandleSlot(*e);
  return 1;
}

int StopSession() {
  if (!g_lpApp) return 1;
  SessionResourceLock lock;
  APP_DATA& a = *g_lpApp;
  // The receive thread is asked to end quietly first: a stopped session asks for no relogin.
  if (LoginResourcesExist())
    a.m_StreamPipeline.SetStopEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
  a.m_StreamPipeline.SetStopEvent(a.h_EndofShowImageEvent);
  a.m_StreamPipeline.SetStopEvent(a.h_EndofGetJpegImageEvent);
  SetIfOpen(a.h_LifeTimeStopEvent);
  SetIfOpen(a.h_EndRTPThreadEvent);
  ExitLoginResource();
  if (g_fThreadLeftRunning) {
    // The ring semaphores may still be waited on: leave them open.
    a.SocketBufferFreeSem = a.SocketBufferFilledSem = nullptr;
    a.JPEGImageBufferFreeSem = a.JPEGImageBufferRelSem = nullptr;
    a.MotionEditImageSem = nullptr;
  }
  FreeSemaphore();
  return 1;
}

int StartSession() {
  if (!g_lpApp) return 0;
  SessionResourceLock lock;
  if (ProcessStopping()) return 0;
  APP_DATA& a = *g_lpApp;
  if (LoginResourcesExist()) StopSession();
  a.wSocketWritePos = a.wSocketReadPos = 0;
  a.wJpegSlotPos = a.wImageSlotPos = 0;
  // A reset request nobody answered would end the new receive thread at once.
  if (a.h_NotifyGetJPEGImageThreadResetEvent) ResetEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
  if (a.h_FeedBackForNotifyResetEvent) ResetEvent(a.h_FeedBackForNotifyResetEvent);
  if (!InitialSemaphore() || !InitLoginResource()) {
    TraceLogWrite("Process_Init_Thread : session resources could not be created");
    StopSession();
    return 0;
  }
  return 1;
}

int ExitProcessResource() {
  if (!g_lpApp) return 1;
  APP_DATA& a = *g_lpApp;
  a.m_MMTimer.Stop();
  // Every process thread and every wait of the session ends on this.
  SetEvent(ProcessStopEvent());
  SendKernelExit(a.h_Process_KernelMessageThread.h, kKernelExitSlotMs);
  FreeCtrlDeviceRecords();
  StopThreadSlot(a.h_UpgradeFirmwareThread, kUpgradeStopMs, "firmware upload thread");
  StopThreadSlot(a.h_Process_KernelMessageThread, kKernelStopMs, "Process_KernelMessageThread");
  StopThreadSlot(a.h_LoginThread, kLoginSlotStopMs, "login thread");
  StopReloginThread(kReloginStopMs);
  ReapReloginThreads(kReloginReapMs);
  if (a.h_RenderMemDC) {
    DeleteDC(a.h_RenderMemDC);
    a.h_RenderMemDC = nullptr;
  }
  // The terminate and re-initialise threads end before anything they wait on is closed.
  StopThreadSlot(a.h_Process_Init_Thread, kProcessThreadStopMs, "Process_Init_Thread");
  StopThreadSlot(a.h_Process_Terminate_Thread, kProcessThreadStopMs, "Process_Terminate_Thread");
  // A session the re-initialise thread made meanwhile goes too.
  ExitLoginResource();
  if (!g_fThreadLeftRunning) {
    ost::CloseHandleSlot(a.h_ConnectedEvent);
    for (HANDLE* e : ProcessEventSlots(a)) ost::CloseHandleSlot(*e);
  }
  CloseKernelMailbox();
  ost::CloseHandleSlot(a.m_NetworkBackupState.h_NetworkBkMutex);
  return 1;
}
