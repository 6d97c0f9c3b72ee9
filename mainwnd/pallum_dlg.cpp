#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include "mainwnd/pallum_dlg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "session/alarm_sound_control.h"
#include "app/app_data.h"
#include "app/login_store.h"
#include "mainwnd/main_window_standins.h"
#include "mainwnd/picture_draw.h"
#include "text/digit_text.h"
#include "text/path_text.h"
#include "ui/cross_marker.h"
#include "net/device_family.h"
#include "platform/load_string_pair.h"
#include "session/main_window_link.h"
#include "session/login_thread.h"
#include "session/relogin_schedule.h"
#include "session/session_control.h"
#include "session/session_messages.h"
#include "session/session_resources.h"
#include "text/string_pair.h"
#include "session/thread_stop.h"
#include "platform/event_log.h"
#include "platform/trace_log.h"
#include "live/live_messages.h"
#include "session/live_view_binding.h"
#include "live/snapshot.h"
#include "mainwnd/access_table.h"
#include "mainwnd/control_messages.h"
#include "mainwnd/device_control.h"
#include "mainwnd/device_control_win32.h"
#include "mainwnd/frame_overlay.h"
#include "mainwnd/main_window_messages.h"
#include "mainwnd/main_window_rules.h"
#include "mainwnd/playback_search_slot.h"
#include "net/login_exchange.h"
#include "net/sys_cfg_blocks.h"
#include "app/sys_cfg_items.h"
#include "platform/message_box.h"
#include "platform/strings.h"
#include "res/resource.h"
#include "resize/resize_image.h"

namespace {
constexpr UINT_PTR kFrameCountTimer = 1;
constexpr DWORD kReloginStopMs = 30;
constexpr DWORD kFeedbackWaitMs = 5000;
constexpr DWORD kSessionStopWaitMs = 10000;
constexpr DWORD kButtonStyle = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW | BS_BITMAP;
constexpr uint16_t kChannelDeviceKind = 2;
constexpr int kMultiChannelPtzKey = 60;  // PTZ control 8312

// Colours of the texts drawn on the skin.
constexpr COLORREF kBlack = RGB(0x10, 0x14, 0x18);
constexpr COLORREF kRed = RGB(0xA8, 0x10, 0x20);  // reads on the status strip
constexpr COLORREF kYellow = RGB(0xF2, 0xD2, 0x4B);
constexpr COLORREF kCyan = RGB(0x5E, 0xD3, 0xE8);
constexpr COLORREF kVideoWell = RGB(0x0B, 0x0D, 0x10);

RECT ToRect(const LayoutRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

std::string ServerName() {
  return g_lpApp ? g_lpApp->m_Settings.m_strServerName : std::string();
}

}  // namespace

// ---- Construction ---------------------------------------------------------------------------

CPallumDlg::CPallumDlg() : ost::Dialog(kTemplateId, nullptr) {
  // The system close command (Alt+F4) ends the process at once, without writing the settings;
  // open record files are closed first so that they stay complete.
  MapMessage(WM_CLOSE, [](WPARAM, LPARAM) -> LRESULT {
    if (g_lpApp) {
      g_lpApp->m_AlarmRecord.StopRecord();
      g_lpApp->m_UserRecord.StopRecord();
      g_lpApp->m_SchRecord.StopRecord();
    }
    ExitProcess(0);
  });
  MapCommand(kConnectId, [this] { OnLogin(); });
  MapCommand(kPanelOpenId, [this] { OnPanelOpen(); });
  MapCommand(kPanelCloseId, [this] { OnPanelClose(); });
  // The panel keys device control leaves to the window; the title, channel and other tool
  // keys go to device control (OnCommand).
  MapCommand(kTurboId, [this] { OnTurbo(); });
  MapCommand(kActionPresetId, [this] { OnActionPreset(); });
  MapCommand(kRetrId, [] { TheDeviceControl().OnRetr(); });
  MapCommand(kPowerId, [] { TheDeviceControl().OnPower(); });
  MapMessage(WM_RETRBUTTONSTATE, [this](WPARAM w, LPARAM) -> LRESULT {
    OnRetrButtonState(static_cast<int>(w));
    return 0;
  });
  MapMessage(WM_MAINWND_RELAYOUTBAR, [](WPARAM, LPARAM) -> LRESULT {
    if (g_lpApp) g_lpApp->m_ChannelBar.Relayout();
    return 0;
  });
  MapMessage(WM_LOGINSTATUS, [this](WPARAM w, LPARAM l) { return OnShowStatus(w, l); });
  MapMessage(WM_LIFETIMEUP, [this](WPARAM, LPARAM) -> LRESULT {
    OnCloseButton();
    return 0;
  });
  MapMessage(WM_MAINWND_STATUSTEXT, [this](WPARAM, LPARAM) -> LRESULT {
    SetStatusText(TakePendingStatusText());
    return 0;
  });
  MapMessage(WM_MAINWND_STATUSPENDING, [this](WPARAM, LPARAM) -> LRESULT {
    TakePendingStatus();
    return 0;
  });
  MapMessage(WM_MAINWND_BUTTONSTATE, [this](WPARAM w, LPARAM l) -> LRESULT {
    SetButtonState(static_cast<uint32_t>(w), static_cast<int>(l));
    return 0;
  });
  MapMessage(WM_MAINWND_CLEAROVERLAY, [this](WPARAM w, LPARAM) -> LRESULT {
    ClearOverlayTexts(w);
    return 0;
  });
  MapMessage(WM_MAINWND_OVERLAYCHANGED, [this](WPARAM, LPARAM) -> LRESULT {
    if (!FullScreen()) InvalidateRect(ToRect(Layout().rcStatusBar), false);
    return 0;
  });
  MapMessage(WM_MAINWND_APPLYLAYOUT, [this](WPARAM, LPARAM) -> LRESULT {
    ChangeItemPositionForDeviceModified();
    UpdateToolButtons();
    return 0;
  });
  MapMessage(WM_MAINWND_DISPLAYMODE, [this](WPARAM w, LPARAM) -> LRESULT {
    ChangeItemPositionForDeviceModified();
    if (w != kDisplayModeDeviceOnly && w < 4) ReloadTurboBitmaps(static_cast<SkinSet>(w));
    return 0;
  });
  MapMessage(WM_SHOWMESSAGEBOX, [](WPARAM w, LPARAM) -> LRESULT {
    OstMessageBoxId(static_cast<unsigned>(w));
    return 0;
  });
  MapActionHandlers();
  MapPtzHandlers();
  MapMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> LRESULT { return 1; });
  // The camera-sensor toolbar follows the window.
  MapMessage(WM_MOVE, [this](WPARAM, LPARAM) -> LRESULT {
    if (g_lpApp && g_lpApp->m_CmosToolBar.GetSafeHwnd())
      g_lpApp->m_CmosToolBar.FollowMainWindow(m_hWnd);
    return 0;
  });
}

