#include "settings/account_page.h"

#include <commctrl.h>

#include <cstdio>

#include "net/device_session.h"
#include "platform/message_box.h"
#include "settings/page_controls.h"
#include "settings/settings_ids.h"

namespace {

constexpr unsigned kAccountPageTemplate = 273;
constexpr unsigned kStrUserName = 3015, kStrUserLevel = 3016, kStrLifeTime = 3017;
constexpr unsigned kStrInfinity = 3018, kStrDay = 3019, kStrHour = 3020, kStrMin = 3021;
constexpr unsigned kMsgTableFull = 4001, kMsgAddFailed = 4002, kMsgEditFailed = 4022;
constexpr unsigned kMsgMaxUsersEmpty = 4042, kMsgMaxUsersRange = 4043, kMsgNothingToDelete = 4045;
constexpr unsigned kMsgOwnAccount = 4069, kMsgSelectToDelete = 4086, kMsgSelectToEdit = 4087;
constexpr unsigned kMsgNameExists = 4118, kMsgTooLong = 4301, kMsgSetFailed = 4305;

std::string LifeTimeText(uint32_t minutes) {
  using page_controls::LoadText;
  if (minutes == 0xFFFFFFFFu) return LoadText(kStrInfinity);
  if (minutes == 1440) return LoadText(kStrDay);
  if (minutes == 60) return LoadText(kStrHour);
  return std::to_string(minutes) + " " + LoadText(kStrMin);
}

}  // namespace

AccountPropertyPage::AccountPropertyPage() : SettingsPage(kAccountPageTemplate, "Account") {
  MapNotify(kMaxUsers, EN_CHANGE, &AccountPropertyPage::OnMaxUsersChange);
  MapNotify(kName, EN_CHANGE, [this] { OnTextChange(kName); });
  MapNotify(kPassword, EN_CHANGE, [this] { OnTextChange(kPassword); });
  MapCommand(kAdd, &AccountPropertyPage::OnAdd);
  MapCommand(kDelete, &AccountPropertyPage::OnDelete);
  MapCommand(kEdit, &AccountPropertyPage::OnEdit);
  MapCommand(kExit, &AccountPropertyPage::OnExit);
  MapCommand(kOk, &AccountPropertyPage::OnOk);
}

void AccountPropertyPage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kLifeTime, m_nLifeTimeSel);
  dx.Text(kPassword, m_strAccountPassword, kAccountTextMax);
  dx.ComboIndex(kLevel, m_nLevelSel);
  dx.Text(kName, m_strAccountName, kAccountTextMax);
  dx.Text(kMaxUsers, m_nMaxUsers);
}

std::string AccountPropertyPage::LoginUser() const {
  return Context().session ? Context().session->User() : std::string();
}

void AccountPropertyPage::ShowEditRow(bool shown) {
  const auto row = {kNameLabel, kPasswordLabel, kLifeTimeLabel, kLevelLabel, kName,
                    kPassword,  kLifeTime,      kLevel,         kOk,         kExit};
  page_controls::Show(m_hWnd, row, shown);
  page_controls::Enable(m_hWnd, row, shown);
  page_controls::Enable(m_hWnd, {kAdd, kDelete, kEdit}, !shown);
}

void AccountPropertyPage::ListRow(int row, const AccountRecord& e) {
  m_lstAccounts.SetCell(row, 0, e.strName);
  m_lstAccounts.SetCell(row, 1, page_controls::LoadText(LevelTextId(e.wLevel)));
  m_lstAccounts.SetCell(row, 2, LifeTimeText(e.nLifeTime));
}

