// The application object: runs the whole life of the program from InitInstance (start-up, the
// login window, the session, the main window) and frees everything in ExitInstance.
#pragma once

#include <string>

#include "platform/app.h"

class CPallumApp : public ost::App {
 public:
  CPallumApp() = default;

  BOOL InitInstance() override;
  int ExitInstance() override;

  int InitLocalIPAddress();
  int MeasureScreenDpi();
  int CreateAppData();
  int AllocateSystemBuffer();
  int InitialSemaphore();
  int FreeSystemBuffer();
  int FreeSemaphore();
  int InitProcessResource();
  int InitLoginResource();
  int ExitProcessResource();
  int ExitLoginResource();

  // Carried; nothing calls them.
  int LoadLanguageResource();
  int ClearArpCache();
  int LoginFromCommandLine();

 private:
  // Steps 1 to 13 of start-up; false when start-up ends.
  bool StartUp();
  // Step 14: runs the login window until the result is not 100; false when it was cancelled.
  bool RunLoginLoop();

  bool m_fWinSockStarted = false;
};

extern CPallumApp theApp;
