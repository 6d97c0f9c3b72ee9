#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include "session/login_thread.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "app/login_store.h"
#include "platform/event_log.h"
#include "platform/trace_log.h"
#include "session/main_window_link.h"
#include "session/session_control.h"
#include "session/session_messages.h"
#include "session/thread_stop.h"
#include "net/device_session.h"
#include "net/login_exchange.h"
#include "net/request_cancel.h"
#include "platform/scoped_handle.h"

const char kStartLoginText[] = "Start login";

namespace {
std::mutex g_timingLock;
ReloginTiming g_timing;

// One Login_Thread's stop request, shared by the thread and its starter.
struct ReloginContext {
  HANDLE hStop = nullptr;  // manual reset
  ~ReloginContext() { ost::CloseHandleSlot(hStop); }
};
using ReloginContextRef = std::shared_ptr<ReloginContext>;

struct LeftRunning {
  HANDLE hThread;
  ReloginContextRef context;
};

// Guards h_ReLoginThread, the current context and the threads left running.
std::mutex g_reloginLock;
ReloginContextRef g_current;
std::vector<LeftRunning> g_leftRunning;

// Closes the threads left running that have ended. Under g_reloginLock.
void CollectEndedLocked() {
  for (auto it = g_leftRunning.begin(); it != g_leftRunning.end();) {
    if (WaitForSingleObject(it->hThread, 0) == WAIT_OBJECT_0) {
      CloseHandle(it->hThread);
      it = g_leftRunning.erase(it);
    } else {
      ++it;
    }
  }
}

class Relogin {
 public:
  Relogin(const ReloginContext& context, const ReloginTiming& timing)
      : m_context(context), m_timing(timing), m_app(*g_lpApp) {}

  void Run() {
    // A thread stopped before it ran leaves the session as its stopper left it.
    if (Stopped()) return;
    Start();
    for (;;) {
      const Outcome attempt = Attempt();
      if (attempt == Outcome::kStopped) return;
      if (attempt == Outcome::kAccepted) {
        const Outcome finish = Finish();
        if (finish != Outcome::kFailed) return;
      }
      if (!BackOff()) return;
    }
  }

 private:
  enum class Outcome { kAccepted, kFailed, kStopped, kDone };

  bool Stopped() const {
    return WaitForSingleObject(m_context.hStop, 0) == WAIT_OBJECT_0 || ProcessStopping();
  }

  // Waits ms; false when the thread is asked to end meanwhile.
  bool Wait(DWORD ms) const {
    HANDLE waits[2] = {m_context.hStop, ProcessStopEvent()};
    return WaitForMultipleObjects(2, waits, FALSE, ms) == WAIT_TIMEOUT;
  }

  void Start() {
    m_dwStartTick = GetTickCount64();
    m_app.StreamRunningFlag = 0;
    m_app.SessionActiveFlag = 1;
    m_app.byPtzHotPointMode = 1;
    PostClearOverlayTexts(kOverlayAlarmChannel);
    PostLoginStatus(reinterpret_cast<WPARAM>(kStartLoginText), kLoginStatusStart);
    if (!m_app.m_ControlD.IsCurrentChannelDevice()) PostResetPtzButton();
    m_app.m_ControlD.Clear();
    // A host name is looked up again rather than its last resolved address reused.
    ProgramDeviceSession().LookUpHostNameAgain();
  }

  Outcome Attempt() {
    m_app.w_LoginResult = kLoginFailed;
    DeviceSession& session = ProgramDeviceSession();
    const std::string server = session.Server();
    if (IsIpAddressText(server) != 2) m_strSavedServer = server;
    LoginOptions options = kReloginLogin;
    options.timeoutSeconds = m_timing.wRequestTimeoutS;
    const LoginResult result =
        RunLoginExchange(session, options, KnownDeviceOf(m_app), &TraceLogWrite);
    if (Stopped()) return Outcome::kStopped;
    // A failed request may have replaced the host name by its address.
    if (!result.loginAnswered && !m_strSavedServer.empty()) session.SetServerText(m_strSavedServer);
    m_app.w_LoginResult = result.Code();
    if (StoreLogin(result, options, session, SessionToSettings::kAddress, m_app))
      return Outcome::kAccepted;
    if (result.Code() == kLoginTooManyUsers) {
      PostLoginStatus(0, kLoginStatusTooManyUsers);
      if (!Wait(m_timing.dwTooManyUsersMs)) return Outcome::kStopped;
    }
    return Outcome::kFailed;
  }

  bool BackOff() {
    if (!Wait(m_timing.dwFirstWaitMs)) return false;
    const uint64_t elapsedSeconds = (GetTickCount64() - m_dwStartTick) / 1000;
    PostLoginStatus(0, kLoginStatusFailed);
    if (!Wait(ReloginBackoffMs(m_qwFailures, m_timing.backoff))) return false;
    ++m_qwFailures;
    PostLoginStatus(static_cast<WPARAM>(elapsedSeconds), kLoginStatusElapsed);
    PostLoginStatus(0, kLoginStatusDisconnected);
    if (!Wait(m_timing.dwLastWaitMs)) return false;
    PostLoginStatus(reinterpret_cast<WPARAM>(kStartLoginText), kLoginStatusStart);
    return true;
  }

