// The recorder's per-channel list pages: "Device" (the RS-485 device of each channel, RS485
// block), "Detection" (motion detection and alarm-input type, DVRLIVE and ALARM, with the
// motion-area editor) and "DVR" (camera title, adjustments, covert and record, DVRLIVE and
// DVRREC). Detection and DVR write a confirmed row into the block copies at once; their Store
// only lists the blocks they marked. Device writes its rows at Store.
#pragma once

#include <array>

#include "settings/channel_list_page.h"
#include "settings/dvr_channel_rows.h"

class DevicePage : public ChannelListPage {
 public:
  DevicePage();
  bool Store(PageChanges& changes) override;

 protected:
  std::vector<Column> Columns() const override;
  std::vector<std::string> RowTexts(int channel) const override;
  void LoadChannels() override;
  bool EditChannel(int channel) override;

 private:
  std::array<DeviceRow, kDvrChannels> m_rows{};
};

class DetectionPage : public ChannelListPage {
 public:
  DetectionPage();
  bool Store(PageChanges& changes) override;

 protected:
  std::vector<Column> Columns() const override;
  std::vector<std::string> RowTexts(int channel) const override;
  void LoadChannels() override;
  bool EditChannel(int channel) override;

 private:
  std::array<DetectionRow, kDvrChannels> m_rows{};
  bool m_bLiveChanged = false, m_bAlarmChanged = false;
};

class CameraPage : public ChannelListPage {
 public:
  CameraPage();
  bool Store(PageChanges& changes) override;

 protected:
  std::vector<Column> Columns() const override;
  std::vector<std::string> RowTexts(int channel) const override;
  void LoadChannels() override;
  bool EditChannel(int channel) override;

 private:
  std::array<CameraRow, kDvrChannels> m_rows{};
  bool m_bLiveChanged = false, m_bRecChanged = false;
};
