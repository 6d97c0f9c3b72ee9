#include "platform/message_loop.h"

#include "platform/wnd.h"

namespace ost {

bool PreTranslateThreadMessage(MSG& msg) {
  for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
    Wnd* object = Wnd::FromHandle(hwnd);
    if (object != nullptr && object->PreTranslateMessage(&msg)) return true;
    if ((::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return false;
}

void ProcessMessage(MSG& msg) {
  if (PreTranslateThreadMessage(msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    const DWORD elapsed = ::GetTickCount() - start;
    if (elapsed >= timeoutMs) return done();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      ProcessMessage(msg);
      if (done()) return true;
    }
    DWORD wait = timeoutMs - elapsed;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, wait < 10 ? wait : 10, QS_ALLINPUT);
  }
  return true;
}

}  // namespace ost
