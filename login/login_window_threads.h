// The login window's two threads: the login thread, which logs in with what the user typed and
// tells the window the outcome, and the animation thread, which drives the window's progress
// bar until the login ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

// The start record of one Connect: the window fills it on its own thread before it starts the
// threads, so the threads never read the window's members.  Both threads hold it.
struct LoginAttempt {
  LoginAttempt();
  ~LoginAttempt();
  LoginAttempt(const LoginAttempt&) = delete;
  LoginAttempt& operator=(const LoginAttempt&) = delete;

  HWND hLoginWindow = nullptr;
  std::string strServer;
  std::string strUser;
  std::string strPassword;
  std::string strPort;
  // The window's stop event of this attempt (owned by the window): the login thread sets it on
  // a failure, the animation thread ends when it is set.
  HANDLE hLoginEvent = nullptr;
  // The window's progress-bar flag, cleared by the login thread on a failure.
  std::atomic<int32_t>* pfAnimating = nullptr;
  // The previous attempt's login thread (a handle of this record's own): the login thread
  // waits for it before it touches the settings, so two exchanges never overlap.
  HANDLE hPredecessor = nullptr;
  // Set (manual reset) by Cancel: the login thread's device requests observe it.
  const HANDLE hCancelEvent;

  // A superseded or abandoned attempt reports nothing and changes nothing of the window, and
  // its login request in flight is cut short.
  void Cancel();
  bool IsCancelled();
  // Runs report() unless the attempt was cancelled; Cancel waits while a report runs.
  template <class Report>
  void ReportUnlessCancelled(Report report) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_fCancelled) report();
  }

 private:
  std::mutex m_lock;
  bool m_fCancelled = false;
};

// Thread routines.  The argument is a heap-allocated std::shared_ptr<LoginAttempt>, which the
// thread deletes.  Both return 0.
DWORD WINAPI Login_Dialog_Thread(LPVOID param);
DWORD WINAPI Login_Animate_Thread(LPVOID param);

// Stack sizes the login window passes when it creates them.
inline constexpr SIZE_T kLoginThreadStackSize = 512;
