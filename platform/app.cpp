#include "platform/app.h"

#include <commctrl.h>

#include <mutex>

#include "platform/message_loop.h"

namespace ost {
namespace {

App* g_app = nullptr;

}  // namespace

App::App() {
  g_app = this;
}

App::~App() {
  if (g_app == this) g_app = nullptr;
}

App* App::Get() {
  return g_app;
}

std::string App::DefaultTitle() {
  char path[MAX_PATH] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

BOOL App::InitInstance() {
  return TRUE;
}

int App::Run() {
  MSG msg;
  BOOL got;
  while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) > 0) ProcessMessage(msg);
  m_exitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
  return m_exitCode;
}

int App::ExitInstance() {
  return m_exitCode;
}

void EnsureCommonControls() {
  static std::once_flag once;
  std::call_once(once, [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
  });
}

const char* SkipProgramName(const char* commandLine) {
  if (commandLine == nullptr) return "";
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

int RunApp(App& app, HINSTANCE instance, const char* commandLine) {
  app.m_hInstance = instance;
  app.m_lpCmdLine = commandLine != nullptr ? commandLine : "";
  EnsureCommonControls();
  if (app.InitInstance()) app.Run();
  return app.ExitInstance();
}

}  // namespace ost

// The program's entry point; narrow texts throughout.  It lives beside App so that any program
// with an application object links it in.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ost::App* app = ost::App::Get();
  if (app == nullptr) return -1;
  return ost::RunApp(*app, instance, ost::SkipProgramName(::GetCommandLineA()));
}
