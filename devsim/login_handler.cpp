// "/Login.cgi": Username and Password in; Session-ID and the device's identity out.
#include <algorithm>

#include "devsim/handlers.h"

namespace devsim {

Reply HandleLogin(Device& device, const Request& request) {
  const auto& params = request.head.params;
  const std::string* user = FindParam(params, "Username");
  const std::string* password = FindParam(params, "Password");
  const DeviceProfile& profile = device.profile;
  auto it = std::find_if(profile.accounts.begin(), profile.accounts.end(), [&](const Account& a) {
    return user && password && a.user == *user && a.password == *password;
  });

  std::string product_override;
  if (const FiredFault* f = request.faults.Find("bad-product"))
    product_override = f->params.at("id");

  if (it == profile.accounts.end()) {
    if (profile.login_denied_status == 0)
      return {200, LoginReplyText(profile, "", product_override)};
    return {profile.login_denied_status, ""};
  }
  if (request.faults.Has("login-no-session")) {
    return {200, LoginReplyText(profile, "", product_override)};
  }
  const Session& session = device.sessions.Open(*it, profile.session_id_length);
  return {200, LoginReplyText(profile, session.id, product_override)};
}

}  // namespace devsim
