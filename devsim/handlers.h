// Handlers of the device paths, one file per concern.  Device handlers run with Device::mu held.
#pragma once

#include <optional>
#include <string_view>

#include "devsim/device.h"
#include "devsim/fault_registry.h"
#include "devsim/http_reply.h"
#include "devsim/http_request.h"
#include "devsim/sessions.h"

namespace devsim {

struct Request {
  const RequestHead& head;
  std::string_view body;
  const FiredFaults& faults;
  Session* session;  // the session of the Cookie parameter, or null
};

using Handler = Reply (*)(Device&, const Request&);

// The handler of a device path (every path of the command table has one).
Handler FindHandler(std::string_view path);

Reply HandleLogin(Device& device, const Request& request);
Reply HandleDeviceInfo(Device& device, const Request& request);
Reply HandleGetSysCfg(Device& device, const Request& request);
Reply HandleSetSysCfg(Device& device, const Request& request);
Reply HandleReboot(Device& device, const Request& request);
Reply HandleGetVideo(Device& device, const Request& request);
Reply HandleSetChannel(Device& device, const Request& request);
Reply HandleSetResolution(Device& device, const Request& request);
Reply HandleSetQuality(Device& device, const Request& request);
// "/OV9653Zoom.cgi" MODE 0-5 and "/OV9653Rotate.cgi" HR, VR 0-1: the sensor byte's view mode
// (low four bits) and flips (0x80, 0x40); other values are ignored.
Reply HandleSensorZoom(Device& device, const Request& request);
Reply HandleSensorRotate(Device& device, const Request& request);
// "/SetRetr.cgi" SET 0-1: the R.E.T.R. byte every stream reports; other values are ignored.
Reply HandleSetRetr(Device& device, const Request& request);
// "/RS485Cmd.cgi": the addressing parameters and the body are checked and decoded for the log.
Reply HandleRs485Cmd(Device& device, const Request& request);
// "/PTZReset.cgi": the profile's slave list.
Reply HandlePtzReset(Device& device, const Request& request);
// "/GetColor.cgi": the picture's contrast, brightness and hue as "CON=..;BRI=..;HUE=..;";
// "/SetColor.cgi" CON, BRI, HUE 0-255 store them (other values are ignored).
Reply HandleGetColor(Device& device, const Request& request);
Reply HandleSetColor(Device& device, const Request& request);
// The firmware upgrade: "/UpgradeFW.cgi" pieces, a "/UpgradeFW2.cgi" part (its raw bytes as the
// body), "/CancelUPFW.cgi", and "/GetVersion.cgi" (the version_text setting, else the firmware).
Reply HandleUpgradeFW(Device& device, const Request& request);
Reply HandleUpgradeFW2(Device& device, const Request& request);
Reply HandleCancelUpgrade(Device& device, const Request& request);
Reply HandleGetVersion(Device& device, const Request& request);

// "/Getlog.cgi" STATE=COUNT, LAST, PRE: the count, then pages newest first (a cursor per session);
// "/ClearLog.cgi" empties the log; "/SyncTime.cgi" checks its keys for either mode.
Reply HandleGetLog(Device& device, const Request& request);
Reply HandleClearLog(Device& device, const Request& request);
Reply HandleSyncTime(Device& device, const Request& request);

// "/GetDvrDate.cgi", "/SetDvrDate.cgi", "/GetRecordSetting.cgi", "/SetRecordSetting.cgi": the
// recorder's clock and record settings (dvr_query_state.h); 404 where the firmware lacks them.
Reply HandleGetDvrDate(Device& device, const Request& request);
Reply HandleSetDvrDate(Device& device, const Request& request);
Reply HandleGetRecordSetting(Device& device, const Request& request);
Reply HandleSetRecordSetting(Device& device, const Request& request);

// Recordings on the disks: "/GetDvrHDD.cgi" the disk set and flag (33 bytes); "/GetSearchList.cgi"
// pages of the record list per session (LAST from the newest, PREV on); "/NetworkBk.cgi" checks
// its keys (the chunks follow without a reply head, see recordings.h); "/CancelNB.cgi" stops a
// running backup.
Reply HandleGetDvrHdd(Device& device, const Request& request);
Reply HandleGetSearchList(Device& device, const Request& request);
Reply HandleNetworkBackup(Device& device, const Request& request);
Reply HandleCancelBackup(Device& device, const Request& request);
// The plan of the chunks a checked "/NetworkBk.cgi" gets; call with Device::mu held.
BackupPlan PlanBackup(Device& device, const RequestHead& head);

// Commands whose replies later work fills in: 200 with an empty body.
Reply HandleEmptyCommand(Device& device, const Request& request);

// The simulator's own control paths (not logged, no faults, no cookie); takes Device::mu itself.
Reply HandleControl(Device& device, const RequestHead& head);

Reply BadRequest(std::string_view why);

// The parameter as a decimal number from 0 to hi (at most three digits); nothing otherwise.
std::optional<int> DecimalParam(const Request& request, std::string_view name, int hi);

}  // namespace devsim
