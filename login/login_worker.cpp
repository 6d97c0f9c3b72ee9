#include "login/login_worker.h"

#include "app/app_data.h"
#include "app/login_store.h"
#include "login/login_attempt.h"
#include "login/login_messages.h"
#include "platform/trace_log.h"
#include "net/login_exchange.h"
#include "net/request_cancel.h"
#include "platform/message_box.h"
#include "platform/thread_start.h"
#include "res/resource.h"

Login* g_pLogin = nullptr;

int Login::Create() {
  if (g_pLogin == nullptr) g_pLogin = new Login();
  return 1;
}

int Login::Destroy() {
  if (g_pLogin != nullptr) {
    delete g_pLogin;
    g_pLogin = nullptr;
  }
  return 1;
}

Login::~Login() {
  StopThread();
}

int Login::CreateThread() {
  auto run =
      std::make_shared<LoginAttempt>(m_hOwner, m_strServer, m_strUser, m_strPassword, m_strPort);
  m_pThreadRoutine = &Login_Worker_Thread;
  DWORD id = 0;
  HANDLE thread =
      StartLoginAttemptThread(run, m_pThreadRoutine, kLoginWorkerStackSize, m_hThread, &id);
  if (thread == nullptr) {
    DebugTrace("Login::CreateThread() is error.");
    return 0;
  }
  // The earlier thread reports nothing any more; the new one waits for it to end.
  if (m_pRun) m_pRun->Cancel();
  if (m_hThread != nullptr) ::CloseHandle(m_hThread);
  m_hThread = thread;
  m_dwThreadId = id;
  m_pRun = std::move(run);
  return 1;
}

int Login::StopThread() {
  if (m_pRun) m_pRun->Cancel();
  if (m_hThread != nullptr) {
    ::WaitForSingleObject(m_hThread, INFINITE);
    ::CloseHandle(m_hThread);
    m_hThread = nullptr;
    m_dwThreadId = 0;
  }
  m_pRun.reset();
  return 1;
}

DWORD WINAPI Login_Worker_Thread(LPVOID param) {
  const std::shared_ptr<LoginAttempt> run = ost::TakeStartRecord<LoginAttempt>(param);
  if (!run->WaitForPredecessor()) return 0;

  const RequestCancel cancel(run->hCancelEvent);
  const RequestCancelScope scope(cancel);
  if (run->strUser.empty() || run->strPassword.empty()) {
    OstMessageBoxId(IDS_LOGIN_CREDENTIALS_WRONG);
    run->ReportUnlessCancelled([&] { ::PostMessageA(run->hWindow, WM_LOGINWORKERDONE, 0, -1); });
    return 0;
  }

  DeviceSession session = run->Session();
  const LoginResult result = RunLoginExchange(session, kLoginWorkerLogin, KnownDeviceOf(*g_lpApp));
  bool ok = false;
  const bool reported = run->ReportUnlessCancelled([&] {
    ok = StoreLogin(result, kLoginWorkerLogin, session, SessionToSettings::kAddress, *g_lpApp);
    ::PostMessageA(run->hWindow, WM_LOGINWORKERDONE, 0, ok ? 1 : -1);
  });
  if (reported && !ok) OstMessageBoxId(IDS_LOGIN_ERROR);
  return result.Succeeded(kLoginWorkerLogin) ? 1 : 0;
}
