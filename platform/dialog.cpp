#include "platform/dialog.h"

#include <commctrl.h>

#include "platform/message_loop.h"
#include "platform/strings.h"

namespace ost {

namespace {

bool IsEdit(HWND hwnd) {
  char name[16] = {};
  return ::GetClassNameA(hwnd, name, sizeof name) > 0 && ::lstrcmpiA(name, "Edit") == 0;
}

bool IsDatePicker(HWND hwnd) {
  char name[32] = {};
  return ::GetClassNameA(hwnd, name, sizeof name) > 0 &&
         ::lstrcmpiA(name, "SysDateTimePick32") == 0;
}

HBRUSH EditBrush() {
  static HBRUSH brush = ::CreateSolidBrush(kEditBack);  // lives as long as the program
  return brush;
}

// The height of a line of the edit box's text.
int EditLineHeight(HWND edit) {
  HDC dc = ::GetDC(edit);
  if (dc == nullptr) return 0;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageA(edit, WM_GETFONT, 0, 0));
  HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  if (old != nullptr) ::SelectObject(dc, old);
  ::ReleaseDC(edit, dc);
  return tm.tmHeight;
}

// A one-line box taller than its text gets the spare height above and below its client area,
// so that the text sits in the middle of the box.
void CentreEditLine(HWND edit, RECT& client) {
  if ((::GetWindowLongPtrA(edit, GWL_STYLE) & ES_MULTILINE) != 0) return;
  const int line = EditLineHeight(edit);
  const int spare = (client.bottom - client.top) - line;
  if (line <= 0 || spare < 2) return;
  client.top += spare / 2;
  client.bottom = client.top + line;
}

// The frame of a flattened edit box: one pixel, teal while focused; the space between frame and
// text in the box's own background.
LRESULT CALLBACK EditFrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
      if (lp != 0) CentreEditLine(hwnd, *reinterpret_cast<RECT*>(lp));
      return result;
    }
    case WM_NCPAINT: {
      HDC dc = ::GetWindowDC(hwnd);
      if (dc == nullptr) break;
      RECT r;
      ::GetWindowRect(hwnd, &r);
      RECT client;
      ::GetClientRect(hwnd, &client);
      ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
      ::OffsetRect(&client, -r.left, -r.top);
      ::OffsetRect(&r, -r.left, -r.top);
      // Read-only and disabled boxes ask for their colours as statics do.
      const bool plain =
          (::GetWindowLongPtrA(hwnd, GWL_STYLE) & ES_READONLY) != 0 || !::IsWindowEnabled(hwnd);
      HWND parent = ::GetParent(hwnd);
      auto back = reinterpret_cast<HBRUSH>(
          parent != nullptr
              ? ::SendMessageA(parent, plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                               reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd))
              : 0);
      if (back != nullptr) {
        ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        ::FillRect(dc, &r, back);
      }
      HBRUSH frame = ::CreateSolidBrush(::GetFocus() == hwnd ? kEditFocusFrame : kEditFrame);
      ::FrameRect(dc, &r, frame);
      ::DeleteObject(frame);
      ::ReleaseDC(hwnd, dc);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
      ::RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, EditFrameProc, id);
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

BOOL CALLBACK FlattenEdit(HWND child, LPARAM lp) {
  if (::GetParent(child) != reinterpret_cast<HWND>(lp) || !IsEdit(child)) return TRUE;
  LONG_PTR ex = ::GetWindowLongPtrA(child, GWL_EXSTYLE);
  ::SetWindowLongPtrA(child, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
  ::SetWindowLongPtrA(child, GWL_STYLE, style | WS_BORDER);
  ::SetWindowSubclass(child, EditFrameProc, 1, 0);
  ::SetWindowPos(child, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

}  // namespace

Dialog::Dialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog() {
  // No handler of a half-destroyed object may run: detach before destroying.
  if (m_hWnd != nullptr) {
    HWND hwnd = UnsubclassWindow();
    if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
  }
}

INT_PTR CALLBACK Dialog::InitProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_INITDIALOG || FromHandle(hwnd) != nullptr) return FALSE;
  auto* self = reinterpret_cast<Dialog*>(lp);
  if (!self->SubclassWindow(hwnd)) return FALSE;
  // WM_INITDIALOG came before the subclassing: dispatch it as the object's own message.
  return SubclassProc(hwnd, msg, wp, lp);
}

