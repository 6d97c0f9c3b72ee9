// The pages the settings sheet constructs but never adds to its tree, carried complete:
// "R.E.T.R." (CAlarmTriggerPage), "Schedule Record" (CScheduleRecordPage with its "Time Setting"
// dialog CTimeSettingDlg), "Video Setting" (CSetVorozCmdPage) and "Peripheral" (CRZMPeripheral).
// None of them sends anything.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "settings/carried_page_rules.h"
#include "settings/settings_page.h"

class CAlarmTriggerPage : public SettingsPage {
 public:
  // remoteRecord: the "RETR Alarm Record" setting the main window hands the sheet.
  explicit CAlarmTriggerPage(int remoteRecord = 0);
  void Load() override;

  int m_bRemoteRecord;
  uint32_t m_dwCheckAddress = 0;  // put into the address control when not 0
  int m_nLimitHour = 0, m_nLimitMinute = 0;
  int m_nQuality = 0, m_nResolution = 0, m_bTriggerOn = 0;
  // The address the control holds (what the sheet's alarm step reads).
  uint32_t CheckAddress() const;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CheckOnly(std::initializer_list<int> group, int on);
};

class CTimeSettingDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 299;
  // editing: start from start/end; otherwise both start at now plus five minutes.
  CTimeSettingDlg(HWND parent, bool editing, const SchedulePeriod& period);
  const SchedulePeriod& Result() const { return m_period; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  bool m_editing;
  SchedulePeriod m_period;
};

class CScheduleRecordPage : public SettingsPage {
 public:
  explicit CScheduleRecordPage(ScheduleList& list);
  void Load() override;

 private:
  void Relist();
  void OnAdd();
  void OnEdit();
  void OnDelete();
  int SelectedRow() const;
  void Tell(ScheduleResult result);

  ScheduleList& m_list;
};

class CSetVorozCmdPage : public SettingsPage {
 public:
  // width, height: the live picture's size; record: the 16-byte video-setting record.
  CSetVorozCmdPage(int width, int height, uint8_t videoMode, const std::array<uint8_t, 16>& record);
  void Load() override;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void ShowPairFor(int videoType);

  int m_wWidth, m_wHeight;
  uint8_t m_byVideoMode;
  std::array<uint8_t, 16> m_record;
};

class CRZMPeripheral : public SettingsPage {
 public:
  CRZMPeripheral(uint8_t address, uint8_t model);
  void Load() override;

  std::string m_strModel, m_strID;

 private:
  uint8_t m_address, m_model;
};