CPallumDlg::~CPallumDlg() {
  if (g_lpApp) g_lpApp->m_ModelLayout.Detach();
  if (m_hIcon) DestroyIcon(m_hIcon);
}

// ---- Initialisation -------------------------------------------------------------------------

BOOL CPallumDlg::OnInitDialog() {
  ost::Dialog::OnInitDialog();
  m_dwThreadId = GetCurrentThreadId();
  APP_DATA& a = *g_lpApp;
  a.h_MainDialogHandle = m_hWnd;
  a.lp_MainDialog = this;
  ModifyStyle(0, WS_CLIPCHILDREN);
  m_statusMirror.Create("", WS_CHILD, RECT{0, 0, 1, 1}, m_hWnd, kStatusId);
  m_frameCountMirror.Create("Frames: 0", WS_CHILD, RECT{0, 0, 1, 1}, m_hWnd, kFrameCountId);
  m_markedMirror.Create("Marked: 0", WS_CHILD, RECT{0, 0, 1, 1}, m_hWnd, kMarkedFramesId);
  SetText("Ostrova : " + ServerName());
  m_fInitialised = Initialise();
  SetTimer(kFrameCountTimer, 250);
  return TRUE;
}

void CPallumDlg::ReportFailedStart(const char* why) {
  TraceLogWrite((std::string("CPallumDlg::OnInitDialog : ") + why).c_str());
  SetStatusText(why);
  // The window stays without buttons or stream; the user learns why and may close it.
  OstMessageBoxId(4029);
}

bool CPallumDlg::Initialise() {
  APP_DATA& a = *g_lpApp;
  a.byUserClass = AccessClassOfUserLevel(a.w_UserLevel);
  // Device information of this session: clamps the channel, reads the capability mask, chooses
  // the header layout and refills the control-device list.
  a.m_ControlD.Clear();
  if (!FetchDeviceInformation()) {
    MoveWindow(0, 0, 370, 120);
    ReportFailedStart("Get device information failed");
    return false;
  }
  const std::string& product = a.str_ProductID;
  if (!IsRZKSeriesProduct(product) && !IsRZ2KProduct(product) && !IsRZ8PProduct(product) &&
      !IsRZMSeriesProduct(product)) {
    MoveWindow(0, 0, 370, 120);
    ReportFailedStart("Unsupported device");
    return false;
  }
  if (IsRZKSeriesProduct(product) || IsRZ2KProduct(product)) {
    uint8_t system[kSystemBlockSize] = {};
    if (GetSysCfgItem(kSysCfgSystem, system, sizeof system)) {
      std::memcpy(a.cfg_SYSTEM, system, sizeof system);
      a.str_DeviceTitle = DeviceTitleOf(system, sizeof system);
    }
  }
  {
    uint8_t alarm[kAlarmBlockSize] = {};
    if (IsRZ2KProduct(product) && CompareVersionString("1010", a.str_FWVersion) != 2 &&
        GetSysCfgItem(kSysCfgAlarm, alarm, sizeof alarm)) {
      std::memcpy(a.cfg_ALARM, alarm, sizeof alarm);
      if (RewriteAlarmSource(product, a.str_FWVersion, a.cfg_ALARM, sizeof a.cfg_ALARM))
        SetSysCfgItem(kSysCfgAlarm, a.cfg_ALARM, sizeof a.cfg_ALARM, 0);
    }
  }
  const int entry =
      CurrentControlEntry(product, a.byMultiChannel, a.m_Settings.m_bySelectedChannel);
  if (entry >= 0) a.m_ControlD.MakeCurrent(kChannelDeviceKind, entry);
  RemoveUnsupportedKeys(ModelControlTable(), product, a.str_FWVersion, a.byMultiChannel);
  a.byUserClass = AccessClassOfUserLevel(a.w_UserLevel);
  if (a.byUserClass == kAccessSupervisor) {
    uint8_t inf[kInfBlockSize] = {};
    if (GetSysCfgItem(kSysCfgInf, inf, sizeof inf)) {
      std::memcpy(a.cfg_INF, inf, sizeof inf);
      if (RewriteModelName(a.cfg_INF, sizeof a.cfg_INF))
        SetSysCfgItem(kSysCfgInf, a.cfg_INF, sizeof a.cfg_INF, 0);
    }
  }
  a.byStartVideoMode = a.byVideoMode;
  BindLiveViewObjects();
  a.m_DisplayMode.SelectByFamily();

  // Geometry, skin and icon.
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_rcFullScreen, 0);
  const LayoutRow& row = Layout();
  MoveWindow(row.rcWindow.left, row.rcWindow.top, row.rcWindow.Width(), row.rcWindow.Height());
  SetWindowRgn(ost::RoundRectRegion(ToRect(row.rcWindow), 20, 20).Release(), true);
  LoadBackgroundBitmaps();
  m_hIcon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128),
                                          IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (m_hIcon) {
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  }
  m_statusFont = ost::Font(CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial"));

  m_pToolTip = std::make_unique<ost::ToolTip>();
  if (!m_pToolTip->Create(m_hWnd, TTS_ALWAYSTIP)) {
    m_pToolTip.reset();
    ReportFailedStart("Create tool tip failed");
    return false;
  }
  m_pToolTip->AddTool(m_hWnd, "Ostrova : " + a.str_ClientVersion);

  CreateButtons(ModelRow());
  InitSkinButtons(a.wLayoutId);
  m_btnPower.ShowWindow(SW_HIDE);
  const bool panelLess = PanelLessModel();
  ShowPanelButtons(!panelLess, panelLess);

  m_bFullScreen = 0;
  const uint32_t fullWidth = static_cast<uint32_t>(m_rcFullScreen.right - m_rcFullScreen.left);
  const uint32_t fullHeight = static_cast<uint32_t>(m_rcFullScreen.bottom - m_rcFullScreen.top);
  if (!a.lp_ViewBuffer && fullWidth && fullHeight)
    a.lp_ViewBuffer = static_cast<uint8_t*>(std::malloc(size_t{DibStride(fullWidth)} * fullHeight));

  // A class that may not press a panel button does not see it.
  for (int id : {kPanelOpenId, kPanelCloseId}) {
    CZevButton& b = id == kPanelOpenId ? m_btnPanelOpen : m_btnPanelClose;
    const bool allowed = ClassAllows(a.byUserClass, static_cast<uint32_t>(id));
    b.EnableWindow(allowed);
    if (!allowed) b.ShowWindow(SW_HIDE);
  }

  ChangeItemPositionForDeviceModified();
  UpdateToolButtons();
  UpdateToolTips();
  for (CZevButton& b : m_btnModel) {
    if (!b.GetSafeHwnd()) continue;
    if (b.GetDlgCtrlID() == 1007) b.SetState(a.m_Settings.m_iImageResolution);
    if (b.GetDlgCtrlID() == 1008) b.SetState(a.m_Settings.m_iVideoQuality);
  }
  SetButtonState(kLayoutFlagConnect, 0);
  SetStatusText("Start to get image!!");
  if (IsRZMSeriesProduct(product)) {
    for (int k = 0; k < kToolKeys; ++k)
      if (m_btnTool[k].GetDlgCtrlID() == 8231)
        m_pToolTip->AddTool(m_btnTool[k].GetSafeHwnd(), "slow play");
  }
  InstallDeviceControlHooks();
  a.m_ChannelBar.Init(m_hWnd);
  // The camera-sensor toolbar beside the window (RZ8P only).
  if (IsRZ8PProduct(product)) a.m_CmosToolBar.OpenBeside(m_hWnd);
  a.m_StreamPipeline.SetWindow(&m_liveView);

  SessionResourceLock lock;
  if (a.h_StartToGetJpegImageEvent) SetEvent(a.h_StartToGetJpegImageEvent);
  if (a.h_LifeTimeStartEvent) SetEvent(a.h_LifeTimeStartEvent);
  return true;
}