HWND Dialog::CreateFromTemplate() {
  m_endRequested = false;
  m_result = -1;
  return ::CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(m_templateId), m_parent, &InitProc,
                              reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::DoModal() {
  if (m_hWnd != nullptr) return -1;
  m_modal = true;
  // The parent is disabled first, so that it is already disabled in OnInitDialog.
  bool parentDisabled = false;
  if (m_parent != nullptr && ::IsWindowEnabled(m_parent)) {
    ::EnableWindow(m_parent, FALSE);
    parentDisabled = true;
  }
  if (CreateFromTemplate() != nullptr && m_hWnd != nullptr && !m_endRequested) {
    if (!IsWindowVisible()) ShowWindow(SW_SHOW);
    RunModalLoop();
  }
  // The parent is enabled before the dialog goes, so that it gets the activation back.
  if (parentDisabled) ::EnableWindow(m_parent, TRUE);
  if (m_hWnd != nullptr) {
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyWindow();
  }
  m_modal = false;
  return m_result;
}

void Dialog::RunModalLoop() {
  MSG msg;
  while (!m_endRequested && m_hWnd != nullptr) {
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      m_result = -1;
      break;
    }
    ProcessMessage(msg);
  }
}

bool Dialog::Create() {
  if (m_hWnd != nullptr) return false;
  m_modal = false;
  const bool created = CreateFromTemplate() != nullptr && m_hWnd != nullptr;
  // A dialog that ended itself in OnInitDialog goes now.
  if (created && m_endRequested) DestroyWindow();
  return created && !m_endRequested && m_hWnd != nullptr && ::IsWindow(m_hWnd);
}

void Dialog::EndDialog(INT_PTR result) {
  m_result = result;
  m_endRequested = true;
  if (!m_modal) {
    DestroyWindow();
    return;
  }
  // Wakes the loop when called from another thread or outside a message.
  if (m_hWnd != nullptr) Post(WM_NULL);
}

bool Dialog::UpdateData(bool save) {
  DataExchange dx(m_hWnd, save);
  // Change handlers see no notification of the values written here.
  const bool wasLoading = m_loading;
  if (!save) m_loading = true;
  DoDataExchange(dx);
  m_loading = wasLoading;
  if (save && dx.Failed()) m_lastPrompt = dx.RangePrompt();
  return !dx.Failed();
}

bool Dialog::PreTranslateMessage(MSG* msg) {
  return m_hWnd != nullptr && ::IsDialogMessageA(m_hWnd, msg) != FALSE;
}

BOOL Dialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnCommand(WPARAM wp, LPARAM lp) {
  if (Wnd::OnCommand(wp, lp)) return true;
  if (HIWORD(wp) != BN_CLICKED) return false;
  switch (LOWORD(wp)) {
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      OnCancel();
      return true;
    default:
      return false;
  }
}

void Dialog::FlattenEdits() {
  ::EnumChildWindows(m_hWnd, FlattenEdit, reinterpret_cast<LPARAM>(m_hWnd));
}

HBRUSH Dialog::OnCtlColor(HDC dc, HWND control, UINT type) {
  // A date-time picker paints its field with the brush it asks for, but its text always in
  // the system's window-text colour: it keeps the system's window colour, so its text reads.
  if (type == WM_CTLCOLOREDIT && IsDatePicker(control)) {
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return ::GetSysColorBrush(COLOR_WINDOW);
  }
  // Read-only and disabled edit boxes ask with WM_CTLCOLORSTATIC.
  if (type == WM_CTLCOLOREDIT || (type == WM_CTLCOLORSTATIC && IsEdit(control))) {
    ::SetTextColor(dc, type == WM_CTLCOLOREDIT ? kEditText : kEditReadOnlyText);
    ::SetBkColor(dc, kEditBack);
    return EditBrush();
  }
  return Wnd::OnCtlColor(dc, control, type);
}

LRESULT Dialog::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    FlattenEdits();
    const BOOL focus = OnInitDialog();
    if (m_skin != nullptr && m_hWnd != nullptr) m_skin->Attach(*this);
    return focus;
  }
  if (m_skin != nullptr) {
    LRESULT result = 0;
    if (m_skin->Filter(*this, msg, wp, lp, result)) return result;
  }
  return Wnd::WindowProc(msg, wp, lp);
}

}  // namespace ost
