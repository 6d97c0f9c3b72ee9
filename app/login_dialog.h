// The login window. Stand-in until the skinned login window with its login thread replaces it:
// the same template id, edit ids and members; Connect takes the typed texts into the settings
// and counts as a successful login.
#pragma once

#include <string>

#include "platform/dialog.h"

class LoginDialog : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 302;
  explicit LoginDialog(HWND parent);

  std::string m_strEditUser;
  std::string m_strEditPassword;
  std::string m_strEditServer;
  std::string m_strEditPort;
  std::string m_strEditBitRate;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;
  void OnOK() override;
};
