// The main window's PTZ control: the PTZ button and its select-PTZ dialog, the hot-point click
// on the picture, and the PTZ-off message.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <atomic>

#include "app/app_data.h"
#include "mainwnd/device_control.h"
#include "mainwnd/device_control_win32.h"
#include "mainwnd/main_window_messages.h"
#include "mainwnd/pallum_dlg.h"
#include "mainwnd/ptz_packets.h"
#include "mainwnd/select_ptz_dlg.h"
#include "mainwnd/main_window_rules.h"
#include "platform/event_log.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "session/session_messages.h"

namespace {

constexpr uint16_t kMarkedFramesPerClick = 4;

PtzDialogResult ResultOf(INT_PTR result) {
  if (result == IDOK) return PtzDialogResult::kOk;
  if (result == IDCANCEL) return PtzDialogResult::kCancel;
  if (result == kSelectPtzEscResult) return PtzDialogResult::kEsc;
  return PtzDialogResult::kOther;
}

}  // namespace

void CPallumDlg::MapPtzHandlers() {
  MapCommand(kPtzControlId, [this] { OnPtzControl(); });
  MapMessage(WM_PTZHOTPOINT, [this](WPARAM, LPARAM) { return SendPtzHotPoint(); });
  MapMessage(WM_MAINWND_PTZOFF, [this](WPARAM, LPARAM) -> LRESULT {
    OnPtzOff();
    return 0;
  });
  // A new login starts from the recorder: the button goes back to its off state (the layout
  // applied after the login sets the tips).
  MapMessage(WM_MAINWND_RESETPTZBUTTON, [this](WPARAM, LPARAM) -> LRESULT {
    SetPtzButton(0);
    return 0;
  });
}

void CPallumDlg::UpdateToolTips() {
  const ModelControlRow* row = ModelRow();
  if (!row || !m_pToolTip) return;
  const APP_DATA& a = *g_lpApp;
  const PanelTipState state{!a.m_ControlD.IsCurrentChannelDevice(), a.fTurboMode != 0,
                            a.m_ControlD.GetRETRState() != 0, a.fActionPresetMode != 0};
  for (int k = 0; k < kToolKeys; ++k) {
    CZevButton& button = m_btnTool[k];
    if (!button.GetSafeHwnd()) continue;
    const ControlKeyEntry& e = row->keys[k];
    KeyTip tip = TipOfKey(e);
    if (const int half = PanelTipHalf(e.wCommandId, state); half >= 0)
      tip = {half == 0 ? KeyTip::kFirstHalf : KeyTip::kSecondHalf, e.wCommandId};
    if (tip.kind == KeyTip::kStringId)
      SetToolTip(button, ost::LoadResString(tip.id));
    else
      SetToolTipHalf(button, tip.id, tip.kind == KeyTip::kFirstHalf ? 0 : 1);
  }
}

void CPallumDlg::OnPtzControl() {
  if (!m_fInitialised) return;
  APP_DATA& a = *g_lpApp;
  DeviceControl& control = TheDeviceControl();
  if (!control.PreparePtzControl()) return;
  CSelectPTZDlg dialog(m_hWnd, a.m_ControlD, a.ScreenScale);
  const INT_PTR result = dialog.DoModal();
  ApplyPtzChange(control.FinishPtzControl(ResultOf(result), dialog.m_nSelectNo));
}

void CPallumDlg::ApplyPtzChange(const PtzPanelChange& change) {
  APP_DATA& a = *g_lpApp;
  SetPtzButton(change.buttonState);
  if (change.hotPointMode) a.byPtzHotPointMode = static_cast<uint8_t>(change.hotPointMode);
  if (change.hotPointOff && a.byPtzHotPointMode == 2) a.byPtzHotPointMode = 1;
  if (change.applyLayout) {
    ChangeItemPositionForDeviceModified();
    UpdateToolButtons();
  }
}

void CPallumDlg::SetPtzButton(int state) {
  CZevButton* button = ToolButton(kPtzControlId);
  if (button && state >= 0) {
    button->SetState(state);
    EventLogWrite("ptz button %d", state);
  }
}

void CPallumDlg::ResetPtzButton() {
  SetPtzButton(0);
  APP_DATA& a = *g_lpApp;
  if (a.byPtzHotPointMode == 2) a.byPtzHotPointMode = 1;
}

LRESULT CPallumDlg::SendPtzHotPoint() {
  if (!m_fInitialised) return 0;
  APP_DATA& a = *g_lpApp;
  const LayoutRect& v = Layout().rcVideo;
  const PictureRect video{v.left, v.top, v.right, v.bottom};
  const bool fullScreen = FullScreen();
  // In full screen the window covers the work area, so its client starts at the area's corner.
  const PictureRect picture = fullScreen
                                  ? PictureRect{0, 0, m_rcFullScreen.right - m_rcFullScreen.left,
                                                m_rcFullScreen.bottom - m_rcFullScreen.top}
                                  : video;
  const std::optional<HotPointAim> aim =
      AimHotPoint(picture, video, a.wHotPointX, a.wHotPointY, fullScreen);
  if (!aim) return 0;
  std::atomic_ref<uint16_t>(a.wHotPointMarkX).store(aim->spotX);
  std::atomic_ref<uint16_t>(a.wHotPointMarkY).store(aim->spotY);
  if (TheDeviceControl().SendHotPoint(aim->cell))
    std::atomic_ref<uint16_t>(a.wHotPointMarkFrames).store(kMarkedFramesPerClick);
  return 0;
}

void CPallumDlg::OnPtzOff() {
  APP_DATA& a = *g_lpApp;
  if (!m_fInitialised || a.m_ControlD.IsCurrentChannelDevice()) return;
  a.m_ControlD.MakeCurrent(CDS_CHANNEL, 0);
  SetPtzButton(0);
  if (a.byPtzHotPointMode == 2) a.byPtzHotPointMode = 1;
  ChangeItemPositionForDeviceModified();
  UpdateToolButtons();
}
