#include "app/login_dialog.h"

#include <cstdlib>

#include "app/app_data.h"

LoginDialog::LoginDialog(HWND parent) : ost::Dialog(kTemplateId, parent) {}

void LoginDialog::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(1042, m_strEditServer);
  dx.Text(1040, m_strEditUser);
  dx.Text(1043, m_strEditPassword);
  dx.Text(1044, m_strEditPort);
  dx.Text(1376, m_strEditBitRate);
}

void LoginDialog::OnOK() {
  if (!UpdateData(true)) return;
  ::CSettingINI& settings = g_lpApp->CSettingINI;
  settings.SetServerNameFromUser(m_strEditServer);
  settings.m_strUsername = m_strEditUser;
  settings.m_strPassword = m_strEditPassword;
  settings.m_wWebPort = static_cast<uint16_t>(std::atoi(m_strEditPort.c_str()));
  g_lpApp->w_LoginResult = 30;
  EndDialog(1);
}
