#include "platform/controls.h"

#include <commctrl.h>

#include "platform/app.h"
#include "text/picker_format.h"

namespace ost {
namespace {

std::string ItemText(HWND list, UINT lengthMsg, UINT textMsg, int index) {
  LRESULT length = ::SendMessageA(list, lengthMsg, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT copied = ::SendMessageA(list, textMsg, static_cast<WPARAM>(index),
                                  reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

}  // namespace

bool Button::Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id) {
  return CreateControl("BUTTON", text, style, rect, parent, id);
}

int Button::GetCheck() const {
  return static_cast<int>(Send(BM_GETCHECK));
}

void Button::SetCheck(int state) {
  Send(BM_SETCHECK, static_cast<WPARAM>(state));
}

bool Edit::Create(DWORD style, const RECT& rect, HWND parent, int id) {
  return CreateControl("EDIT", "", style, rect, parent, id);
}

void Edit::SetLimitText(UINT maxChars) {
  Send(EM_SETLIMITTEXT, maxChars);
}

void Edit::SetSel(int start, int end) {
  Send(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

bool Static::Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id) {
  return CreateControl("STATIC", text, style, rect, parent, id);
}

bool ProgressBar::Create(DWORD style, const RECT& rect, HWND parent, int id) {
  EnsureCommonControls();
  return CreateControl(PROGRESS_CLASSA, "", style, rect, parent, id);
}

void ProgressBar::SetRange(int lower, int upper) {
  Send(PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

int ProgressBar::SetPos(int position) {
  return static_cast<int>(Send(PBM_SETPOS, static_cast<WPARAM>(position)));
}

int ProgressBar::GetPos() const {
  return static_cast<int>(Send(PBM_GETPOS));
}

void ProgressBar::SetStep(int step) {
  Send(PBM_SETSTEP, static_cast<WPARAM>(step));
}

int ProgressBar::StepIt() {
  return static_cast<int>(Send(PBM_STEPIT));
}

bool ListBox::Create(DWORD style, const RECT& rect, HWND parent, int id) {
  return CreateControl("LISTBOX", "", style, rect, parent, id);
}

int ListBox::AddString(const std::string& text) {
  return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ListBox::GetCount() const {
  return static_cast<int>(Send(LB_GETCOUNT));
}

int ListBox::GetCurSel() const {
  return static_cast<int>(Send(LB_GETCURSEL));
}

bool ListBox::SetCurSel(int index) {
  return Send(LB_SETCURSEL, static_cast<WPARAM>(index)) != LB_ERR || index == -1;
}

std::string ListBox::GetItemText(int index) const {
  return ItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, index);
}

void ListBox::ResetContent() {
  Send(LB_RESETCONTENT);
}

bool ComboBox::Create(DWORD style, const RECT& rect, HWND parent, int id) {
  return CreateControl("COMBOBOX", "", style, rect, parent, id);
}

int ComboBox::AddString(const std::string& text) {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

int ComboBox::GetCount() const {
  return static_cast<int>(Send(CB_GETCOUNT));
}

int ComboBox::GetCurSel() const {
  return static_cast<int>(Send(CB_GETCURSEL));
}

bool ComboBox::SetCurSel(int index) {
  return Send(CB_SETCURSEL, static_cast<WPARAM>(index)) != CB_ERR || index == -1;
}

std::string ComboBox::GetItemText(int index) const {
  return ItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void ComboBox::ResetContent() {
  Send(CB_RESETCONTENT);
}

namespace {

// Whether this process's pickers show "MMM" as the month's abbreviation: a hidden picker is
// asked for its text of 17 May 2006.
bool PickerShowsMonthAbbreviations() {
  HWND picker = ::CreateWindowExA(0, DATETIMEPICK_CLASSA, "", WS_POPUP, 0, 0, 120, 20, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (picker == nullptr) return true;
  ::SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("MMM"));
  SYSTEMTIME may{};
  may.wYear = 2006;
  may.wMonth = 5;
  may.wDay = 17;
  may.wDayOfWeek = 3;
  ::SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&may));
  char shown[80] = {};
  ::GetWindowTextA(picker, shown, sizeof shown);
  ::DestroyWindow(picker);
  char abbreviation[80] = {};
  ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME5, abbreviation,
                   sizeof abbreviation);
  return std::string(shown) == abbreviation;
}

}  // namespace

void SetPickerFormat(HWND picker, const char* format) {
  static const bool abbreviations = PickerShowsMonthAbbreviations();
  const std::string shown = abbreviations ? std::string(format) : WholeMonthFormat(format);
  ::SendMessageA(picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

}  // namespace ost
