// The main window's main-button commands (record, snapshot, resolution, quality, colour, the
// settings sheet), the alarm-sound messages, the window messages kept from earlier clients, the
// mouse and the clock's hover.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <atomic>
#include <cstring>
#include <string_view>

#include "app/app_data.h"
#include "app/sys_cfg_items.h"
#include "live/live_messages.h"
#include "mainwnd/color_adjust_dlg.h"
#include "mainwnd/main_window_commands.h"
#include "mainwnd/main_window_messages.h"
#include "mainwnd/pallum_dlg.h"
#include "mainwnd/settings_sheet_slot.h"
#include "net/device_family.h"
#include "net/device_session.h"
#include "net/sys_cfg_blocks.h"
#include "net/voroz_send_command.h"
#include "platform/load_string_pair.h"
#include "platform/message_box.h"
#include "res/resource.h"
#include "session/alarm_sound_control.h"
#include "session/session_messages.h"
#include "text/path_text.h"
#include "text/string_pair.h"

namespace {

constexpr int kSnapshotId = 1004;
constexpr int kSystemConfigId = 1006;
constexpr int kResolutionId = 1007;
constexpr int kQualityId = 1008;
constexpr int kColorId = 999;
constexpr int kUnusedId = 1001;

constexpr UINT kBoxConnectFirst = 4085;
constexpr UINT kBoxRecordFailed = 4018;
constexpr UINT kBoxResolutionFailed = 4066;
constexpr UINT kBoxQualityFailed = 4011;
constexpr UINT kBoxConfigFailed = 4029;
constexpr UINT kBoxAlarmSoundFailed = 4096;

constexpr uint16_t kCommandTimeoutS = 15;
// "/GetColor.cgi" answers with a short key-value text.
constexpr uint32_t kColorReplyBytes = 1024;
constexpr UINT_PTR kReconnectTimer = 0x5254;

SettingsSheetFactory g_settingsSheet;

// One command of the main buttons to the logged-in device; at most capacity reply bytes.
bool SendDeviceCommand(const CGIParamList& request, void* reply = nullptr, uint32_t capacity = 0,
                       uint32_t* length = nullptr) {
  CgiReplyStatus status{};
  CgiRequest send = CgiRequest::Of(request);
  send.options = {.sendTimeoutSeconds = kCommandTimeoutS,
                  .receiveTimeoutSeconds = kCommandTimeoutS};
  send.status = &status;
  send.reply = reply;
  send.replyCapacity = capacity;
  send.replyLength = length;
  return VorozSendCommand(send, ProgramDeviceSession()) == 1;
}

// The block copy of the application data a fetch step fills.
uint8_t* CopyOf(APP_DATA& a, FetchCopy copy) {
  switch (copy) {
    case FetchCopy::kAll:
      return nullptr;
    case FetchCopy::kIp:
      return a.cfg_IP;
    case FetchCopy::kOnline:
      return a.cfg_ONLINE;
    case FetchCopy::kAlarm:
      return a.cfg_ALARM;
    case FetchCopy::kSecure:
      return a.cfg_SECURE;
    case FetchCopy::kSmtp:
      return a.cfg_SMTP;
    case FetchCopy::kFtp:
      return a.cfg_FTP;
    case FetchCopy::kRs485:
      return a.cfg_RS485;
    case FetchCopy::kPeri:
      return a.cfg_PERI;
    case FetchCopy::kSntp:
      return a.cfg_SNTP;
    case FetchCopy::kDvrLive:
      return a.cfg_DVRLIVE;
    case FetchCopy::kDvrRec:
      return a.cfg_DVRREC;
    case FetchCopy::kPppoe:
      return a.cfg_PPPOE;
    case FetchCopy::kPppoeOld:
      return a.cfg_PPPOE_Old;
    case FetchCopy::kDns:
      return a.cfg_DNS;
  }
  return nullptr;
}

bool VideoStreaming() {
  return std::atomic_ref<uint32_t>(g_lpApp->fVideoConnected).load() != 0;
}

}  // namespace

void SetSettingsSheetFactory(const SettingsSheetFactory& factory) {
  g_settingsSheet = factory;
}

const SettingsSheetFactory& GetSettingsSheetFactory() {
  return g_settingsSheet;
}

