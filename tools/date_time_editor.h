// A one-line date-time edit control: the fields in the locale's order with its separators, a
// current field chosen with the mouse or Left and Right, changed with digits, letters, Up and
// Down, Home and End or the spin button; a calendar button beside it drops the calendar popup.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/wnd.h"
#include "tools/date_time_fields.h"
#include "tools/icon_button.h"

class CCalendarWnd;

class CDateTimeEditor : public ost::Wnd {
 public:
  static constexpr int kDropDownButton = 8585;
  static constexpr int kSpinButton = 8586;

  explicit CDateTimeEditor(BOOL bShowTime = TRUE);
  ~CDateTimeEditor() override;

  // Creates the control as a child of `parent` at x, y; it sizes itself.
  bool Create(HWND parent, int x, int y, int id);

  double GetDateTime() const;
  void SetDateTime(double oleDate);
  BOOL OnCalendarClose(int code);

  const DateTimeFields& Fields() const { return m_fields; }
  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  bool HasFocus() const { return m_bHasFocus; }
  RECT FieldRect(int i) const;
  CIconButton& DropDownButton() { return m_btnDropDown; }
  HWND SpinButton() const { return m_spin; }
  CCalendarWnd* Calendar() const { return m_pCalendar.get(); }
  // Opens the calendar under the control (the drop-down button does this).
  void OnDropDown();

  // The user's regional settings; tests may replace the reader.
  static DateTimeLocale ReadLocaleSettings();

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreTranslateMessage(MSG* msg) override;

 private:
  void RecalcLayout();
  void Apply(DateTimeFields::Result result, bool wholeText);
  void OnKeyDown(UINT key);
  void OnPaint();
  int FieldFromPoint(POINT p) const;
  void RepaintText();

  HWND m_hParentWnd = nullptr;
  DateTimeFields m_fields;
  DateValue m_sampleDate{0.0, true};
  CIconButton m_btnDropDown;
  HWND m_spin = nullptr;
  int m_nWidth = 0, m_nHeight = 0;
  RECT m_rcText{}, m_rcButtons{};
  HFONT m_pFont = nullptr;
  bool m_bHasFocus = false;
  std::unique_ptr<CCalendarWnd> m_pCalendar;
};
