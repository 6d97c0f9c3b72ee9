#include "login/connect_progress_dlg.h"

#include <cstdio>

#include "login/login_dialog.h"
#include "login/login_messages.h"
#include "login/login_worker.h"
#include "platform/strings.h"

namespace {
constexpr UINT kAnimationPeriodMs = 300;
// "Connect", a line break, "Stop_Connect".
constexpr UINT kIdsConnectWords = 8532;
constexpr COLORREF kBack = RGB(0x1E, 0x22, 0x28);

// The first word of the text.
std::string FirstWord(const std::string& text) {
  const size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return {};
  const size_t end = text.find_first_of(" \t\r\n", start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
}  // namespace

CConnectProgressDlg::CConnectProgressDlg(HWND parent, LoginDialog* opener)
    : ost::Dialog(kTemplateId, parent), m_pOpener(opener) {
  MapMessage(WM_LOGINWORKERDONE, &CConnectProgressDlg::OnLoginWorkerDone);
}

void CConnectProgressDlg::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kStatusLabel, m_strStatusText);
}

BOOL CConnectProgressDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_backBrush = ost::SolidBrush(kBack);
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
    const std::string word = FirstWord(ost::LoadResString(kIdsConnectWords));
    char text[512];
    std::snprintf(text, sizeof text, "%s %s %s", word.c_str(), m_pOpener->m_strEditServer.c_str(),
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

HBRUSH CConnectProgressDlg::OnCtlColor(HDC dc, HWND control, UINT type) {
  if (type == WM_CTLCOLORDLG || type == WM_CTLCOLORSTATIC) {
    ::SetTextColor(dc, ost::kEditText);
    ::SetBkColor(dc, kBack);
    return m_backBrush.Get();
  }
  return ost::Dialog::OnCtlColor(dc, control, type);
}
