// The login exchange with the device: "/Login.cgi", then "/Getdeviceinfo.cgi" for the callers
// that ask for it. One run takes the session (address and account), what the program knows of
// the device and the caller's options, and gives a result record; the caller stores it.
#pragma once

#include <cstdint>
#include <string_view>

#include "net/control_device_list.h"
#include "net/device_info_reply.h"
#include "net/login_reply.h"

class DeviceSession;

// The result of the last login as the program keeps it (w_LoginResult).
enum LoginResultCode : uint16_t {
  kLoginSucceeded = 30,      // logged in: the main window opens
  kLoginFailed = 100,        // no session: the login window opens again
  kLoginTooManyUsers = 102,  // the device serves no further client (its status 202)
};

enum class DeviceInfoStep {
  kNone,
  // "Cookie", "RES", "QUA"; only the basic keys applied.
  kBasic,
  // First the channel clamp, the capability mask from the INF block and the frame-header choice;
  // "CH" and, for devices with the newer header, "NEWHR" added; every key applied.
  kFull,
};

struct LoginOptions {
  uint16_t timeoutSeconds = 15;     // send and receive, both requests
  uint32_t replyBufferSize = 1024;  // the reply and a terminating zero byte must fit
  bool tellsTooManyUsers = false;   // HTTP status 202 told apart from other refusals
  bool checksProductId = false;     // a Product-ID outside the accepted eight is refused
  bool takesMacBytes = false;       // MAC bytes 5 and 6 to m_wLastMac1 and m_wLastMac2
  // A login the device answers sets the user level to 30 until the device information says
  // otherwise.
  bool answeredLoginGivesLevel30 = false;
  DeviceInfoStep deviceInfo = DeviceInfoStep::kNone;
};

// The three callers.
inline constexpr LoginOptions kLoginWindowLogin{.timeoutSeconds = 15,
                                                .replyBufferSize = 256,
                                                .tellsTooManyUsers = true,
                                                .checksProductId = true,
                                                .takesMacBytes = true};
inline constexpr LoginOptions kLoginWorkerLogin{
    .timeoutSeconds = 15, .replyBufferSize = 1024, .deviceInfo = DeviceInfoStep::kBasic};
inline constexpr LoginOptions kReloginLogin{.timeoutSeconds = 20,
                                            .replyBufferSize = 1024,
                                            .tellsTooManyUsers = true,
                                            .takesMacBytes = true,
                                            .answeredLoginGivesLevel30 = true,
                                            .deviceInfo = DeviceInfoStep::kFull};

// What the program knows of the device before the exchange: keys the replies lack keep these
// values. The control list keeps its binding to the alarm-record settings.
struct KnownDevice {
  LoginReplyRecord identity;  // its cookie is not used
  DeviceInfoRecord info;
  C_ControlD controls;
  uint32_t capabilityMask = 0;
  // Parameters of the device-information request.
  int32_t resolution = 0;
  int32_t quality = 0;
  uint8_t channel = 0;
};

enum class LoginOutcome { kAccepted, kFailed, kTooManyUsers, kUnsupportedDevice };

struct LoginResult {
  LoginOutcome outcome = LoginOutcome::kFailed;
  // The device answered "/Login.cgi" with status 200 (with or without a usable session).
  bool loginAnswered = false;
  // The cookie (empty unless the reply gave a session) and the device's identity.
  LoginReplyRecord identity;
  bool deviceInfoApplied = false;  // a reply with content came and was applied
  DeviceInfoRecord info;
  C_ControlD controls;
  // Written by the full step's preparation (the others leave them as known).
  uint8_t channel = 0;
  uint32_t capabilityMask = 0;
  bool infBlockRead = false;
  uint8_t infBlock[44] = {};
  bool prepared = false;  // newFrameHeader is meaningful
  bool newFrameHeader = false;

  // The login alone as w_LoginResult keeps it.
  LoginResultCode Code() const;
  // Both steps the options asked for succeeded.
  bool Succeeded(const LoginOptions& options) const;
};

// Trace lines of the exchange ("login success", "login failed", "start to send get device info
// command", "Command success", "Command failed"); null: none.
using LoginTrace = void (*)(const char* line);

// Runs the exchange on the calling thread. A failed request, a reply without content and a reply
// without a usable Session-ID fail the login; status 202 is kTooManyUsers for the callers that
// tell it apart. The device information is asked for only after an accepted login, and not once
// the thread's request-cancel is set.
LoginResult RunLoginExchange(DeviceSession& session, const LoginOptions& options,
                             const KnownDevice& known, LoginTrace trace = nullptr);

// The device-information step alone on a session logged in with cookie (the result's outcome is
// kAccepted and its cookie that one).
LoginResult RunDeviceInfoExchange(DeviceSession& session, const LoginOptions& options,
                                  const KnownDevice& known, std::string_view cookie,
                                  LoginTrace trace = nullptr);
