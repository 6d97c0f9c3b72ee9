#include "session/main_window_link.h"

#include <mutex>

#include "app/app_data.h"
#include "session/session_messages.h"

namespace {
std::mutex g_statusLock;
std::string g_strPendingStatus;

HWND MainWindow() {
  return g_lpApp ? g_lpApp->h_MainDialogHandle : nullptr;
}

void PostToMainWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (HWND w = MainWindow()) PostMessageA(w, msg, wParam, lParam);
}
}  // namespace

void PostLoginStatus(WPARAM wParam, LPARAM lParam) {
  PostToMainWindow(WM_LOGINSTATUS, wParam, lParam);
}

void PostMainWindowButtonState(uint32_t layoutFlag, int state) {
  PostToMainWindow(WM_MAINWND_BUTTONSTATE, layoutFlag, state);
}

void PostClearOverlayTexts(WPARAM which) {
  PostToMainWindow(WM_MAINWND_CLEAROVERLAY, which, 0);
}

void PostResetPtzButton() {
  PostToMainWindow(WM_MAINWND_RESETPTZBUTTON, 0, 0);
}

void PostLifeTimeUp() {
  PostToMainWindow(WM_LIFETIMEUP, 0, 0);
}

void PostMainWindowStatusText(const std::string& text) {
  {
    std::lock_guard<std::mutex> lock(g_statusLock);
    g_strPendingStatus = text;
  }
  PostToMainWindow(WM_MAINWND_STATUSTEXT, 0, 0);
}

std::string TakePendingStatusText() {
  std::lock_guard<std::mutex> lock(g_statusLock);
  return g_strPendingStatus;
}

bool ReapplyMainWindowLayout(DWORD timeoutMs) {
  HWND w = MainWindow();
  if (!w) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(w, WM_MAINWND_APPLYLAYOUT, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                             timeoutMs, &result) != 0;
}
