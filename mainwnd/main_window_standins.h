// The main-window objects the application data refers to (the program owns them): the channel
// bar, the camera-sensor toolbar, and stand-ins that the main-window work replaces with the real
// class of the same name.
#pragma once

#include <cstdint>

#include "mainwnd/channel_bar.h"
#include "mainwnd/cmos_toolbar_dlg.h"

class CModelLayout {
 public:
  // Sets the skinned button whose layout record carries flag to state (1 = CONNECT/DISCONNECT).
  void SetButtonStateByFlag(uint32_t flag, int state) {
    if (flag == 1) m_nConnectButtonState = state;
  }
  int ConnectButtonState() const { return m_nConnectButtonState; }

 private:
  int m_nConnectButtonState = 1;
};
