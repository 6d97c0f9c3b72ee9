// "/GetSysCfg.cgi" and "/SetSysCfg.cgi": configuration blocks by option name.
#include <algorithm>
#include <iostream>

#include "devsim/handlers.h"

namespace devsim {
namespace {

constexpr std::string_view kRefreshOption = "DNS";
constexpr std::string_view kIpOption = "IP";
constexpr size_t kIpWebPortOffset = 16;

bool ServedBy(const BlockInfo& block, Family family) {
  return family == Family::kDvr ? block.dvr : block.video_server;
}

// The block an Option parameter names, or the reason it cannot be served.
const BlockInfo* ServedBlock(const Device& device, const std::string* option, std::string* why) {
  if (!option) {
    *why = "missing Option";
    return nullptr;
  }
  const BlockInfo* block = FindBlock(*option);
  if (!block) {
    *why = "unknown Option " + *option;
  } else if (!ServedBy(*block, device.profile.EffectiveFamily())) {
    *why = "Option " + *option + " is not a block of this device's family";
    block = nullptr;
  }
  return block;
}

uint16_t WebPortOf(const std::vector<uint8_t>& ip) {
  return static_cast<uint16_t>(ip.at(kIpWebPortOffset) | ip.at(kIpWebPortOffset + 1) << 8);
}

// A new web port in the IP block: the device listens there too, as a real one would move to it.
void FollowWebPort(Device& device, const std::vector<uint8_t>& old_ip,
                   const std::vector<uint8_t>& new_ip) {
  const uint16_t port = WebPortOf(new_ip);
  if (!device.profile.follow_web_port || port == 0 || port == WebPortOf(old_ip) ||
      !device.listen_also)
    return;
  if (device.listen_also(port)) {
    if (std::find(device.ports_also.begin(), device.ports_also.end(), port) ==
        device.ports_also.end())
      device.ports_also.push_back(port);
  } else {
    std::cerr << "devsim: cannot listen on port " << port << " too\n";
  }
}

}  // namespace

Reply HandleGetSysCfg(Device& device, const Request& request) {
  const auto& params = request.head.params;
  const std::string* option = FindParam(params, "Option");
  const std::string* size = FindParam(params, "Size");
  std::string body;

  if (option && *option == kAllOption) {
    if (!size || *size != "0") return BadRequest("ALL needs Size=0");
    body = device.blocks.ComposeAll(device.profile.EffectiveFamily(), device.profile.online_length);
  } else {
    std::string why;
    const BlockInfo* block = ServedBlock(device, option, &why);
    if (!block) return BadRequest(why);
    const auto& bytes = device.blocks.Get(block->name);
    if (block->name == kOnlineOption) {
      if (!size || *size != std::to_string(block->size)) {
        return BadRequest("ONLINE needs Size=" + std::to_string(block->size));
      }
      body.assign(bytes.begin(), bytes.begin() + device.profile.online_length);
    } else {
      if (!size || *size != std::to_string(block->size)) {
        return BadRequest(*option + " needs Size=" + std::to_string(block->size));
      }
      body.assign(bytes.begin(), bytes.end());
    }
  }
  if (const FiredFault* f = request.faults.Find("short-all")) {
    body.resize(std::min<size_t>(body.size(), static_cast<size_t>(f->Number("length"))));
  }
  if (const FiredFault* f = request.faults.Find("long-block")) {
    body.append(static_cast<size_t>(f->Number("extra")), '\0');
  }
  return {200, body};
}

Reply HandleSetSysCfg(Device& device, const Request& request) {
  const auto& params = request.head.params;
  const std::string* option = FindParam(params, "Option");
  if (option && (*option == kAllOption || *option == kOnlineOption)) {
    return BadRequest(*option + " cannot be written");
  }
  std::string why;
  const BlockInfo* block = ServedBlock(device, option, &why);
  if (!block) return BadRequest(why);

  const std::string* refresh = FindParam(params, "Refresh");
  if (block->name == kRefreshOption) {
    if (!refresh || (*refresh != "True" && *refresh != "False")) {
      return BadRequest("DNS needs Refresh=True or Refresh=False");
    }
  } else if (refresh) {
    return BadRequest("Refresh is only for DNS");
  }
  if (!request.head.content_length || request.body.size() != block->size) {
    return BadRequest(*option + " needs a body of " + std::to_string(block->size) + " bytes");
  }
  const std::vector<uint8_t> old = device.blocks.Get(block->name);
  device.blocks.Set(block->name, std::vector<uint8_t>(request.body.begin(), request.body.end()));
  if (block->name == kIpOption) FollowWebPort(device, old, device.blocks.Get(block->name));
  if (!device.SaveBlocks(&why)) std::cerr << "devsim: " << why << "\n";
  return {200, ""};
}

}  // namespace devsim
