// The simulator's control interface under "/_devsim/": faults, settings, stored blocks and
// sessions, switched by tests at run time.
#include <string>

#include "devsim/cgi_paths.h"
#include "devsim/handlers.h"

namespace devsim {
namespace {

Reply Ok(std::string text) {
  return {200, std::move(text)};
}

Reply AddFault(Device& device, const std::vector<QueryParam>& params) {
  FaultRequest wanted;
  for (const auto& p : params) {
    if (p.name == "name")
      wanted.name = p.value;
    else
      wanted.params.emplace_back(p.name, p.value);
  }
  std::string error;
  int id = device.faults.Add(wanted, &error);
  if (id == 0) return BadRequest(error);
  return Ok("id=" + std::to_string(id) + "\n");
}

Reply ApplySettings(Device& device, const std::vector<QueryParam>& params) {
  std::lock_guard lock(device.mu);
  // All or nothing: the settings go to copies first.
  DeviceProfile profile = device.profile;
  BlockStore blocks = device.blocks;
  for (const auto& p : params) {
    std::string error;
    if (!ApplySetting(p.name, p.value, profile, blocks, &error)) return BadRequest(error);
  }
  device.profile = std::move(profile);
  device.blocks = std::move(blocks);
  return Ok("ok\n");
}

Reply ReadBlock(Device& device, const std::vector<QueryParam>& params) {
  const std::string* option = FindParam(params, "option");
  if (!option || !FindBlock(*option)) return BadRequest("option=NAME of a block");
  std::lock_guard lock(device.mu);
  const auto& bytes = device.blocks.Get(*option);
  return Ok(std::string(bytes.begin(), bytes.end()));
}

}  // namespace

Reply HandleControl(Device& device, const RequestHead& head) {
  std::string_view command = std::string_view(head.path).substr(kControlPrefix.size());
  const auto& params = head.params;
  if (command == "fault") return AddFault(device, params);
  if (command == "firmware") return Ok(device.firmware.Listing());
  if (command == "clear-firmware") {
    device.firmware.Clear();
    return Ok("ok\n");
  }
  if (command == "clear-faults") {
    const std::string* name = FindParam(params, "name");
    size_t n = device.faults.Clear(name ? std::string_view(*name) : std::string_view());
    return Ok("cleared=" + std::to_string(n) + "\n");
  }
  if (command == "faults") return Ok(device.faults.Describe());
  if (command == "set") return ApplySettings(device, params);
  if (command == "block") return ReadBlock(device, params);
  if (command == "backup-payload") {
    std::lock_guard lock(device.recordings.payload_mu);
    const auto& p = device.recordings.last_payload;
    return Ok(std::string(p.begin(), p.end()));
  }
  if (command == "logout-all") {
    std::lock_guard lock(device.mu);
    device.sessions.Clear();
    return Ok("ok\n");
  }
  if (command == "streams") {
    return Ok("open=" + std::to_string(device.scene.open_streams.load()) +
              " frames=" + std::to_string(device.scene.frames_sent.load()) +
              " encodes=" + std::to_string(device.scene.pictures.encodes()) + "\n");
  }
  if (command == "ports") {
    std::lock_guard lock(device.mu);
    std::string out;
    for (int port : device.ports_also) out += std::to_string(port) + "\n";
    return Ok(out);
  }
  if (command == "sessions") {
    std::lock_guard lock(device.mu);
    return Ok(std::to_string(device.sessions.Count()) + "\n");
  }
  return {404, ""};
}

}  // namespace devsim
