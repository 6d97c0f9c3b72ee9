// The "Peripheral" page: baud rate, ID and model of the video server's two serial devices
// (PERI block); the control-device list follows once the device took a new ID or model.
#pragma once

#include <windows.h>

#include "pagerules/peripheral_rules.h"
#include "settings/settings_page.h"

class CPeripheralPage : public SettingsPage {
 public:
  static constexpr int kBaud1 = 1301, kModel1 = 1302, kModel2 = 1303, kBaud2 = 1304, kId1 = 1040,
                       kId2 = 1041;

  CPeripheralPage();

  void Load() override;
  bool Store(PageChanges& changes) override;

  int m_nBaud1 = -1;
  int m_nModel1 = -1;
  int m_nID2 = 0;
  int m_nID1 = 0;
  int m_nModel2 = -1;
  int m_nBaud2 = -1;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  PeripheralValues m_snapshot;
};
