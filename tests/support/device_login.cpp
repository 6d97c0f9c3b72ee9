#include "tests/support/device_login.h"

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "app/app_data.h"
#include "app/login_store.h"
#include "net/device_session.h"

namespace testsupport {

void PointProgramSessionAt(uint16_t port, const std::string& user, const std::string& password) {
  ProgramDeviceSession() = DeviceSession("127.0.0.1", port, user, password);
}

LoginResult LogInProgramSession(const LoginOptions& options) {
  const LoginResult result =
      RunLoginExchange(ProgramDeviceSession(), options, KnownDeviceOf(*g_lpApp));
  StoreLoginResult(result, *g_lpApp);
  return result;
}

LoginOutcome LogInOnly(const LoginOptions& options) {
  LoginOptions loginOnly = options;
  loginOnly.deviceInfo = DeviceInfoStep::kNone;
  return LogInProgramSession(loginOnly).outcome;
}

int AskDeviceInformation(const LoginOptions& options) {
  const LoginResult result =
      RunDeviceInfoExchange(ProgramDeviceSession(), options, KnownDeviceOf(*g_lpApp), g_szCookie);
  StoreLoginResult(result, *g_lpApp);
  return result.deviceInfoApplied ? 1 : 0;
}

}  // namespace testsupport
