// The command table's paths and the commands without contents of their own yet.
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

Handler FindHandler(std::string_view path) {
  static constexpr std::array<std::pair<std::string_view, Handler>, 14> kHandlers = {{
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
      {"/SetRetr.cgi", HandleSetRetr},
  }};
  for (const auto& [p, h] : kHandlers) {
    if (p == path) return h;
  }
  return IsDevicePath(path) ? HandleEmptyCommand : nullptr;
}

}  // namespace devsim
