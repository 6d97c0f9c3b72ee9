#include "login/login_window_threads.h"

#include "app/app_data.h"
#include "login/login_messages.h"
#include "text/port_text.h"
#include "net/device_session.h"
#include "net/login_exchange.h"
#include "net/request_cancel.h"
#include "platform/thread_start.h"

namespace {
constexpr DWORD kAnimationStepMs = 350;
}  // namespace

LoginAttempt::LoginAttempt() : hCancelEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

LoginAttempt::~LoginAttempt() {
  if (hPredecessor != nullptr) ::CloseHandle(hPredecessor);
  if (hCancelEvent != nullptr) ::CloseHandle(hCancelEvent);
}

void LoginAttempt::Cancel() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_fCancelled = true;
  if (hCancelEvent != nullptr) ::SetEvent(hCancelEvent);
}

bool LoginAttempt::IsCancelled() {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_fCancelled;
}

DWORD WINAPI Login_Dialog_Thread(LPVOID param) {
  const std::shared_ptr<LoginAttempt> attempt = ost::TakeStartRecord<LoginAttempt>(param);
  if (attempt->hPredecessor != nullptr) {
    ::WaitForSingleObject(attempt->hPredecessor, INFINITE);
    ::CloseHandle(attempt->hPredecessor);
    attempt->hPredecessor = nullptr;
  }
  if (attempt->IsCancelled()) return 0;

  const RequestCancel cancel(attempt->hCancelEvent);
  const RequestCancelScope scope(cancel);
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    ::CSettingINI& settings = g_lpApp->m_Settings;
    settings.SetServerNameFromUser(attempt->strServer);
    settings.m_strUsername = attempt->strUser;
    settings.m_strPassword = attempt->strPassword;
    settings.m_wWebPort = PortNumberOfText(attempt->strPort);
  }

  const LoginOutcome outcome =
      SendLoginRequest(LoginCaller::kLoginWindow, attempt->strUser, attempt->strPassword);

  attempt->ReportUnlessCancelled([&] {
    if (outcome == LoginOutcome::kAccepted) {
      g_lpApp->w_LoginResult = kLoginSucceeded;
      ::PostMessageA(attempt->hLoginWindow, WM_LOGINSUCCESS, 0, 0);
      return;
    }
    const WPARAM reason = outcome == LoginOutcome::kTooManyUsers ? kLoginFailedTooManyUsers
                          : outcome == LoginOutcome::kUnsupportedDevice
                              ? kLoginFailedUnsupportedDevice
                              : kLoginFailedRefused;
    if (attempt->pfAnimating != nullptr) *attempt->pfAnimating = 0;
    ::SetEvent(attempt->hLoginEvent);
    ::PostMessageA(attempt->hLoginWindow, WM_LOGINFAILED, reason, 0);
  });
  return 0;
}

DWORD WINAPI Login_Animate_Thread(LPVOID param) {
  const std::shared_ptr<LoginAttempt> attempt = ost::TakeStartRecord<LoginAttempt>(param);
  for (;;) {
    ::PostMessageA(attempt->hLoginWindow, WM_LOGINANIMATE, 0, 0);
    if (::WaitForSingleObject(attempt->hLoginEvent, kAnimationStepMs) != WAIT_TIMEOUT) break;
  }
  return 0;
}
