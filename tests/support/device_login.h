// Logging the program's device session in as one of the program's callers does, for tests that
// stand in for the program (they give g_lpApp and g_szCookie).
#pragma once

#include <cstdint>
#include <string>

#include "net/login_exchange.h"

namespace testsupport {

// The program's session pointed at 127.0.0.1:port with the account (the simulator's by default),
// no host name kept.
void PointProgramSessionAt(uint16_t port, const std::string& user = "revuv",
                           const std::string& password = "revuv");

// Runs the exchange on the program's session with the caller's options and stores the result in
// the application data as the program does.
LoginResult LogInProgramSession(const LoginOptions& options);

// The login step alone with the caller's options (its device-information step left out), stored.
LoginOutcome LogInOnly(const LoginOptions& options);
// The device-information step alone with the caller's options and the session cookie, stored.
// 1 when a reply with content came and was applied, else 0.
int AskDeviceInformation(const LoginOptions& options);

}  // namespace testsupport
