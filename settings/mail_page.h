// The "Mail" page: SMTP server, sender, verification and up to four alarm recipients (SMTP block,
// and the sender's rest in the SNTP or SYSTEM block), with its recipient edit dialog.
#pragma once

#include <windows.h>

#include <string>

#include "net/sys_cfg_fields.h"
#include "pagerules/mail_rules.h"
#include "platform/dialog.h"
#include "platform/property_page.h"
#include "settings/settings_page.h"

// "Mail Account Edit": a prompt and one address.
class CMailEditDlg : public ost::Dialog {
 public:
  static constexpr int kLabel = 1274, kAddress = 1040;
  CMailEditDlg();

  std::string m_strLabel;
  std::string m_strAddress;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;
  void OnOK() override;
};

class MailPropertyPage : public SettingsPage {
 public:
  static constexpr int kRecipients = 1267, kSender = 1045, kServer = 1044, kPassword = 1043,
                       kUser = 1042, kAuthYes = 1268, kAuthNo = 1269, kAdd = 1118, kDelete = 1117,
                       kEdit = 1119;

  MailPropertyPage();

  void Load() override;
  bool Store(PageChanges& changes) override;

  std::string m_strMailFrom;
  std::string m_strSMTPServer;
  std::string m_strSMTPPassword;
  std::string m_strSMTPUser;
  uint8_t m_nRecipientCount = 0;
  uint8_t m_bySMTPAuth = 0;
  int m_bListChanged = 0;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void SetAuth(uint8_t auth);
  void OnAdd();
  void OnDelete();
  void OnEdit();
  // Runs the edit dialog; the address when OK was pressed with an address that can be stored.
  bool RunEdit(unsigned promptId, std::string& address);
  MailOverflowPlace Place() const;

  ost::ListView m_lstRecipients;
  MailValues m_snapshot;
};
