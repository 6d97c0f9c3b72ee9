// The settings sheet: the tree sheet with the pages of the device's family, the snapshot of the
// blocks taken at open, and EXIT, APPLY and REBOOT. APPLY asks each shown page what changed, in
// a fixed order, sends those blocks and closes the sheet.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "mainwnd/settings_sheet_slot.h"
#include "settings/settings_page.h"
#include "settings/tree_prop_sheet.h"

// Everything the sheet works on, gathered once at open (from the application data in the
// program; from a test's own blocks in tests).
struct SheetStart {
  SheetDevice device;
  SheetBlocks blocks;
  DeviceSession* session = nullptr;
  SheetProgram* program = nullptr;  // the running program; null in tests of the sheet alone
  std::string cookie;               // the login's session cookie
  SettingsSheetStart client;
  float scale = 1.0f;
  bool alarmListOnDvr = false;  // the control-device list holds model 19, 22 or 23
};

class MySystemDialog : public CTreePropSheet {
 public:
  // caption: string 3027 "System setting"; parent: the main window.
  MySystemDialog(const SheetStart& start, std::string caption, HWND parent, int firstPage);
  ~MySystemDialog() override;

  // The window, modeless over the parent. False when it could not be made.
  bool Open();
  bool IsOpen() const { return m_hWnd != nullptr; }

  SettingsPage* PageByCaption(const std::string& caption) const;
  const BlockSnapshot& Snapshot() const { return m_snapshot; }
  const SheetClientSettings& ClientChoices() const { return m_client; }

  void OnClickOK();
  void OnClickApply();
  void OnClickReboot();

  // EXIT, APPLY and, on RZ2K and RZ8P, REBOOT (the account page while an account is edited).
  int DisableSheetButtons();
  int EnableSheetButtons();

  // A page's modal dialog runs through this, so that the sheet is not deleted under it.
  INT_PTR RunPageModal(ost::Dialog& dialog);
  int ModalDepth() const { return m_modalDepth; }
  // Ends the page's modal dialogs and the sheet's window; the object stays.
  void CloseForDeletion();

  // After an apply: what the sheet copies into the client settings, and whether the
  // control-device list is to be rebuilt from RS485 or PERI. Read by the program's glue.
  using AfterApply = void (*)(MySystemDialog& sheet, bool rebuildRs485, bool rebuildPeri);
  void SetAfterApply(AfterApply after) { m_afterApply = after; }
  // Told when the sheet's window goes (EXIT, APPLY, WM_CLOSE); the object stays.
  void SetOnWindowGone(void (*gone)()) { m_onWindowGone = gone; }

 protected:
  BOOL OnInitDialog() override;
  std::string MakeMessageText(const std::string& caption) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // Sends what a page listed; false after the first failed send (told once).
  bool SendPageChanges(PageChanges& changes);
  bool SendBlock(uint8_t option);
  void CreateSheetButtons();
  void SetButtonsEnabled(bool enabled);
  LRESULT OnApplySNTPNow();

  SheetStart m_start;
  BlockSnapshot m_snapshot;
  SheetChoices m_choices;
  SheetClientSettings m_client;
  std::vector<std::unique_ptr<SettingsPage>> m_pageObjects;
  std::vector<std::unique_ptr<ost::Wnd>> m_buttons;
  std::vector<ost::Dialog*> m_modals;
  int m_modalDepth = 0;
  AfterApply m_afterApply = nullptr;
  void (*m_onWindowGone)() = nullptr;
};

// Installs the sheet's factory in the main window (the program does this at start-up).
void InstallSettingsSheet();
