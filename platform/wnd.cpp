#include "platform/wnd.h"

namespace ost {
namespace {

// Window property that points a subclassed window at its object.
constexpr const char* kObjectProperty = "Ostrova.Wnd";

// Mouse coordinates are signed 16-bit values (negative left of or above the window).
POINT PointFromLParam(LPARAM lp) {
  return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
}

}  // namespace

Wnd::~Wnd() {
  if (m_hWnd == nullptr) return;
  HWND hwnd = m_previousProc != nullptr ? UnsubclassWindow() : Detach();
  if (m_ownsWindow && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

Wnd* Wnd::FromHandle(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return static_cast<Wnd*>(::GetPropA(hwnd, kObjectProperty));
}

void Wnd::Attach(HWND hwnd) {
  m_hWnd = hwnd;
  m_ownsWindow = false;
}

HWND Wnd::Detach() {
  HWND hwnd = m_hWnd;
  m_hWnd = nullptr;
  return hwnd;
}

bool Wnd::SubclassWindow(HWND hwnd) {
  if (hwnd == nullptr || m_hWnd != nullptr || FromHandle(hwnd) != nullptr) return false;
  m_hWnd = hwnd;
  PreSubclassWindow();
  if (!::SetPropA(hwnd, kObjectProperty, this)) {
    m_hWnd = nullptr;
    return false;
  }
  m_previousProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  if (m_previousProc == nullptr) {
    ::RemovePropA(hwnd, kObjectProperty);
    m_hWnd = nullptr;
    return false;
  }
  return true;
}

bool Wnd::SubclassDlgItem(int id, HWND parent) {
  return SubclassWindow(::GetDlgItem(parent, id));
}

HWND Wnd::UnsubclassWindow() {
  HWND hwnd = m_hWnd;
  if (hwnd == nullptr || m_previousProc == nullptr) return Detach();
  if (::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
  }
  ::RemovePropA(hwnd, kObjectProperty);
  m_previousProc = nullptr;
  return Detach();
}

bool Wnd::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, int x,
                   int y, int width, int height, HWND parent, int id) {
  if (m_hWnd != nullptr) return false;
  // Children do not report their destruction: the parent may already be half destroyed.
  if (style & WS_CHILD) exStyle |= WS_EX_NOPARENTNOTIFY;
  HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
  HWND hwnd = ::CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent,
                                menuOrId, ::GetModuleHandleA(nullptr), nullptr);
  if (hwnd == nullptr) return false;
  if (!SubclassWindow(hwnd)) {
    ::DestroyWindow(hwnd);
    return false;
  }
  m_ownsWindow = true;
  return true;
}

bool Wnd::CreateControl(const char* className, const char* text, DWORD style, const RECT& rect,
                        HWND parent, int id, DWORD exStyle) {
  return CreateEx(exStyle, className, text, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parent, id);
}

bool Wnd::DestroyWindow() {
  if (m_hWnd == nullptr) return false;
  HWND hwnd = m_hWnd;
  // A subclassed window detaches itself on WM_NCDESTROY.
  bool destroyed = ::DestroyWindow(hwnd) != FALSE;
  if (destroyed && m_hWnd == hwnd && m_previousProc == nullptr) Detach();
  return destroyed;
}

std::string WindowText(HWND hwnd) {
  int length = ::GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void SetWindowTextIfChanged(HWND hwnd, const std::string& text) {
  if (WindowText(hwnd) != text) ::SetWindowTextA(hwnd, text.c_str());
}

std::string Wnd::GetText() const {
  return WindowText(m_hWnd);
}

bool Wnd::SetText(const std::string& text) {
  return ::SetWindowTextA(m_hWnd, text.c_str()) != FALSE;
}

std::string Wnd::GetItemText(int id) const {
  HWND item = GetDlgItem(id);
  return item != nullptr ? WindowText(item) : std::string();
}

bool Wnd::SetItemText(int id, const std::string& text) {
  return ::SetDlgItemTextA(m_hWnd, id, text.c_str()) != FALSE;
}

bool Wnd::MoveWindow(int x, int y, int width, int height, bool repaint) {
  return ::MoveWindow(m_hWnd, x, y, width, height, repaint) != FALSE;
}

bool Wnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags) != FALSE;
}

RECT Wnd::GetClientRect() const {
  RECT rect{};
  ::GetClientRect(m_hWnd, &rect);
  return rect;
}

RECT Wnd::GetWindowRect() const {
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  return rect;
}

DWORD Wnd::GetStyle() const {
  return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE));
}

void Wnd::ModifyStyle(DWORD remove, DWORD add) {
  DWORD style = (GetStyle() & ~remove) | add;
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));
}

bool Wnd::SetWindowRgn(HRGN region, bool redraw) {
  return ::SetWindowRgn(m_hWnd, region, redraw) != 0;
}

HFONT Wnd::GetFont() const {
  return reinterpret_cast<HFONT>(Send(WM_GETFONT));
}

