// The "Account" page: the device's five accounts and the maximum of users (SECURE block), with
// the edit row shown while an account is added or edited.
#pragma once

#include <windows.h>

#include <string>

#include "pagerules/account_rules.h"
#include "platform/property_page.h"
#include "settings/settings_page.h"

class AccountPropertyPage : public SettingsPage {
 public:
  static constexpr int kList = 1284, kMaxUsers = 1040, kName = 1041, kPassword = 1042,
                       kLifeTime = 1291, kLevel = 1294, kAdd = 1285, kDelete = 1286, kEdit = 1287,
                       kOk = 1288, kExit = 1068, kNameLabel = 1289, kPasswordLabel = 1290,
                       kLifeTimeLabel = 1292, kLevelLabel = 1293;

  AccountPropertyPage();

  void Load() override;
  bool Store(PageChanges& changes) override;
  bool OnKillActive() override;

  int m_nLifeTimeSel = -1;
  std::string m_strAccountPassword;
  int m_nLevelSel = -1;
  std::string m_strAccountName;
  uint32_t m_nMaxUsers = 5;
  uint8_t m_byEditMode = 0;
  int m_bAccountsChanged = 0;
  int m_bEditingOwnAccount = 0;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void ShowEditRow(bool shown);
  void OnMaxUsersChange();
  void OnTextChange(int id);
  void OnAdd();
  void OnDelete();
  void OnEdit();
  void OnExit();
  void OnOk();
  void ListRow(int row, const AccountRecord& e);
  std::string LoginUser() const;

  ost::ListView m_lstAccounts;
  AccountTable m_table;
  // The own account's new name and password, taken by the session once SECURE was accepted.
  std::string m_newOwnName, m_newOwnPassword;
  bool m_ownChanged = false;
  bool m_filtering = false;
};
