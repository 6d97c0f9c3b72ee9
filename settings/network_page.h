// The "Network" page: the device's address, mask, gateway, web port, address mode, PPPoE
// account and bit rate (IP and PPPOE blocks).
#pragma once

#include <windows.h>

#include "settings/network_rules.h"
#include "settings/settings_page.h"

class NetworkConfigPage : public SettingsPage {
 public:
  static constexpr int kNetMask = 1250, kServerAddress = 1248, kGateway = 1249;
  static constexpr int kWebPort = 1040, kPppoeUser = 1043, kPppoePassword = 1044;
  static constexpr int kBitRate = 1526, kBitRateLabel = 1464;
  static constexpr int kStaticRadio = 1252, kPppoeRadio = 1253, kDhcpRadio = 1254;
  static constexpr int kIpTypeGroup = 1462, kPppoeGroup = 1394;
  static constexpr int kUserLabel = 1395, kPasswordLabel = 1396;
  static constexpr int kServerLabel = 1397, kGatewayLabel = 1398, kMaskLabel = 1399,
                       kPortLabel = 1463;

  NetworkConfigPage();

  void Load() override;
  bool Store(PageChanges& changes) override;
  bool OnKillActive() override;

  int m_iWeb_Port = 0;
  std::string m_strPPPoEPassword;
  std::string m_strPPPoEUserName;
  int m_nBitRate = -1;
  uint8_t m_byIpType = 0;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void OnAddressMode(uint8_t mode);
  void ShowRows(uint8_t mode);
  bool IsRzm() const;

  NetworkValues m_snapshot;
  uint32_t m_address = 0, m_mask = 0, m_gateway = 0;
};
