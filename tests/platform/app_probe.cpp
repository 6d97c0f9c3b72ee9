// A program made of an application object only, for the entry-point test: its exit code is
// 100 + the length of its arguments, plus 1000 when the tooltip class exists in InitInstance.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "platform/app.h"

namespace {

class ProbeApp : public ost::App {
 public:
  BOOL InitInstance() override {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    m_controlsReady = ::GetClassInfoExA(nullptr, TOOLTIPS_CLASSA, &info) != FALSE;
    return FALSE;
  }
  int ExitInstance() override {
    return (m_controlsReady ? 1000 : 0) + 100 + static_cast<int>(std::strlen(m_lpCmdLine));
  }

 private:
  bool m_controlsReady = false;
};

ProbeApp theProbeApp;

}  // namespace