void CPallumDlg::MapActionHandlers() {
  MapCommand(kRecordId, [this] { OnRecord(); });
  MapCommand(kSnapshotId, [this] { OnSnapshoot(); });
  MapCommand(kResolutionId, [this] { OnResol(); });
  MapCommand(kQualityId, [this] { OnQuility(); });
  MapCommand(kColorId, [this] { OnColorAdjust(); });
  MapCommand(kSystemConfigId, [this] { OnSystemConfig(); });
  MapCommand(kUnusedId, [] {});
  MapMessage(WM_POSTALARMAUDIO, [this](WPARAM w, LPARAM l) { return OnPostAlarmAudio(w, l); });
  MapMessage(WM_DEVICECLOCKCHANGED, [this](WPARAM, LPARAM) -> LRESULT {
    OnDeviceClockChanged();
    return 0;
  });
  MapMessage(WM_MAINWND_RECORDFACE, [this](WPARAM, LPARAM) -> LRESULT {
    SetButtonState(kLayoutFlagRecord, 1);
    return 0;
  });
  MapMessage(WM_MAINWND_RECONNECT, [this](WPARAM, LPARAM) -> LRESULT {
    OnReconnectRequest();
    return 0;
  });
  for (UINT unused : {WM_MAINWND_UNUSED5, WM_MAINWND_UNUSED8, WM_MAINWND_UNUSED9})
    MapMessage(unused, [](WPARAM, LPARAM) -> LRESULT { return 0; });
}

CZevButton* CPallumDlg::MainButton(int id) {
  for (CZevButton& b : m_btnModel)
    if (b.GetSafeHwnd() && b.GetDlgCtrlID() == id) return &b;
  return nullptr;
}

void CPallumDlg::SetMainButtonState(int id, int state) {
  if (CZevButton* b = MainButton(id)) b->SetState(state);
}

// ---- Recording and snapshot -----------------------------------------------------------------

void CPallumDlg::OnRecord() {
  APP_DATA& a = *g_lpApp;
  if (!VideoStreaming()) {
    OstMessageBoxId(kBoxConnectFirst);
    return;
  }
  char idle[kStringPairBufferBytes], recording[kStringPairBufferBytes];
  LoadStringPair(IDS_PAIR_RECORD, idle, recording);
  CZevButton* button = MainButton(kRecordId);
  const auto tip = [&](const char* text) {
    if (m_pToolTip && button) m_pToolTip->UpdateTipText(button->GetSafeHwnd(), text);
  };
  if (a.m_UserRecord.IsRecording()) {
    tip(idle);
    SetButtonState(kLayoutFlagRecord, 0);
    a.m_UserRecord.StopRecord();
    return;
  }
  EnsureFolderBackslash(a.m_Settings.m_strRecordPath);
  if (a.m_UserRecord.CreateRecordFile(a.m_Settings.m_strRecordPath)) {
    tip(recording);
    SetButtonState(kLayoutFlagRecord, 1);
  } else {
    OstMessageBoxId(kBoxRecordFailed);
  }
}

void CPallumDlg::OnSnapshoot() {
  if (!VideoStreaming()) {
    OstMessageBoxId(kBoxConnectFirst);
    return;
  }
  // The renderer saves its next picture.
  std::atomic_ref<uint32_t>(g_lpApp->fSnapshotRequest).store(1);
}

// ---- Resolution, quality and colour ---------------------------------------------------------

void CPallumDlg::OnResol() {
  int32_t& resolution = g_lpApp->m_Settings.m_iImageResolution;
  const std::optional<int32_t> next = ToggledResolution(resolution);
  if (!next) return;
  const int32_t old = resolution;
  resolution = *next;
  if (!SendDeviceCommand(ResolutionRequest(*next, g_szCookie))) {
    resolution = old;
    SetMainButtonState(kResolutionId, old);
    OstMessageBoxId(kBoxResolutionFailed);
    return;
  }
  // The picture's new size reaches the window through the stream.
  SetMainButtonState(kResolutionId, *next);
}

void CPallumDlg::OnQuility() {
  int32_t& quality = g_lpApp->m_Settings.m_iVideoQuality;
  const int32_t old = quality;
  const int32_t next = NextQuality(old);
  quality = next;
  if (!SendDeviceCommand(QualityRequest(next, g_szCookie))) {
    quality = old;
    SetMainButtonState(kQualityId, old);
    OstMessageBoxId(kBoxQualityFailed);
    return;
  }
  SetMainButtonState(kQualityId, next);
}

void CPallumDlg::OnColorAdjust() {
  APP_DATA& a = *g_lpApp;
  if (!VideoStreaming()) {
    OstMessageBoxId(kBoxConnectFirst);
    return;
  }
  char reply[kColorReplyBytes] = {};
  uint32_t length = 0;
  if (!SendDeviceCommand(GetColorRequest(g_szCookie), reply, sizeof reply, &length)) {
    OstMessageBoxId(IDS_SEND_COMMAND_TIMEOUT);
    return;
  }
  const ColorValues device = ColorsOfReply(std::string_view(reply, length));
  CColorAdjustDlg dialog(m_hWnd, ColorFamilyOf(a.str_ProductID, a.byMultiChannel));
  dialog.m_nDevBrightness = device.brightness;
  dialog.m_nDevContrast = device.contrast;
  dialog.m_nDevHue = device.hue;
  dialog.DoModal();
}

// ---- Settings sheet -------------------------------------------------------------------------

