// Test stand-ins for the program around the session threads: a window that records what the
// session threads post to the main window, and the process counts a leak would change.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sessiontest {

struct PostedMessage {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  std::string text;  // the status text of WM_MAINWND_STATUSTEXT
};

// A window on its own thread standing in for the main window's message handling.
class MainWindowProbe {
 public:
  MainWindowProbe();
  ~MainWindowProbe();
  HWND Handle() const { return m_hWnd; }

  std::vector<PostedMessage> Messages() const;
  void Clear();
  // The lParam values of the WM_LOGINSTATUS messages, in order.
  std::vector<LPARAM> LoginStatuses() const;
  // Waits until a message satisfies match; true when one did.
  bool WaitFor(const std::function<bool(const PostedMessage&)>& match, DWORD timeoutMs) const;
  bool WaitForLoginStatus(LPARAM status, DWORD timeoutMs) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Run();

  HWND m_hWnd = nullptr;
  HANDLE m_hReady = nullptr;
  std::thread m_thread;
  mutable std::mutex m_lock;
  std::vector<PostedMessage> m_messages;
};

// Threads and handles of this process.
DWORD ThreadCount();
DWORD HandleCount();

}  // namespace sessiontest
