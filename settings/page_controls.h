// Small helpers of the settings pages over their dialog's controls.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace page_controls {

inline void Show(HWND dialog, std::initializer_list<int> ids, bool shown) {
  for (int id : ids)
    if (HWND w = ::GetDlgItem(dialog, id)) ::ShowWindow(w, shown ? SW_SHOW : SW_HIDE);
}

inline void Enable(HWND dialog, std::initializer_list<int> ids, bool enabled) {
  for (int id : ids)
    if (HWND w = ::GetDlgItem(dialog, id)) ::EnableWindow(w, enabled);
}

inline void Check(HWND dialog, int id, bool checked) {
  ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

inline bool IsChecked(HWND dialog, int id) {
  return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

inline void FillCombo(HWND dialog, int id, std::initializer_list<const char*> texts) {
  HWND combo = ::GetDlgItem(dialog, id);
  if (!combo) return;
  ::SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  for (const char* text : texts)
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

inline void AddComboText(HWND dialog, int id, const std::string& text) {
  if (HWND combo = ::GetDlgItem(dialog, id))
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// A string of the program's string table ("" when missing).
inline std::string LoadText(unsigned id) {
  char text[512] = {};
  const int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace page_controls
