// What the live stream needs of the main window: the renderer that draws each picture, and the
// window's objects the stream changes (channel bar, status line, layout, camera-sensor toolbar).
// The main window implements it and installs itself on the stream pipeline
// (CStreamPipeline::SetWindow); until then a default draws nothing and changes nothing.
#pragma once

#include <cstdint>

#include "live/display_mode.h"

// The picture handed to the renderer.
struct ShownFrame {
  const uint8_t* lpPicture;  // lp_CurrentImage: 24-bit BGR, bottom row first
  uint16_t wWidth;           // wImageWidth
  uint16_t wHeight;          // wImageHeight
  uint32_t fNoPicture;       // fVideoLoss: draw "Video Loss!"
};

class LiveViewWindow : public DisplayModeObserver {
 public:
  // Kernel message thread, for each picture the show thread hands over (code 2). 1 when the
  // picture is done with (also after a failed drawing step): the pipeline then gives
  // m_DrawDone and the show thread reuses the image slot. 0 when nothing was
  // drawn and nothing is to be signalled (no connected stream).
  virtual int DrawVideoFrame(const ShownFrame& /*frame*/) { return 0; }
  // Compose thread: the stream now shows this display channel.
  virtual void SetCurrentChannel(uint8_t /*displayChannel*/) {}
  // Receive thread (header reactions): switch the device to a channel (1-based).
  virtual void SwitchChannel(int /*channel*/) {}
  // Any thread: replaces the main window's status text.
  virtual void SetStatusText(const char* /*text*/) {}
  // Receive thread: the camera-sensor state byte for the camera-sensor toolbar.
  virtual void PostCmosState(uint8_t /*state*/) {}

  // Compose thread, when the picture size changes the display mode.
  void RelayoutChannelBar() override {}
  void ChangeItemPositionForDeviceModified() override {}
  void ReloadTurboBitmapsNQVGA() override {}
  void ReloadTurboBitmapsNVGA() override {}
  void ReloadTurboBitmapsPQVGA() override {}
  void ReloadTurboBitmapsPVGA() override {}
};
