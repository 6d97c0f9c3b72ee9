// "/Getdeviceinfo.cgi": the account's lifetime and level, the video mode, versions and the
// controllable devices; RES, QUA, CH and NEWHR are kept with the session.
#include "devsim/handlers.h"

namespace devsim {

Reply HandleDeviceInfo(Device& device, const Request& request) {
  const auto& params = request.head.params;
  const Account* account = nullptr;
  if (Session* s = request.session) {
    auto keep = [&](std::optional<std::string>& field, std::string_view name) {
      if (const std::string* v = FindParam(params, name)) field = *v;
    };
    keep(s->res, "RES");
    keep(s->qua, "QUA");
    keep(s->ch, "CH");
    const std::string* newhr = FindParam(params, "NEWHR");
    s->new_header = newhr && *newhr == "1";
    account = &s->account;
  } else if (!device.profile.accounts.empty()) {
    account = &device.profile.accounts.front();
  }
  if (request.faults.Has("devinfo-empty")) return {200, ""};
  return {200, DeviceInfoText(device.profile, account)};
}

}  // namespace devsim
