// The skin's dark colours for the device tools' dialogs: the dialog face and its labels and
// group boxes (edit boxes keep the shared dialog colours).
#pragma once

#include <windows.h>

#include "platform/dialog.h"

inline constexpr COLORREF kToolFace = RGB(0x1E, 0x22, 0x28);
inline constexpr COLORREF kToolBar = RGB(0x1F, 0xB5, 0xA8);

// The face brush for the dialog and its labels; null for other controls.
inline HBRUSH ToolDialogColours(HDC dc, HWND control, UINT type, HBRUSH face) {
  char cls[16] = {};
  if (type == WM_CTLCOLORSTATIC) ::GetClassNameA(control, cls, sizeof cls);
  if (type == WM_CTLCOLORDLG || (type == WM_CTLCOLORSTATIC && ::lstrcmpiA(cls, "Edit") != 0)) {
    ::SetTextColor(dc, ost::kEditText);
    ::SetBkColor(dc, kToolFace);
    return face;
  }
  return nullptr;
}