bool CPallumDlg::LoadBackgroundBitmaps() {
  for (uint8_t cls = 0; cls < 4; ++cls) {
    const LayoutSkinFiles& f = SkinFilesOfClass(cls);
    if (!m_hBackground[cls].LoadFromFile(f.background)) return false;
    if (!m_hBackgroundEx[cls].LoadFromFile(f.backgroundEx)) return false;
    if (!m_hStatusBar[cls].LoadFromFile(f.statusBar)) return false;
  }
  return m_hOnlineUserIcon.LoadFromFile(kOnlineUserIconFile) &&
         m_hAlarmIcon.LoadFromFile(kAlarmIconFile);
}

void CPallumDlg::CreateButtons(const ModelControlRow* row) {
  APP_DATA& a = *g_lpApp;
  const LayoutRow& layout = Layout();
  const uint8_t keyLayout = KeyLayoutOf(Class());
  for (int i = 0; i < 3; ++i) {
    m_btnTitle[i].Create("", kButtonStyle | WS_VISIBLE, ToRect(TitleButtonRect(layout, i)), m_hWnd,
                         kTitleIds[i]);
    m_pToolTip->AddTool(m_btnTitle[i].GetSafeHwnd(), static_cast<UINT>(kTitleIds[i]));
  }
  if (row) {
    for (int k = 0; k < kToolKeys; ++k) {
      const ControlKeyEntry& e = row->keys[k];
      m_btnTool[k].Create("", kButtonStyle, ToRect(e.rcButton[keyLayout]), m_hWnd, e.wCommandId);
      m_pToolTip->AddTool(m_btnTool[k].GetSafeHwnd(), std::string());  // UpdateToolTips fills it
    }
  }
  m_btnPower.Create("", kButtonStyle, ToRect(PowerButtonRect(layout)), m_hWnd, kPowerId);
  m_pToolTip->AddTool(m_btnPower.GetSafeHwnd(), static_cast<UINT>(kPowerId));
  a.m_ModelLayout.ApplyModelLayout(m_btnModel, m_hWnd, m_pToolTip.get(), a.str_ProductID,
                                   a.byMultiChannel, Class());
  a.m_MMTimer.Start(a.str_ProductID);
  m_btnPanelOpen.Create("", kButtonStyle, ToRect(PanelOpenRect(layout)), m_hWnd, kPanelOpenId);
  m_btnPanelClose.Create("", kButtonStyle, ToRect(PanelCloseRect(layout)), m_hWnd, kPanelCloseId);
}

void CPallumDlg::InitSkinButtons(uint16_t layoutId) {
  APP_DATA& a = *g_lpApp;
  for (int i = 0; i < 3; ++i) {
    const TitleButtonFiles& f = kTitleButtonFiles[i];
    m_btnTitle[i].LoadButtonBitmap(f.face, f.hover, f.face, CZevButton::kHover);
  }
  if (const ModelControlRow* row = ModelRow()) {
    const bool vga = a.m_Settings.m_iImageResolution == 0;
    for (int k = 0; k < kToolKeys; ++k) {
      const ControlKeyEntry& e = row->keys[k];
      if (!(e.wFlags & kKeyEnabled) || m_fToolLoaded[k] || !m_btnTool[k].GetSafeHwnd()) continue;
      if (e.wBitmapStyle == kKeyStylePlain) {
        const int n = vga ? 0 : 3;
        m_fToolLoaded[k] =
            m_btnTool[k].LoadButtonBitmap(e.szBitmap[n].c_str(), e.szBitmap[n + 1].c_str(),
                                          e.szBitmap[n + 1].c_str(), e.wBitmapStyle) != 0;
      } else {
        const char* pairs[2][2] = {{e.szBitmap[0].c_str(), e.szBitmap[1].c_str()},
                                   {e.szBitmap[2].c_str(), e.szBitmap[3].c_str()}};
        m_fToolLoaded[k] = m_btnTool[k].LoadButtonBitmap(2, pairs, e.wBitmapStyle) != 0;
      }
    }
  }
  if (ClassAllows(a.byUserClass, kPowerId))
    m_btnPower.LoadButtonBitmap(kPowerFiles[0], kPowerFiles[1], kPowerFiles[2],
                                CZevButton::kPressHover);
  a.m_ModelLayout.LoadButtonBitmaps(a.byUserClass);
  const LayoutSkinFiles& f = SkinFilesOfClass(Class());
  m_btnPanelOpen.LoadButtonBitmap(f.panelUp, f.panelUpOver, f.panelUp, CZevButton::kHover);
  m_btnPanelClose.LoadButtonBitmap(f.panelDown, f.panelDownOver, f.panelDown, CZevButton::kHover);
  if (layoutId < 6) LoadTurboBitmaps(SkinSetOfClass(LayoutClassOf(layoutId)));
}

