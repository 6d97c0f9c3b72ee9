// The login exchange with the device as its three callers run it: the login window's thread,
// the login worker of the connect-progress dialog, and the login and relogin thread.
#pragma once

#include <cstdint>
#include <string>

#include "net/login_reply.h"

enum class LoginCaller { kLoginWindow, kLoginWorker, kRelogin };

struct LoginCallerOptions {
  uint16_t wTimeoutSeconds;    // send and receive, both requests
  uint32_t dwReplyBufferSize;  // the reply and a terminating zero byte must fit
  bool tellsTooManyUsers;      // passes a status record, so HTTP status 202 is told apart
  bool checksProductId;        // refuses a Product-ID outside the accepted eight
  bool takesMacBytes;          // stores MAC bytes 5 and 6 in the settings
  bool requestsDeviceInfo;     // sends "/Getdeviceinfo.cgi" after the login
  bool asksChannelAndHeader;   // adds "CH" and, for devices with the newer header, "NEWHR"
  bool appliesFullDeviceInfo;  // every device-information key, not only the basic ones
};

const LoginCallerOptions& OptionsOfLoginCaller(LoginCaller caller);

// The login reply applied to the application data, the session cookie and the settings.
LoginReplyResult ApplyLoginReply(const char* replyText, bool checkProductId, bool takeMacBytes);
// The device-information reply applied to the application data and its control-device list.
void ApplyDeviceInfoReply(const char* replyText, bool full);

enum class LoginOutcome { kAccepted, kFailed, kTooManyUsers, kUnsupportedDevice };

// Clears the session cookie, sends "/Login.cgi" with user and password and applies the reply with
// the caller's options. A failed request, a reply without content and a reply without a usable
// Session-ID are failures; status 202 is kTooManyUsers for the callers that tell it apart.
LoginOutcome SendLoginRequest(LoginCaller caller, const std::string& user,
                              const std::string& password);

// Before a full device-information request: clamps the selected channel, reads the capability
// mask from the INF block when the device has one and chooses the frame-header layout. Returns
// whether to ask with NEWHR.
bool PrepareDeviceInfo();

// The device-information step of the worker and the relogin thread. For the relogin thread it
// first clamps the selected channel, reads the capability mask from the INF block when the
// device has one, and decides the frame-header layout. 1 when a reply with content came and was
// applied, else 0.
int SendDeviceInfoRequest(LoginCaller caller);
