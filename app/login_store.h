// Where a login exchange's result goes in the program: the application data, the session
// cookie, the settings and the program's device session.
#pragma once

#include "net/login_exchange.h"

struct APP_DATA;
class CSettingINI;
class DeviceSession;

// What the program knows of the device, from the application data.
KnownDevice KnownDeviceOf(const APP_DATA& a);

// Stores the cookie, the device's identity and the device information of a result (including
// the full step's channel, capability mask, INF block and frame-header layout).
void StoreLoginResult(const LoginResult& result, APP_DATA& a);

enum class SessionToSettings { kAddress, kAddressAndAccount };

// Stores the result; after a successful login (both steps the options asked for) the session's
// address, and with kAddressAndAccount its account, become the program session's and the
// settings'. True after a successful login.
bool StoreLogin(const LoginResult& result, const LoginOptions& options,
                const DeviceSession& session, SessionToSettings what, APP_DATA& a);

// Keeps the settings' address in step with the program's session when a request takes a pending
// address over. Installed once at start-up.
void FollowProgramSessionInSettings();

// The main window's start: the full device-information step on the program's session with the
// session cookie, stored. 1 when a reply with content came and was applied, else 0.
int FetchDeviceInformation();
