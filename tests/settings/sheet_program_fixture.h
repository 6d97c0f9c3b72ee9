// The program under Wine against devsim with its settings sheet opened from the main window's
// button: the sheet's buttons and tree, its pages found by a control, devsim's stored blocks.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/program_fixture.h"

namespace sheettest {

inline constexpr int kSystemConfigButton = 1006;
inline constexpr int kExit = 8000, kApply = 8001, kReboot = 8002;
inline constexpr int kTree = 0x7EEE;

// A page of the sheet: the dialog child that holds the control.
inline HWND PageWith(HWND sheet, int control) {
  for (HWND child = ::GetWindow(sheet, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgItem(child, control) != nullptr) return child;
  }
  return nullptr;
}

inline void SetItemText(HWND dlg, int id, const std::string& text) {
  ::SendMessageA(::GetDlgItem(dlg, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

class SettingsSheetProgram : public testsupport::ProgramFixture {
 protected:
  SettingsSheetProgram()
      : ProgramFixture({.folderPrefix = "ostrova-sheet", .devsimArgs = {"--fps", "10"}}) {}

  HWND OpenSheet(HWND main) {
    Click(main, kSystemConfigButton);
    return testsupport::WaitForWindow(m_process.Id(), "System setting");
  }
  std::string Block(const std::string& option) {
    return m_device.Control("/_devsim/block?option=" + option);
  }
  int ServerPort() const {
    return static_cast<int>(
        ::GetPrivateProfileIntA("Ostrova", "ServerPort", -1, m_folder.File("Setting.ini").c_str()));
  }
  size_t Sets() const { return m_device.RequestsOf("/SetSysCfg.cgi").size(); }
  // Whether the window is gone (or hidden).
  static bool Gone(HWND w) { return !::IsWindow(w) || !::IsWindowVisible(w); }
};

}  // namespace sheettest
