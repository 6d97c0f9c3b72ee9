// The channel bar of the main window: a "DVR" button and one button per camera input of the
// multi-channel recorders (paged with two arrows), or the two input buttons of the RZ2K family.
// Created on the main window's thread; SetCurrentChannel and PostSwitchChannel may be called from
// the stream threads and only post to the bar's own message window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "mainwnd/channel_bar_model.h"

// The bar's windows (buttons, tool-tips, message window), made by Init.
struct ChannelBarWindows;

class CChannelBar {
 public:
  // Construction and destruction need nothing of the window side until Init has run.
  CChannelBar() = default;
  ~CChannelBar() = default;
  CChannelBar(const CChannelBar&) = delete;
  CChannelBar& operator=(const CChannelBar&) = delete;

  // Creates the buttons for the logged-in device's family as children of parent (hidden until
  // placed), each with its control id, tool-tip and faces, and places them. Again after each
  // login: the old buttons go first. Returns 1.
  int Init(HWND parent);
  // Places the buttons of the current page for the display mode. Returns 1.
  int Relayout();
  uint8_t GetPageStart(uint8_t first) const;
  uint8_t GetPageSize() const;
  int GetChannelCount() const;
  int PrevPage();
  int NextPage();
  // Window thread: asks the device to show channel n when it makes sense.
  int SwitchChannel(uint8_t channel);
  // Any thread: the stream reports channel n; carried out on the window thread.
  int SetCurrentChannel(uint8_t channel);
  // Any thread: asks for a switch to channel n on the window thread (alarm auto-switch).
  int PostSwitchChannel(uint8_t channel);
  // Hides the buttons (full screen) or shows them again. Returns 1.
  int ShowBar(int hide);
  // Lights the button of the channel shown.
  void ApplyButtonStates();
  // Passes a mouse message to the buttons' tool-tips (from the main window's PreTranslateMessage).
  void RelayEvent(const MSG* msg);
  // Destroys the buttons and the message window.
  void Destroy();

  ChannelBarModel& Model() { return m_Model; }
  const ChannelBarModel& Model() const { return m_Model; }
  uint8_t CurrentChannel() const { return m_Model.CurrentChannel(); }
  bool IsActive() const { return m_Model.Active(); }
  HWND ButtonWindow(uint16_t id) const;

 private:
  static LRESULT CALLBACK MessageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  uint8_t DisplayMode() const;

  ChannelBarModel m_Model;
  std::unique_ptr<ChannelBarWindows, void (*)(ChannelBarWindows*)> m_pWindows{nullptr, nullptr};
  bool m_fHidden = false;
};
