// The command table's paths, the commands without contents of their own yet, and helpers of
// every handler.
#include <array>
#include <utility>

#include "devsim/cgi_paths.h"
#include "devsim/handlers.h"

namespace devsim {

Reply HandleReboot(Device&, const Request&) {
  return {200, ""};
}

Reply HandleEmptyCommand(Device&, const Request&) {
  return {200, ""};
}

Reply BadRequest(std::string_view why) {
  return {400, std::string(why)};
}

std::optional<int> DecimalParam(const Request& request, std::string_view name, int hi) {
  const std::string* text = FindParam(request.head.params, name);
  return text ? SmallDecimal(*text, hi) : std::nullopt;
}

Handler FindHandler(std::string_view path) {
  static constexpr std::array<std::pair<std::string_view, Handler>, 31> kHandlers = {{
      {"/Login.cgi", HandleLogin},
      {kVideoPath, HandleGetVideo},
      {"/SetChannel.cgi", HandleSetChannel},
      {"/Setresolution.cgi", HandleSetResolution},
      {"/Setquality.cgi", HandleSetQuality},
      {"/Getdeviceinfo.cgi", HandleDeviceInfo},
      {"/GetSysCfg.cgi", HandleGetSysCfg},
      {"/SetSysCfg.cgi", HandleSetSysCfg},
      {"/Reboot.cgi", HandleReboot},
      {"/RS485Cmd.cgi", HandleRs485Cmd},
      {"/PTZReset.cgi", HandlePtzReset},
      {"/OV9653Zoom.cgi", HandleSensorZoom},
      {"/OV9653Rotate.cgi", HandleSensorRotate},
      {"/GetColor.cgi", HandleGetColor},
      {"/SetColor.cgi", HandleSetColor},
      {"/SetRetr.cgi", HandleSetRetr},
      {"/UpgradeFW.cgi", HandleUpgradeFW},
      {"/UpgradeFW2.cgi", HandleUpgradeFW2},
      {"/CancelUPFW.cgi", HandleCancelUpgrade},
      {"/GetVersion.cgi", HandleGetVersion},
      {"/Getlog.cgi", HandleGetLog},
      {"/ClearLog.cgi", HandleClearLog},
      {"/SyncTime.cgi", HandleSyncTime},
      {"/GetDvrDate.cgi", HandleGetDvrDate},
      {"/SetDvrDate.cgi", HandleSetDvrDate},
      {"/GetRecordSetting.cgi", HandleGetRecordSetting},
      {"/SetRecordSetting.cgi", HandleSetRecordSetting},
      {"/GetDvrHDD.cgi", HandleGetDvrHdd},
      {"/GetSearchList.cgi", HandleGetSearchList},
      {"/NetworkBk.cgi", HandleNetworkBackup},
      {"/CancelNB.cgi", HandleCancelBackup},
  }};
  for (const auto& [p, h] : kHandlers) {
    if (p == path) return h;
  }
  return IsDevicePath(path) ? HandleEmptyCommand : nullptr;
}

}  // namespace devsim
