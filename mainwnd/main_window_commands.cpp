#include "mainwnd/main_window_commands.h"

#include "net/cgi_command_table.h"
#include "net/device_family.h"
#include "net/key_value_reply.h"
#include "net/sys_cfg_blocks.h"

namespace {

// Each value starts one character (the "=") after its key.
constexpr size_t kValueSkip = 1;

CGIParamList ValueRequest(uint8_t command, std::string_view name, int32_t value,
                          std::string_view cookie) {
  CGIParamList request(command);
  if (!cookie.empty()) request.AddParam("Cookie", cookie);
  request.AddParamInt(name, value);
  return request;
}

}  // namespace

std::optional<int32_t> ToggledResolution(int32_t current) {
  if (current == 0) return 1;
  if (current == 1) return 0;
  return std::nullopt;
}

int32_t NextQuality(int32_t current) {
  return current == 0 || current == 1 ? current + 1 : 0;
}

CGIParamList ResolutionRequest(int32_t value, std::string_view cookie) {
  return ValueRequest(kCgiSetResolution, "RES", value, cookie);
}

CGIParamList QualityRequest(int32_t value, std::string_view cookie) {
  return ValueRequest(kCgiSetQuality, "QUA", value, cookie);
}

CGIParamList GetColorRequest(std::string_view cookie) {
  CGIParamList request(kCgiGetColor);
  if (!cookie.empty()) request.AddParam("Cookie", cookie);
  return request;
}

ColorValues ColorsOfReply(std::string_view text) {
  const KeyValueReply reply(text);
  return {reply.Number("BRI", kValueSkip).value_or(0),
          reply.Number("CON", kValueSkip).value_or(128),
          reply.Number("HUE", kValueSkip).value_or(0)};
}

std::vector<FetchStep> SystemConfigFetchPlan(std::string_view productId,
                                             std::string_view fwVersion) {
  const bool videoServer = SysCfgAllLayoutFor(productId) == SysCfgAllLayout::kVideoServer;
  if (CompareVersionString(videoServer ? "0003" : "1024", fwVersion) != 2)
    return {{kSysCfgAll, 0, FetchCopy::kAll}};
  std::vector<FetchStep> plan = {
      {kSysCfgIp, 24, FetchCopy::kIp},        {kSysCfgOnline, 240, FetchCopy::kOnline},
      {kSysCfgAlarm, 24, FetchCopy::kAlarm},  {kSysCfgSecure, 196, FetchCopy::kSecure},
      {kSysCfgSmtp, 440, FetchCopy::kSmtp},   {kSysCfgFtp, 104, FetchCopy::kFtp},
      {kSysCfgRs485, 124, FetchCopy::kRs485},
  };
  if (videoServer) {
    plan.push_back({kSysCfgPeri, 16, FetchCopy::kPeri});
    plan.push_back({kSysCfgSntp, 36, FetchCopy::kSntp});
  } else {
    plan.push_back({kSysCfgDvrLive, 772, FetchCopy::kDvrLive});
    plan.push_back({kSysCfgDvrRec, 132, FetchCopy::kDvrRec});
  }
  plan.push_back(
      {kSysCfgPppoe, 68,
       PppoeUsesOlderCopy(productId, fwVersion) ? FetchCopy::kPppoeOld : FetchCopy::kPppoe});
  plan.push_back({kSysCfgDns, 12, FetchCopy::kDns});
  return plan;
}

bool ClockShownForMouse(const LayoutRect& r, int32_t x, int32_t y) {
  return !(x >= r.left && x <= r.right && y >= r.top && y <= r.bottom);
}
