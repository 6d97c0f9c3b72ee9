#include "devsim/router.h"

#include "devsim/cgi_paths.h"
#include "devsim/handlers.h"

namespace devsim {
namespace {

constexpr std::string_view kLoginPath = "/Login.cgi";

// Faults that answer in place of the device.
std::optional<Reply> ReplacingReply(const FiredFaults& faults) {
  for (const auto& f : faults.All()) {
    if (f.name == "status") return Reply{static_cast<int>(f.Number("code")), ""};
    if (f.name == "login-denied") return Reply{static_cast<int>(f.Number("status")), ""};
    if (f.name == "login-busy") return Reply{202, ""};
  }
  return std::nullopt;
}

Delivery DeliveryFor(const FiredFaults& faults) {
  Delivery d;
  for (const auto& f : faults.All()) {
    if (f.name == "trickle") {
      d.header_pieces = static_cast<int>(f.Number("pieces"));
      d.piece_delay_ms = static_cast<int>(f.Number("delay"));
    } else if (f.name == "cut-body") {
      d.cut_body_after = static_cast<size_t>(f.Number("bytes"));
    } else if (f.name == "lowercase-length") {
      d.length_style = LengthStyle::kLowerCase;
    } else if (f.name == "no-length") {
      d.length_style = LengthStyle::kMissing;
    } else if (f.name == "tight-length") {
      d.length_style = LengthStyle::kNoBlank;
    } else if (f.name == "oversize") {
      d.announced_length = static_cast<uint64_t>(f.Number("length"));
      d.pad_to_announced = f.Number("pad") != 0;
    } else if (f.name == "stall") {
      d.stall = true;
      d.stall_ms = static_cast<int>(f.Number("ms"));
    } else if (f.name == "drop") {
      d.drop = true;
      d.reset = f.Number("reset") != 0;
    }
  }
  return d;
}

}  // namespace

Outcome Route(Device& device, const RequestHead& head, std::string_view body) {
  Outcome out;
  if (head.path.rfind(kControlPrefix, 0) == 0) {
    out.logged = false;
    out.reply = HandleControl(device, head);
    return out;
  }
  if (head.method != "GET") {
    out.reply = {405, ""};
    return out;
  }
  Handler handler = FindHandler(head.path);
  if (!handler) {
    out.reply = {404, ""};
    return out;
  }

  FiredFaults fired = device.faults.Take(head.path, FindParam(head.params, "Option"));
  for (const auto& f : fired.All()) out.faults.push_back(f.name);
  out.delivery = DeliveryFor(fired);
  if (out.delivery.drop) return out;
  if (auto r = ReplacingReply(fired)) {
    out.reply = *r;
    return out;
  }

  std::lock_guard lock(device.mu);
  Session* session = nullptr;
  if (const std::string* cookie = FindParam(head.params, "Cookie")) {
    session = device.sessions.Find(*cookie);
  }
  if (head.path != kLoginPath && device.profile.check_cookie && !session) {
    out.reply = {401, ""};
    return out;
  }
  out.reply = handler(device, Request{head, body, fired, session});
  if (head.path == "/NetworkBk.cgi" && out.reply.status == 200) {
    out.opens_backup = true;
    out.backup = PlanBackup(device, head);
  }
  if (head.path == kVideoPath && out.reply.status == 200 && IsHoldRequest(head)) {
    out.holds = true;
  } else if (head.path == kVideoPath && out.reply.status == 200) {
    out.opens_stream = true;
    if (session) out.stream_session = session->id;
  }
  return out;
}

}  // namespace devsim
