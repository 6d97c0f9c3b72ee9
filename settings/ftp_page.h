// The "FTP" page: the FTP site the device uploads alarm pictures to (FTP block).
#pragma once

#include <windows.h>

#include <string>

#include "pagerules/ftp_rules.h"
#include "settings/settings_page.h"

class FTPPropertyPage : public SettingsPage {
 public:
  static constexpr int kServer = 1283, kPassword = 1043, kPort = 1042, kUser = 1040, kPath = 1285;

  FTPPropertyPage();

  void Load() override;
  bool Store(PageChanges& changes) override;
  bool OnKillActive() override;

  std::string m_strFTPServer;
  std::string m_strFTPPassword;
  uint32_t m_nFTPPort = kFtpDefaultPort;
  std::string m_strFTPUser;
  std::string m_strFTPPath;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void OnPortChange();

  FtpValues m_snapshot;
  bool m_inPortFilter = false;
};
