#include "mainwnd/pallum_dlg.h"

#include "app/app_data.h"
#include "app/session_resources.h"

CPallumDlg::CPallumDlg() : ost::Dialog(kTemplateId, nullptr) {
  MapMessage(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
    EndDialog(IDOK);
    return 0;
  });
}

BOOL CPallumDlg::OnInitDialog() {
  g_lpApp->h_MainDialogHandle = m_hWnd;
  g_lpApp->lp_MainDialog = this;
  g_lpApp->byStartVideoMode = g_lpApp->byVideoMode;
  SetStatusText("CONNECT!!");
  return ost::Dialog::OnInitDialog();
}

int CPallumDlg::SetStatusText(const std::string& text) {
  SetDlgItemTextA(m_hWnd, kStatusId, text.c_str());
  return 1;
}

bool CPallumDlg::DestroyWindow() {
  if (!m_fClosed && g_lpApp) {
    m_fClosed = true;
    g_lpApp->m_AlarmRecord.StopRecord();
    g_lpApp->m_UserRecord.StopRecord();
    g_lpApp->m_SchRecord.StopRecord();
    if (!ExitLoginResource() || !ExitProcessResource()) return false;
    g_lpApp->CSettingINI.WriteSettingFile();
    g_lpApp->h_MainDialogHandle = nullptr;
    g_lpApp->lp_MainDialog = nullptr;
    Sleep(100);
  }
  return ost::Dialog::DestroyWindow();
}
