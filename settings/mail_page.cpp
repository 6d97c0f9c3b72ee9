#include "settings/mail_page.h"

#include <commctrl.h>

#include "platform/message_box.h"
#include "settings/page_controls.h"
#include "ui/dark_skin.h"

namespace {

constexpr unsigned kMailPageTemplate = 269, kMailEditTemplate = 270;
constexpr unsigned kStrMailAccount = 3014, kStrAdd = 8329, kStrEdit = 8330;
constexpr unsigned kMsgMaxRecipients = 4041, kMsgSelectToDelete = 4088, kMsgSelectToEdit = 4089;
constexpr unsigned kMsgAddressTooLong = 4300;

}  // namespace

CMailEditDlg::CMailEditDlg() : ost::Dialog(kMailEditTemplate) {
  SetSkin(&ost::DarkDialogSkin());
}

void CMailEditDlg::DoDataExchange(ost::DataExchange& dx) {
  if (!dx.IsSaving()) SetItemText(kLabel, m_strLabel);
  dx.Text(kAddress, m_strAddress, 63);
}

void CMailEditDlg::OnOK() {
  if (!UpdateData(true)) return;
  // The address is kept as "name <address>" in a 48-byte entry.
  if (!m_strAddress.empty() && !StoredRecipient(m_strAddress)) {
    OstMessageBoxId(kMsgAddressTooLong);
    return;
  }
  EndDialog(IDOK);
}

MailPropertyPage::MailPropertyPage() : SettingsPage(kMailPageTemplate, "Mail") {
  MapCommand(kAuthYes, [this] { SetAuth(2); });
  MapCommand(kAuthNo, [this] { SetAuth(0); });
  MapNotify(kSender, EN_CHANGE, [this] { LimitTextEdit(kSender, MailSenderLimit(Place())); });
  MapCommand(kAdd, &MailPropertyPage::OnAdd);
  MapCommand(kDelete, &MailPropertyPage::OnDelete);
  MapCommand(kEdit, &MailPropertyPage::OnEdit);
}

MailOverflowPlace MailPropertyPage::Place() const {
  return MailOverflowFor(Device().productId, Device().fwVersion);
}

void MailPropertyPage::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kSender, m_strMailFrom);
  dx.Text(kServer, m_strSMTPServer, 63);
  dx.Text(kPassword, m_strSMTPPassword, 31);
  dx.Text(kUser, m_strSMTPUser, 31);
}

void MailPropertyPage::SetAuth(uint8_t auth) {
  m_bySMTPAuth = auth;
  page_controls::Check(m_hWnd, kAuthYes, auth == 2);
  page_controls::Check(m_hWnd, kAuthNo, auth == 0);
  page_controls::Enable(m_hWnd, {kUser, kPassword}, auth != 0);
}

void MailPropertyPage::Load() {
  const MailOverflowPlace place = Place();
  const bool rest = place.present();
  m_snapshot = LoadMail(Snapshot(kSysCfgSmtp),
                        rest ? Snapshot(place.option) : std::span<const uint8_t>{}, place);
  const MailValues now =
      LoadMail(Block(kSysCfgSmtp), rest ? Block(place.option) : std::span<uint8_t>{}, place);
  m_strMailFrom = now.sender;
  m_strSMTPServer = now.server;
  m_strSMTPPassword = now.password;
  m_strSMTPUser = now.user;
  m_bySMTPAuth = now.auth;
  if (m_bySMTPAuth == 0 || m_bySMTPAuth == 2) {
    SetAuth(m_bySMTPAuth);
  } else {
    page_controls::Check(m_hWnd, kAuthYes, false);
    page_controls::Check(m_hWnd, kAuthNo, false);
  }
  m_lstRecipients.AttachDlgItem(kRecipients, m_hWnd);
  m_lstRecipients.InsertColumn(0, page_controls::LoadText(kStrMailAccount), 300);
  m_nRecipientCount = 0;
  for (const std::string& r : now.recipients) {
    m_lstRecipients.AddRow(r);
    ++m_nRecipientCount;
  }
  UpdateData(false);
}

bool MailPropertyPage::RunEdit(unsigned promptId, std::string& address) {
  CMailEditDlg dlg;
  dlg.m_strLabel = page_controls::LoadText(promptId);
  dlg.m_strAddress = address;
  if (RunModal(dlg) != IDOK) return false;
  address = dlg.m_strAddress;
  return true;
}

void MailPropertyPage::OnAdd() {
  if (m_lstRecipients.RowCount() >= static_cast<int>(kMailRecipientCount)) {
    OstMessageBoxId(kMsgMaxRecipients);
    return;
  }
  std::string address;
  if (!RunEdit(kStrAdd, address) || address.empty()) return;
  m_lstRecipients.AddRow(address);
  ++m_nRecipientCount;
  m_bListChanged = 1;
}

void MailPropertyPage::OnDelete() {
  const int row = m_lstRecipients.SelectedRow();
  if (row < 0) {
    OstMessageBoxId(kMsgSelectToDelete);
    return;
  }
  ::SendMessageA(m_lstRecipients.GetSafeHwnd(), LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  --m_nRecipientCount;
  m_bListChanged = 1;
}

void MailPropertyPage::OnEdit() {
  const int row = m_lstRecipients.SelectedRow();
  if (row < 0) {
    OstMessageBoxId(kMsgSelectToEdit);
    return;
  }
  std::string address = m_lstRecipients.Cell(row, 0);
  if (!RunEdit(kStrEdit, address)) return;
  m_lstRecipients.SetCell(row, 0, address);
  m_bListChanged = 1;
}

bool MailPropertyPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  const MailOverflowPlace place = Place();
  MailValues now;
  now.sender = m_strMailFrom;
  now.server = m_strSMTPServer;
  now.password = m_strSMTPPassword;
  now.user = m_strSMTPUser;
  now.auth = m_bySMTPAuth;
  for (int i = 0; i < m_lstRecipients.RowCount(); ++i)
    now.recipients.push_back(m_lstRecipients.Cell(i, 0));
  const std::span<uint8_t> overflow = place.present() ? Block(place.option) : std::span<uint8_t>{};
  const uint32_t changed =
      StoreMail(now, m_snapshot, m_bListChanged != 0, {Block(kSysCfgSmtp), overflow}, place);
  for (uint8_t option : {kSysCfgSmtp, kSysCfgSntp, kSysCfgSystem})
    if (changed & (1u << option)) changes.sends.push_back({option, {}});
  return true;
}