int CPallumDlg::LoadTurboBitmaps(SkinSet set) {
  APP_DATA& a = *g_lpApp;
  const int s = static_cast<int>(set);
  if (const ModelControlRow* row = ModelRow()) {
    for (int k = 0; k < kToolKeys; ++k) {
      const ControlKeyEntry& e = row->keys[k];
      CZevButton& b = m_btnTool[k];
      if (!b.GetSafeHwnd()) continue;
      TurboFaces turbo;
      if (a.fTurboMode && TurboFacesOf(set, k, &turbo)) {
        const bool lens = k >= 30 && k <= 33;
        m_fToolLoaded[k] = b.LoadButtonBitmap(turbo.face.c_str(), turbo.hover.c_str(),
                                              lens ? turbo.hover.c_str() : turbo.face.c_str(),
                                              kKeyStylePlain) != 0;
        continue;
      }
      if (!((e.wFlags & kKeyReload) || ((e.wFlags & kKeyEnabled) && !m_fToolLoaded[k]))) continue;
      if (e.wBitmapStyle == kKeyStylePlain) {
        const int n = 3 * s;
        const std::string& normal =
            e.wFlags & kKeyInactiveFaces ? e.szBitmap[n + 2] : e.szBitmap[n];
        const std::string& hover =
            e.wFlags & kKeyInactiveFaces ? e.szBitmap[n + 2] : e.szBitmap[n + 1];
        m_fToolLoaded[k] =
            b.LoadButtonBitmap(normal.c_str(), hover.c_str(), hover.c_str(), kKeyStylePlain) != 0;
      } else {
        const int n = set == SkinSet::kPVga || set == SkinSet::kPQvga ? 6 : 0;
        const char* pairs[2][2] = {{e.szBitmap[n].c_str(), e.szBitmap[n + 1].c_str()},
                                   {e.szBitmap[n + 2].c_str(), e.szBitmap[n + 3].c_str()}};
        m_fToolLoaded[k] = b.LoadButtonBitmap(2, pairs, e.wBitmapStyle) != 0;
      }
    }
  }
  const LayoutSkinFiles& f = SkinFilesOfSet(set);
  m_btnPanelOpen.LoadButtonBitmap(f.panelUp, f.panelUpOver, f.panelUp, CZevButton::kHover);
  m_btnPanelClose.LoadButtonBitmap(f.panelDown, f.panelDownOver, f.panelDown, CZevButton::kHover);
  // New faces show at the buttons' next painting; the window's own clips its children.
  for (CZevButton& b : m_btnTool)
    if (b.GetSafeHwnd()) b.Invalidate(false);
  m_btnPanelOpen.Invalidate(false);
  m_btnPanelClose.Invalidate(false);
  return 1;
}

void CPallumDlg::ReloadTurboBitmaps(SkinSet set) {
  {
    std::lock_guard<std::mutex> lock(m_csButtonBitmaps);
    LoadTurboBitmaps(set);
  }
  UpdateToolButtons();
}

void CPallumDlg::PipelineView::SetCurrentChannel(uint8_t displayChannel) {
  if (g_lpApp) g_lpApp->m_ChannelBar.SetCurrentChannel(displayChannel);  // posts
}

void CPallumDlg::PipelineView::SwitchChannel(int channel) {
  if (g_lpApp && channel > 0 && channel <= 0xFF)
    g_lpApp->m_ChannelBar.PostSwitchChannel(static_cast<uint8_t>(channel));
}

void CPallumDlg::PipelineView::PostCmosState(uint8_t state) {
  if (g_lpApp) g_lpApp->m_CmosToolBar.PostState(state);
}

void CPallumDlg::PipelineView::RelayoutChannelBar() {
  if (HWND w = m_window.GetSafeHwnd()) PostMessageA(w, WM_MAINWND_RELAYOUTBAR, 0, 0);
}

void CPallumDlg::PipelineView::ChangeItemPositionForDeviceModified() {
  if (HWND w = m_window.GetSafeHwnd())
    PostMessageA(w, WM_MAINWND_DISPLAYMODE, kDisplayModeDeviceOnly, 0);
}

void CPallumDlg::PipelineView::Post(SkinSet set) {
  if (HWND w = m_window.GetSafeHwnd())
    PostMessageA(w, WM_MAINWND_DISPLAYMODE, static_cast<WPARAM>(set), 0);
}

// ---- Layout ---------------------------------------------------------------------------------

const LayoutRow& CPallumDlg::Layout() const {
  return LayoutRowOf(g_lpApp ? g_lpApp->wLayoutId : 0);
}

uint8_t CPallumDlg::Class() const {
  return LayoutClassOf(g_lpApp ? g_lpApp->wLayoutId : 0);
}

const ModelControlRow* CPallumDlg::ModelRow() const {
  const C_ControlD& list = g_lpApp->m_ControlD;
  const int current = list.CurrentIndex();
  if (current < 0 || current >= list.Count()) return nullptr;
  return ModelRowOf(list.At(current).byModelRow);
}

bool CPallumDlg::PanelLessModel() const {
  const ModelControlRow* row = ModelRow();
  return row && (row->dwPanelFlags & 2);
}

void CPallumDlg::ShapeWindow(const LayoutRect& rect, int corner, bool centred) {
  const RECT now = GetWindowRect();
  int x = now.left, y = now.top;
  if (centred) {
    x = (m_rcFullScreen.right - m_rcFullScreen.left - rect.Width()) / 2;
    y = (m_rcFullScreen.bottom - m_rcFullScreen.top - rect.Height()) / 2;
  }
  SetWindowPos(centred ? HWND_TOP : nullptr, x, y, rect.Width(), rect.Height(),
               centred ? SWP_FRAMECHANGED : SWP_NOZORDER);
  SetWindowRgn(
      ost::RoundRectRegion(RECT{0, 0, rect.Width(), rect.Height()}, corner, corner).Release(),
      true);
}

void CPallumDlg::ShowPanelButtons(bool open, bool close) {
  m_btnPanelOpen.ShowWindow(open ? SW_SHOW : SW_HIDE);
  m_btnPanelClose.ShowWindow(close ? SW_SHOW : SW_HIDE);
}

void CPallumDlg::ApplyKeyRule(int rule) {
  const ModelControlRow* row = ModelRow();
  const APP_DATA& a = *g_lpApp;
  const uint8_t keyLayout = KeyLayoutOf(Class());
  const uint8_t levelCode = AccessRowOf(a.byUserClass).byLevelCode;
  for (int k = 0; k < kToolKeys; ++k) {
    CZevButton& b = m_btnTool[k];
    if (!b.GetSafeHwnd()) continue;
    if (!row || rule == static_cast<int>(KeyRule::kHideAll)) {
      b.ShowWindow(SW_HIDE);
      continue;
    }
    const ControlKeyEntry& e = row->keys[k];
    const KeyShow show = rule == static_cast<int>(KeyRule::kRuleA)
                             ? ShowRuleA(e.wFlags, a.w_UserLevel, levelCode)
                             : ShowRuleB(e.wFlags, levelCode);
    if (!show.placed) {
      b.ShowWindow(SW_HIDE);
      continue;
    }
    const LayoutRect& r = e.rcButton[keyLayout];
    b.MoveWindow(r.left, r.top, r.Width(), r.Height(), false);
    b.EnableWindow(show.enabled);
    b.ShowWindow(show.visible ? SW_SHOW : SW_HIDE);
  }
  if (a.byMultiChannel) m_btnTool[kMultiChannelPtzKey].ShowWindow(SW_HIDE);
}

