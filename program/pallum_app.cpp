// winsock2.h must come before windows.h.
#include <winsock2.h>

#include "program/pallum_app.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/app_data.h"
#include "login/login_dialog.h"
#include "session/session_resources.h"
#include "platform/trace_log.h"
#include "app/win32_settings_environment.h"
#include "mainwnd/device_control_win32.h"
#include "mainwnd/pallum_dlg.h"
#include "mainwnd/playback_search_slot.h"
#include "net/device_session.h"
#include "program/program_objects.h"
#include "record/playback_search_dlg.h"
#include "record/record_app.h"
#include "settings/my_system_dialog.h"
#include "net/local_ip.h"
#include "platform/process_launch.h"

CPallumApp theApp;

namespace {
Win32SettingsEnvironment g_settingsEnvironment;
// What the application data refers to; made with it, freed just before it.
std::unique_ptr<ProgramObjects> g_programObjects;
}  // namespace

BOOL CPallumApp::InitInstance() {
  if (!StartUp()) return FALSE;
  if (!RunLoginLoop()) return FALSE;
  if (!InitProcessResource()) return FALSE;
  if (!InitLoginResource()) return FALSE;
  const uint16_t result = g_lpApp->w_LoginResult;
  DebugTrace("CPallumApp::InitInstance() : the login result is %d \n", result);
  if (LoginResultOpensMainWindow(result)) {
    CPallumDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
  }
  return FALSE;
}

bool CPallumApp::StartUp() {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return false;
  m_fWinSockStarted = true;
  SetRegistryKey("Video web server");
  InitLocalIPAddress();
  if (!CreateAppData()) return false;
  InstallRetrButtonNotifier(g_lpApp->m_ControlD);
  InstallSettingsSheet();
  BindRecordObjects(g_programObjects->m_Record);
  SetPlaybackSearchOpener([](HWND parent) {
    const APP_DATA& a = *g_lpApp;
    return RunPlaybackSearchDialog(
        parent, {&ProgramDeviceSession(), a.str_ProductID,
                 [] { return std::string(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie)); }});
  });
  g_lpApp->LanguageId = 1033;
  MeasureScreenDpi();
  if (!AllocateSystemBuffer()) return false;
  if (!InitialSemaphore()) return false;
  ::CSettingINI& settings = g_lpApp->m_Settings;
  settings.AttachEnvironment(&g_settingsEnvironment, &g_lpApp->byTurboRepeatStep);
  if (!settings.ReadSettingFile()) return false;  // the executable's folder is unknown
  TraceLogInit(300, settings.m_strExeDir);
  g_lpApp->m_DebugTrace.Open(settings.m_strExeDir);
  // Recordings a killed run left open become playable files before anything records again.
  RecoverRecordFolder(settings.m_strRecordPath);
  return true;
}

bool CPallumApp::RunLoginLoop() {
  ::CSettingINI& settings = g_lpApp->m_Settings;
  for (;;) {
    LoginDialog dlg(nullptr);
    dlg.m_strEditServer = settings.m_strServerName;
    dlg.m_strEditUser = settings.m_strUsername;
    char port[16];
    std::snprintf(port, sizeof port, "%d", settings.m_wWebPort);
    dlg.m_strEditPort = port;
    dlg.m_strEditBitRate = "1200";
    if (dlg.DoModal() != 1) return false;
    if (g_lpApp->w_LoginResult != kLoginFailed) return true;
  }
}

int CPallumApp::ExitInstance() {
  if (g_lpApp) {
    if (!ExitLoginResource()) return 0;
    if (!ExitProcessResource()) return 0;
    if (!FreeSystemBuffer()) return 0;
    if (!FreeSemaphore()) return 0;
    if (g_lpApp->LanguageDll) {
      FreeLibrary(g_lpApp->LanguageDll);
      g_lpApp->LanguageDll = nullptr;
    }
    TraceLogDone();
    g_programObjects.reset();
    delete g_lpApp;
  }
  if (m_fWinSockStarted) WSACleanup();
  return ost::App::ExitInstance();
}

int CPallumApp::InitLocalIPAddress() {
  char address[256];
  GetLocalIpString(address, sizeof address);
  g_strLocalIPAddress = address;
  return 1;
}

int CPallumApp::MeasureScreenDpi() {
  HDC ic = CreateICA("DISPLAY", nullptr, nullptr, nullptr);
  if (!ic) return 1;
  g_lpApp->ScreenDpiX = static_cast<uint16_t>(GetDeviceCaps(ic, LOGPIXELSX));
  g_lpApp->ScreenDpiY = static_cast<uint16_t>(GetDeviceCaps(ic, LOGPIXELSY));
  g_lpApp->ScreenScale = static_cast<float>(g_lpApp->ScreenDpiX / 96.0);
  DeleteDC(ic);
  return 1;
}

int CPallumApp::CreateAppData() {
  g_programObjects = std::make_unique<ProgramObjects>();
  return ::CreateAppData(g_programObjects->Parts());
}
int CPallumApp::AllocateSystemBuffer() {
  return ::AllocateSystemBuffer();
}
int CPallumApp::InitialSemaphore() {
  return ::InitialSemaphore();
}
int CPallumApp::FreeSystemBuffer() {
  return ::FreeSystemBuffer();
}
int CPallumApp::FreeSemaphore() {
  return ::FreeSemaphore();
}
int CPallumApp::InitProcessResource() {
  return ::InitProcessResource();
}
int CPallumApp::InitLoginResource() {
  return ::InitLoginResource();
}
int CPallumApp::ExitProcessResource() {
  return ::ExitProcessResource();
}
int CPallumApp::ExitLoginResource() {
  return ::ExitLoginResource();
}

int CPallumApp::LoadLanguageResource() {
  struct LanguageLibrary {
    uint16_t id;
    const char* library;
  };
  static const LanguageLibrary kLibraries[] = {
      {1028, "KelvraROC.dll"}, {1031, "KelvraGER.dll"}, {2055, "KelvraGER.dll"},
      {3079, "KelvraGER.dll"}, {4103, "KelvraGER.dll"}, {5127, "KelvraGER.dll"},
      {1032, "KelvraGRK.dll"}, {1036, "KelvraFRN.dll"}, {2060, "KelvraFRN.dll"},
      {3084, "KelvraFRN.dll"}, {4108, "KelvraFRN.dll"}, {5132, "KelvraFRN.dll"},
      {1040, "KelvraITA.dll"}, {2064, "KelvraITA.dll"}, {1041, "KelvraJPN.dll"},
      {1042, "KelvraKOR.dll"},
  };
  g_lpApp->LanguageId = GetSystemDefaultLangID();
  g_lpApp->LanguageId = 1033;
  for (const auto& l : kLibraries) {
    if (l.id != g_lpApp->LanguageId) continue;
    g_lpApp->LanguageDll = LoadLibraryA(l.library);
    if (!g_lpApp->LanguageDll) g_lpApp->LanguageId = 1033;
    return 1;
  }
  return 1;
}

int CPallumApp::ClearArpCache() {
  return ost::LaunchProcess("", "arp -d", CREATE_NO_WINDOW) ? 1 : 0;
}
