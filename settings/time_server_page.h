// The "Server Time Config" page: the device's clock from a time server (named or automatic) in a
// time zone, or set by the user (SNTP block); "Sync Time" sends the setting at once.
#pragma once

#include <windows.h>

#include <string>

#include "pagerules/time_server_rules.h"
#include "settings/settings_page.h"

class CSNTPPage : public SettingsPage {
 public:
  static constexpr int kFromServer = 1449, kByUser = 1450, kSyncTime = 1068, kGmtLabel = 1454,
                       kZone = 1195, kServerLabel = 1455, kTypedServer = 1452, kAutomatic = 1453,
                       kServer = 1040, kTimePicker = 238, kDatePicker = 239, kDateLabel = 240,
                       kTimeLabel = 241;

  CSNTPPage();
  ~CSNTPPage() override;

  void Load() override;
  bool Store(PageChanges& changes) override;
  bool StoreNow(PageChanges& changes) override;

  std::string m_strSNTPServer;
  int m_nTimeZone = -1;
  uint8_t m_bySyncMode = 0;
  uint8_t m_byAutoServer = 1;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void SetMode(uint8_t mode);
  void SetAutoServer(uint8_t automatic);
  void OnSyncTime();
  TimeServerValues Values() const;

  HWND m_pDatePicker = nullptr, m_pTimePicker = nullptr, m_pDateLabel = nullptr,
       m_pTimeLabel = nullptr;
  TimeServerValues m_snapshot;
};
