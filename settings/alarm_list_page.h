// The "Alarm List" page: the alarm recordings of this client kept in "AlarmData.dat"; deletes
// entries through the alarm database's rewrite and plays a recording in the player program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/property_page.h"
#include "record/alarm_db.h"
#include "settings/settings_page.h"

class AlarmDataPage : public SettingsPage {
 public:
  static constexpr int kList = 1364, kPath = 1040, kPlay = 1367, kRefresh = 1311, kDelete = 1068,
                       kClearAll = 1365;

  AlarmDataPage();

  void Load() override;

  std::string m_strAlarmFilePath;

 protected:
  void DoDataExchange(ost::DataExchange& dx) override;

 private:
  // Reads the list file into the rows; 1 when listed or created empty, 0 when the file is bad.
  int LoadList();
  void ShowPath(int row);
  void OnClick();
  void OnDoubleClick();
  void OnPlay();
  void OnDelete();
  void OnClearAll();
  // Marks the items whose paths are given as deleted and rewrites the file.
  void RewriteWithout(const std::vector<std::string>& paths);
  void PlayFile(const std::string& path);
  std::string ListFile() const;

  ost::ListView m_AlarmList;
  std::vector<ALARM_DB_ITEM> m_items;  // the listed items, in row order
};
