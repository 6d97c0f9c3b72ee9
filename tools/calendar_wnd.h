// The popup month calendar: a 200 x 180 tool window with the month, the year, five buttons
// (today, month back and forward, year back and forward), the weekday names in the locale's
// order and a 6 x 7 grid of days.  Every date it takes on goes at once to its owner editor; a
// day click also tells the owner that the calendar closes.
#pragma once

#include <windows.h>

#include <string>

#include "platform/controls.h"
#include "platform/wnd.h"
#include "tools/date_value.h"

class CDateTimeEditor;

enum DayState { DAY_SELECTED = 0, DAY_NORMAL = 1, DAY_EMPTY = 2 };

struct DayCell {
  int nDay = 0;
  int nState = DAY_EMPTY;
  unsigned char bToday = 0;
};

class CCalendarWnd : public ost::Wnd {
 public:
  static constexpr int kToday = 8580, kPrevMonth = 8581, kNextMonth = 8582, kPrevYear = 8583,
                       kNextYear = 8584;
  static constexpr int kWidth = 200, kHeight = 180;

  CCalendarWnd();
  ~CCalendarWnd() override;

  // Creates the window (a tool window without parent) at x, y with the caller's style.
  virtual BOOL Create(DWORD style, int x, int y, CDateTimeEditor* owner);
  void SetBackgroundColor(COLORREF colour) { m_crBackground = colour; }
  DateValue GetDate() const { return m_date; }
  void SetDate(int year, int month, int day);
  BOOL SetCurDate(const DateValue& date);

  const DayCell& Cell(int index) const { return m_cells[index]; }
  int FirstDayOfWeek() const { return m_nFirstDayOfWeek; }
  const std::string& DayName(int column) const { return m_astrDayNames[column]; }
  // A press at a client point, as the left button gives it.
  void ClickAt(POINT point);
  // The header buttons.
  void OnToday();
  void OnPrevMonth();
  void OnNextMonth();
  void OnPrevYear();
  void OnNextYear();

  // Today's date; tests may fix it.
  static DateFields (*s_pfnToday)();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool CreateChildren();
  void FillDayGrid();
  void NotifyOwner();
  BOOL CloseUp(int code);
  void SelectDayAt(int x, int y);
  void MoveTo(int year, int month, int day);
  void Paint(HDC dc, const RECT& client);
  void DrawHeader(HDC dc, const RECT& client);
  void DrawDays(HDC dc, const RECT& client);
  DateFields Fields() const;

  HFONT m_pHeaderFont = nullptr;
  HFONT m_pDayNameFont = nullptr;
  HFONT m_pDayFont = nullptr;
  HFONT m_pTodayFont = nullptr;
  COLORREF m_crBackground = 0;
  CDateTimeEditor* m_pOwner = nullptr;
  DateValue m_date;
  DayCell m_cells[42];
  int m_nDaysInMonth = 31;
  int m_nFirstDayOfWeek = 1;
  std::string m_astrDayNames[7];
  ost::Button m_btnPrevMonth, m_btnNextMonth, m_btnPrevYear, m_btnNextYear, m_btnToday;
};
