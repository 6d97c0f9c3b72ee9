// What the frame header's reactions read of the session and the effects they have, as the
// program provides them (posted window messages, the control-device list, the alarm recorder).
#pragma once

#include <cstdint>
#include <string_view>

#include "live/rtph_struct.h"

class HeaderReactionHost {
 public:
  virtual ~HeaderReactionHost() = default;

  // State read while reacting.
  virtual std::string_view ProductId() const = 0;
  virtual uint8_t MultiChannel() const = 0;          // the device's MULTICH value
  virtual uint8_t AlarmTriggerFlag() const = 0;      // setting "Alarm Trigger Record"
  virtual uint8_t AlarmAutoSwitchVideo() const = 0;  // setting "Alarm auto switch video"
  virtual bool IsAlarmSoundPlaying() const = 0;
  virtual bool HasModel19_22_23() const = 0;  // a control device of model row 19, 22 or 23
  virtual bool IsAlarmRecording() const = 0;
  virtual DeviceTime LastDeviceTime() const = 0;

  // Effects.
  virtual void StoreDeviceTime(const DeviceTime& time) = 0;
  virtual void PostDeviceClockChanged() = 0;
  virtual void PostAlarmAudio(uint32_t lParam) = 0;  // 0 start, 2 stop
  virtual void SwitchChannel(int channel) = 0;       // 1-based
  virtual void SetRETRState(uint8_t state) = 0;
  virtual void SetStatusText(const char* text) = 0;
  virtual void PostCmosState(uint8_t state) = 0;
  // The alarm recording's hooks: a header with a non-zero event word opens the alarm record
  // file (in the "Record Path" folder), the first header without one closes it.
  virtual void CreateAlarmRecordFile() = 0;
  virtual void CloseAlarmRecordFile() = 0;
};
