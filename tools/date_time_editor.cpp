#include "tools/date_time_editor.h"

#include <commctrl.h>

#include "platform/trace_log.h"
#include "tools/calendar_wnd.h"

namespace {

constexpr char kClassName[] = "OstDateTimeEditor";
constexpr char kCalendarBitmap[] = "res\\mybutton\\calendar.bmp";
// Posted to itself to close the calendar after the calendar's own handler has returned.
constexpr UINT kCloseCalendar = WM_APP + 1;

bool RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = kClassName;
    return ::RegisterClassA(&wc) != 0;
  }();
  return registered;
}

std::string LocaleText(LCTYPE type) {
  char text[80] = {};
  ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);
  return text;
}

int TextWidth(HDC dc, const std::string& text) {
  SIZE size{};
  ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

DateTimeLocale CDateTimeEditor::ReadLocaleSettings() {
  DateTimeLocale l;
  l.dateSeparator = LocaleText(LOCALE_SDATE);
  l.timeSeparator = LocaleText(LOCALE_STIME);
  l.dateOrder = LocaleText(LOCALE_IDATE);
  l.timeFormat = LocaleText(LOCALE_ITIME);
  l.am = LocaleText(LOCALE_S1159);
  l.pm = LocaleText(LOCALE_S2359);
  return l;
}

CDateTimeEditor::CDateTimeEditor(BOOL bShowTime) : m_fields(bShowTime != FALSE) {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  m_fields.SetValue(DateFields{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond});
  MapCommand(kDropDownButton, &CDateTimeEditor::OnDropDown);
}

CDateTimeEditor::~CDateTimeEditor() {
  m_pCalendar.reset();
  if (m_pFont) ::DeleteObject(m_pFont);
}

bool CDateTimeEditor::Create(HWND parent, int x, int y, int id) {
  if (!RegisterOnce()) return false;
  if (!CreateEx(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, 100, 20, parent, id))
    return false;
  m_hParentWnd = parent;
  if (!m_btnDropDown.CreateControl("BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                   RECT{0, 0, 17, 16}, m_hWnd, kDropDownButton)) {
    DebugTrace("CDateTimeEditor: Can't create dropdown button!\n");
    return false;
  }
  m_btnDropDown.AssignBitmapFiles(kCalendarBitmap, RGB(255, 0, 0));
  m_btnDropDown.EnableTransparency(false);
  m_spin = ::CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 15, 16, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSpinButton)),
                             ::GetModuleHandleA(nullptr), nullptr);
  if (m_spin == nullptr) {
    DebugTrace("CDateTimeEditor: Can't create spin button!\n");
    return false;
  }
  ::SendMessageA(m_spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_hWnd), 0);
  HDC dc = ::GetDC(m_hParentWnd);
  LOGFONTA lf{};
  lf.lfHeight = -::MulDiv(10, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = FW_NORMAL;
  lstrcpyA(lf.lfFaceName, "Arial");
  m_pFont = ::CreateFontIndirectA(&lf);
  ::ReleaseDC(m_hParentWnd, dc);
  RecalcLayout();
  return true;
}

