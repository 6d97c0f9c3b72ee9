#include "tests/support/app_data_setup.h"

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <cstring>

#include "app/app_data.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "program/program_objects.h"

namespace testsupport {

namespace {
ProgramObjects* g_objects = nullptr;
}  // namespace

bool StartNetworkOnce() {
  static const bool started = [] {
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return false;
    char local[16] = {};
    GetLocalIpString(local, sizeof local);
    g_strLocalIPAddress = local;
    return true;
  }();
  return started;
}

void MakeProgramAppData() {
  FreeProgramAppData();
  g_objects = new ProgramObjects();
  g_lpApp = new APP_DATA(g_objects->Parts());
  std::memset(g_szCookie, 0, sizeof g_szCookie);
  g_fPendingWebPort = 0;
  g_wPendingWebPort = 0;
  g_fPendingServerName = 0;
  g_strPendingServerName.clear();
  ProgramDeviceSession() = DeviceSession();
}

void FreeProgramAppData() {
  delete g_objects;
  g_objects = nullptr;
  delete g_lpApp;
  g_lpApp = nullptr;
}

ProgramObjects& TestProgramObjects() {
  return *g_objects;
}

}  // namespace testsupport
