// The application object and the program's entry point.  The program defines one global object
// of a class derived from App; its constructor registers it.  WinMain (in app.cpp) initialises
// the common controls, runs InitInstance, runs the message loop only when InitInstance returned
// true, then always runs ExitInstance and ends the process with its result.
#ifndef OSTROVA_PLATFORM_APP_H
#define OSTROVA_PLATFORM_APP_H

#include <windows.h>

#include <string>

namespace ost {

class Wnd;

class App {
 public:
  App();
  virtual ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // The registered application object, or null.
  static App* Get();
  // The caption of the program's message boxes: the executable's name without its extension.
  static std::string DefaultTitle();

  virtual BOOL InitInstance();
  // The message loop; returns the WM_QUIT code.
  virtual int Run();
  // Returns the process exit code: the code of the message loop, 0 when none ran.
  virtual int ExitInstance();

  // Records the company name under which settings would be kept; nothing is stored.
  void SetRegistryKey(const char* company) { m_registryKey = company != nullptr ? company : ""; }
  const std::string& RegistryKey() const { return m_registryKey; }

  HINSTANCE m_hInstance = nullptr;
  // The command line after the program name (see SkipProgramName).
  const char* m_lpCmdLine = "";
  // The application's main window, set by the program.
  Wnd* m_pMainWnd = nullptr;

 protected:
  int m_exitCode = 0;

 private:
  std::string m_registryKey;
};

// Loads the common-control classes (tooltips, progress bars, ...); safe to call repeatedly.
void EnsureCommonControls();

// The part of a command line after the program name (quoted or not) and the blanks after it.
const char* SkipProgramName(const char* commandLine);

// The framework's start-up and shut-down sequence, run by WinMain with the registered App.
int RunApp(App& app, HINSTANCE instance, const char* commandLine);

}  // namespace ost

#endif  // OSTROVA_PLATFORM_APP_H
