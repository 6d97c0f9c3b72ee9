// Stand-ins for the main-window objects the application data embeds. The main-window work
// replaces each with the real class of the same name.
#pragma once

#include <cstdint>

class CCmosToolBarDlg {};

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
