// The header reactions' view of the running program: the application data, the settings, the
// control-device list, the alarm recorder and the main window (messages, the live-view window).
#pragma once

#include "live/header_reaction_host.h"

class AppHeaderReactionHost : public HeaderReactionHost {
 public:
  std::string_view ProductId() const override;
  uint8_t MultiChannel() const override;
  uint8_t AlarmTriggerFlag() const override;
  uint8_t AlarmAutoSwitchVideo() const override;
  bool IsAlarmSoundPlaying() const override;
  bool HasModel19_22_23() const override;
  bool IsAlarmRecording() const override;
  DeviceTime LastDeviceTime() const override;

  void StoreDeviceTime(const DeviceTime& time) override;
  void PostDeviceClockChanged() override;
  void PostAlarmAudio(uint32_t lParam) override;
  void SwitchChannel(int channel) override;
  void SetRETRState(uint8_t state) override;
  void SetStatusText(const char* text) override;
  void PostCmosState(uint8_t state) override;
  void CreateAlarmRecordFile() override;
  void CloseAlarmRecordFile() override;
};
