// The "Playback Search" dialog: sends the device a playback search by time, or by event on
// one channel, from a date and time on one disk or all of them. The reply is not shown.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialog.h"
#include "record/network_backup.h"

class DeviceSession;

class DeviceSession;

// What the dialog asks with, from its opener: the device's session and product, and the
// session's cookie read at the moment of asking (a relogin changes it).
struct PlaybackSearchTarget {
  DeviceSession* session = nullptr;
  std::string productId;
  std::function<std::string()> cookie;
};

class CPlaybackSearchDlg : public ost::Dialog {
 public:
  static constexpr UINT kTemplateId = 351;
  static constexpr int kTypeCombo = 1511, kHddCombo = 1514, kChannelCombo = 1515;
  static constexpr int kEventCombo = 1519, kDatePicker = 1521, kTimePicker = 1525;
  // DoModal's result when the device is not one the search is for.
  static constexpr INT_PTR kNotCreated = -1;

  CPlaybackSearchDlg(HWND parent, PlaybackSearchTarget target);

  DvrHddReply m_HddMask;  // the disk set and its flag byte

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  void OnTypeChanged();

  std::string Cookie() const { return m_target.cookie ? m_target.cookie() : std::string(); }

  PlaybackSearchTarget m_target;
  std::vector<int> m_disks;
  ost::ComboBox m_type, m_hdd, m_channel, m_event;
  HWND m_date = nullptr, m_time = nullptr;
};

// Runs the dialog over parent; false when it could not be created.
bool RunPlaybackSearchDialog(HWND parent, PlaybackSearchTarget target);
