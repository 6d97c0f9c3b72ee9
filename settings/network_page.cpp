#include "settings/network_page.h"

#include "net/sys_cfg_fields.h"
#include "platform/message_box.h"
#include "settings/settings_ids.h"
#include "settings/sheet_rules.h"

NetworkConfigPage::NetworkConfigPage() : SettingsPage(kNetworkPageTemplate, "Network") {
  MapCommand(kStaticRadio, [this] { OnAddressMode(kAddressStatic); });
  MapCommand(kPppoeRadio, [this] { OnAddressMode(kAddressPppoe); });
  MapCommand(kDhcpRadio, [this] { OnAddressMode(kAddressDhcp); });
  // A typed port keeps to 1..9999; the PPPoE texts to their field.
  MapNotify(kWebPort, EN_CHANGE, [this] { FilterNumberEdit(kWebPort, 1, 9999); });
  MapNotify(kPppoeUser, EN_CHANGE, [this] {
    LimitTextEdit(kPppoeUser, PppoeTextLimit(Device().productId, Device().fwVersion));
  });
  MapNotify(kPppoePassword, EN_CHANGE, [this] {
    LimitTextEdit(kPppoePassword, PppoeTextLimit(Device().productId, Device().fwVersion));
  });
}

bool NetworkConfigPage::IsRzm() const {
  return SheetFamilyOf(Device().productId) == SheetFamily::kRzm;
}

void NetworkConfigPage::DoDataExchange(ost::DataExchange& dx) {
  dx.IpAddress(kServerAddress, m_address);
  dx.IpAddress(kGateway, m_gateway);
  dx.IpAddress(kNetMask, m_mask);
  dx.Number(kWebPort, m_iWeb_Port, 1, 65535);
  const size_t limit = PppoeTextLimit(Device().productId, Device().fwVersion);
  dx.Text(kPppoePassword, m_strPPPoEPassword, limit);
  dx.Text(kPppoeUser, m_strPPPoEUserName, limit);
  dx.ComboIndex(kBitRate, m_nBitRate);
}

void NetworkConfigPage::Load() {
  const SheetDevice& device = Device();
  m_snapshot = ReadNetworkValues(Snapshot(kSysCfgIp), Snapshot(kSysCfgPppoe), device.productId,
                                 device.fwVersion);
  const NetworkValues now =
      ReadNetworkValues(Block(kSysCfgIp), Block(kSysCfgPppoe), device.productId, device.fwVersion);
  if (HWND combo = GetDlgItem(kBitRate)) {
    for (const char* text : {"256 Kbits", "512 Kbits", "640 Kbits", " 1   Mbits", "   MAX"})
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  m_byIpType = now.addressType;
  m_iWeb_Port = now.port;
  m_strPPPoEUserName = now.userName;
  m_strPPPoEPassword = now.password;
  if (IsRzm()) {
    // These families are configured elsewhere: only the bit rate stays, and it is inert.
    for (int id : {kIpTypeGroup, kStaticRadio, kPppoeRadio, kDhcpRadio, kServerLabel, kGatewayLabel,
                   kMaskLabel, kPortLabel, kServerAddress, kGateway, kNetMask, kWebPort,
                   kPppoeGroup, kUserLabel, kPasswordLabel, kPppoeUser, kPppoePassword})
      if (HWND w = GetDlgItem(id)) ::ShowWindow(w, SW_HIDE);
    if (HWND combo = GetDlgItem(kBitRate)) ::EnableWindow(combo, FALSE);
    UpdateData(false);
    return;
  }
  if (Context().choices) Context().choices->addressMode = m_byIpType;
  m_address = now.address;
  m_gateway = now.gateway;
  m_mask = now.mask;
  ShowRows(m_byIpType);
  if (!BitRateShown(device.productId, device.fwVersion)) {
    for (int id : {kBitRateLabel, kBitRate})
      if (HWND w = GetDlgItem(id)) ::ShowWindow(w, SW_HIDE);
  } else {
    m_nBitRate = now.bitRate;
  }
  UpdateData(false);
}

void NetworkConfigPage::ShowRows(uint8_t mode) {
  const NetworkRows rows = NetworkRowsFor(mode);
  const int checked = mode == kAddressStatic ? kStaticRadio
                      : mode == kAddressDhcp ? kDhcpRadio
                                             : kPppoeRadio;
  for (int id : {kStaticRadio, kPppoeRadio, kDhcpRadio})
    if (HWND w = GetDlgItem(id))
      ::SendMessageA(w, BM_SETCHECK, id == checked ? BST_CHECKED : BST_UNCHECKED, 0);
  for (int id : {kServerLabel, kGatewayLabel, kMaskLabel, kServerAddress, kGateway, kNetMask})
    if (HWND w = GetDlgItem(id)) ::EnableWindow(w, rows.addressEnabled);
  for (int id : {kPppoeGroup, kUserLabel, kPasswordLabel, kPppoeUser, kPppoePassword})
    if (HWND w = GetDlgItem(id)) ::ShowWindow(w, rows.pppoeShown ? SW_SHOW : SW_HIDE);
}

void NetworkConfigPage::OnAddressMode(uint8_t mode) {
  m_byIpType = mode;
  if (Context().choices) Context().choices->addressMode = mode;
  ShowRows(mode);
}

bool NetworkConfigPage::OnKillActive() {
  if (!IsRzm() && GetItemText(kWebPort).empty()) {
    OstMessageBoxId(kMsgTypePort);
    return false;
  }
  return true;
}

bool NetworkConfigPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  const SheetDevice& device = Device();
  NetworkValues now;
  now.address = m_address;
  now.mask = m_mask;
  now.gateway = m_gateway;
  now.port = m_iWeb_Port;
  now.addressType = m_byIpType;
  now.bitRate = m_nBitRate;
  now.userName = m_strPPPoEUserName;
  now.password = m_strPPPoEPassword;
  const std::string hostName = CfgGetText(Block(kSysCfgSmtp), cfg::smtp::kDDNSHostName);
  const NetworkStore store = StoreNetworkValues(now, m_snapshot, device.productId, device.fwVersion,
                                                hostName, Block(kSysCfgIp), Block(kSysCfgPppoe));
  if (store.sendPppoe) changes.sends.push_back({kSysCfgPppoe, {}});
  if (store.sendIp) changes.sends.push_back({kSysCfgIp, {}});
  changes.addressChanged = store.addressChanged;
  if (store.pendingPort || store.pendingServer) {
    changes.pending = PendingAddress{store.pendingPort, store.pendingServer};
    changes.pendingWith = kSysCfgIp;
  }
  return true;
}
