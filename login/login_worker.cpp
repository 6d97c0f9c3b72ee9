#include "login/login_worker.h"

#include <mutex>

#include "app/app_data.h"
#include "login/login_messages.h"
#include "text/port_text.h"
#include "platform/trace_log.h"
#include "net/device_session.h"
#include "net/login_exchange.h"
#include "net/request_cancel.h"
#include "platform/message_box.h"
#include "platform/thread_start.h"
#include "res/resource.h"

Login* g_pLogin = nullptr;

// The start record of one worker thread: what the owner had filled in when it was started.
struct LoginWorkerRun {
  LoginWorkerRun() : hCancelEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~LoginWorkerRun() {
    if (hPredecessor != nullptr) ::CloseHandle(hPredecessor);
    if (hCancelEvent != nullptr) ::CloseHandle(hCancelEvent);
  }
  LoginWorkerRun(const LoginWorkerRun&) = delete;
  LoginWorkerRun& operator=(const LoginWorkerRun&) = delete;

  HWND hOwner = nullptr;
  std::string strServer;
  std::string strUser;
  std::string strPassword;
  std::string strPort;
  HANDLE hPredecessor = nullptr;  // the thread of the previous start, waited for first

  std::mutex lock;
  bool fCancelled = false;
  const HANDLE hCancelEvent;  // manual reset, set with fCancelled: cuts the requests short

  // The run reports nothing any more and its request in flight fails.
  void Cancel() {
    std::lock_guard<std::mutex> guard(lock);
    fCancelled = true;
    if (hCancelEvent != nullptr) ::SetEvent(hCancelEvent);
  }
  bool IsCancelled() {
    std::lock_guard<std::mutex> guard(lock);
    return fCancelled;
  }
};

namespace {

// Posts the result to the owner unless the run was abandoned; true when it was posted.
bool ReportResult(LoginWorkerRun& run, LPARAM result) {
  std::lock_guard<std::mutex> guard(run.lock);
  if (run.fCancelled) return false;
  ::PostMessageA(run.hOwner, WM_LOGINWORKERDONE, 0, result);
  return true;
}

}  // namespace

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
  auto run = std::make_shared<LoginWorkerRun>();
  run->hOwner = m_hOwner;
  run->strServer = m_strServer;
  run->strUser = m_strUser;
  run->strPassword = m_strPassword;
  run->strPort = m_strPort;
  if (m_hThread != nullptr) {
    ::DuplicateHandle(::GetCurrentProcess(), m_hThread, ::GetCurrentProcess(), &run->hPredecessor,
                      0, FALSE, DUPLICATE_SAME_ACCESS);
  }
  m_pThreadRoutine = &Login_Worker_Thread;
  DWORD id = 0;
  HANDLE thread = ost::StartThreadWith(m_pThreadRoutine, run, kLoginWorkerStackSize, &id);
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
  const std::shared_ptr<LoginWorkerRun> run = ost::TakeStartRecord<LoginWorkerRun>(param);
  if (run->hPredecessor != nullptr) {
    ::WaitForSingleObject(run->hPredecessor, INFINITE);
    ::CloseHandle(run->hPredecessor);
    run->hPredecessor = nullptr;
  }
  if (run->IsCancelled()) return 0;

  const RequestCancel cancel(run->hCancelEvent);
  const RequestCancelScope scope(cancel);
  if (run->strUser.empty() || run->strPassword.empty()) {
    OstMessageBoxId(IDS_LOGIN_CREDENTIALS_WRONG);
    ReportResult(*run, -1);
    return 0;
  }

  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    ::CSettingINI& settings = g_lpApp->m_Settings;
    settings.SetServerNameFromUser(run->strServer);
    settings.m_wWebPort = PortNumberOfText(run->strPort);
  }

  const bool ok = SendLoginRequest(LoginCaller::kLoginWorker, run->strUser, run->strPassword) ==
                      LoginOutcome::kAccepted &&
                  SendDeviceInfoRequest(LoginCaller::kLoginWorker) == 1;
  if (ok) {
    ReportResult(*run, 1);
    return 1;
  }
  if (ReportResult(*run, -1)) OstMessageBoxId(IDS_LOGIN_ERROR);
  return 0;
}
