#include "login/login_attempt.h"

#include <utility>

#include "platform/scoped_handle.h"
#include "platform/thread_start.h"
#include "text/port_text.h"

LoginAttempt::LoginAttempt(HWND window, std::string server, std::string user, std::string password,
                           std::string port)
    : hWindow(window),
      strServer(std::move(server)),
      strUser(std::move(user)),
      strPassword(std::move(password)),
      strPort(std::move(port)),
      hCancelEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

LoginAttempt::~LoginAttempt() {
  ost::CloseHandleSlot(hPredecessor);
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

bool LoginAttempt::WaitForPredecessor() {
  if (hPredecessor != nullptr) {
    ::WaitForSingleObject(hPredecessor, INFINITE);
    ost::CloseHandleSlot(hPredecessor);
  }
  return !IsCancelled();
}

DeviceSession LoginAttempt::Session() const {
  return DeviceSession(strServer, PortNumberOfText(strPort), strUser, strPassword);
}

HANDLE StartLoginAttemptThread(const std::shared_ptr<LoginAttempt>& attempt,
                               LPTHREAD_START_ROUTINE routine, SIZE_T stackSize, HANDLE previous,
                               DWORD* id) {
  if (previous != nullptr && attempt->hPredecessor == nullptr) {
    ::DuplicateHandle(::GetCurrentProcess(), previous, ::GetCurrentProcess(),
                      &attempt->hPredecessor, 0, FALSE, DUPLICATE_SAME_ACCESS);
  }
  return ost::StartThreadWith(routine, attempt, static_cast<DWORD>(stackSize), id);
}
