#include "tools/calendar_wnd.h"

#include <ctime>

#include "platform/trace_log.h"
#include "tools/date_time_editor.h"

namespace {

constexpr char kClassName[] = "OstCalendarWnd";
constexpr COLORREF kLineColour = RGB(120, 160, 160);
constexpr COLORREF kText = RGB(50, 50, 50);

DateFields Now() {
  SYSTEMTIME t{};
  ::GetLocalTime(&t);
  DateFields f{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek + 1};
  return f;
}

bool RegisterOnce() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return ::RegisterClassA(&wc) != 0;
  }();
  return registered;
}

HFONT MakeFont(HDC dc, int points, int weight, bool italic, bool underline, int width = 0) {
  LOGFONTA lf{};
  lf.lfHeight = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lstrcpyA(lf.lfFaceName, "Arial");
  return ::CreateFontIndirectA(&lf);
}

void CentredText(HDC dc, int x, int y, const std::string& text) {
  ::SetTextAlign(dc, TA_CENTER | TA_TOP);
  ::TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

}  // namespace

DateFields (*CCalendarWnd::s_pfnToday)() = &Now;

CCalendarWnd::CCalendarWnd() {
  m_date = DateValue::FromFields(s_pfnToday());
  char setting[8] = {};
  ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, setting, sizeof setting);
  m_nFirstDayOfWeek = FirstDayOfWeekFromLocale(setting);
  MapCommand(kToday, [this] { OnToday(); });
  MapCommand(kPrevMonth, [this] { OnPrevMonth(); });
  MapCommand(kNextMonth, [this] { OnNextMonth(); });
  MapCommand(kPrevYear, [this] { OnPrevYear(); });
  MapCommand(kNextYear, [this] { OnNextYear(); });
}

CCalendarWnd::~CCalendarWnd() {
  for (HFONT f : {m_pHeaderFont, m_pDayNameFont, m_pDayFont, m_pTodayFont})
    if (f) ::DeleteObject(f);
}

DateFields CCalendarWnd::Fields() const {
  DateFields f;
  m_date.BreakDown(f);
  return f;
}

BOOL CCalendarWnd::Create(DWORD style, int x, int y, CDateTimeEditor* owner) {
  if (!RegisterOnce()) return FALSE;
  m_pOwner = owner;
  if (!CreateEx(WS_EX_TOOLWINDOW, kClassName, "", style, x, y, 120, 120, nullptr, 0)) return FALSE;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
  CreateChildren();
  const DateFields f = Fields();
  m_nDaysInMonth = GetDaysInMonth(f.month, f.year);
  FillDayGrid();
  ::SetFocus(m_hWnd);
  return TRUE;
}

bool CCalendarWnd::CreateChildren() {
  HWND ownerWnd = m_pOwner ? m_pOwner->GetSafeHwnd() : m_hWnd;
  HDC dc = ::GetDC(ownerWnd);
  m_pHeaderFont = MakeFont(dc, 9, 400, false, false);
  m_pDayFont = MakeFont(dc, 8, 400, true, false);
  m_pTodayFont = MakeFont(dc, 8, 800, true, true);
  m_pDayNameFont = MakeFont(dc, 9, 400, false, false, 4);
  ::ReleaseDC(ownerWnd, dc);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int W = client.right;
  struct B {
    ost::Button* button;
    int id;
    const char* text;
    int left, right;
  } buttons[] = {{&m_btnToday, kToday, "D", 5, 30},
                 {&m_btnPrevMonth, kPrevMonth, "<", 35, 50},
                 {&m_btnNextMonth, kNextMonth, ">", W - 83, W - 68},
                 {&m_btnPrevYear, kPrevYear, "<", W - 67, W - 52},
                 {&m_btnNextYear, kNextYear, ">", W - 20, W - 5}};
  for (const B& b : buttons) {
    if (!b.button->Create(b.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                          RECT{b.left, 5, b.right, 20}, m_hWnd, b.id)) {
      DebugTrace("CCalendarWnd: Can't create button!\n");
      return false;
    }
  }
  // The weekday names from today's date onward, in column order.
  const DateValue today = DateValue::FromFields(s_pfnToday());
  for (int i = 0; i < 7; ++i) {
    const int target = (i + m_nFirstDayOfWeek) % 7;
    DateValue v = today;
    for (int step = 0; step < 7; ++step, v.date += 1.0) {
      DateFields f;
      if (v.BreakDown(f) && f.weekday - 1 == target) {
        m_astrDayNames[i] = FormatDate(f, "%a");
        break;
      }
    }
  }
  return true;
}

