#include "mainwnd/pallum_dlg.h"

#include <cstdio>

#include "session/alarm_sound_control.h"
#include "app/app_data.h"
#include "app/login_store.h"
#include "mainwnd/main_window_standins.h"
#include "text/digit_text.h"
#include "text/path_text.h"
#include "session/login_thread.h"
#include "session/main_window_link.h"
#include "session/session_control.h"
#include "session/session_messages.h"
#include "session/session_resources.h"
#include "session/thread_stop.h"
#include "live/live_messages.h"
#include "platform/message_box.h"

namespace {
constexpr UINT_PTR kFrameCountTimer = 1;
constexpr DWORD kReloginStopMs = 30;
constexpr DWORD kFeedbackWaitMs = 5000;
constexpr DWORD kSessionStopWaitMs = 10000;

// byUserClass by user level: 30 -> 0, 20 -> 1, 0 -> 2, anything else 3.
uint8_t UserClassOfLevel(uint16_t level) {
  switch (level) {
    case 30:
      return 0;
    case 20:
      return 1;
    case 0:
      return 2;
    default:
      return 3;
  }
}
}  // namespace

CPallumDlg::CPallumDlg() : ost::Dialog(kTemplateId, nullptr) {
  MapMessage(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
    EndDialog(IDOK);
    return 0;
  });
  MapCommand(kConnectId, [this] { OnLogin(); });
  MapCommand(kRecordId, [this] { OnRecord(); });  // the manual recording
  MapMessage(WM_LOGINSTATUS, [this](WPARAM w, LPARAM l) { return OnShowStatus(w, l); });
  MapMessage(WM_LIFETIMEUP, [this](WPARAM, LPARAM) -> LRESULT {
    OnLifeTimeUp();
    return 0;
  });
  MapMessage(WM_MAINWND_STATUSTEXT, [this](WPARAM, LPARAM) -> LRESULT {
    SetStatusText(TakePendingStatusText());
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
  MapMessage(WM_MAINWND_APPLYLAYOUT, [this](WPARAM, LPARAM) -> LRESULT {
    ApplyLayout();
    UpdateToolButtons();
    Invalidate(true);
    return 0;
  });
  // lParam 0 starts the alarm sound, 2 stops it.
  MapMessage(WM_POSTALARMAUDIO, [](WPARAM, LPARAM l) -> LRESULT {
    if (l == 0) {
      if (!StartAlarmSound()) OstMessageBox("Load alarm audio file is failed");
    } else if (l == 2) {
      StopAlarmSound();
    }
    return 0;
  });
  // A click in the window stops a playing alarm sound.
  MapMessage(WM_LBUTTONDOWN, [](WPARAM, LPARAM) -> LRESULT {
    if (g_lpApp && g_lpApp->m_WaveFile.fPlaying) StopAlarmSound();
    return 0;
  });
  // The stand-in has no pan-tilt-zoom control button.
  MapMessage(WM_MAINWND_RESETPTZBUTTON, [](WPARAM, LPARAM) -> LRESULT { return 0; });
}

BOOL CPallumDlg::OnInitDialog() {
  m_dwThreadId = GetCurrentThreadId();
  APP_DATA& a = *g_lpApp;
  a.h_MainDialogHandle = m_hWnd;
  a.lp_MainDialog = this;
  a.m_StreamPipeline.SetWindow(this);
  a.byStartVideoMode = a.byVideoMode;
  a.byUserClass = UserClassOfLevel(a.w_UserLevel);
  SetStatusText("CONNECT!!");
  // The device information of this session, then the stream and the lifetime count start.
  FetchDeviceInformation();
  SetButtonState(kLayoutFlagConnect, 0);
  {
    SessionResourceLock lock;
    if (a.h_StartToGetJpegImageEvent) SetEvent(a.h_StartToGetJpegImageEvent);
    if (a.h_LifeTimeStartEvent) SetEvent(a.h_LifeTimeStartEvent);
  }
  SetTimer(kFrameCountTimer, 250);
  OnTimer(kFrameCountTimer);
  return ost::Dialog::OnInitDialog();
}

void CPallumDlg::OnTimer(UINT_PTR id) {
  if (id != kFrameCountTimer) return;
  const uint32_t drawn = m_dwDrawnFrames.load();
  if (drawn == m_dwShownCount) return;
  m_dwShownCount = drawn;
  char text[48];
  std::snprintf(text, sizeof text, "Frames: %u", drawn);
  SetDlgItemTextA(m_hWnd, kFrameCountId, text);
}

int CPallumDlg::SetStatusText(const std::string& text) {
  if (GetCurrentThreadId() != m_dwThreadId) {
    PostMainWindowStatusText(text);
    return 1;
  }
  SetDlgItemTextA(m_hWnd, kStatusId, text.c_str());
  return 1;
}

int CPallumDlg::DrawVideoFrame(const ShownFrame&) {
  if (!g_lpApp->fVideoConnected) return 0;
  ++m_dwDrawnFrames;
  return 1;
}

void CPallumDlg::ApplyLayout() {}

void CPallumDlg::UpdateToolButtons() {}

void CPallumDlg::SetButtonState(uint32_t layoutFlag, int state) {
  g_lpApp->m_ModelLayout.SetButtonStateByFlag(layoutFlag, state);
  // State 0: connected, the button disconnects; state 1: it connects.
  if (layoutFlag == kLayoutFlagConnect)
    SetDlgItemTextA(m_hWnd, kConnectId, state == 0 ? "DISCONNECT" : "CONNECT");
}

void CPallumDlg::ClearOverlayTexts(WPARAM which) {
  if (which & kOverlayHeaderInfo) m_strHUText.clear();
  if (which & kOverlayAlarmChannel) m_strAlarmChannelText.clear();
}

LRESULT CPallumDlg::OnShowStatus(WPARAM wParam, LPARAM lParam) {
  switch (lParam) {
    case kLoginStatusElapsed: {
      const int seconds = static_cast<int>(wParam);
      SetStatusText("ESCAPED TIME:  " + FormatTwoDigits(seconds / 60) + ":" +
                    FormatTwoDigits(seconds % 60));
      break;
    }
    case kLoginStatusStart:
      SetStatusText("Start login");
      break;
    case kLoginStatusBusy:
      SetStatusText("Server is too busy!! Try later !!");
      break;
    case kLoginStatusFailed:
      SetStatusText("Login process is failed,wait a moment !!");
      break;
    case kLoginStatusConnected:
      SetButtonState(kLayoutFlagConnect, 0);
      break;
    case kLoginStatusDisconnected:
      SetButtonState(kLayoutFlagConnect, 1);
      break;
    case kLoginStatusTooManyUsers:
      SetStatusText("System relogin too many user.Wait for 40 sec!!\nApplication will try again.");
      break;
    case kLoginStatusRepaint:
      ::InvalidateRect(GetDlgItem(kStatusId), nullptr, TRUE);
      break;
    default:
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
  SetButtonState(kLayoutFlagConnect, 1);
  SetStatusText("DISCONNECT!!");
  StopReloginThread(kReloginStopMs);
  if (a.StreamRunningFlag == 1) {
    if (a.h_NotifyGetJPEGImageThreadResetEvent) {
      SetEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
      WaitServingSentMessages(a.h_FeedBackForNotifyResetEvent, kFeedbackWaitMs);
    }
    RequestSessionStop(kSessionStopWaitMs);
  }
  a.SessionActiveFlag = 0;
  ClearOverlayTexts(kOverlayBoth);
}

// The record button: starts or stops the manual recording.
void CPallumDlg::OnRecord() {
  APP_DATA& a = *g_lpApp;
  if (!a.StreamRunningFlag) {
    OstMessageBox("You should connect the video server first");
  } else if (a.m_UserRecord.IsRecording()) {
    a.m_UserRecord.StopRecord();
    SetButtonState(kLayoutFlagRecord, 0);
  } else {
    EnsureFolderBackslash(a.m_Settings.m_strRecordPath);
    if (a.m_UserRecord.CreateRecordFile(a.m_Settings.m_strRecordPath))
      SetButtonState(kLayoutFlagRecord, 1);
    else
      OstMessageBox("Create record file is failed.Check your directory is correct or not");
  }
}

void CPallumDlg::OnLifeTimeUp() {
  EndDialog(IDOK);
}

bool CPallumDlg::DestroyWindow() {
  if (!m_fClosed && g_lpApp) {
    m_fClosed = true;
    KillTimer(kFrameCountTimer);
    g_lpApp->m_AlarmRecord.StopRecord();
    g_lpApp->m_UserRecord.StopRecord();
    g_lpApp->m_SchRecord.StopRecord();
    if (!ExitLoginResource() || !ExitProcessResource()) return false;
    g_lpApp->m_Settings.WriteSettingFile();
    g_lpApp->h_MainDialogHandle = nullptr;
    g_lpApp->lp_MainDialog = nullptr;
    g_lpApp->m_StreamPipeline.SetWindow(nullptr);
    Sleep(100);
  }
  return ost::Dialog::DestroyWindow();
}
