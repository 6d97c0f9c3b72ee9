// What the stream does to the main window's objects (channel bar, status line, layout, camera-
// sensor toolbar). The main window installs its implementation; until then the default changes
// nothing.
#pragma once

#include <cstdint>

#include "live/display_mode.h"

class LiveWindowHooks : public DisplayModeObserver {
 public:
  // Compose thread: the stream now shows this display channel.
  virtual void SetCurrentChannel(uint8_t /*displayChannel*/) {}
  // Receive thread (frame-header parser): switch the device to a channel (1-based).
  virtual void SwitchChannel(int /*channel*/) {}
  // Any thread: replaces the main window's status text.
  virtual void SetStatusText(const char* /*text*/) {}
  // Receive thread: the camera-sensor state byte for the camera-sensor toolbar.
  virtual void PostCmosState(uint8_t /*state*/) {}

  void RelayoutChannelBar() override {}
  void ChangeItemPositionForDeviceModified() override {}
  void ReloadTurboBitmapsNQVGA() override {}
  void ReloadTurboBitmapsNVGA() override {}
  void ReloadTurboBitmapsPQVGA() override {}
  void ReloadTurboBitmapsPVGA() override {}
};

// The hooks in use: the installed ones, or the default.
LiveWindowHooks& CurrentLiveWindowHooks();
// Installs hooks (null: back to the default). They must outlive the stream threads.
void InstallLiveWindowHooks(LiveWindowHooks* hooks);
// A display-mode observer that passes each call on to the hooks in use at that moment.
DisplayModeObserver* HooksDisplayModeObserver();
