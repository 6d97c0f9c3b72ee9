#include "net/login_exchange.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h
#include "app/app_data.h"
#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_info_reply.h"
#include "net/device_session.h"
#include "net/sys_cfg_blocks.h"
#include "net/sys_cfg_transfer.h"
#include "net/voroz_send_command.h"

namespace {
constexpr LoginCallerOptions kLoginWindowOptions{15, 256, true, true, true, false, false, false};
constexpr LoginCallerOptions kLoginWorkerOptions{15, 1024, false, false, false, true, false, false};
constexpr LoginCallerOptions kReloginOptions{20, 1024, true, false, true, true, true, true};

// Sends a request and gives its body as text: 1 with content, 0 otherwise.
int SendForText(uint8_t command, const CGIParamList& request, const LoginCallerOptions& options,
                CgiReplyStatus* status, std::vector<char>& text) {
  text.assign(options.dwReplyBufferSize, 0);
  uint32_t length = 0;
  const int sent =
      VorozSendCommand(command, request.GetBuffer(), request.GetLength(), nullptr, 0, status,
                       sizeof(CgiReplyStatus), text.data(), options.dwReplyBufferSize - 1, &length,
                       options.wTimeoutSeconds, options.wTimeoutSeconds, 0);
  return sent && length > 0 ? 1 : 0;
}

std::string CookieCopy() {
  std::lock_guard<std::mutex> lock(SessionMutex());
  return std::string(g_szCookie, strnlen(g_szCookie, sizeof g_szCookie));
}

uint32_t LittleEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool PrepareDeviceInfo() {
  APP_DATA& a = *g_lpApp;
  a.m_Settings.m_bySelectedChannel =
      ClampSelectedChannel(a.str_ProductID, a.m_Settings.m_bySelectedChannel);
  if (FetchesCapabilityMask(a.str_ProductID, a.str_FWVersion) &&
      GetSysCfgItem(kSysCfgInf, a.InfBlock, SysCfgBlockSizes[kSysCfgInf])) {
    std::lock_guard<std::mutex> lock(SysCfgBlockMutex());
    a.dwDeviceCapabilityMask = LittleEndian32(a.InfBlock + 20);
  }
  const bool newHeader = UsesNewFrameHeader(a.str_ProductID, a.str_FWVersion);
  a.m_RTPHeaderParser.m_fNewHeader = newHeader ? 1 : 0;
  return newHeader;
}

const LoginCallerOptions& OptionsOfLoginCaller(LoginCaller caller) {
  switch (caller) {
    case LoginCaller::kLoginWindow:
      return kLoginWindowOptions;
    case LoginCaller::kLoginWorker:
      return kLoginWorkerOptions;
    case LoginCaller::kRelogin:
      break;
  }
  return kReloginOptions;
}

LoginReplyResult ApplyLoginReply(const char* replyText, bool checkProductId, bool takeMacBytes) {
  APP_DATA& a = *g_lpApp;
  const KeyValueReply reply(replyText ? replyText : "");
  std::lock_guard<std::mutex> lock(SessionMutex());
  LoginReplyRecord record;
  std::memcpy(record.szCookie, g_szCookie, sizeof record.szCookie);
  record.szCookie[sizeof record.szCookie - 1] = 0;
  record.str_FWVersion = a.str_FWVersion;
  record.str_ProductID = a.str_ProductID;
  std::memcpy(record.str_MACAddress, a.str_MACAddress, sizeof record.str_MACAddress);
  record.str_HostName = a.str_HostName;
  record.m_wLastMac1 = a.m_Settings.m_wLastMac1;
  record.m_wLastMac2 = a.m_Settings.m_wLastMac2;

  const LoginReplyResult result = ApplyLoginReply(reply, {checkProductId, takeMacBytes}, record);

  std::memcpy(g_szCookie, record.szCookie, sizeof record.szCookie);
  a.str_FWVersion = std::move(record.str_FWVersion);
  a.str_ProductID = std::move(record.str_ProductID);
  std::memcpy(a.str_MACAddress, record.str_MACAddress, sizeof a.str_MACAddress);
  a.str_HostName = std::move(record.str_HostName);
  a.m_Settings.m_wLastMac1 = record.m_wLastMac1;
  a.m_Settings.m_wLastMac2 = record.m_wLastMac2;
  return result;
}

void ApplyDeviceInfoReply(const char* replyText, bool full) {
  APP_DATA& a = *g_lpApp;
  const KeyValueReply reply(replyText ? replyText : "");
  DeviceInfoRecord record;
  record.dwLifeTimeMinutes = a.dwLifeTimeMinutes;
  record.byMultiChannel = a.byMultiChannel;
  record.byVideoMode = a.byVideoMode;
  record.w_UserLevel = a.w_UserLevel;
  record.str_BootVersion = a.str_BootVersion;
  record.str_2041Version = a.str_2041Version;
  record.str_FPGAVersion = a.str_FPGAVersion;

  DeviceInfoOptions options;
  options.full = full;
  options.retrAllowed = RetrItemAllowed(a.str_ProductID, a.str_FWVersion, a.dwDeviceCapabilityMask);
  ApplyDeviceInfoReply(reply, options, record, a.m_ControlD);

  a.dwLifeTimeMinutes = record.dwLifeTimeMinutes;
  a.byMultiChannel = record.byMultiChannel;
  a.byVideoMode = record.byVideoMode;
  a.w_UserLevel = record.w_UserLevel;
  a.str_BootVersion = std::move(record.str_BootVersion);
  a.str_2041Version = std::move(record.str_2041Version);
  a.str_FPGAVersion = std::move(record.str_FPGAVersion);
}

LoginOutcome SendLoginRequest(LoginCaller caller, const std::string& user,
                              const std::string& password) {
  const LoginCallerOptions& options = OptionsOfLoginCaller(caller);
  CGIParamList request(kCgiLogin);
  BuildLoginRequest(request, user, password);
  {
    std::lock_guard<std::mutex> lock(SessionMutex());
    std::memset(g_szCookie, 0, sizeof g_szCookie);
  }
  CgiReplyStatus status{0, 0};
  std::vector<char> text;
  if (!SendForText(kCgiLogin, request, options, options.tellsTooManyUsers ? &status : nullptr,
                   text))
    return status.dwStatus == 202 ? LoginOutcome::kTooManyUsers : LoginOutcome::kFailed;
  switch (ApplyLoginReply(text.data(), options.checksProductId, options.takesMacBytes)) {
    case LoginReplyResult::kAccepted:
      return LoginOutcome::kAccepted;
    case LoginReplyResult::kUnsupportedDevice:
      return LoginOutcome::kUnsupportedDevice;
    case LoginReplyResult::kNoSession:
      break;
  }
  return LoginOutcome::kFailed;
}

int SendDeviceInfoRequest(LoginCaller caller) {
  const LoginCallerOptions& options = OptionsOfLoginCaller(caller);
  if (!options.requestsDeviceInfo) return 0;
  APP_DATA& a = *g_lpApp;
  DeviceInfoRequestParams params;
  const std::string cookie = CookieCopy();
  params.cookie = cookie;
  params.resolution = a.m_Settings.m_iImageResolution;
  params.quality = a.m_Settings.m_iVideoQuality;
  if (options.asksChannelAndHeader) {
    params.newFrameHeader = PrepareDeviceInfo();
    params.channel = a.m_Settings.m_bySelectedChannel;
  }
  CGIParamList request(kCgiGetDeviceInfo);
  BuildDeviceInfoRequest(request, params);
  std::vector<char> text;
  if (!SendForText(kCgiGetDeviceInfo, request, options, nullptr, text)) return 0;
  ApplyDeviceInfoReply(text.data(), options.appliesFullDeviceInfo);
  return 1;
}
