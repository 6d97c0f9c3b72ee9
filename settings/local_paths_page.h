// The "File Path" page: the client's record folder, snapshot folder and alarm sound file.
#pragma once

#include <windows.h>

#include <string>

#include "settings/settings_page.h"

class RecordPage : public SettingsPage {
 public:
  static constexpr int kRecordPath = 1040, kSnapshotPath = 1041, kWavPath = 1042,
                       kModifyRecord = 1314, kModifySnapshot = 1315, kModifyWav = 1316,
                       kWavLabel = 1350;

  RecordPage();

  void Load() override;
  bool Store(PageChanges& changes) override;

  std::string m_strRecordPath;
  std::string m_strSnapshotPath;
  std::string m_strAlarmWavPath;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  void ChooseFolder(std::string& path);
  void ChooseWave();
  void Publish();
};
