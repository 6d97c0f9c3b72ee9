#include "login/connect_progress_dlg.h"

#include <cstdio>

#include "login/login_dialog.h"
#include "login/login_messages.h"
#include "login/login_worker.h"

namespace {
constexpr UINT kAnimationPeriodMs = 300;
}

CConnectProgressDlg::CConnectProgressDlg(HWND parent, LoginDialog* opener)
    : ost::Dialog(kTemplateId, parent), m_pOpener(opener) {
  MapMessage(WM_LOGINWORKERDONE, &CConnectProgressDlg::OnLoginWorkerDone);
}

void CConnectProgressDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kStatusLabel, m_strStatusText);
}

BOOL CConnectProgressDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  ::SetWindowTextA(m_hWnd, "Connecting");
  Login::Create();
  Login& login = *g_pLogin;
  login.m_hOwner = m_hWnd;
  login.m_strUser = m_pOpener->m_strEditUser;
  login.m_strPassword = m_pOpener->m_strEditPassword;
  login.m_strServer = m_pOpener->m_strEditServer;
  login.m_strPort = m_pOpener->m_strEditPort;
  SetTimer(kLoginWorkerOwnerTimer, kAnimationPeriodMs);
  // A worker that cannot start would leave the box waiting for ever.
  if (!login.CreateThread()) {
    KillTimer(kLoginWorkerOwnerTimer);
    EndDialog(-1);
  }
  UpdateData(false);
  return TRUE;
}

void CConnectProgressDlg::OnTimer(UINT_PTR id) {
  Default();
  if (id == kLoginWorkerOwnerTimer) {
    static const char* const kDots[] = {".", "..", "...", "...."};
    char text[512];
    std::snprintf(text, sizeof text, "%s %s %s", "Connect", m_pOpener->m_strEditServer.c_str(),
                  kDots[m_nStep % 4]);
    m_strStatusText = text;
    ++m_nStep;
  }
  UpdateData(false);
}

LRESULT CConnectProgressDlg::OnLoginWorkerDone(WPARAM, LPARAM result) {
  KillTimer(kLoginWorkerOwnerTimer);
  EndDialog(static_cast<INT_PTR>(result));
  return 1;
}
