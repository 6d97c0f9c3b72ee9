#include "net/login_exchange.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_session.h"
#include "net/request_cancel.h"
#include "net/sys_cfg_blocks.h"
#include "net/sys_cfg_transfer.h"
#include "net/voroz_send_command.h"

namespace {

bool Cancelled() {
  const RequestCancel* cancel = ThreadRequestCancel();
  return cancel != nullptr && cancel->IsSet();
}

void Trace(LoginTrace trace, const char* line) {
  if (trace) trace(line);
}

uint32_t LittleEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// One request of the exchange into a zero-filled text buffer: the send result and the length.
struct TextReply {
  int sent = 0;
  uint32_t length = 0;
  std::vector<char> text;
};

TextReply SendForText(DeviceSession& session, const CGIParamList& list, const LoginOptions& options,
                      CgiReplyStatus* status) {
  TextReply reply;
  reply.text.assign(options.replyBufferSize, 0);
  CgiRequest request = CgiRequest::Of(list);
  request.reply = reply.text.data();
  request.replyCapacity = options.replyBufferSize - 1;
  request.options = {.sendTimeoutSeconds = options.timeoutSeconds,
                     .receiveTimeoutSeconds = options.timeoutSeconds};
  request.status = status;
  request.replyLength = &reply.length;
  reply.sent = VorozSendCommand(request, session);
  return reply;
}

LoginOutcome Login(DeviceSession& session, const LoginOptions& options, LoginTrace trace,
                   LoginResult& result) {
  CGIParamList list(kCgiLogin);
  BuildLoginRequest(list, session.User(), session.Password());
  CgiReplyStatus status{0, 0};
  const TextReply reply =
      SendForText(session, list, options, options.tellsTooManyUsers ? &status : nullptr);
  if (Cancelled()) return LoginOutcome::kFailed;
  result.loginAnswered = reply.sent != 0;
  if (!reply.sent) {
    Trace(trace, "login failed");
    return status.dwStatus == 202 ? LoginOutcome::kTooManyUsers : LoginOutcome::kFailed;
  }
  Trace(trace, "login success");
  if (options.answeredLoginGivesLevel30) result.info.w_UserLevel = 30;
  if (reply.length == 0) return LoginOutcome::kFailed;
  switch (ApplyLoginReply(KeyValueReply(reply.text.data()),
                          {options.checksProductId, options.takesMacBytes}, result.identity)) {
    case LoginReplyResult::kAccepted:
      return LoginOutcome::kAccepted;
    case LoginReplyResult::kUnsupportedDevice:
      return LoginOutcome::kUnsupportedDevice;
    case LoginReplyResult::kNoSession:
      break;
  }
  return LoginOutcome::kFailed;
}

// The full step's preparation: the channel limited to the device, the capability mask from the
// INF block when the device has one, and the frame-header layout.
void Prepare(DeviceSession& session, std::string_view cookie, LoginResult& result) {
  const std::string& productId = result.identity.str_ProductID;
  const std::string& firmware = result.identity.str_FWVersion;
  result.channel = ClampSelectedChannel(productId, result.channel);
  if (FetchesCapabilityMask(productId, firmware) &&
      GetSysCfgBlock(session, cookie, kSysCfgInf, result.infBlock, sizeof result.infBlock)) {
    result.infBlockRead = true;
    result.capabilityMask = LittleEndian32(result.infBlock + 20);
  }
  result.prepared = true;
  result.newFrameHeader = UsesNewFrameHeader(productId, firmware);
}

bool DeviceInfo(DeviceSession& session, const LoginOptions& options, const KnownDevice& known,
                LoginTrace trace, LoginResult& result) {
  const bool full = options.deviceInfo == DeviceInfoStep::kFull;
  const std::string_view cookie(result.identity.szCookie);
  DeviceInfoRequestParams params;
  params.cookie = cookie;
  params.resolution = known.resolution;
  params.quality = known.quality;
  if (full) {
    Prepare(session, cookie, result);
    if (Cancelled()) return false;
    params.newFrameHeader = result.newFrameHeader;
    params.channel = result.channel;
  }
  CGIParamList list(kCgiGetDeviceInfo);
  BuildDeviceInfoRequest(list, params);
  Trace(trace, "start to send get device info command");
  const TextReply reply = SendForText(session, list, options, nullptr);
  if (Cancelled()) return false;
  Trace(trace, reply.sent ? "Command success" : "Command failed");
  if (!reply.sent || reply.length == 0) return false;
  DeviceInfoOptions apply;
  apply.full = full;
  apply.retrAllowed = RetrItemAllowed(result.identity.str_ProductID, result.identity.str_FWVersion,
                                      result.capabilityMask);
  ApplyDeviceInfoReply(KeyValueReply(reply.text.data()), apply, result.info, result.controls);
  return true;
}
}  // namespace

LoginResultCode LoginResult::Code() const {
  if (outcome == LoginOutcome::kAccepted) return kLoginSucceeded;
  if (outcome == LoginOutcome::kTooManyUsers) return kLoginTooManyUsers;
  return kLoginFailed;
}

bool LoginResult::Succeeded(const LoginOptions& options) const {
  return outcome == LoginOutcome::kAccepted &&
         (options.deviceInfo == DeviceInfoStep::kNone || deviceInfoApplied);
}

namespace {
LoginResult ResultFrom(const KnownDevice& known) {
  LoginResult result;
  result.identity = known.identity;
  std::memset(result.identity.szCookie, 0, sizeof result.identity.szCookie);
  result.info = known.info;
  result.controls = known.controls;
  result.channel = known.channel;
  result.capabilityMask = known.capabilityMask;
  return result;
}
}  // namespace

LoginResult RunLoginExchange(DeviceSession& session, const LoginOptions& options,
                             const KnownDevice& known, LoginTrace trace) {
  LoginResult result = ResultFrom(known);
  result.outcome = Login(session, options, trace, result);
  if (result.outcome == LoginOutcome::kAccepted && options.deviceInfo != DeviceInfoStep::kNone &&
      !Cancelled())
    result.deviceInfoApplied = DeviceInfo(session, options, known, trace, result);
  return result;
}

LoginResult RunDeviceInfoExchange(DeviceSession& session, const LoginOptions& options,
                                  const KnownDevice& known, std::string_view cookie,
                                  LoginTrace trace) {
  LoginResult result = ResultFrom(known);
  result.outcome = LoginOutcome::kAccepted;
  std::memcpy(result.identity.szCookie, cookie.data(),
              std::min(cookie.size(), sizeof result.identity.szCookie - 1));
  if (options.deviceInfo != DeviceInfoStep::kNone && !Cancelled())
    result.deviceInfoApplied = DeviceInfo(session, options, known, trace, result);
  return result;
}