void CDateTimeEditor::RecalcLayout() {
  if (m_sampleDate.date == 0.0) {
    // The widest month name in the default GUI font makes the sample.
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    int widest = 1, width = -1;
    for (int month = 1; month <= 12; ++month) {
      const int w = TextWidth(dc, MonthName(month));
      if (w > width) {
        width = w;
        widest = month;
      }
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    m_sampleDate = DateValue::FromFields(2000, widest, 20, 0, 0, 0);
  }
  m_fields.ApplyLocale(ReadLocaleSettings());
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  m_nHeight = tm.tmHeight + 8;
  ::SelectObject(dc, m_pFont);
  DateFields sample;
  m_sampleDate.BreakDown(sample);
  int right = 5;
  for (int i = 0; i < m_fields.FieldCount(); ++i)
    right += TextWidth(dc, m_fields.FieldText(i, sample) + m_fields.SeparatorAfter(i));
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  m_rcText = RECT{5, 2, right, m_nHeight - 2};
  m_nWidth = right + 35;
  m_rcButtons = RECT{m_nWidth - 34, 2, m_nWidth - 17, m_nHeight - 2};
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nWidth, m_nHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::MoveWindow(m_btnDropDown.GetSafeHwnd(), m_nWidth - 34, 2, 17, m_nHeight - 4, TRUE);
  ::ShowWindow(m_btnDropDown.GetSafeHwnd(), SW_SHOW);
  ::MoveWindow(m_spin, m_nWidth - 17, 2, 15, m_nHeight - 4, TRUE);
  ::ShowWindow(m_spin, SW_SHOW);
  ::EnableWindow(m_spin, TRUE);
}

double CDateTimeEditor::GetDateTime() const {
  return DateValue::FromFields(m_fields.OutputValue()).date;
}

void CDateTimeEditor::SetDateTime(double oleDate) {
  DateFields f;
  if (DateValue{oleDate, true}.BreakDown(f)) m_fields.SetValue(f);
  ::EnableWindow(m_spin, TRUE);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CDateTimeEditor::OnCalendarClose(int) {
  if (m_hWnd) ::PostMessageA(m_hWnd, kCloseCalendar, 0, 0);
  return TRUE;
}

void CDateTimeEditor::OnDropDown() {
  if (m_pCalendar) {
    m_pCalendar.reset();
    return;
  }
  RECT r{};
  ::GetWindowRect(m_hWnd, &r);
  auto calendar = std::make_unique<CCalendarWnd>();
  if (calendar->Create(WS_POPUP | WS_BORDER | WS_VISIBLE, r.left, r.bottom, this)) {
    calendar->SetCurDate(DateValue::FromFields(m_fields.Value()));
    m_pCalendar = std::move(calendar);
  }
}

RECT CDateTimeEditor::FieldRect(int i) const {
  RECT rect{};
  if (i < 0 || i >= m_fields.FieldCount()) return rect;
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, m_pFont);
  int x = m_rcText.left;
  for (int k = 0; k <= i; ++k) {
    const int w = TextWidth(dc, m_fields.FieldText(k) + m_fields.SeparatorAfter(k));
    if (k == i) rect = RECT{x, m_rcText.top, x + w, m_rcText.bottom};
    x += w;
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
  return rect;
}

int CDateTimeEditor::FieldFromPoint(POINT p) const {
  for (int i = 0; i < m_fields.FieldCount(); ++i) {
    const RECT r = FieldRect(i);
    if (::PtInRect(&r, p)) return i;
  }
  return -1;
}

void CDateTimeEditor::RepaintText() {
  ::InvalidateRect(m_hWnd, &m_rcText, TRUE);
}

void CDateTimeEditor::Apply(DateTimeFields::Result result, bool wholeText) {
  if (result == DateTimeFields::Result::kBeep) ::MessageBeep(MB_OK);
  if (result == DateTimeFields::Result::kChanged || wholeText) RepaintText();
}

void CDateTimeEditor::OnKeyDown(UINT key) {
  using R = DateTimeFields::Result;
  const int before = m_fields.CurrentField();
  if ((key >= '0' && key <= '9') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)) {
    Apply(m_fields.OnDigit(static_cast<int>(key >= VK_NUMPAD0 ? key - VK_NUMPAD0 : key - '0')),
          m_fields.CurrentField() != before);
    if (m_fields.CurrentField() != before) RepaintText();
    return;
  }
  if (key >= 'A' && key <= 'Z') {
    Apply(m_fields.OnLetter(static_cast<char>(key)), false);
    return;
  }
  m_fields.DropPendingDigit();
  R result = R::kNone;
  switch (key) {
    case VK_SPACE:
      result = m_fields.OnSpace();
      break;
    case VK_UP:
      result = m_fields.Step(1);
      break;
    case VK_DOWN:
      result = m_fields.Step(-1);
      break;
    case VK_LEFT:
      m_fields.PrevField();
      break;
    case VK_RIGHT:
      m_fields.NextField();
      break;
    case VK_HOME:
      result = m_fields.SetLimit(false);
      break;
    case VK_END:
      result = m_fields.SetLimit(true);
      break;
    default:
      break;
  }
  Apply(result, m_fields.CurrentField() != before);
}

bool CDateTimeEditor::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN &&
      (msg->hwnd == m_hWnd || msg->hwnd == m_btnDropDown.GetSafeHwnd() || msg->hwnd == m_spin)) {
    switch (msg->wParam) {
      case VK_END:
      case VK_HOME:
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        OnKeyDown(static_cast<UINT>(msg->wParam));
        return true;
      default:
        break;
    }
  }
  return ost::Wnd::PreTranslateMessage(msg);
}

void CDateTimeEditor::OnPaint() {
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  HBRUSH fill = ::CreateSolidBrush(RGB(200, 200, 200));
  ::FillRect(dc, &client, fill);
  ::FrameRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::DeleteObject(fill);
  ::SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old = ::SelectObject(dc, m_pFont);
  int x = m_rcText.left;
  TEXTMETRICA tm{};
  ::GetTextMetricsA(dc, &tm);
  const int y = (m_rcText.top + m_rcText.bottom - tm.tmHeight) / 2;
  for (int i = 0; i < m_fields.FieldCount(); ++i) {
    const std::string text = m_fields.FieldText(i);
    const int w = TextWidth(dc, text);
    if (m_bHasFocus && i == m_fields.CurrentField()) {
      RECT mark{x, y, x + w, y + tm.tmHeight};
      ::FillRect(dc, &mark, ::GetSysColorBrush(COLOR_HIGHLIGHT));
      ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
      ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    }
    ::TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    x += w;
    const std::string separator = m_fields.SeparatorAfter(i);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::TextOutA(dc, x, y, separator.c_str(), static_cast<int>(separator.size()));
    x += TextWidth(dc, separator);
  }
  ::SelectObject(dc, old);
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CDateTimeEditor::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      OnKeyDown(static_cast<UINT>(wp));
      if ((wp >= '0' && wp <= '9') || (wp >= 'A' && wp <= 'Z') ||
          (wp >= VK_NUMPAD0 && wp <= VK_NUMPAD9))
        return 0;
      break;
    case WM_LBUTTONDOWN: {
      m_fields.DropPendingDigit();
      ::SetFocus(m_hWnd);
      const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      const int f = FieldFromPoint(p);
      if (f == -1) {
        m_fields.SetCurrentField(-1);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
      }
      if (f != m_fields.CurrentField()) {
        m_fields.SetCurrentField(f);
        RepaintText();
      }
      break;
    }
    case WM_SETFOCUS:
      Default();
      m_bHasFocus = true;
      ::InvalidateRect(m_hWnd, nullptr, TRUE);
      return 0;
    case WM_KILLFOCUS:
      Default();
      m_bHasFocus = false;
      m_fields.DropPendingDigit();
      ::InvalidateRect(m_hWnd, nullptr, TRUE);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header != nullptr && header->idFrom == kSpinButton) {
        if (header->code == UDN_DELTAPOS) {
          const auto* delta = reinterpret_cast<const NMUPDOWN*>(lp);
          Apply(m_fields.Step(delta->iDelta < 0 ? 1 : -1), false);
        }
        ::SetFocus(m_hWnd);
      }
      break;
    }
    case kCloseCalendar:
      m_pCalendar.reset();
      return 0;
    default:
      break;
  }
  return ost::Wnd::WindowProc(msg, wp, lp);
}
