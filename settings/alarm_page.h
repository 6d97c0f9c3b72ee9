// The "Alarm" page: trigger, method, pictures, duration and the RZ2K video sources (ALARM
// block), with the client's alarm recording and automatic switch to the alarm video.
#pragma once

#include <windows.h>

#include <string>

#include "pagerules/alarm_rules.h"
#include "settings/settings_page.h"

class AlarmPropertyPage : public SettingsPage {
 public:
  static constexpr int kEnable = 1292, kDisable = 1293, kEmail = 1318, kFtp = 1319,
                       kPostNumber = 1296, kDuration = 1294, kAutoSwitch = 1461,
                       kSourceGroup = 1355, kCh1Label = 1476, kCh2Label = 1477, kRecordLabel = 1440,
                       kRecordOn = 1441, kRecordOff = 1442, kRefresh = 1068;
  // CH1 radios of inputs 1-4 are 1478, 1480, 1482, 1484; CH2 radios 1479 ... 1485.
  static constexpr int kFirstSource = 1478;

  AlarmPropertyPage();

  void Load() override;
  bool Store(PageChanges& changes) override;

  int m_nAlarmDuration = -1;
  int m_nPostNumber = -1;
  uint8_t m_byImageResolution = 3;
  uint8_t m_byAlarmMethod = 1;
  uint8_t m_byAlarmRecord = 0;
  uint8_t m_byVideoSource = 0;
  uint8_t m_byAutoSwitch = 0;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void SetMethodBoxes();
  void SetSources();
  void SetRecord(uint8_t on);
  void SetTrigger(bool on);
  void PublishClientSettings();

  AlarmDurationRow m_row{};
  AlarmValues m_snapshot;
};