int CPallumDlg::UpdateToolButtons() {
  if (!m_fInitialised) return 1;
  const LayoutRow& row = Layout();
  for (int i = 0; i < 3; ++i) {
    const LayoutRect r = TitleButtonRect(row, i);
    m_btnTitle[i].MoveWindow(r.left, r.top, r.Width(), r.Height(), false);
  }
  g_lpApp->m_ModelLayout.PlaceButtons(Class());
  const LayoutRect power = PowerButtonRect(row);
  m_btnPower.MoveWindow(power.left, power.top, power.Width(), power.Height(), false);
  const LayoutRect open = PanelOpenRect(row), close = PanelCloseRect(row);
  m_btnPanelOpen.MoveWindow(open.left, open.top, open.Width(), open.Height(), false);
  m_btnPanelClose.MoveWindow(close.left, close.top, close.Width(), close.Height(), false);
  if (!FullScreen()) {
    if (m_bToolPanelOpen) {
      ShapeWindow(row.rcWindowPanel, 15, false);
      ApplyKeyRule(static_cast<int>(KeyRule::kRuleA));
    } else {
      ShapeWindow(row.rcWindow, 15, false);
      // A panel-less model keeps its keys in the closed window.
      ApplyKeyRule(static_cast<int>(PanelLessModel() ? KeyRule::kRuleB : KeyRule::kHideAll));
    }
  }
  Invalidate(false);
  return 1;
}

int CPallumDlg::ChangeItemPositionForDeviceModified() {
  if (!m_fInitialised) return 1;
  APP_DATA& a = *g_lpApp;
  SkinSet set;
  if (SkinSetOfDevice(a.byVideoMode, a.m_Settings.m_iImageResolution, &set)) LoadTurboBitmaps(set);
  UpdateToolTips();
  const PanelPlan plan = PlanPanelForDevice(PanelLessModel(), m_bToolPanelOpen,
                                            ClassAllows(a.byUserClass, kPanelOpenId),
                                            ClassAllows(a.byUserClass, kPanelCloseId));
  if (!FullScreen()) {
    if (plan.closePanel) {
      m_bToolPanelOpen = false;
      ShapeWindow(Layout().rcWindow, 15, true);
    }
    ApplyKeyRule(static_cast<int>(plan.keys));
    ShowPanelButtons(plan.showOpenButton, plan.showCloseButton);
  }
  const ModelControlRow* row = ModelRow();
  a.byPtzHotPointMode = HotPointModeOf(row ? row->dwRowIndex : kModelRows, a.str_ProductID,
                                       a.str_FWVersion, a.dwDeviceCapabilityMask);
  InvalidateRect(ToRect(PanelStripRect(Layout())), true);
  return 1;
}

void CPallumDlg::OnPanelOpen() {
  m_bToolPanelOpen = !m_bToolPanelOpen;
  ShapeWindow(Layout().rcWindowPanel, 20, false);
  ShowPanelButtons(false, true);
  ApplyKeyRule(static_cast<int>(KeyRule::kRuleA));
  Invalidate(false);
}

void CPallumDlg::OnPanelClose() {
  m_bToolPanelOpen = !m_bToolPanelOpen;
  ShapeWindow(Layout().rcWindow, 20, false);
  ShowPanelButtons(true, false);
  ApplyKeyRule(static_cast<int>(KeyRule::kHideAll));
  Invalidate(false);
}

// ---- Full screen ----------------------------------------------------------------------------

void CPallumDlg::EnterFullScreen() {
  // Without its buffer the picture cannot be scaled: the window stays as it is.
  if (FullScreen() || !g_lpApp->lp_ViewBuffer) return;
  const RECT& r = m_rcFullScreen;
  SetWindowRgn(CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top), false);
  SetWindowPos(HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_FRAMECHANGED);
  for (CZevButton& b : m_btnTitle) b.ShowWindow(SW_HIDE);
  g_lpApp->m_ModelLayout.ShowButtons(0);
  m_btnPower.ShowWindow(SW_HIDE);
  ShowPanelButtons(false, false);
  for (CZevButton& b : m_btnTool)
    if (b.GetSafeHwnd()) b.ShowWindow(SW_HIDE);
  g_lpApp->m_ChannelBar.ShowBar(1);
  m_bFullScreen = 1;
  Invalidate(false);
}

void CPallumDlg::LeaveFullScreen() {
  if (!FullScreen()) return;
  m_bFullScreen = 0;
  APP_DATA& a = *g_lpApp;
  for (CZevButton& b : m_btnTitle) b.ShowWindow(SW_SHOW);
  a.m_ModelLayout.ShowButtons(1);
  a.m_ChannelBar.ShowBar(0);
  const FullScreenExitPlan plan = PlanFullScreenExit(PanelLessModel(), m_bToolPanelOpen,
                                                     ClassAllows(a.byUserClass, kPanelOpenId),
                                                     ClassAllows(a.byUserClass, kPanelCloseId));
  if (plan.applyAccess) {
    const ControlAccessRow& access = AccessRowOf(a.byUserClass);
    for (uint32_t i = 0; i < access.dwButtonCount; ++i)
      if (HWND item = GetDlgItem(static_cast<int>(access.dwButtonId[i])))
        ::EnableWindow(item, access.dwButtonEnabled[i] != 0);
  }
  if (plan.closePanel) m_bToolPanelOpen = false;
  const LayoutRow& row = Layout();
  ShapeWindow(plan.panelShape ? row.rcWindowPanel : row.rcWindow, 15, true);
  ShowPanelButtons(plan.showOpenButton, plan.showCloseButton);
  ApplyKeyRule(static_cast<int>(plan.keys));
  Invalidate(false);
}

// ---- Device control -------------------------------------------------------------------------

void CPallumDlg::InstallDeviceControlHooks() {
  DeviceControlWindowHooks hooks;
  hooks.minimise = [this] { ShowWindow(SW_SHOWMINIMIZED); };
  hooks.enterFullScreen = [this] { EnterFullScreen(); };
  hooks.closeMainWindow = [this] { OnCloseButton(); };
  hooks.openPlaybackSearch = [this] { OpenPlaybackSearch(m_hWnd); };
  hooks.applyLayout = [this] {
    ChangeItemPositionForDeviceModified();
    UpdateToolButtons();
  };
  hooks.keyFlags = [](uint8_t row, uint8_t key) -> uint16_t {
    const ModelControlRow* r = ModelRowOf(row);
    return r && key < kToolKeys ? r->keys[key].wFlags : DefaultKeyFlags(row, key);
  };
  SetDeviceControlWindowHooks(hooks);
}