void AccountPropertyPage::Load() {
  page_controls::FillCombo(
      m_hWnd, kLifeTime, {"1    Min", "5    Min", "10  Min", "1    Hour", "1    Day", "INFINITY"});
  page_controls::FillCombo(m_hWnd, kLevel,
                           {"SUPERVISOR", "HIGH         USER", "NORMAL   USER", "GUEST"});
  ShowEditRow(false);
  m_table = LoadAccounts(Block(kSysCfgSecure));
  const float s = Context().scale > 0 ? Context().scale : 1.0f;
  m_lstAccounts.AttachDlgItem(kList, m_hWnd);
  m_lstAccounts.InsertColumn(0, page_controls::LoadText(kStrUserName), static_cast<int>(80 * s));
  m_lstAccounts.InsertColumn(1, page_controls::LoadText(kStrUserLevel), static_cast<int>(130 * s));
  m_lstAccounts.InsertColumn(2, page_controls::LoadText(kStrLifeTime), static_cast<int>(130 * s));
  for (uint16_t i = 0; i < m_table.count; ++i)
    ListRow(m_lstAccounts.AddRow(""), m_table.entries[i]);
  m_bEditingOwnAccount = 0;
  // The stored maximum passes through the typing rule (8 shows 4043 and becomes 5).
  m_nMaxUsers = m_table.maxUsers;
  UpdateData(false);
  OnMaxUsersChange();
}

void AccountPropertyPage::OnMaxUsersChange() {
  if (m_filtering) return;
  const MaxUsersFilter f = FilterMaxUsers(GetItemText(kMaxUsers));
  if (!f.changed) return;
  m_nMaxUsers = f.value;
  m_table.maxUsers = f.value;
  if (!f.message) return;
  m_filtering = true;
  OstMessageBoxId(kMsgMaxUsersRange);
  SetItemText(kMaxUsers, std::to_string(f.value));
  m_filtering = false;
}

void AccountPropertyPage::OnTextChange(int id) {
  if (m_filtering) return;
  const std::string text = GetItemText(id);
  const std::string kept = RemoveBlanks(text);
  if (kept == text) return;
  m_filtering = true;
  SetItemText(id, kept);
  if (HWND w = GetDlgItem(id)) ::SendMessageA(w, EM_SETSEL, kept.size(), kept.size());
  m_filtering = false;
}

void AccountPropertyPage::OnAdd() {
  if (m_nMaxUsers != 0 && m_table.count >= m_nMaxUsers) {
    OstMessageBoxId(kMsgAddFailed);
    return;
  }
  ShowEditRow(true);
  m_strAccountName.clear();
  m_strAccountPassword.clear();
  m_nLifeTimeSel = m_nLevelSel = -1;
  UpdateData(false);
  m_byEditMode = 0;
  if (Context().enableSheetButtons) Context().enableSheetButtons(false);
}

