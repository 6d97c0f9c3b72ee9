#include "settings/ftp_page.h"

#include "platform/message_box.h"
#include "settings/settings_ids.h"

namespace {

constexpr unsigned kFtpPageTemplate = 271;
constexpr unsigned kMsgPortWrong = 4054;

}  // namespace

FTPPropertyPage::FTPPropertyPage() : SettingsPage(kFtpPageTemplate, "FTP") {
  MapNotify(kPort, EN_CHANGE, [this] { OnPortChange(); });
}

void FTPPropertyPage::DoDataExchange(ost::DataExchange& dx) {
  dx.Text(kServer, m_strFTPServer, 31);
  dx.Text(kPassword, m_strFTPPassword, 15);
  dx.Text(kUser, m_strFTPUser, 15);
  dx.Text(kPath, m_strFTPPath, 31);
  if (dx.IsSaving()) {
    const FtpPortFilter f = FilterFtpPort(GetItemText(kPort));
    if (f.valid) m_nFTPPort = f.port;
  } else {
    SetItemText(kPort, std::to_string(m_nFTPPort));
  }
}

void FTPPropertyPage::Load() {
  m_snapshot = LoadFtp(Snapshot(kSysCfgFtp));
  const FtpValues now = LoadFtp(Block(kSysCfgFtp));
  m_strFTPServer = now.server;
  m_strFTPUser = now.user;
  m_strFTPPassword = now.password;
  m_strFTPPath = now.path;
  m_nFTPPort = now.port;
  UpdateData(false);
}

void FTPPropertyPage::OnPortChange() {
  if (m_inPortFilter) return;
  const FtpPortFilter f = FilterFtpPort(GetItemText(kPort));
  if (f.empty) return;
  if (f.valid) {
    m_nFTPPort = f.port;
    return;
  }
  // Only the port's own edit is rewritten, so nothing else typed is lost.
  m_inPortFilter = true;
  OstMessageBoxId(kMsgPortWrong);
  m_nFTPPort = kFtpDefaultPort;
  SetItemText(kPort, std::to_string(m_nFTPPort));
  m_inPortFilter = false;
}

bool FTPPropertyPage::OnKillActive() {
  if (GetItemText(kPort).empty()) {
    OstMessageBoxId(kMsgTypePort);
    return false;
  }
  return true;
}

bool FTPPropertyPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  FtpValues now;
  now.server = m_strFTPServer;
  now.user = m_strFTPUser;
  now.password = m_strFTPPassword;
  now.path = m_strFTPPath;
  now.port = m_nFTPPort;
  if (StoreFtp(now, m_snapshot, Block(kSysCfgFtp))) changes.sends.push_back({kSysCfgFtp, {}});
  return true;
}
