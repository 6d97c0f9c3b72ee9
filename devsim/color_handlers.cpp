// The picture's colour: "/GetColor.cgi" reports it, "/SetColor.cgi" changes it.
#include "devsim/handlers.h"

namespace devsim {

Reply HandleGetColor(Device& device, const Request&) {
  return {200, ColorText(device.profile)};
}

Reply HandleSetColor(Device& device, const Request& request) {
  const std::pair<std::string_view, std::string DeviceProfile::*> kItems[] = {
      {"CON", &DeviceProfile::color_con},
      {"BRI", &DeviceProfile::color_bri},
      {"HUE", &DeviceProfile::color_hue},
  };
  for (const auto& [name, field] : kItems)
    if (auto v = DecimalParam(request, name, 255)) device.profile.*field = std::to_string(*v);
  return {200, ""};
}

}  // namespace devsim
