// The live picture's commands: "/Getvideo.cgi" (the stream itself is served by the connection,
// see live_stream.h) and the channel, resolution and quality switches, which change the
// session's choices that its streams follow (without a session: the live settings' defaults);
// the camera sensor's view and flips, which change the sensor byte every stream reports.
#include "devsim/handlers.h"
#include "devsim/live_settings.h"

namespace devsim {
namespace {

// A value out of range, or none, is ignored as the device ignores a switch it cannot make.
Reply SetChoice(const Request& request, std::string_view name, int hi,
                std::optional<std::string> Session::*field, int& fallback) {
  if (auto v = DecimalParam(request, name, hi)) {
    if (request.session)
      request.session->*field = std::to_string(*v);
    else
      fallback = *v;
  }
  return {200, ""};
}

// The sensor byte with the bits of mask replaced by value; a stream without the byte gains it.
void SetSensorBits(Device& device, uint8_t mask, uint8_t value) {
  std::optional<uint8_t>& sensor = device.profile.live.sensor;
  sensor = static_cast<uint8_t>((sensor.value_or(0) & ~mask) | (value & mask));
}

}  // namespace

Reply HandleGetVideo(Device&, const Request&) {
  return {200, ""};
}

Reply HandleSetChannel(Device& device, const Request& request) {
  return SetChoice(request, "CH", kMaxChannel, &Session::ch, device.profile.live.ch);
}

Reply HandleSetResolution(Device& device, const Request& request) {
  return SetChoice(request, "RES", 2, &Session::res, device.profile.live.res);
}

Reply HandleSetQuality(Device& device, const Request& request) {
  return SetChoice(request, "QUA", 2, &Session::qua, device.profile.live.qua);
}

Reply HandleSensorZoom(Device& device, const Request& request) {
  if (auto mode = DecimalParam(request, "MODE", 5)) SetSensorBits(device, 0x0F, uint8_t(*mode));
  return {200, ""};
}

Reply HandleSensorRotate(Device& device, const Request& request) {
  if (auto hr = DecimalParam(request, "HR", 1)) SetSensorBits(device, 0x80, *hr ? 0x80 : 0);
  if (auto vr = DecimalParam(request, "VR", 1)) SetSensorBits(device, 0x40, *vr ? 0x40 : 0);
  return {200, ""};
}

}  // namespace devsim