  Outcome Finish() {
    const int entry = ReloginControlEntryIndex(m_app.str_ProductID, m_app.byMultiChannel,
                                               m_app.m_Settings.m_bySelectedChannel);
    if (entry >= 0) m_app.m_ControlD.MakeCurrent(2, entry);
    ReapplyMainWindowLayout(m_timing.dwLayoutReplyMs);
    if (Stopped()) return Outcome::kStopped;
    if (!RequestSessionRestart(m_timing.dwRestartReplyMs, m_context.hStop)) {
      if (Stopped()) return Outcome::kStopped;
      // Not reported as connected: the attempt counts as failed and is repeated.
      TraceLogWrite("Login_Thread : session resources were not re-created");
      return Outcome::kFailed;
    }
    PostLoginStatus(0, kLoginStatusConnected);
    EventLogWrite("login connected");
    if (m_app.m_UserRecord.RestartRecord()) PostMainWindowButtonState(kLayoutFlagRecord, 1);
    if (!Wait(m_timing.dwStartDelayMs)) return Outcome::kStopped;
    TraceLogWrite("Send start event");
    SessionResourceLock lock;
    if (m_app.h_LifeTimeStartEvent) SetEvent(m_app.h_LifeTimeStartEvent);
    if (m_app.h_StartToGetJpegImageEvent) SetEvent(m_app.h_StartToGetJpegImageEvent);
    return Outcome::kDone;
  }

  const ReloginContext& m_context;
  const ReloginTiming m_timing;
  APP_DATA& m_app;
  ULONGLONG m_dwStartTick = 0;
  uint64_t m_qwFailures = 0;
  std::string m_strSavedServer;
};
}  // namespace

void SetReloginTiming(const ReloginTiming& timing) {
  std::lock_guard<std::mutex> lock(g_timingLock);
  g_timing = timing;
}

ReloginTiming GetReloginTiming() {
  std::lock_guard<std::mutex> lock(g_timingLock);
  return g_timing;
}

DWORD WINAPI Login_Thread(LPVOID param) {
  const std::unique_ptr<ReloginContextRef> context(static_cast<ReloginContextRef*>(param));
  if (!context || !*context || !g_lpApp) return 0;
  // A stop or the process stop cuts a device request in flight short.
  const RequestCancel cancel((*context)->hStop, ProcessStopEvent());
  const RequestCancelScope scope(cancel);
  Relogin(**context, GetReloginTiming()).Run();
  EventLogWrite("login thread ends");
  return 0;
}

int StartReloginThread(SIZE_T stackSize) {
  StopReloginThread(30);
  if (!g_lpApp || ProcessStopping()) return 0;
  auto context = std::make_shared<ReloginContext>();
  context->hStop = SessionSystem().createEvent(TRUE);
  if (!context->hStop) return 0;
  auto* param = new ReloginContextRef(context);
  DWORD id = 0;
  HANDLE thread = SessionSystem().createThread(stackSize, Login_Thread, param, &id);
  if (!thread) {
    delete param;
    return 0;
  }
  std::lock_guard<std::mutex> lock(g_reloginLock);
  g_lpApp->h_ReLoginThread = {thread, id};
  g_current = std::move(context);
  // The session is active from here, not from when the thread first runs: on a busy machine a
  // DISCONNECT clicked meanwhile would otherwise find it idle and start another login.
  g_lpApp->SessionActiveFlag = 1;
  EventLogWrite("login thread started");
  return 1;
}

void StopReloginThread(DWORD budgetMs) {
  if (!g_lpApp) return;
  HANDLE thread;
  ReloginContextRef context;
  {
    std::lock_guard<std::mutex> lock(g_reloginLock);
    CollectEndedLocked();
    thread = g_lpApp->h_ReLoginThread.h;
    context = std::move(g_current);
    g_lpApp->h_ReLoginThread = {};
  }
  if (!thread) return;
  if (context) SetEvent(context->hStop);
  if (WaitServingSentMessages(thread, budgetMs) == WAIT_OBJECT_0) {
    CloseHandle(thread);
    return;
  }
  std::lock_guard<std::mutex> lock(g_reloginLock);
  g_leftRunning.push_back({thread, std::move(context)});
}

bool ReloginThreadRunning() {
  std::lock_guard<std::mutex> lock(g_reloginLock);
  return g_lpApp && g_lpApp->h_ReLoginThread.h &&
         WaitForSingleObject(g_lpApp->h_ReLoginThread.h, 0) == WAIT_TIMEOUT;
}

bool ReapReloginThreads(DWORD timeoutMs) {
  std::vector<LeftRunning> left;
  {
    std::lock_guard<std::mutex> lock(g_reloginLock);
    left.swap(g_leftRunning);
  }
  const ULONGLONG start = GetTickCount64();
  bool allEnded = true;
  for (LeftRunning& l : left) {
    const ULONGLONG elapsed = GetTickCount64() - start;
    const DWORD remaining = elapsed >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - elapsed);
    if (WaitServingSentMessages(l.hThread, remaining) != WAIT_OBJECT_0) {
      allEnded = false;
      TraceLogWrite("StopThreadSlot : Login_Thread given up");
    }
    CloseHandle(l.hThread);
  }
  return allEnded;
}
