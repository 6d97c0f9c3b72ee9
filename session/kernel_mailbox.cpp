#include "session/kernel_mailbox.h"

#include <string>

#include "session/alarm_sound_control.h"
#include "app/app_data.h"
#include "session/login_thread.h"
#include "session/main_window_link.h"
#include "session/player_launch_text.h"
#include "session/session_control.h"
#include "session/session_messages.h"
#include "session/thread_stop.h"
#include "platform/event_log.h"
#include "platform/trace_log.h"
#include "platform/message_box.h"
#include "platform/process_launch.h"
#include "platform/scoped_handle.h"

namespace {
// Senders hold it shared while they use the mailbox handles; closing takes it exclusively.
SRWLOCK g_mailboxUse = SRWLOCK_INIT;
// The text argument of the code in the slot, owned by the mailbox.
std::string g_strMessageText;

constexpr DWORD kReloginStopWaitMs = 30;
constexpr DWORD kSessionStopWaitMs = 10000;

// Code 1: the stream is lost. Stop the session, show it, and start the relogin.
void CarryOutRelogin() {
  APP_DATA& a = *g_lpApp;
  a.m_AlarmRecord.StopRecord();
  a.m_SchRecord.StopRecord();
  TraceLogWrite("case Get_Image_TimeOut_Message");
  EventLogWrite("stream lost: relogin");
  RequestSessionStop(kSessionStopWaitMs);
  PostMainWindowButtonState(kLayoutFlagConnect, 1);
  PostClearOverlayTexts(kOverlayBoth);
  StopReloginThread(kReloginStopWaitMs);
  if (ProcessStopping()) return;
  if (!StartReloginThread(kReloginStackFromKernel)) {
    // The mailbox stays usable; the window shows the failure and offers CONNECT again.
    TraceLogWrite("Process_KernelMessageThread : create Login_Thread failed");
    PostLoginStatus(0, kLoginStatusFailed);
  }
}

// Code 2: the live-view window draws the current image on this thread.
void CarryOutDraw() {
  APP_DATA& a = *g_lpApp;
  std::lock_guard<std::mutex> lock(DrawLock());
  if (a.h_FinishShowImageJobEvent) a.m_StreamPipeline.DrawCurrentFrame();
}

// Code 4: reload the alarm wave and renew its two events (a playing sound ends first).
void CarryOutReloadAlarmWave() {
  if (!ReloadAlarmSound()) OstMessageBox("Load alarm audio file is failed");
}

// Code 5: stop a playing alarm sound.
void CarryOutStopAlarmSound() {
  if (g_lpApp->m_WaveFile.fPlaying) StopAlarmSound();
}

// Code 7: start the player with the downloaded file.
void CarryOutLaunchPlayer(const char* text) {
  APP_DATA& a = *g_lpApp;
  const auto commandLine = FinishedDownloadCommandLine(text ? text : "");
  bool started = false;
  if (commandLine) {
    const std::string program = PlayerProgramPath(a.m_Settings.m_strExeDir);
    started = ost::LaunchProcess(
        program, *commandLine,
        CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | HIGH_PRIORITY_CLASS);
  }
  if (!started) OstMessageBox("Execuate player is failed");
}
}  // namespace

int SendKernelMessage(uint32_t code, const char* text) {
  AcquireSRWLockShared(&g_mailboxUse);
  int sent = 0;
  APP_DATA* a = g_lpApp;
  if (a && a->h_KernelMessageSlotSem && a->h_KernelMessageSem && !ProcessStopping()) {
    // The reasons to give up come first: a wait reports the lowest signalled index.
    HANDLE waits[3] = {ProcessStopEvent(), nullptr, nullptr};
    DWORD count = 1;
    if ((code == Get_Image_TimeOut_Message || code == KM_DRAW_IMAGE) && a->h_EndofGetJpegImageEvent)
      waits[count++] = a->h_EndofGetJpegImageEvent;
    waits[count++] = a->h_KernelMessageSlotSem;
    if (WaitServingSentMessages(count, waits, INFINITE) == WAIT_OBJECT_0 + count - 1) {
      a->KernelMessageCode = code;
      g_strMessageText = text ? text : "";
      a->KernelMessageText = text ? g_strMessageText.c_str() : nullptr;
      ReleaseSemaphore(a->h_KernelMessageSem, 1, nullptr);
      sent = 1;
    }
  }
  ReleaseSRWLockShared(&g_mailboxUse);
  return sent;
}

void SendKernelExit(HANDLE kernelThread, DWORD timeoutMs) {
  APP_DATA* a = g_lpApp;
  if (!a || !a->h_KernelMessageSlotSem || !a->h_KernelMessageSem) return;
  HANDLE waits[2] = {a->h_KernelMessageSlotSem, kernelThread};
  if (WaitServingSentMessages(kernelThread ? 2 : 1, waits, timeoutMs) != WAIT_OBJECT_0) return;
  a->KernelMessageCode = KM_EXIT;
  a->KernelMessageText = nullptr;
  ReleaseSemaphore(a->h_KernelMessageSem, 1, nullptr);
}

void CloseKernelMailbox() {
  AcquireSRWLockExclusive(&g_mailboxUse);
  if (g_lpApp) {
    ost::CloseHandleSlot(g_lpApp->h_KernelMessageSem);
    ost::CloseHandleSlot(g_lpApp->h_KernelMessageSlotSem);
  }
  ReleaseSRWLockExclusive(&g_mailboxUse);
}

DWORD WINAPI Process_KernelMessageThread(LPVOID) {
  APP_DATA& a = *g_lpApp;
  HANDLE waits[2] = {a.h_KernelMessageSem, ProcessStopEvent()};
  for (;;) {
    const DWORD r = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0) return 0;  // the process resources are going (or the wait broke)
    switch (a.KernelMessageCode) {
      case Get_Image_TimeOut_Message:
        CarryOutRelogin();
        break;
      case KM_DRAW_IMAGE:
        CarryOutDraw();
        break;
      case KM_RELOAD_ALARM_WAVE:
        CarryOutReloadAlarmWave();
        break;
      case KM_STOP_ALARM_SOUND:
        CarryOutStopAlarmSound();
        break;
      case KM_EXIT:
        return 0;  // the slot stays taken: nothing is sent after this
      case KM_LAUNCH_PLAYER:
        CarryOutLaunchPlayer(a.KernelMessageText);
        break;
      default:
        break;
    }
    ReleaseSemaphore(a.h_KernelMessageSlotSem, 1, nullptr);
  }
}
