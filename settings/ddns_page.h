// The "DDNS" page: the DNS server and its automatic setting (DNS block) and the dynamic-DNS
// account (SMTP block), with the two brand variants.
#pragma once

#include <windows.h>

#include <string>

#include "pagerules/ddns_rules.h"
#include "settings/settings_page.h"

class CDNSPage : public SettingsPage {
 public:
  static constexpr int kBrand = 1527, kProvider = 1195, kUser = 1040, kPassword = 1041,
                       kDomain = 1042, kDnsServer = 1251, kAutoDns = 1469, kEnable = 1380,
                       kDisable = 1381;

  CDNSPage();

  void Load() override;
  bool Store(PageChanges& changes) override;
  bool OnSetActive() override;

  int m_nProvider = 0;
  std::string m_strDDNSUser;
  std::string m_strDDNSPassword;
  std::string m_strDDNSDomain;
  uint32_t m_ipDNSServer = 0;
  int m_bAutoDNS = 0;
  int m_bDDNSEnable = 0;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void SetEnable(int on);
  void ApplyAutoRule();

  DdnsValues m_snapshot;
};
