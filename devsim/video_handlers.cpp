// The live picture's commands: "/Getvideo.cgi" (the stream itself is served by the connection,
// see live_stream.h) and the channel, resolution and quality switches, which change the
// session's choices that its streams follow (without a session: the live settings' defaults).
#include "devsim/handlers.h"
#include "devsim/live_settings.h"

namespace devsim {
namespace {

// The parameter as a decimal number from 0 to hi.
std::optional<int> NumberParam(const Request& request, std::string_view name, int hi) {
  const std::string* text = FindParam(request.head.params, name);
  if (!text || text->empty() || text->size() > 3) return std::nullopt;
  int v = 0;
  for (char c : *text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v > hi) return std::nullopt;
  return v;
}

// A value out of range, or none, is ignored as the device ignores a switch it cannot make.
Reply SetChoice(const Request& request, std::string_view name, int hi,
                std::optional<std::string> Session::*field, int& fallback) {
  if (auto v = NumberParam(request, name, hi)) {
    if (request.session)
      request.session->*field = std::to_string(*v);
    else
      fallback = *v;
  }
  return {200, ""};
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

}  // namespace devsim
