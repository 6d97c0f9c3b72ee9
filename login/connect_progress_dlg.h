// The connect-progress box: logs in through the login worker with the login window's server,
// user, password and port, animates "Connect <server> ..." meanwhile and ends with the
// worker's result (1 logged in, -1 failed; Escape ends it with 2).
#pragma once

#include <windows.h>

#include <string>

#include "platform/dialog.h"
#include "platform/gdi.h"

class LoginDialog;

class CConnectProgressDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 318;
  static constexpr int kStatusLabel = 1393;

  CConnectProgressDlg(HWND parent, LoginDialog* opener);

  // Shown in the label; the opener sets it before the modal run.
  std::string m_strStatusText;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(ost::DataExchange& dx) override;
  void OnTimer(UINT_PTR id) override;
  // The box has no buttons: Enter does nothing.
  void OnOK() override {}
  HBRUSH OnCtlColor(HDC dc, HWND control, UINT type) override;

 private:
  LRESULT OnLoginWorkerDone(WPARAM, LPARAM result);

  unsigned m_nStep = 0;
  LoginDialog* m_pOpener;
  ost::Brush m_backBrush;
};