void AccountPropertyPage::OnDelete() {
  if (m_table.count == 0) {
    OstMessageBoxId(kMsgNothingToDelete);
    return;
  }
  const int row = m_lstAccounts.SelectedRow();
  if (row < 0 || row >= m_table.count) {
    OstMessageBoxId(kMsgSelectToDelete);
    return;
  }
  if (SameLoginName(m_table.entries[static_cast<size_t>(row)].strName, LoginUser())) {
    OstMessageBoxId(kMsgOwnAccount);
    return;
  }
  ::SendMessageA(m_lstAccounts.GetSafeHwnd(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  for (size_t i = static_cast<size_t>(row); i + 1 < kAccountSlots; ++i)
    m_table.entries[i] = m_table.entries[i + 1];
  m_table.entries[kAccountSlots - 1] = {};
  --m_table.count;
  m_bAccountsChanged = 1;
}

void AccountPropertyPage::OnEdit() {
  if (m_table.count == 0) {
    OstMessageBoxId(kMsgNoItemToEdit);
    return;
  }
  const int row = m_lstAccounts.SelectedRow();
  if (row < 0 || row >= m_table.count) {
    OstMessageBoxId(kMsgSelectToEdit);
    return;
  }
  const AccountRecord& e = m_table.entries[static_cast<size_t>(row)];
  m_bEditingOwnAccount = SameLoginName(e.strName, LoginUser());
  ShowEditRow(true);
  m_nLevelSel = IndexOfLevel(e.wLevel);
  m_nLifeTimeSel = IndexOfLifeTime(e.nLifeTime);
  m_strAccountPassword = e.strPassword;
  m_strAccountName = e.strName;
  UpdateData(false);
  m_byEditMode = 1;
  m_lstAccounts.EnableWindow(false);
  if (Context().enableSheetButtons) Context().enableSheetButtons(false);
}

void AccountPropertyPage::OnExit() {
  ShowEditRow(false);
  m_strAccountName.clear();
  m_strAccountPassword.clear();
  m_nLifeTimeSel = m_nLevelSel = -1;
  UpdateData(false);
  m_lstAccounts.EnableWindow(true);
  if (Context().enableSheetButtons) Context().enableSheetButtons(true);
  m_bEditingOwnAccount = 0;
}

void AccountPropertyPage::OnOk() {
  // Over-long texts are refused here, with the row kept open.
  if (GetItemText(kName).size() > kAccountTextMax ||
      GetItemText(kPassword).size() > kAccountTextMax) {
    OstMessageBoxId(kMsgTooLong);
    return;
  }
  ShowEditRow(false);
  UpdateData(true);
  m_lstAccounts.EnableWindow(true);
  if (Context().enableSheetButtons) Context().enableSheetButtons(true);
  const AccountEdit edit{m_strAccountName, m_strAccountPassword, m_nLifeTimeSel, m_nLevelSel};
  if (m_byEditMode == 1) {
    const int row = m_lstAccounts.SelectedRow();
    const bool own = m_bEditingOwnAccount != 0;
    m_bEditingOwnAccount = 0;
    if (row < 0 || row >= m_table.count) return;
    switch (CheckAccount(m_table, row, edit)) {
      case AccountCheck::kOk:
        break;
      case AccountCheck::kNameExists:
        OstMessageBoxId(kMsgNameExists);
        return;
      case AccountCheck::kTooLong:
        OstMessageBoxId(kMsgTooLong);
        return;
      default:
        OstMessageBoxId(kMsgEditFailed);
        return;
    }
    AccountRecord& e = m_table.entries[static_cast<size_t>(row)];
    if (!own) e.wLevel = LevelOfIndex(m_nLevelSel);
    e.nLifeTime = LifeTimeOfIndex(m_nLifeTimeSel);
    e.strName = m_strAccountName;
    e.strPassword = m_strAccountPassword;
    if (own) {
      m_newOwnName = e.strName;
      m_newOwnPassword = e.strPassword;
      m_ownChanged = true;
    }
    ListRow(row, e);
    m_bAccountsChanged = 1;
    return;
  }
  switch (CheckAccount(m_table, -1, edit)) {
    case AccountCheck::kOk:
      break;
    case AccountCheck::kNameExists:
      OstMessageBoxId(kMsgNameExists);
      return;
    case AccountCheck::kTableFull:
      OstMessageBoxId(kMsgTableFull);
      return;
    case AccountCheck::kTooLong:
      OstMessageBoxId(kMsgTooLong);
      return;
    default:
      OstMessageBoxId(kMsgAddFailed);
      return;
  }
  AccountRecord& e = m_table.entries[m_table.count];
  e = {1, LevelOfIndex(m_nLevelSel), LifeTimeOfIndex(m_nLifeTimeSel), m_strAccountName,
       m_strAccountPassword};
  ListRow(m_lstAccounts.AddRow(""), e);
  ++m_table.count;
  m_bAccountsChanged = 1;
}

bool AccountPropertyPage::OnKillActive() {
  if (GetItemText(kMaxUsers).empty()) {
    OstMessageBoxId(kMsgMaxUsersEmpty);
    return false;
  }
  OnExit();
  return true;
}

bool AccountPropertyPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  m_table.maxUsers = m_nMaxUsers;
  if (!StoreAccounts(m_table, m_bAccountsChanged != 0, Block(kSysCfgSecure))) return true;
  changes.failureMessage = kMsgSetFailed;
  changes.sends.push_back({kSysCfgSecure, {}});
  if (m_ownChanged && Context().session) {
    // The client logs in with the new account only once the device took it.
    DeviceSession* session = Context().session;
    SheetProgram* program = &Program();
    const std::string name = m_newOwnName, password = m_newOwnPassword;
    changes.sends.push_back({kSysCfgAll, [session, program, name, password] {
                               session->SetAccount(name, password);
                               program->SetAccount(name, password);
                               return true;
                             }});
  }
  return true;
}