LRESULT Wnd::Send(UINT msg, WPARAM wp, LPARAM lp) const {
  return ::SendMessageA(m_hWnd, msg, wp, lp);
}

bool Wnd::Post(UINT msg, WPARAM wp, LPARAM lp) const {
  return ::PostMessageA(m_hWnd, msg, wp, lp) != FALSE;
}

bool Wnd::SetTimer(UINT_PTR id, UINT elapseMs) {
  return ::SetTimer(m_hWnd, id, elapseMs, nullptr) != 0;
}

bool Wnd::KillTimer(UINT_PTR id) {
  return ::KillTimer(m_hWnd, id) != FALSE;
}

bool Wnd::PreTranslateMessage(MSG*) {
  return false;
}

LRESULT CALLBACK Wnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Wnd* self = FromHandle(hwnd);
  if (self == nullptr) return ::DefWindowProcA(hwnd, msg, wp, lp);
  CurrentMessage outer = self->m_current;
  self->m_current = CurrentMessage{msg, wp, lp};
  LRESULT result = self->WindowProc(msg, wp, lp);
  self->m_current = outer;
  if (msg == WM_NCDESTROY && self->m_hWnd == hwnd) {
    self->UnsubclassWindow();
    self->m_ownsWindow = false;
    self->PostNcDestroy();
  }
  return result;
}

LRESULT Wnd::Default() {
  return DefaultProc(m_current.msg, m_current.wp, m_current.lp);
}

LRESULT Wnd::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (m_hWnd == nullptr) return 0;
  if (m_previousProc == nullptr) return ::DefWindowProcA(m_hWnd, msg, wp, lp);
  return ::CallWindowProcA(m_previousProc, m_hWnd, msg, wp, lp);
}

void Wnd::MapCommand(int id, std::function<void()> handler) {
  m_commands.push_back(CommandEntry{id, 0, true, std::move(handler)});
}

void Wnd::MapNotify(int id, UINT code, std::function<void()> handler) {
  m_commands.push_back(CommandEntry{id, code, false, std::move(handler)});
}

void Wnd::MapMessage(UINT msg, std::function<LRESULT(WPARAM, LPARAM)> handler) {
  m_messages.push_back(MessageEntry{msg, std::move(handler)});
}

bool Wnd::OnCommand(WPARAM wp, LPARAM) {
  const int id = LOWORD(wp);
  const UINT code = HIWORD(wp);
  for (const CommandEntry& entry : m_commands) {
    bool matches = entry.anyCommandCode ? code <= 1 : code == entry.code;
    if (entry.id == id && matches) {
      std::function<void()> handler = entry.handler;  // the handler may map more entries
      handler();
      return true;
    }
  }
  return false;
}

LRESULT Wnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) return OnCommand(wp, lp) ? 0 : Default();
  for (const MessageEntry& entry : m_messages) {
    if (entry.msg == msg) {
      std::function<LRESULT(WPARAM, LPARAM)> handler = entry.handler;
      return handler(wp, lp);
    }
  }
  if (msg == WM_NOTIFY && lp != 0) {
    // Control notifications mapped with MapNotify (list clicks and the like).
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    for (const CommandEntry& entry : m_commands) {
      if (!entry.anyCommandCode && entry.code == header->code &&
          static_cast<UINT_PTR>(entry.id) == header->idFrom) {
        std::function<void()> handler = entry.handler;
        handler();
        return 0;
      }
    }
  }
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(static_cast<UINT>(wp), PointFromLParam(lp));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(static_cast<UINT>(wp), PointFromLParam(lp));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<UINT>(wp), PointFromLParam(lp));
      return 0;
    case WM_SETFOCUS:
      OnSetFocus(reinterpret_cast<HWND>(wp));
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus(reinterpret_cast<HWND>(wp));
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(
          OnCtlColor(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp), msg));
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      Wnd* child =
          item != nullptr && item->CtlType != ODT_MENU ? FromHandle(item->hwndItem) : nullptr;
      if (child == nullptr) break;
      child->DrawItem(item);
      return TRUE;
    }
    default:
      break;
  }
  return Default();
}

void Wnd::OnPaint() {
  Default();
}
void Wnd::OnTimer(UINT_PTR) {
  Default();
}
void Wnd::OnLButtonDown(UINT, POINT) {
  Default();
}
void Wnd::OnLButtonUp(UINT, POINT) {
  Default();
}
void Wnd::OnMouseMove(UINT, POINT) {
  Default();
}
void Wnd::OnSetFocus(HWND) {
  Default();
}
void Wnd::OnKillFocus(HWND) {
  Default();
}
HBRUSH Wnd::OnCtlColor(HDC, HWND, UINT) {
  return reinterpret_cast<HBRUSH>(Default());
}
void Wnd::DrawItem(DRAWITEMSTRUCT*) {}

}  // namespace ost
