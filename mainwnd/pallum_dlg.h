// The main window. Stand-in until the skinned live-view window replaces it: a status line, a
// drawn-frame counter and the CONNECT/DISCONNECT button; it serves the session's messages
// (login status, lifetime, requests of the session threads), connects and disconnects, draws
// frames for the kernel message thread by counting them, and closes the session the way the
// real window does.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "live/live_view_window.h"
#include "platform/dialog.h"

class CPallumDlg : public ost::Dialog, public LiveViewWindow {
 public:
  static constexpr UINT kTemplateId = 102;
  static constexpr int kStatusId = 1100;
  static constexpr int kFrameCountId = 1101;
  static constexpr int kConnectId = 1002;
  static constexpr int kRecordId = 1005;
  CPallumDlg();

  // Replaces the status-line text; from another thread the change is carried out on the
  // window's thread. Returns 1.
  int SetStatusText(const std::string& text);
  // The same for the stream (the network-backup text of the frame headers).
  void SetStatusText(const char* text) override { SetStatusText(std::string(text)); }
  // The live-view window: installed on the stream pipeline while the window exists.
  // The kernel message thread's code 2: counts the picture, 1 (done with it). 0 without a
  // connected stream (nothing drawn, nothing signalled). Never waits for the window's thread.
  int DrawVideoFrame(const ShownFrame& frame) override;
  uint32_t DrawnFrames() const { return m_dwDrawnFrames.load(); }
  // Re-applies the layout of the current device model; then the tool buttons.
  void ApplyLayout();
  void UpdateToolButtons();
  bool DestroyWindow() override;

  // Texts drawn over the picture when not empty.
  std::string m_strHUText;
  std::string m_strAlarmChannelText;

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override {}  // Escape never ends the main window
  void OnTimer(UINT_PTR id) override;

 private:
  void OnLogin();
  void OnRecord();
  LRESULT OnShowStatus(WPARAM wParam, LPARAM lParam);
  void OnLifeTimeUp();
  void SetButtonState(uint32_t layoutFlag, int state);
  void ClearOverlayTexts(WPARAM which);
  // Waits on the window's thread without blocking the session threads' bounded requests.
  void Disconnect();

  bool m_fClosed = false;
  DWORD m_dwThreadId = 0;
  std::atomic<uint32_t> m_dwDrawnFrames{0};
  uint32_t m_dwShownCount = UINT32_MAX;
};
