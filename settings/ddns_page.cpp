#include "settings/ddns_page.h"

#include "net/sys_cfg_fields.h"
#include "settings/page_controls.h"

namespace {

constexpr unsigned kDdnsPageTemplate = 312;

}  // namespace

CDNSPage::CDNSPage() : SettingsPage(kDdnsPageTemplate, "DDNS") {
  MapCommand(kEnable, [this] { SetEnable(1); });
  MapCommand(kDisable, [this] { SetEnable(0); });
  MapCommand(kAutoDns, [this] {
    // The stored value is kept until the user changes the box.
    m_bAutoDNS = page_controls::IsChecked(m_hWnd, kAutoDns) ? 1 : 0;
    ApplyAutoRule();
  });
}

void CDNSPage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kProvider, m_nProvider);
  dx.Text(kUser, m_strDDNSUser, 15);
  dx.Text(kPassword, m_strDDNSPassword, 15);
  dx.Text(kDomain, m_strDDNSDomain, 47);
  dx.IpAddress(kDnsServer, m_ipDNSServer);
}

void CDNSPage::SetEnable(int on) {
  m_bDDNSEnable = on;
  page_controls::Check(m_hWnd, kEnable, on != 0);
  page_controls::Check(m_hWnd, kDisable, on == 0);
  page_controls::Enable(m_hWnd, {kUser, kPassword, kDomain, kProvider}, on != 0);
  if (Context().choices) Context().choices->ddnsEnabled = on != 0;
}

void CDNSPage::ApplyAutoRule() {
  // The network page's choice while it is open, else the stored address mode.
  const uint8_t mode =
      Context().choices && Context().choices->addressMode
          ? *Context().choices->addressMode
          : static_cast<uint8_t>(CfgGetUint(Block(kSysCfgIp), cfg::ip::kAddressType));
  const bool shown = DdnsAutoShown(Device().productId, mode);
  page_controls::Show(m_hWnd, {kAutoDns}, shown);
  page_controls::Enable(m_hWnd, {kDnsServer}, !shown || m_bAutoDNS == 0);
}

bool CDNSPage::OnSetActive() {
  ApplyAutoRule();
  return true;
}

void CDNSPage::Load() {
  page_controls::FillCombo(m_hWnd, kProvider, {"custom", "dyndns", "statdns"});
  m_snapshot = LoadDdns(Snapshot(kSysCfgDns), Snapshot(kSysCfgSmtp));
  const DdnsValues now = LoadDdns(Block(kSysCfgDns), Block(kSysCfgSmtp));
  m_ipDNSServer = now.dnsServer;
  m_strDDNSUser = now.user;
  m_strDDNSPassword = now.password;
  m_strDDNSDomain = now.host;
  m_nProvider = now.provider;
  m_bAutoDNS = now.autoDns;
  page_controls::Check(m_hWnd, kAutoDns, m_bAutoDNS != 0);
  SetEnable(now.enable);
  const DdnsBrand brand = DdnsBrandOf(Device().deviceMask);
  if (const char* label = DdnsBrandLabel(brand)) SetItemText(kBrand, label);
  page_controls::Show(m_hWnd, {kProvider}, brand == DdnsBrand::kNone);
  page_controls::Show(m_hWnd, {kBrand}, brand != DdnsBrand::kNone);
  ApplyAutoRule();
  UpdateData(false);
}

bool CDNSPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  DdnsValues now;
  now.dnsServer = m_ipDNSServer;
  now.autoDns = m_bAutoDNS;
  now.enable = m_bDDNSEnable;
  now.provider = m_nProvider;
  now.user = m_strDDNSUser;
  now.password = m_strDDNSPassword;
  now.host = m_strDDNSDomain;
  const DdnsStore s = StoreDdns(now, m_snapshot, DdnsBrandOf(Device().deviceMask),
                                Block(kSysCfgDns), Block(kSysCfgSmtp));
  // DNS first; a failure leaves SMTP unsent.
  if (s.dns) changes.sends.push_back({kSysCfgDns, {}});
  if (s.smtp) changes.sends.push_back({kSysCfgSmtp, {}});
  return true;
}
