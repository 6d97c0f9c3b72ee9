// winsock2.h must come before windows.h.
#include <winsock2.h>

#include "program/pallum_app.h"

#include <cstdio>

#include "app/app_data.h"
#include "login/login_dialog.h"
#include "session/session_resources.h"
#include "platform/trace_log.h"
#include "app/win32_settings_environment.h"
#include "mainwnd/pallum_dlg.h"
#include "net/local_ip.h"

CPallumApp theApp;

namespace {
Win32SettingsEnvironment g_settingsEnvironment;
}  // namespace

BOOL CPallumApp::InitInstance() {
  if (!StartUp()) return FALSE;
  if (!RunLoginLoop()) return FALSE;
  if (!InitProcessResource()) return FALSE;
  if (!InitLoginResource()) return FALSE;
  const uint16_t result = g_lpApp->w_LoginResult;
  DebugTrace("CPallumApp::InitInstance() : the login result is %d \n", result);
  if (result == 30 || result == 20 || result == 10 || result == 0) {
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
  g_lpApp->LanguageId = 1033;
  MeasureScreenDpi();
  if (!AllocateSystemBuffer()) return false;
  if (!InitialSemaphore()) return false;
  ::CSettingINI& settings = g_lpApp->CSettingINI;
  settings.AttachEnvironment(&g_settingsEnvironment, &g_lpApp->byTurboRepeatStep);
  if (!settings.ReadSettingFile()) return false;  // the executable's folder is unknown
  TraceLogInit(300, settings.m_strExeDir);
  g_lpApp->m_DebugTrace.Open(settings.m_strExeDir);
  return true;
}

bool CPallumApp::RunLoginLoop() {
  ::CSettingINI& settings = g_lpApp->CSettingINI;
  for (;;) {
    LoginDialog dlg(nullptr);
    dlg.m_strEditServer = settings.m_strServerName;
    dlg.m_strEditUser = settings.m_strUsername;
    char port[16];
    std::snprintf(port, sizeof port, "%d", settings.m_wWebPort);
    dlg.m_strEditPort = port;
    dlg.m_strEditBitRate = "1200";
    if (dlg.DoModal() != 1) return false;
    if (g_lpApp->w_LoginResult != 100) return true;
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

int CPallumApp::CreateAppData() { return ::CreateAppData(); }
int CPallumApp::AllocateSystemBuffer() { return ::AllocateSystemBuffer(); }
int CPallumApp::InitialSemaphore() { return ::InitialSemaphore(); }
int CPallumApp::FreeSystemBuffer() { return ::FreeSystemBuffer(); }
int CPallumApp::FreeSemaphore() { return ::FreeSemaphore(); }
int CPallumApp::InitProcessResource() { return ::InitProcessResource(); }
int CPallumApp::InitLoginResource() { return ::InitLoginResource(); }
int CPallumApp::ExitProcessResource() { return ::ExitProcessResource(); }
int CPallumApp::ExitLoginResource() { return ::ExitLoginResource(); }

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
  char command[] = "arp -d";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &si, &pi))
    return 0;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return 1;
}