bool CPallumDlg::OnCommand(WPARAM wp, LPARAM lp) {
  if (ost::Dialog::OnCommand(wp, lp)) return true;
  // A click on a title, channel or tool key.
  if (HIWORD(wp) != BN_CLICKED || !m_fInitialised) return false;
  return OnDeviceControlCommand(LOWORD(wp));
}

CZevButton* CPallumDlg::ToolButton(int id) {
  for (CZevButton& b : m_btnTool)
    if (b.GetSafeHwnd() && b.GetDlgCtrlID() == id) return &b;
  return nullptr;
}

void CPallumDlg::OnTurbo() {
  APP_DATA& a = *g_lpApp;
  const PanelToggle t = TurboToggled(a.fTurboMode != 0);
  a.fTurboMode = t.on ? 1 : 0;
  if (CZevButton* b = ToolButton(kTurboId)) {
    b->SetState(t.buttonState);
    SetToolTipHalf(*b, IDS_PAIR_TURBO, t.tipHalf);
  }
  // The arrow and lens keys change to their turbo faces and back to their own, in the skin set
  // of the layout the window shows.
  const SkinSet set = SkinSetOfClass(Class());
  if (!t.on) {
    for (int k = 0; k < kToolKeys; ++k) {
      TurboFaces turbo;
      if (TurboFacesOf(set, k, &turbo)) m_fToolLoaded[k] = false;
    }
  }
  ReloadTurboBitmaps(set);
}

void CPallumDlg::OnActionPreset() {
  APP_DATA& a = *g_lpApp;
  const PanelToggle t = ActionPresetToggled(a.fActionPresetMode != 0);
  a.fActionPresetMode = t.on ? 1 : 0;
  if (CZevButton* b = ToolButton(kActionPresetId)) {
    b->SetState(t.buttonState);
    SetToolTipHalf(*b, IDS_PAIR_ACTION_PRESET, t.tipHalf);
  }
}

void CPallumDlg::OnRetrButtonState(int state) {
  CZevButton* b = ToolButton(kRetrId);
  if (!b) return;
  b->SetState(state ? 1 : 0);
  SetToolTipHalf(*b, IDS_PAIR_RETR, state ? 0 : 1);
}

void CPallumDlg::SetToolTip(CZevButton& button, const std::string& text) {
  if (m_pToolTip) m_pToolTip->UpdateTipText(button.GetSafeHwnd(), text);
  button.SetText(text);
}

void CPallumDlg::SetToolTipHalf(CZevButton& button, UINT pairId, int half) {
  char first[kStringPairBufferBytes], second[kStringPairBufferBytes];
  LoadStringPair(pairId, first, second);
  SetToolTip(button, half == 0 ? first : second);
}

// ---- Closing --------------------------------------------------------------------------------

bool CPallumDlg::Shutdown() {
  if (m_fClosed || !g_lpApp) return true;
  KillTimer(kFrameCountTimer);
  // The renderer goes first, so that the kernel message thread has no drawing left to do when
  // it is asked to end.
  g_lpApp->m_StreamPipeline.SetWindow(nullptr);
  g_lpApp->m_AlarmRecord.StopRecord();
  g_lpApp->m_UserRecord.StopRecord();
  g_lpApp->m_SchRecord.StopRecord();
  StopAlarmSound();
  if (!ExitLoginResource() || !ExitProcessResource()) {
    g_lpApp->m_StreamPipeline.SetWindow(&m_liveView);  // the window stays and goes on drawing
    return false;
  }
  m_fClosed = true;
  SetDeviceControlWindowHooks({});
  g_lpApp->m_Settings.WriteSettingFile();
  g_lpApp->h_MainDialogHandle = nullptr;
  g_lpApp->lp_MainDialog = nullptr;
  g_lpApp->m_ModelLayout.Detach();
  g_lpApp->m_ChannelBar.Destroy();
  g_lpApp->m_CmosToolBar.Close();
  Sleep(100);
  return true;
}

void CPallumDlg::OnCloseButton() {
  if (Shutdown()) EndDialog(IDOK);
}

bool CPallumDlg::DestroyWindow() {
  Shutdown();
  return ost::Dialog::DestroyWindow();
}

// ---- Status line, overlays and session commands ---------------------------------------------

int CPallumDlg::SetStatusText(const std::string& text) {
  if (FullScreen()) return 1;
  if (!m_hWnd) return 1;
  if (GetCurrentThreadId() != m_dwThreadId) {
    bool post;
    {
      std::lock_guard<std::mutex> lock(m_textLock);
      post = !m_fStatusPending;
      m_strPendingStatus = text;
      m_fStatusPending = true;
    }
    if (post) Post(WM_MAINWND_STATUSPENDING);
    return 1;
  }
  {
    std::lock_guard<std::mutex> lock(m_textLock);
    m_strStatusText = text;
    m_fStatusPending = false;  // a text from another thread still on its way is older
  }
  m_statusMirror.SetText(text);
  InvalidateRect(ToRect(Layout().rcStatusBar), false);
  return 1;
}

void CPallumDlg::TakePendingStatus() {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(m_textLock);
    if (!m_fStatusPending) return;
    text = m_strPendingStatus;
  }
  SetStatusText(text);
}

std::string CPallumDlg::StatusText() const {
  std::lock_guard<std::mutex> lock(m_textLock);
  return m_strStatusText;
}

std::string CPallumDlg::HUText() const {
  std::lock_guard<std::mutex> lock(m_textLock);
  return m_strHUText;
}

std::string CPallumDlg::AlarmChannelText() const {
  std::lock_guard<std::mutex> lock(m_textLock);
  return m_strAlarmChannelText;
}

void CPallumDlg::ClearOverlayTexts(WPARAM which) {
  {
    std::lock_guard<std::mutex> lock(m_textLock);
    if (which & kOverlayHeaderInfo) m_strHUText.clear();
    if (which & kOverlayAlarmChannel) m_strAlarmChannelText.clear();
  }
  if (m_hWnd && !FullScreen()) InvalidateRect(ToRect(Layout().rcStatusBar), false);
}

void CPallumDlg::SetButtonState(uint32_t layoutFlag, int state) {
  g_lpApp->m_ModelLayout.SetButtonStateByFlag(layoutFlag, state);
  // The connect button's text names what a click does: state 0 (connected) disconnects.
  if (layoutFlag == kLayoutFlagConnect)
    SetDlgItemTextA(m_hWnd, kConnectId, state == 0 ? "DISCONNECT" : "CONNECT");
}

LRESULT CPallumDlg::OnShowStatus(WPARAM wParam, LPARAM lParam) {
  const LoginStatusEffect e = LoginStatusEffectOf(wParam, lParam);
  switch (e.kind) {
    case LoginStatusEffect::kText:
      SetStatusText(e.text);
      break;
    case LoginStatusEffect::kConnectState:
      SetButtonState(kLayoutFlagConnect, e.state);
      break;
    case LoginStatusEffect::kRepaint:
      if (!FullScreen()) InvalidateRect(ToRect(Layout().rcStatusBar), true);
      break;
    case LoginStatusEffect::kNone:
      break;
  }
  return 0;
}

