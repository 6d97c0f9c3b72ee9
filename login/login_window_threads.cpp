#include "login/login_window_threads.h"

#include "app/app_data.h"
#include "app/login_store.h"
#include "login/login_messages.h"
#include "net/login_exchange.h"
#include "net/request_cancel.h"
#include "platform/thread_start.h"

namespace {
constexpr DWORD kAnimationStepMs = 350;
}  // namespace

DWORD WINAPI Login_Dialog_Thread(LPVOID param) {
  const std::shared_ptr<LoginAttempt> attempt = ost::TakeStartRecord<LoginAttempt>(param);
  if (!attempt->WaitForPredecessor()) return 0;

  const RequestCancel cancel(attempt->hCancelEvent);
  const RequestCancelScope scope(cancel);
  DeviceSession session = attempt->Session();
  const LoginResult result = RunLoginExchange(session, kLoginWindowLogin, KnownDeviceOf(*g_lpApp));

  attempt->ReportUnlessCancelled([&] {
    if (StoreLogin(result, kLoginWindowLogin, session, SessionToSettings::kAddressAndAccount,
                   *g_lpApp)) {
      g_lpApp->w_LoginResult = kLoginSucceeded;
      ::PostMessageA(attempt->hWindow, WM_LOGINSUCCESS, 0, 0);
      return;
    }
    const WPARAM reason = result.outcome == LoginOutcome::kTooManyUsers ? kLoginFailedTooManyUsers
                          : result.outcome == LoginOutcome::kUnsupportedDevice
                              ? kLoginFailedUnsupportedDevice
                              : kLoginFailedRefused;
    if (attempt->pfAnimating != nullptr) *attempt->pfAnimating = 0;
    ::SetEvent(attempt->hLoginEvent);
    ::PostMessageA(attempt->hWindow, WM_LOGINFAILED, reason, 0);
  });
  return 0;
}

DWORD WINAPI Login_Animate_Thread(LPVOID param) {
  const std::shared_ptr<LoginAttempt> attempt = ost::TakeStartRecord<LoginAttempt>(param);
  for (;;) {
    ::PostMessageA(attempt->hWindow, WM_LOGINANIMATE, 0, 0);
    if (::WaitForSingleObject(attempt->hLoginEvent, kAnimationStepMs) != WAIT_TIMEOUT) break;
  }
  return 0;
}
