// Device control inside the program: the entry points the main window, the PTZ panel and the
// settings pages call on the window thread, over the application data, VorozSendCommand and the
// program's message boxes.
#pragma once

#include <cstdint>
#include <functional>

#include "net/control_device_list.h"
#include "mainwnd/device_control.h"

// The main window's own actions that device control triggers; unset ones do nothing.
struct DeviceControlWindowHooks {
  std::function<void()> minimise;            // 8200
  std::function<void()> enterFullScreen;     // 8201
  std::function<void()> closeMainWindow;     // 8202
  std::function<void()> openPlaybackSearch;  // 8319
  std::function<void()> applyLayout;         // ChangeItemPositionForDeviceModified
  // The model control table's key flags; unset: DefaultKeyFlags.
  std::function<uint16_t(uint8_t row, uint8_t key)> keyFlags;
};
void SetDeviceControlWindowHooks(const DeviceControlWindowHooks& hooks);

// Runs a title, channel or tool-button command id; false when the id is not one of device
// control's (the PTZ panel's 8310, 8311, 8312, 8331 and 8356 included), so the caller goes on.
bool OnDeviceControlCommand(uint16_t id);
// Sends key 0-67 to the current control device (turbo: repeat with the turbo step).
void SendControlKey(int turbo, uint16_t key);
// Sends one script; 1 sent, 0 not (the reason was shown).
int SendRs485Command(const ControlCommandScript& script, uint8_t repeat, uint16_t keyFlags);
// The slave refresh of the multi-channel recorders ("/PTZReset.cgi"); 1, or 0 after 4065.
int RefreshSlaveList();
// The one device-control object of the program.
DeviceControl& TheDeviceControl();

// Makes the list post WM_RETRBUTTONSTATE to the main window when the R.E.T.R. state changes.
void InstallRetrButtonNotifier(C_ControlD& list);
