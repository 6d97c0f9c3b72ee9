// Wrappers of the standard controls.  Each can create its control (Create: subclassed and
// owned by the object), subclass an existing one (SubclassDlgItem) or merely refer to one
// (Attach).
#ifndef OSTROVA_PLATFORM_CONTROLS_H
#define OSTROVA_PLATFORM_CONTROLS_H

#include <windows.h>

#include <string>

#include "platform/wnd.h"

namespace ost {

class Button : public Wnd {
 public:
  bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id);
  // BST_CHECKED, BST_UNCHECKED or BST_INDETERMINATE.
  int GetCheck() const;
  void SetCheck(int state);
};

class Edit : public Wnd {
 public:
  bool Create(DWORD style, const RECT& rect, HWND parent, int id);
  void SetLimitText(UINT maxChars);
  // Selects characters start to end (exclusive); SetSel(n, n) puts the caret at n.
  void SetSel(int start, int end);
};

class Static : public Wnd {
 public:
  bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, int id);
};

class ProgressBar : public Wnd {
 public:
  bool Create(DWORD style, const RECT& rect, HWND parent, int id);
  void SetRange(int lower, int upper);
  int SetPos(int position);  // returns the previous position
  int GetPos() const;
  void SetStep(int step);
  int StepIt();  // returns the previous position
};

class ListBox : public Wnd {
 public:
  bool Create(DWORD style, const RECT& rect, HWND parent, int id);
  int AddString(const std::string& text);  // index of the new item, or LB_ERR
  int GetCount() const;
  int GetCurSel() const;  // LB_ERR when none
  bool SetCurSel(int index);
  std::string GetItemText(int index) const;
  void ResetContent();
};

class ComboBox : public Wnd {
 public:
  bool Create(DWORD style, const RECT& rect, HWND parent, int id);
  int AddString(const std::string& text);  // index of the new item, or CB_ERR
  int GetCount() const;
  int GetCurSel() const;  // CB_ERR when none
  bool SetCurSel(int index);
  std::string GetItemText(int index) const;
  void ResetContent();
};

// Sets a date-time picker's custom format (DTM_SETFORMAT). Where the picker does not show a
// three-letter month field ("MMM") as the month's abbreviation (Wine's shows the whole name
// followed by ".3s", cut to the field), the field shows the whole name ("MMMM") instead.
void SetPickerFormat(HWND picker, const char* format);

}  // namespace ost

#endif  // OSTROVA_PLATFORM_CONTROLS_H
