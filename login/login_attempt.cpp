#include "login/login_attempt.h"

#include <utility>

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

bool LoginAttempt::WaitForPredecessor() {
  if (hPredecessor != nullptr) {
    ::WaitForSingleObject(hPredecessor, INFINITE);
    ::CloseHandle(hPredecessor);
    hPredecessor = nullptr;
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
  auto* param = new std::shared_ptr<LoginAttempt>(attempt);
  HANDLE thread = ::CreateThread(nullptr, stackSize, routine, param, 0, id);
  if (thread == nullptr) delete param;
  return thread;
}

std::shared_ptr<LoginAttempt> TakeLoginAttempt(LPVOID param) {
  auto* holder = static_cast<std::shared_ptr<LoginAttempt>*>(param);
  std::shared_ptr<LoginAttempt> attempt = std::move(*holder);
  delete holder;
  return attempt;
}
