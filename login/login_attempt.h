// One login run on a thread of its own for a window (the login window's Connect, the login
// worker of the connect-progress dialog): what was typed, the thread it follows, its
// cancellation.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "net/device_session.h"

// The start record of one attempt: the window fills it on its own thread before it starts the
// threads, so the threads never read the window's members. Every thread of the attempt holds it.
struct LoginAttempt {
  // An attempt with what was typed, told to window.
  LoginAttempt(HWND window, std::string server, std::string user, std::string password,
               std::string port);
  ~LoginAttempt();
  LoginAttempt(const LoginAttempt&) = delete;
  LoginAttempt& operator=(const LoginAttempt&) = delete;

  const HWND hWindow;  // told the outcome
  const std::string strServer;
  const std::string strUser;
  const std::string strPassword;
  const std::string strPort;
  // The login window's stop event of this attempt (owned by the window): the login thread sets
  // it on a failure, the animation thread ends when it is set.
  HANDLE hLoginEvent = nullptr;
  // The login window's progress-bar flag, cleared by the login thread on a failure.
  std::atomic<int32_t>* pfAnimating = nullptr;
  // The previous attempt's thread (a handle of this record's own): waited for before the
  // exchange, so two exchanges never overlap.
  HANDLE hPredecessor = nullptr;
  // Set (manual reset) by Cancel: the attempt's device requests observe it.
  const HANDLE hCancelEvent;

  // A superseded or abandoned attempt reports nothing and changes nothing, and its request in
  // flight is cut short.
  void Cancel();
  bool IsCancelled();
  // Runs report() unless the attempt was cancelled; Cancel waits while a report runs. True when
  // it ran.
  template <class Report>
  bool ReportUnlessCancelled(Report report) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_fCancelled) return false;
    report();
    return true;
  }
  // Waits for the predecessor; false when the attempt was cancelled meanwhile.
  bool WaitForPredecessor();
  // The typed server, port and account as a device session.
  DeviceSession Session() const;

 private:
  std::mutex m_lock;
  bool m_fCancelled = false;
};

// Starts routine with the attempt as its start record (the thread takes it with
// ost::TakeStartRecord<LoginAttempt>). With a previous thread, a duplicate of its handle becomes
// the attempt's predecessor. The new thread's handle, or null (nothing started).
HANDLE StartLoginAttemptThread(const std::shared_ptr<LoginAttempt>& attempt,
                               LPTHREAD_START_ROUTINE routine, SIZE_T stackSize, HANDLE previous,
                               DWORD* id);