int CPallumDlg::FetchSystemConfig() {
  APP_DATA& a = *g_lpApp;
  for (const FetchStep& step : SystemConfigFetchPlan(a.str_ProductID, a.str_FWVersion)) {
    uint8_t* copy = CopyOf(a, step.copy);
    if (step.copy == FetchCopy::kOnline) std::memset(copy, 0, step.size);
    if (!GetSysCfgItem(step.option, copy, step.size)) return 0;
  }
  return 1;
}

void CPallumDlg::CloseSettingsSheet() {
  APP_DATA& a = *g_lpApp;
  if (MySystemDialog* sheet = a.lp_SystemDialog) {
    a.lp_SystemDialog = nullptr;
    if (g_settingsSheet.destroy) g_settingsSheet.destroy(sheet);
  }
  std::atomic_ref<uint32_t>(a.fSystemDialogOpen).store(0);
}

void CPallumDlg::OnSystemConfig() {
  APP_DATA& a = *g_lpApp;
  const bool open = std::atomic_ref<uint32_t>(a.fSystemDialogOpen).load() != 0;
  CloseSettingsSheet();  // the open sheet, or a stale one
  if (open) return;
  if (!VideoStreaming()) {
    OstMessageBoxId(kBoxConnectFirst);
    return;
  }
  if (!FetchSystemConfig()) {
    OstMessageBoxId(kBoxConfigFailed);
    return;
  }
  if (!g_settingsSheet.create) return;
  const CSettingINI& s = a.m_Settings;
  const SettingsSheetStart start{
      s.m_strRecordPath,    s.m_strSnapshotPath,
      s.m_strWavPath,       static_cast<uint8_t>(a.byTurboRepeatStep - 1),
      s.m_byAlarmRecord,    s.m_wSearchListHDD,
      s.m_bySearchListType, s.m_wSearchListMax};
  a.lp_SystemDialog = g_settingsSheet.create(m_hWnd, start);
  if (a.lp_SystemDialog) std::atomic_ref<uint32_t>(a.fSystemDialogOpen).store(1);
}

// ---- Alarm sound ----------------------------------------------------------------------------

LRESULT CPallumDlg::OnPostAlarmAudio(WPARAM, LPARAM lParam) {
  APP_DATA& a = *g_lpApp;
  if (lParam == 2) {
    a.fAlarmSoundStarted = 0;
    StopAlarmSound();  // signals the playback thread and joins it
    return 0;
  }
  // One sound per alarm: a click may have silenced it, the next stop message re-arms it.
  if (a.fAlarmSoundStarted) return 0;
  if (!StartAlarmSound()) {
    OstMessageBoxId(kBoxAlarmSoundFailed);
    return -1;
  }
  a.fAlarmSoundStarted = 1;
  return 0;
}

// ---- Messages kept from earlier clients -----------------------------------------------------

void CPallumDlg::OnReconnectRequest() {
  // After a wait of up to 2 s (spread over clients) the session goes down and up again.
  ::SetTimer(m_hWnd, kReconnectTimer, GetTickCount() % 2000, ReconnectTimerProc);
}

void CALLBACK CPallumDlg::ReconnectTimerProc(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(hwnd, id);
  CPallumDlg* window = g_lpApp ? g_lpApp->lp_MainDialog : nullptr;
  if (!window || window->GetSafeHwnd() != hwnd) return;
  window->OnLogin();
  window->OnLogin();
}

// ---- Mouse and clock ------------------------------------------------------------------------

void CPallumDlg::OnMouseMove(UINT, POINT point) {
  APP_DATA& a = *g_lpApp;
  a.ptLastMouse = point;
  // The hot point follows the mouse while it is on.
  if (a.byPtzHotPointMode != 1) {
    a.wHotPointX = static_cast<uint16_t>(point.x);
    a.wHotPointY = static_cast<uint16_t>(point.y);
  }
}

void CPallumDlg::OnLButtonDown(UINT, POINT point) {
  APP_DATA& a = *g_lpApp;
  a.ptLastMouse = point;
  // Outside full screen the whole window drags like a caption.
  if (!FullScreen()) {
    ReleaseCapture();
    Post(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
  }
  if (a.byPtzHotPointMode == 2 && VideoStreaming()) Post(WM_PTZHOTPOINT);
}

void CPallumDlg::OnLButtonUp(UINT, POINT point) {
  g_lpApp->ptLastMouse = point;
}

void CPallumDlg::OnDeviceClockChanged() {
  if (FullScreen()) return;
  const LayoutRect r = InfoTextRect(Layout());
  const POINT p = g_lpApp->ptLastMouse;
  m_fClockShown = ClockShownForMouse(r, p.x, p.y);
  // The text may start left of its place when the font runs wide (see OnPaint).
  const LayoutRow& row = Layout();
  InvalidateRect(RECT{r.left - 80, r.top, row.TitleButtons[0], r.bottom}, true);
}
