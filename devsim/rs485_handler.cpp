// "/RS485Cmd.cgi" and "/PTZReset.cgi": what the client sends to the units on the device's RS-485
// bus. The body (count, command bytes, repeat byte, end byte) is checked and its meaning written
// to the request log.
#include <cstdio>
#include <string>

#include "devsim/handlers.h"

namespace devsim {
namespace {

constexpr size_t kBodyMax = 64;
constexpr size_t kPtzResetReplyMax = 1023;  // the client reads into 1024 bytes

std::string HexBytes(std::string_view bytes) {
  std::string out;
  char b[4];
  for (unsigned char c : bytes) {
    std::snprintf(b, sizeof b, "%s%02X", out.empty() ? "" : " ", c);
    out += b;
  }
  return out;
}

std::string Hex2(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v & 0xFF);
  return b;
}

// The meaning of the command bytes: PTZ select and leave, hot-point packets, or a plain command.
std::string Meaning(std::string_view cmd) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(cmd[i]); };
  if (cmd.size() == 2 && at(0) == 5 && at(1) >= 6 && at(1) <= 14)
    return "ptz-select camera=" + std::to_string(at(1) - 5);
  if (cmd.size() == 2 && at(0) == 6 && at(1) >= 5 && at(1) <= 11)
    return "ptz-select camera=" + std::to_string(at(1) + 5);
  if (cmd.size() == 1 && at(0) == 0x10) return "ptz-leave";
  if (cmd.size() == 5 && at(0) == 0xD0 && at(2) == 0x52)
    return "hot-point addr=" + std::to_string(at(1)) + " cell=" + Hex2(at(3));
  if (cmd.size() == 7 && at(0) == 0xD0 && at(3) == 0x52) {
    unsigned sum = 0;
    for (size_t i = 0; i < 6; ++i) sum += at(i);
    return "hot-point addr=" + std::to_string(at(1)) + " level=" + std::to_string(at(2)) +
           " cell=" + Hex2(at(4)) + ((sum & 0xFF) == at(6) ? "" : " bad-sum");
  }
  return "command";
}

}  // namespace

Reply HandleRs485Cmd(Device&, const Request& request) {
  const auto& params = request.head.params;
  const std::string* control = FindParam(params, "Control");
  const std::string* master = FindParam(params, "MASTER");
  if (!control || *control != "RZ1K") return BadRequest("Control=RZ1K expected");
  if (!master || (*master != "0" && *master != "1")) return BadRequest("MASTER=0 or 1 expected");
  const std::string_view body = request.body;
  if (body.size() < 3 || body.size() > kBodyMax) return BadRequest("RS-485 body of 3-64 bytes");
  const size_t n = static_cast<unsigned char>(body[0]);
  if (body.size() != n + 3) return BadRequest("RS-485 body length is not its count + 3");
  const unsigned repeat = static_cast<unsigned char>(body[n + 1]);
  const unsigned end = static_cast<unsigned char>(body[n + 2]);
  if (!(end == 0x32 || (end == 0 && repeat == 0))) return BadRequest("RS-485 body end byte");

  std::string where = "MASTER=" + *master;
  for (const char* name : {"CH", "PELOCO", "PROTOCOL"}) {
    if (const std::string* v = FindParam(params, name)) where += std::string(" ") + name + "=" + *v;
  }
  const std::string_view cmd = body.substr(1, n);
  Reply r{200, ""};
  r.decoded = Meaning(cmd) + " " + where + " cmd=" + HexBytes(cmd) +
              " repeat=" + std::to_string(repeat) + " end=" + Hex2(end);
  return r;
}

Reply HandlePtzReset(Device& device, const Request&) {
  return {200, SlaveListText(device.profile, kPtzResetReplyMax)};
}

}  // namespace devsim
