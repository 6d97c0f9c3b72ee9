// The login worker: logs in on a thread of its own, with a reduced device-information request,
// for a window that waits without blocking its message loop (the connect-progress dialog),
// and tells that window the result with WM_LOGINWORKERDONE.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

struct LoginAttempt;

class Login {
 public:
  // Creates the process-wide object in g_pLogin when there is none; 1.
  static int Create();
  // Destroys it (stopping its thread) and clears g_pLogin; 1.
  static int Destroy();

  Login() = default;
  ~Login();
  Login(const Login&) = delete;
  Login& operator=(const Login&) = delete;

  // Starts Login_Worker_Thread with the owner and the four texts as they are now.  A thread
  // still running from an earlier start is told to report nothing and its request in flight is
  // cut short; the new one waits for it before its own exchange.  1, or 0 when the thread
  // cannot be created.
  int CreateThread();
  // Tells a running thread to report nothing, cuts its request in flight short and waits for
  // it; 1.
  int StopThread();
  // Carried; does nothing.
  int Idle() { return 1; }

  HANDLE m_hThread = nullptr;
  DWORD m_dwThreadId = 0;
  // The window that receives WM_LOGINWORKERDONE (its timer 1000 is its own to stop).
  HWND m_hOwner = nullptr;
  std::string m_strServer;
  std::string m_strUser;
  std::string m_strPassword;
  std::string m_strPort;
  LPTHREAD_START_ROUTINE m_pThreadRoutine = nullptr;

 private:
  std::shared_ptr<LoginAttempt> m_pRun;
};

extern Login* g_pLogin;

// The argument is a heap-allocated std::shared_ptr<LoginAttempt> (see StartLoginAttemptThread),
// which the thread takes.
// 1 after a successful login and device-information request, else 0.
DWORD WINAPI Login_Worker_Thread(LPVOID param);

inline constexpr SIZE_T kLoginWorkerStackSize = 1000;
// The owner's animation timer.
inline constexpr UINT_PTR kLoginWorkerOwnerTimer = 1000;
