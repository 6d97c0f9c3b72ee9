// Window wrapper: a C++ object over an HWND.  A wrapper either only refers to a window
// (Attach) or subclasses it (SubclassWindow, Create, dialogs), so that the window's messages
// reach the object's WindowProc and its handlers; default processing goes to the window's
// previous procedure.
#ifndef OSTROVA_PLATFORM_WND_H
#define OSTROVA_PLATFORM_WND_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// <windowsx.h> defines SubclassWindow as a macro; include it before this header, if at all.
#undef SubclassWindow

namespace ost {

class Wnd {
 public:
  Wnd() = default;
  // Undoes the subclassing; destroys the window only if this object created it.
  virtual ~Wnd();
  Wnd(const Wnd&) = delete;
  Wnd& operator=(const Wnd&) = delete;

  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object that subclasses the window, or null.
  static Wnd* FromHandle(HWND hwnd);

  // Refers to a window without receiving its messages (e.g. a dialog item).
  void Attach(HWND hwnd);
  HWND Detach();
  // Routes the window's messages to this object; calls PreSubclassWindow first.
  bool SubclassWindow(HWND hwnd);
  bool SubclassDlgItem(int id, HWND parent);
  // Gives the window back its previous procedure and forgets it.
  HWND UnsubclassWindow();
  // Creates a window of a system or common-control class and subclasses it; the object owns
  // the created window.  `id` is the control id of a child window, unused otherwise.
  bool CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                int width, int height, HWND parent, int id);
  bool CreateControl(const char* className, const char* text, DWORD style, const RECT& rect,
                     HWND parent, int id, DWORD exStyle = 0);
  virtual bool DestroyWindow();

  // Text.
  std::string GetText() const;
  bool SetText(const std::string& text);
  std::string GetItemText(int id) const;
  bool SetItemText(int id, const std::string& text);
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }

  // State and placement.
  bool ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
  bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
  bool EnableWindow(bool enable) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
  bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  bool MoveWindow(int x, int y, int width, int height, bool repaint = true);
  bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
  RECT GetClientRect() const;
  RECT GetWindowRect() const;
  DWORD GetStyle() const;
  // Clears `remove` and sets `add` in the window style.
  void ModifyStyle(DWORD remove, DWORD add);
  // The window takes ownership of the region.
  bool SetWindowRgn(HRGN region, bool redraw);
  HFONT GetFont() const;

  // Painting.
  void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void InvalidateRect(const RECT& rect, bool erase = true) {
    ::InvalidateRect(m_hWnd, &rect, erase);
  }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }

  // Messages and timers.
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  bool Post(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  bool SetTimer(UINT_PTR id, UINT elapseMs);
  bool KillTimer(UINT_PTR id);

  // Called for every message of the thread whose target is this window or one of its
  // children, before it is dispatched; true when the message has been handled.
  virtual bool PreTranslateMessage(MSG* msg);

 protected:
  // Message dispatch: WM_COMMAND goes to OnCommand; then the handlers mapped with MapMessage;
  // then the virtual handlers below; everything else to Default().
  virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
  // The previous window procedure for the message being handled.
  LRESULT Default();
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);

  // Runs the handler mapped for the command; true when there was one.
  virtual bool OnCommand(WPARAM wp, LPARAM lp);

  // Handler maps, filled by the derived class's constructor.  MapCommand answers clicks and
  // menu or accelerator commands of a control id; MapNotify one notification code of a control
  // (WM_COMMAND or WM_NOTIFY); MapMessage any message (WM_USER+n, WM_MOUSELEAVE, ...), its result
  // is the message result.
  void MapCommand(int id, std::function<void()> handler);
  void MapNotify(int id, UINT code, std::function<void()> handler);
  void MapMessage(UINT msg, std::function<LRESULT(WPARAM, LPARAM)> handler);
  template <class T>
  void MapCommand(int id, void (T::*fn)()) {
    MapCommand(id, [this, fn] { (static_cast<T*>(this)->*fn)(); });
  }
  template <class T>
  void MapNotify(int id, UINT code, void (T::*fn)()) {
    MapNotify(id, code, [this, fn] { (static_cast<T*>(this)->*fn)(); });
  }
  template <class T>
  void MapMessage(UINT msg, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    MapMessage(msg,
               [this, fn](WPARAM wp, LPARAM lp) { return (static_cast<T*>(this)->*fn)(wp, lp); });
  }

  // Virtual handlers; each default runs Default().
  virtual void OnPaint();
  virtual void OnTimer(UINT_PTR id);
  virtual void OnLButtonDown(UINT flags, POINT point);
  virtual void OnLButtonUp(UINT flags, POINT point);
  virtual void OnMouseMove(UINT flags, POINT point);
  virtual void OnSetFocus(HWND oldFocus);
  virtual void OnKillFocus(HWND newFocus);
  // WM_CTLCOLOR*: `type` is the message (WM_CTLCOLORSTATIC, ...); returns the background brush.
  virtual HBRUSH OnCtlColor(HDC dc, HWND control, UINT type);
  // Called when a subclassed owner-drawn child asks its parent (this) to draw it: WM_DRAWITEM
  // is passed on to the child's DrawItem.  The default draws nothing.
  virtual void DrawItem(DRAWITEMSTRUCT* item);
  // Called with the window attached, before the subclassing procedure is installed.
  virtual void PreSubclassWindow() {}
  // After the window is gone (WM_NCDESTROY); the object is detached.
  virtual void PostNcDestroy() {}

  // The subclassing window procedure: dispatches to the window's object.
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND m_hWnd = nullptr;

 private:
  struct CommandEntry {
    int id;
    UINT code;
    bool anyCommandCode;  // clicks (0) and accelerators (1)
    std::function<void()> handler;
  };
  struct MessageEntry {
    UINT msg;
    std::function<LRESULT(WPARAM, LPARAM)> handler;
  };
  struct CurrentMessage {
    UINT msg = 0;
    WPARAM wp = 0;
    LPARAM lp = 0;
  };

  WNDPROC m_previousProc = nullptr;
  bool m_ownsWindow = false;
  CurrentMessage m_current;
  std::vector<CommandEntry> m_commands;
  std::vector<MessageEntry> m_messages;
};

// A window's text.
std::string WindowText(HWND hwnd);
// Sets a window's text only when it differs, so that an unchanged value raises no change
// notification (EN_CHANGE).
void SetWindowTextIfChanged(HWND hwnd, const std::string& text);

}  // namespace ost

#endif  // OSTROVA_PLATFORM_WND_H