void CPallumDlg::OnLogin() {
  APP_DATA& a = *g_lpApp;
  if (a.SessionStateNow() == SessionState::kIdle) {
    if (StartReloginThread(kReloginStackFromWindow)) {
      SetStatusText("CONNECT!!");
      SetButtonState(kLayoutFlagConnect, 0);
    }
    return;
  }
  Disconnect();
}

void CPallumDlg::Disconnect() {
  APP_DATA& a = *g_lpApp;
  const ULONGLONG start = GetTickCount64();
  CloseSettingsSheet();
  SetButtonState(kLayoutFlagConnect, 1);
  SetStatusText("DISCONNECT!!");
  StopReloginThread(kReloginStopMs);
  if (a.StreamRunningFlag == 1) {
    if (a.h_NotifyGetJPEGImageThreadResetEvent) {
      a.m_StreamPipeline.SetStopEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
      WaitServingSentMessages(a.h_FeedBackForNotifyResetEvent, kFeedbackWaitMs);
    }
    RequestSessionStop(kSessionStopWaitMs);
  }
  a.SessionActiveFlag = 0;
  ClearOverlayTexts(kOverlayBoth);
  SetStatusText("DISCONNECT!!");
  EventLogWrite("disconnected %llu ms", static_cast<unsigned long long>(GetTickCount64() - start));
}

void CPallumDlg::OnTimer(UINT_PTR id) {
  if (id != kFrameCountTimer) return;
  char text[48];
  const uint32_t marked = m_dwMarkedFrames.load();
  if (marked != m_dwShownMarked) {
    m_dwShownMarked = marked;
    std::snprintf(text, sizeof text, "Marked: %u", marked);
    m_markedMirror.SetText(text);
  }
  const uint32_t drawn = m_dwDrawnFrames.load();
  if (drawn == m_dwShownCount) return;
  m_dwShownCount = drawn;
  std::snprintf(text, sizeof text, "Frames: %u", drawn);
  m_frameCountMirror.SetText(text);
}

bool CPallumDlg::PreTranslateMessage(MSG* msg) {
  if (m_pToolTip) m_pToolTip->RelayEvent(msg);
  if (g_lpApp) g_lpApp->m_ChannelBar.RelayEvent(msg);
  if (msg->message == WM_LBUTTONDOWN && g_lpApp && g_lpApp->m_WaveFile.fPlaying) StopAlarmSound();
  if (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR) {
    if (msg->wParam == VK_RETURN) return true;  // Enter does nothing here
    if (msg->wParam == VK_ESCAPE) {
      if (msg->message == WM_KEYDOWN) LeaveFullScreen();
      return true;
    }
  }
  return ost::Dialog::PreTranslateMessage(msg);
}

// ---- Painting -------------------------------------------------------------------------------

