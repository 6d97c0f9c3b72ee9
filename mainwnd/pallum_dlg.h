// The main window. Stand-in until the skinned live-view window replaces it: shows the status
// line and the CONNECT/DISCONNECT button, and closes the session the way the real window does.
#pragma once

#include <string>

#include "platform/dialog.h"

class CPallumDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 102;
  static constexpr int kStatusId = 1100;
  static constexpr int kConnectId = 1002;
  CPallumDlg();

  // Replaces the status-line text. Returns 1.
  int SetStatusText(const std::string& text);
  bool DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override {}  // Escape never ends the main window

 private:
  bool m_fClosed = false;
};
