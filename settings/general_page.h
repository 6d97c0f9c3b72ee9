// The "General" page: firmware and MAC texts, the turbo step, the device title and the two
// channel names (SYSTEM and RS485 blocks), and the fetch of the device's log, shown in the log
// dialogs when it is complete.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "pagerules/general_rules.h"
#include "pagerules/server_log.h"
#include "settings/settings_page.h"

class ToolBoxPropertyPage : public SettingsPage {
 public:
  static constexpr int kFirmware = 1305, kTurboStep = 1195, kMac = 1316, kServerLog = 1068,
                       kMaxLogLabel = 1443, kMaxLog = 1042, kTitleLabel = 1473, kTitle = 1474,
                       kCh1Label = 1504, kCh1 = 1475, kCh2Label = 1505, kCh2 = 1476;
  static constexpr UINT WM_SERVER_LOG_DONE = WM_USER + 17;

  ToolBoxPropertyPage();
  ~ToolBoxPropertyPage() override;

  void Load() override;
  bool Store(PageChanges& changes) override;

  std::string m_strFirmwareVersion = "0.8.0.0";
  int m_nTurboStep = -1;
  std::string m_strMacAddress;
  int m_nMaxLogList = 300;
  std::string m_strTitle;
  std::string m_strCH1Name;
  std::string m_strCH2Name;
  uint8_t m_byServerLogState = 2;  // 2 idle, 1 fetching
  uint32_t m_nServerLogCount = 0;

  // The entries of the last fetch (2048 of 32 bytes).
  std::span<const uint8_t> ServerLogBuffer() const { return *m_pServerLogBuffer; }

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  using LogBuffer = std::array<uint8_t, kServerLogMaxEntries * kServerLogEntrySize>;

  void OnServerLog();
  void OnMaxLogChange();
  LRESULT OnServerLogDone(WPARAM outcome);
  // Asks the fetch to stop and waits for its thread; its requests end within a fraction of a
  // second, so the window thread never waits long.
  void StopFetch();
  void SetButtonText(bool busy);

  std::unique_ptr<LogBuffer> m_pServerLogBuffer = std::make_unique<LogBuffer>();
  std::thread m_hServerLogThread;
  HANDLE m_hServerLogStopEvent = nullptr;  // manual reset
  GeneralValues m_snapshot;
  GeneralGates m_gates;
  bool m_filtering = false;
};
