#include "tests/session/session_probe.h"

#include <cstdint>

#include "session/main_window_link.h"
#include "session/session_messages.h"
#include "tests/support/win_process.h"

namespace sessiontest {

namespace {
constexpr char kClassName[] = "OstrovaSessionProbe";
}

MainWindowProbe::MainWindowProbe() {
  m_hReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  m_thread = std::thread([this] { Run(); });
  WaitForSingleObject(m_hReady, 10000);
}

MainWindowProbe::~MainWindowProbe() {
  if (m_hWnd) PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
  if (m_thread.joinable()) m_thread.join();
  CloseHandle(m_hReady);
}

void MainWindowProbe::Run() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &MainWindowProbe::WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);  // a second registration fails harmlessly
  m_hWnd = CreateWindowExA(0, kClassName, "probe", WS_OVERLAPPED, 0, 0, 10, 10, HWND_MESSAGE,
                           nullptr, wc.hInstance, this);
  SetEvent(m_hReady);
  MSG msg;
  while (m_hWnd && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

LRESULT CALLBACK MainWindowProbe::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self =
        static_cast<MainWindowProbe*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindowProbe*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      if (self) self->m_hWnd = nullptr;
      PostQuitMessage(0);
      return 0;
    case WM_LOGINSTATUS:
    case WM_LIFETIMEUP:
    case WM_MAINWND_STATUSTEXT:
    case WM_MAINWND_BUTTONSTATE:
    case WM_MAINWND_CLEAROVERLAY:
    case WM_MAINWND_APPLYLAYOUT:
    case WM_MAINWND_RESETPTZBUTTON: {
      PostedMessage m{msg, wp, lp, {}};
      if (msg == WM_MAINWND_STATUSTEXT) m.text = TakePendingStatusText();
      if (self) {
        std::lock_guard<std::mutex> lock(self->m_lock);
        self->m_messages.push_back(m);
      }
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

std::vector<PostedMessage> MainWindowProbe::Messages() const {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_messages;
}

void MainWindowProbe::Clear() {
  std::lock_guard<std::mutex> lock(m_lock);
  m_messages.clear();
}

std::vector<LPARAM> MainWindowProbe::LoginStatuses() const {
  std::vector<LPARAM> out;
  for (const PostedMessage& m : Messages())
    if (m.msg == WM_LOGINSTATUS) out.push_back(m.lParam);
  return out;
}

bool MainWindowProbe::WaitFor(const std::function<bool(const PostedMessage&)>& match,
                              DWORD timeoutMs) const {
  return testsupport::WaitUntil(
      [&] {
        for (const PostedMessage& m : Messages())
          if (match(m)) return true;
        return false;
      },
      timeoutMs);
}

bool MainWindowProbe::WaitForLoginStatus(LPARAM status, DWORD timeoutMs) const {
  return WaitFor(
      [&](const PostedMessage& m) { return m.msg == WM_LOGINSTATUS && m.lParam == status; },
      timeoutMs);
}

DWORD ThreadCount() {
  return testsupport::ThreadsOf(GetCurrentProcessId());
}

DWORD HandleCount() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
  // Wine reports no count: probe every handle value instead.
  for (uintptr_t value = 4; value < 0x40000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

}  // namespace sessiontest
