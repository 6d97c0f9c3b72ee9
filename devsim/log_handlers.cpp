// "/Getlog.cgi", "/ClearLog.cgi" and "/SyncTime.cgi".
#include <array>
#include <charconv>

#include "devsim/device_log.h"
#include "devsim/handlers.h"

namespace devsim {

namespace {

constexpr std::array<uint32_t, 15> kDvrEvents = {0x1,   0x2,   0x4,    0x8,    0x10,
                                                 0x20,  0x40,  0x80,   0x100,  0x200,
                                                 0x400, 0x800, 0x4000, 0x8000, 0x10000};
constexpr std::array<uint32_t, 12> kServerEvents = {
    0x1, 0x2, 0x4, 0x10, 0x20, 0x100, 0x200, 0x1000, 0x10000, 0x20000, 0x40000, 0x100000};

std::optional<long> Number(const Request& request, std::string_view name) {
  const std::string* text = FindParam(request.head.params, name);
  if (!text || text->empty()) return std::nullopt;
  long v = 0;
  const char* end = text->data() + text->size();
  auto [p, ec] = std::from_chars(text->data(), end, v);
  if (ec != std::errc() || p != end) return std::nullopt;
  return v;
}

}  // namespace

std::string LogEntryBytes(Family family, uint32_t i) {
  std::string e(32, '\0');
  const uint32_t id = family == Family::kDvr ? kDvrEvents[i % kDvrEvents.size()]
                                             : kServerEvents[i % kServerEvents.size()];
  for (int b = 0; b < 4; ++b) e[static_cast<size_t>(b)] = static_cast<char>(id >> (8 * b));
  const uint32_t minutes = i;
  e[4] = 26;
  e[5] = static_cast<char>(1 + (minutes / (60 * 24 * 28)) % 12);
  e[6] = static_cast<char>(1 + (minutes / (60 * 24)) % 28);
  e[7] = static_cast<char>((minutes / 60) % 24);
  e[8] = static_cast<char>(minutes % 60);
  e[9] = static_cast<char>(i % 60);
  e[10] = static_cast<char>(family == Family::kDvr ? i % 17 : (i % 5 == 0 ? 0 : 1 << (i % 4)));
  if (id == 0x100 || (family == Family::kVideoServer && (id == 0x10 || id == 0x20))) {
    const std::string who = "10.0.0." + std::to_string(i % 250);
    e.replace(11, who.size(), who);
  }
  e[27] = static_cast<char>(i % 2);
  return e;
}

bool ApplyLogSetting(std::string_view key, std::string_view value, LogSettings& log,
                     std::string* error) {
  uint32_t v = 0;
  auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
  const bool number = ec == std::errc() && p == value.data() + value.size();
  if (key == "length" && number && v <= 100000) {
    log.length = v;
    return true;
  }
  if (key == "page" && number && v >= 1 && v <= 128) {
    log.page = v;
    return true;
  }
  *error = "log." + std::string(key) + ": length 0..100000 or page 1..128";
  return false;
}

Reply HandleGetLog(Device& device, const Request& request) {
  const std::string* state = FindParam(request.head.params, "STATE");
  if (!state) return BadRequest("STATE missing");
  const LogSettings& log = device.profile.log;
  if (*state == "COUNT") return {200, "COUNT=" + std::to_string(log.length) + ";"};
  const std::string session = request.session ? request.session->id : std::string();
  uint32_t& left = device.log_cursors.left[session];
  if (*state == "LAST")
    left = log.length;
  else if (*state != "PRE")
    return BadRequest("STATE must be COUNT, LAST or PRE");
  left = std::min(left, log.length);
  const uint32_t n = std::min(log.page, left);
  const Family family = device.profile.EffectiveFamily();
  std::string body;
  for (uint32_t k = 0; k < n; ++k) body += LogEntryBytes(family, left - 1 - k);
  left -= n;
  return {200, body};
}

Reply HandleClearLog(Device& device, const Request&) {
  device.profile.log.length = 0;
  device.log_cursors.left.clear();
  return {200, ""};
}

Reply HandleSyncTime(Device&, const Request& request) {
  const auto mode = Number(request, "Mode");
  if (!mode || (*mode != 0 && *mode != 1)) return BadRequest("Mode must be 0 or 1");
  if (*mode == 1) {
    const auto server_mode = Number(request, "ServerMode");
    if (!server_mode || (*server_mode != 0 && *server_mode != 1))
      return BadRequest("ServerMode must be 0 or 1");
    const std::string* server = FindParam(request.head.params, "Server");
    if (*server_mode == 0 && (!server || server->empty() || server->size() > 27))
      return BadRequest("Server of 1..27 characters needed");
    const auto nation = Number(request, "NationID");
    const auto hour = Number(request, "Hour");
    const auto minute = Number(request, "Minute");
    if (!nation || *nation < 0 || *nation > 74 || !hour || *hour < -12 || *hour > 13 || !minute ||
        *minute < -59 || *minute > 59)
      return BadRequest("NationID 0..74, Hour and Minute of the zone needed");
    return {200, ""};
  }
  const std::pair<std::string_view, std::pair<long, long>> kClock[] = {
      {"Year", {1970, 2099}}, {"Month", {1, 12}},  {"Day", {1, 31}},
      {"Hour", {0, 23}},      {"Minute", {0, 59}}, {"Second", {0, 59}}};
  for (const auto& [name, range] : kClock) {
    const auto v = Number(request, name);
    if (!v || *v < range.first || *v > range.second)
      return BadRequest(std::string(name) + " out of range");
  }
  return {200, ""};
}

}  // namespace devsim