void CCalendarWnd::FillDayGrid() {
  const DateFields today = s_pfnToday();
  const DateFields f = Fields();
  const int first = (CalendarDayOfWeek(1, f.month, f.year, 1) - m_nFirstDayOfWeek + 7) % 7;
  int n = 0;
  for (int i = 0; i < 42; ++i) {
    DayCell& cell = m_cells[i];
    cell.bToday = 0;
    if (i < first || n >= m_nDaysInMonth) {
      cell.nState = DAY_EMPTY;
      continue;
    }
    ++n;
    cell.nDay = n;
    cell.nState = n == f.day ? DAY_SELECTED : DAY_NORMAL;
    cell.bToday = today.year == f.year && today.month == f.month && today.day == n;
  }
}

void CCalendarWnd::NotifyOwner() {
  if (m_hWnd == nullptr || m_pOwner == nullptr) return;
  m_pOwner->SetDateTime(m_date.date);
  ::InvalidateRect(m_pOwner->GetSafeHwnd(), nullptr, TRUE);
}

void CCalendarWnd::SetDate(int year, int month, int day) {
  m_date = DateValue::FromFields(year, month, day, 0, 0, 0);
  FillDayGrid();
  NotifyOwner();
}

BOOL CCalendarWnd::SetCurDate(const DateValue& date) {
  m_date = date;
  const DateFields f = Fields();
  m_nDaysInMonth = GetDaysInMonth(f.month, f.year);
  FillDayGrid();
  NotifyOwner();
  return TRUE;
}

BOOL CCalendarWnd::CloseUp(int code) {
  if (m_pOwner) m_pOwner->OnCalendarClose(code);
  return TRUE;
}

