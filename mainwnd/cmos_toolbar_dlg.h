// The camera-sensor toolbar of an RZ8P device: a small skinned tool window beside the main
// window with the sensor's six views and its two flips, which follows the state the stream
// reports (WM_CMOSSTATE).  The application data embeds the object from start-up on; its window
// exists while the main window shows an RZ8P device.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "mainwnd/cmos_toolbar.h"

class CmosToolBarWindow;

class CCmosToolBarDlg {
 public:
  static constexpr UINT kTemplateId = 340;

  // Nothing of the window is made here: objects that embed the toolbar but never open it need
  // none of its code.
  CCmosToolBarDlg() = default;
  CCmosToolBarDlg(const CCmosToolBarDlg&) = delete;
  CCmosToolBarDlg& operator=(const CCmosToolBarDlg&) = delete;

  // Creates the window from template 340, owned by parent and hidden. False when it exists
  // already or cannot open (its skin or tool-tip missing).
  bool Create(HWND parent);
  // What the main window does when it opens for an RZ8P device: creates the toolbar when it has
  // no window yet and shows it just left of the centred main window, on top, with rounded
  // corners.
  bool OpenBeside(HWND mainWindow);
  // The main window moved: the toolbar keeps its size and stays at its left edge.
  void FollowMainWindow(HWND mainWindow);
  // Any thread: hands a reported sensor state byte to the window (posts WM_CMOSSTATE); nothing
  // while there is no window.
  void PostState(uint8_t state) const;
  // The main window ends: the window goes; the last reported state stays.
  void Close();

  HWND GetSafeHwnd() const { return m_postTarget.load(); }
  // The state the device last reported (full frame, no flips until it reports).
  const CmosSensorState& State() const { return m_state; }

 private:
  friend class CmosToolBarWindow;

  CmosSensorState m_state;
  std::unique_ptr<CmosToolBarWindow, void (*)(CmosToolBarWindow*)> m_window{nullptr, nullptr};
  std::atomic<HWND> m_postTarget{nullptr};
};