void CPallumDlg::OnPaint() {
  ost::PaintDc paint(m_hWnd);
  HDC dc = paint.Get();
  const RECT client = GetClientRect();
  if (FullScreen()) {
    ost::FillSolidRect(dc, client, RGB(0, 0, 0));
    return;
  }
  if (IsIconic(m_hWnd)) return;
  APP_DATA& a = *g_lpApp;
  const LayoutRow& row = Layout();
  const uint8_t skin = static_cast<uint8_t>(SkinSetOfClass(Class()));
  const int width = client.right, height = client.bottom;
  ost::GdiObject<HBITMAP> canvas(CreateCompatibleBitmap(dc, width, height));
  ost::MemoryDc mem(dc, canvas.Get());
  HDC m = mem.Get();
  ost::FillSolidRect(m, client, RGB(0x1E, 0x22, 0x28));
  if (m_bToolPanelOpen && m_hBackgroundEx[skin])
    ost::StretchBitmap(m, ToRect(row.rcWindowPanel), m_hBackgroundEx[skin]);
  else if (m_hBackground[skin])
    ost::StretchBitmap(m, ToRect(row.rcBackground), m_hBackground[skin]);
  if (!a.fVideoConnected) ost::FillSolidRect(m, ToRect(row.rcVideo), kVideoWell);
  if (m_hStatusBar[skin]) ost::StretchBitmap(m, ToRect(row.rcStatusBar), m_hStatusBar[skin]);

  if (m_statusFont) {
    SelectObject(m, m_statusFont.Get());
    std::string status, hu, alarm;
    {
      std::lock_guard<std::mutex> lock(m_textLock);
      status = m_strStatusText;
      hu = m_strHUText;
      alarm = m_strAlarmChannelText;
    }
    const LayoutRect& bar = row.rcStatusBar;
    const LayoutRect& ind = row.rcIndicator;
    // The status text may hold a line break: only its first line fits the bar.
    const std::string line = status.substr(0, status.find('\n'));
    ost::DrawTextAt(m, bar.left + 5, bar.top + 2, line, kBlack);
    if (!hu.empty()) {
      // After the status text when a wider font would make the two run into each other.
      SIZE used{};
      GetTextExtentPoint32A(m, line.c_str(), static_cast<int>(line.size()), &used);
      ost::DrawTextAt(m, std::max<int>(bar.left + 160, bar.left + 5 + used.cx + 8), bar.top + 2, hu,
                      kBlack);
    }
    if (!alarm.empty()) {
      if (m_hAlarmIcon) ost::StretchBitmap(m, ToRect(AlarmIconRect(row)), m_hAlarmIcon);
      ost::DrawTextAt(m, ind.right - 30, ind.top + 2, alarm, kRed);
    }
    if (status.rfind("FR", 0) == 0) {
      if (m_hOnlineUserIcon) ost::StretchBitmap(m, ToRect(ind), m_hOnlineUserIcon);
      ost::DrawTextAt(m, ind.right + 4, ind.top + 2,
                      std::to_string(a.m_RTPHeaderParser.m_RTPH_Struct.byChannel), kBlack);
    }
    const SYSTEMTIME& t = a.stDeviceTime;
    const DeviceClock clock{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    if (auto info =
            InfoTextOf(a.str_ProductID, m_fClockShown, a.str_DeviceTitle, clock, ServerName())) {
      // Ends before the title buttons when the font runs wider than the place.
      SIZE used{};
      GetTextExtentPoint32A(m, info->text.c_str(), static_cast<int>(info->text.size()), &used);
      const int x = std::min<int>(row.ptInfoText[0], row.TitleButtons[0] - 8 - used.cx);
      ost::DrawTextAt(m, x, row.ptInfoText[1], info->text,
                      info->colour == InfoText::kYellow ? kYellow : kCyan);
    }
  }
  // The picture area belongs to the renderer while the stream runs.
  if (a.fVideoConnected) {
    const LayoutRect& v = row.rcVideo;
    ExcludeClipRect(dc, v.left, v.top, v.right, v.bottom);
  }
  const RECT& p = paint.PaintRect();
  BitBlt(dc, p.left, p.top, p.right - p.left, p.bottom - p.top, m, p.left, p.top, SRCCOPY);
}

// ---- The frame renderer (kernel message thread) ---------------------------------------------

int CPallumDlg::DrawVideoFrame(const ShownFrame& frame) {
  APP_DATA& a = *g_lpApp;
  if (!a.fVideoConnected) return 0;
  ++m_dwDrawnFrames;
  if (m_hWnd && m_fInitialised && !m_fClosed && frame.lpPicture && frame.wWidth && frame.wHeight) {
    const uint16_t width = frame.wWidth, height = frame.wHeight;
    const FramePlan plan =
        PlanFrame(width, height, IsRZ8PProduct(a.str_ProductID), APP_DATA::kImageSlotBytes);
    const uint8_t* picture = frame.lpPicture;
    if (plan.lineDouble && a.lp_ResizeBuffer) {
      const int32_t step = width * 3;
      ResizeImage8uC3(picture, ImgSize{width, height}, step, ImgRect{0, 0, width, height},
                      a.lp_ResizeBuffer, step, ImgSize{plan.width, plan.height}, 1.0, 2.0,
                      kResizeLinear);
      picture = a.lp_ResizeBuffer;
    }
    const uint16_t w = plan.lineDouble && a.lp_ResizeBuffer ? plan.width : width;
    const uint16_t h = plan.lineDouble && a.lp_ResizeBuffer ? plan.height : height;
    {
      ost::ClientDc dc(m_hWnd);
      DrawPicture(dc.Get(), picture, w, h);
    }
    if (a.fMotionImageRequest) {
      const size_t bytes = size_t{w} * h * 3;
      if (a.lp_MotionImage && bytes <= APP_DATA::kImageSlotBytes) {
        std::memcpy(a.lp_MotionImage, picture, bytes);
        a.wMotionImageWidth = w;
        a.wMotionImageHeight = h;
      }
      a.fMotionImageRequest = 0;
      if (a.MotionEditImageSem) ReleaseSemaphore(a.MotionEditImageSem, 1, nullptr);
    }
    if (a.fSnapshotRequest) {
      if (!SaveSnapshot(a.m_Settings.m_strSnapshotPath.c_str(), picture, w, h, 1))
        Post(WM_SHOWMESSAGEBOX, 4116, 0);
      a.fSnapshotRequest = 0;
    }
    const std::string alarm = ::AlarmChannelText(a.m_RTPHeaderParser.m_wAlarmData);
    bool changed;
    {
      std::lock_guard<std::mutex> lock(m_textLock);
      changed = alarm != m_strAlarmChannelText;
      m_strAlarmChannelText = alarm;
    }
    if (changed) Post(WM_MAINWND_OVERLAYCHANGED);
    UpdateStatistics(frame.fNoPicture != 0);
  }
  return 1;
}

void CPallumDlg::DrawPicture(HDC dc, const uint8_t* picture, uint16_t width, uint16_t height) {
  APP_DATA& a = *g_lpApp;
  if (FullScreen()) {
    const int32_t W = m_rcFullScreen.right - m_rcFullScreen.left;
    const int32_t H = m_rcFullScreen.bottom - m_rcFullScreen.top;
    if (!a.lp_ViewBuffer || W <= 0 || H <= 0) return;
    const int32_t stride = static_cast<int32_t>(DibStride(static_cast<uint32_t>(W)));
    ResizeImage8uC3(picture, ImgSize{width, height}, width * 3, ImgRect{0, 0, width, height},
                    a.lp_ViewBuffer, stride, ImgSize{W, H}, static_cast<double>(W) / width,
                    static_cast<double>(H) / height, kResizeNearest);
    const BITMAPINFO bmi = BottomUpDibHeader(W, H, 24);
    SetStretchBltMode(dc, BLACKONWHITE);
    StretchDIBits(dc, 0, 0, W, H, 0, 0, W, H, a.lp_ViewBuffer, &bmi, DIB_RGB_COLORS, SRCCOPY);
    return;
  }
  if (a.byPtzHotPointMode == 2) {
    // The window's thread arms the marker; each drawn frame takes one of its frames.
    std::atomic_ref<uint16_t> marks(a.wHotPointMarkFrames);
    uint16_t left = marks.load();
    while (left > 0 && !marks.compare_exchange_weak(left, static_cast<uint16_t>(left - 1))) {
    }
    if (left > 0) {
      DrawCrossMarker(const_cast<uint8_t*>(picture), width, height, 0xFF0000, 2,
                      std::atomic_ref<uint16_t>(a.wHotPointMarkX).load(),
                      std::atomic_ref<uint16_t>(a.wHotPointMarkY).load(), 0, 0);
      ++m_dwMarkedFrames;
    }
  }
  const LayoutRect& v = Layout().rcVideo;
  const DrawArea area = WindowedDrawArea(v.left, v.top, v.Width(), v.Height(), width, height);
  if (area.width <= 0 || area.height <= 0) return;
  // Bottom-up rows: the top area.height rows are scan lines height - area.height and up.
  DrawBgrPicture(dc, area.x, area.y, area.width, area.height, 0, height - area.height, picture,
                 width, height, m_DrawRows);
}

void CPallumDlg::UpdateStatistics(bool videoLoss) {
  APP_DATA& a = *g_lpApp;
  const uint32_t now = GetTickCount();
  const Statistics s =
      ComputeStatistics({now, std::atomic_ref<uint32_t>(a.dwRateTick).load(),
                         std::atomic_ref<uint32_t>(a.dwShownFrames).load(), a.dwRateFramesLast,
                         std::atomic_ref<uint32_t>(a.dwRateBytes).load()});
  if (!s.due) return;
  a.dwRateFramesLast = std::atomic_ref<uint32_t>(a.dwShownFrames).load();
  std::atomic_ref<uint32_t>(a.dwLastKbps).store(s.kbps);
  std::atomic_ref<uint32_t>(a.dwRateTick).store(now);
  std::atomic_ref<uint32_t>(a.dwRateBytes).store(0);
  if (IsRZKSeriesProduct(a.str_ProductID)) Post(WM_DEVICECLOCKCHANGED);
  char title[16];
  std::memcpy(title, a.m_RTPHeaderParser.m_RTPH_Struct.szTitle, sizeof title);
  {
    std::lock_guard<std::mutex> lock(m_textLock);
    m_strHUText = HuText(title);
  }
  SetStatusText(StatusLineOf(s, videoLoss));
}