void CCalendarWnd::MoveTo(int year, int month, int day) {
  // The date value holds the years 0..9999; the buttons stop there.
  if (year < 0 || year > 9999) {
    ::MessageBeep(MB_OK);
    return;
  }
  const DateFields f = Fields();
  m_nDaysInMonth = GetDaysInMonth(month, year);
  if (day > m_nDaysInMonth) day = m_nDaysInMonth;
  const DateValue next = DateValue::FromFields(year, month, day, f.hour, f.minute, 0);
  if (next == m_date) return;
  SetCurDate(next);
  FillDayGrid();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCalendarWnd::OnPrevMonth() {
  const DateFields f = Fields();
  MoveTo(f.month == 1 ? f.year - 1 : f.year, f.month == 1 ? 12 : f.month - 1, f.day);
}
void CCalendarWnd::OnNextMonth() {
  const DateFields f = Fields();
  MoveTo(f.month == 12 ? f.year + 1 : f.year, f.month == 12 ? 1 : f.month + 1, f.day);
}
void CCalendarWnd::OnPrevYear() {
  const DateFields f = Fields();
  MoveTo(f.year - 1, f.month, f.day);
}
void CCalendarWnd::OnNextYear() {
  const DateFields f = Fields();
  MoveTo(f.year + 1, f.month, f.day);
}
void CCalendarWnd::OnToday() {
  const DateFields t = s_pfnToday();
  MoveTo(t.year, t.month, t.day);
}

void CCalendarWnd::ClickAt(POINT point) {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  if (::PtInRect(&client, point))
    SelectDayAt(point.x, point.y);
  else
    CloseUp(0);
}

void CCalendarWnd::SelectDayAt(int x, int y) {
  int remembered = -1;
  for (int i = 0; i < 42; ++i) {
    if (m_cells[i].nState == DAY_EMPTY) continue;
    if (m_cells[i].nState == DAY_SELECTED) remembered = i;
    m_cells[i].nState = DAY_NORMAL;
  }
  for (int i = 0; i < 42; ++i) {
    if (m_cells[i].nState == DAY_EMPTY) continue;
    const int r = i / 7, c = i % 7;
    const RECT hit{8 + 26 * c, 45 + 19 * r, 8 + 26 * c + 27, 45 + 19 * r + 20};
    if (::PtInRect(&hit, POINT{x, y})) {
      m_cells[i].nState = DAY_SELECTED;
      const DateFields f = Fields();
      SetDate(f.year, f.month, m_cells[i].nDay);
      CloseUp(0);
      return;
    }
  }
  if (remembered >= 0) m_cells[remembered].nState = DAY_SELECTED;
}

void CCalendarWnd::DrawHeader(HDC dc, const RECT& rc) {
  HPEN pen = ::CreatePen(PS_SOLID, 1, kLineColour);
  HBRUSH brush = ::CreateSolidBrush(m_crBackground);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  HGDIOBJ oldBrush = ::SelectObject(dc, brush);
  ::Rectangle(dc, 0, rc.top + 4, rc.right, rc.bottom);
  RECT strip{0, rc.top, rc.right, rc.top + 24};
  ::DrawEdge(dc, &strip, EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE);
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = ::SetTextColor(dc, kText);
  const UINT oldAlign = ::GetTextAlign(dc);
  HGDIOBJ oldFont = ::SelectObject(dc, m_pHeaderFont);
  DateFields f = Fields();
  CentredText(dc, 83, 4, FormatDate(f, "%B"));
  ::SetTextAlign(dc, TA_RIGHT | TA_TOP);
  const std::string year = FormatDate(f, "%Y");
  ::TextOutA(dc, rc.right - 20, 4, year.c_str(), static_cast<int>(year.size()));
  ::SetTextColor(dc, kLineColour);
  ::SelectObject(dc, m_pDayNameFont);
  int l = rc.left + 8, r = rc.left + 35;
  for (int i = 0; i < 7; ++i) {
    CentredText(dc, (l + r - 3) / 2, 28, m_astrDayNames[i]);
    l = r - 1;
    r += 26;
  }
  ::MoveToEx(dc, rc.left + 5, 42, nullptr);
  ::LineTo(dc, rc.right - 5, 42);
  ::SelectObject(dc, oldFont);
  ::SetTextAlign(dc, oldAlign);
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(pen);
  ::DeleteObject(brush);
}

void CCalendarWnd::DrawDays(HDC dc, const RECT& rc) {
  ::SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < 42; ++i) {
    const DayCell& cell = m_cells[i];
    const int row = i / 7, column = i % 7;
    RECT r{rc.left + 9 + 26 * column, rc.top + 46 + 19 * row, 0, 0};
    r.right = r.left + 27;
    r.bottom = r.top + 20;
    COLORREF text = kText;
    if (cell.nState == DAY_SELECTED) {
      ::DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
      text = column == 0 ? RGB(200, 120, 120) : RGB(150, 150, 150);
    } else {
      ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT | BF_MIDDLE);
      if (column == 0 && cell.nState == DAY_NORMAL) text = RGB(200, 0, 0);
    }
    if (cell.nState == DAY_EMPTY) continue;
    ::SetTextColor(dc, text);
    HGDIOBJ old = ::SelectObject(dc, cell.bToday ? m_pTodayFont : m_pDayFont);
    CentredText(dc, (r.left + r.right) / 2, r.top + 3, std::to_string(cell.nDay));
    ::SelectObject(dc, old);
  }
}

void CCalendarWnd::Paint(HDC dc, const RECT& client) {
  DrawHeader(dc, client);
  DrawDays(dc, client);
}

LRESULT CCalendarWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(m_hWnd, &client);
      HBRUSH brush = ::CreateSolidBrush(m_crBackground);
      ::FillRect(reinterpret_cast<HDC>(wp), &client, brush);
      ::DeleteObject(brush);
      return TRUE;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = ::BeginPaint(m_hWnd, &ps);
      RECT client{};
      ::GetClientRect(m_hWnd, &client);
      HDC memory = ::CreateCompatibleDC(dc);
      HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
      if (bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        Paint(memory, client);
        RECT clip{};
        ::GetClipBox(dc, &clip);
        ::BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, memory,
                 clip.left, clip.top, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
      } else {
        Paint(dc, client);
      }
      if (memory) ::DeleteDC(memory);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      ClickAt(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
      return 0;
    default:
      break;
  }
  return ost::Wnd::WindowProc(msg, wp, lp);
}
