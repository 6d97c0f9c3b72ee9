// The recorder's per-channel list pages: "Device" (the RS-485 device of each channel, RS485
// block), "Detection" (motion detection and alarm-input type, DVRLIVE and ALARM, with the
// motion-area editor) and "DVR" (camera title, adjustments, covert and record, DVRLIVE and
// DVRREC). Detection and DVR write a confirmed row into the block copies at once; their Store
// only lists the blocks they marked. Device writes its rows at Store.
#pragma once

#include "settings/channel_list_page.h"
#include "settings/dvr_channel_rows.h"

static_assert(ChannelRowsPage<DeviceRow>::kMaxRows == kDvrChannels);

using DevicePage = ChannelRowsPage<DeviceRow>;
using DetectionPage = ChannelRowsPage<DetectionRow>;
using CameraPage = ChannelRowsPage<CameraRow>;

// Each page's constructor and members, defined in dvr_list_pages.cpp.
template <>
DevicePage::ChannelRowsPage();
template <>
bool DevicePage::Store(PageChanges& changes);
template <>
auto DevicePage::Columns() const -> std::vector<Column>;
template <>
std::vector<std::string> DevicePage::RowTexts(int channel) const;
template <>
void DevicePage::LoadChannels();
template <>
bool DevicePage::EditChannel(int channel);

template <>
DetectionPage::ChannelRowsPage();
template <>
bool DetectionPage::Store(PageChanges& changes);
template <>
auto DetectionPage::Columns() const -> std::vector<Column>;
template <>
std::vector<std::string> DetectionPage::RowTexts(int channel) const;
template <>
void DetectionPage::LoadChannels();
template <>
bool DetectionPage::EditChannel(int channel);

template <>
CameraPage::ChannelRowsPage();
template <>
bool CameraPage::Store(PageChanges& changes);
template <>
auto CameraPage::Columns() const -> std::vector<Column>;
template <>
std::vector<std::string> CameraPage::RowTexts(int channel) const;
template <>
void CameraPage::LoadChannels();
template <>
bool CameraPage::EditChannel(int channel);
