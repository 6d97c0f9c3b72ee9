// The device's CGI paths, as the device serves them.
#pragma once

#include <array>
#include <string_view>

namespace devsim {

inline constexpr std::array<std::string_view, 40> kCgiPaths = {
    "/Login.cgi",
    "/Getvideo.cgi",
    "/SetChannel.cgi",
    "/Setresolution.cgi",
    "/Setquality.cgi",
    "/Setbrcssa.cgi",
    "/GetSysCfg.cgi",
    "/Periodcommand.cgi",
    "/SetSysCfg.cgi",
    "/UpgradeFW.cgi",
    "/GetOnlineUser.cgi",
    "/RS485Cmd.cgi",
    "/SetVoroz.cgi",
    "/Reboot.cgi",
    "/Getdeviceinfo.cgi",
    "/Getlog.cgi",
    "/SetRetr.cgi",
    "/GetDvrHDD.cgi",
    "/NetworkBk.cgi",
    "/PTZReset.cgi",
    "/GetColor.cgi",
    "/SetColor.cgi",
    "/SyncTime.cgi",
    "/GetSearchList.cgi",
    "/GetVersion.cgi",
    "/CancelNB.cgi",
    "/GetVersion.cgi",
    "/GetDvrName.cgi",
    "/getDefaultLang.cgi",
    "/getIndexLang.cgi",
    "/OV9653Zoom.cgi",
    "/OV9653Rotate.cgi",
    "/ClearLog.cgi",
    "/GetDvrDate.cgi",
    "/SetDvrDate.cgi",
    "/GetRecordSetting.cgi",
    "/SetRecordSetting.cgi",
    "/CancelUPFW.cgi",
    "/SetBuzzer.cgi",
    "/SearchPlayBack.cgi",
};

inline bool IsDevicePath(std::string_view path) {
  for (auto p : kCgiPaths) {
    if (p == path) return true;
  }
  return false;
}

// The live stream's path.
inline constexpr std::string_view kVideoPath = "/Getvideo.cgi";

// Paths of the simulator's own control interface start with this prefix.
inline constexpr std::string_view kControlPrefix = "/_devsim/";

}  // namespace devsim
