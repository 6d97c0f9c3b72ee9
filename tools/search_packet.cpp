#include "tools/search_packet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

SEARCH_PACKET ZeroPacket(const char* command, uint8_t operation) {
  SEARCH_PACKET p;
  std::memset(&p, 0, sizeof p);
  std::memcpy(p.szCommand, command, std::strlen(command));
  p.byOperation = operation;
  return p;
}

void CopyText(char (&field)[16], const std::string& text) {
  std::memcpy(field, text.data(), std::min(text.size(), sizeof field - 1));
}

}  // namespace

SEARCH_PACKET MakeSearchRequest(const std::array<uint8_t, 4>& ownAddress) {
  SEARCH_PACKET p = ZeroPacket("QX_SEARCH", 1);
  std::memcpy(p.byIp, ownAddress.data(), 4);
  p.byPortLo = kSearchRequestPort & 0xFF;
  p.byPortHi = kSearchRequestPort >> 8;
  return p;
}

SEARCH_PACKET MakeSetupRequest(SetupCommand command, const SetupFields& f) {
  SEARCH_PACKET p =
      command == SetupCommand::kSetIp ? ZeroPacket("QX_SET_IP", 2) : ZeroPacket("QX_RESET", 3);
  std::memcpy(p.byMac, f.mac.data(), 6);
  CopyText(p.szUser, f.user);
  CopyText(p.szPassword, f.password);
  std::memcpy(p.byIp, f.ip.data(), 4);
  std::memcpy(p.byNetMask, f.netMask.data(), 4);
  std::memcpy(p.byGateway, f.gateway.data(), 4);
  std::memcpy(p.byDns, f.dns.data(), 4);
  p.byPortLo = static_cast<uint8_t>(f.port & 0xFF);
  p.byPortHi = static_cast<uint8_t>(f.port >> 8);
  return p;
}

std::array<uint8_t, kSearchPacketSize> EncodeSearchPacket(const SEARCH_PACKET& packet) {
  std::array<uint8_t, kSearchPacketSize> bytes;
  std::memcpy(bytes.data(), &packet, bytes.size());
  return bytes;
}

std::optional<SEARCH_PACKET> DecodeSearchPacket(const uint8_t* data, size_t size) {
  if (size != kSearchPacketSize) return std::nullopt;
  SEARCH_PACKET p;
  std::memcpy(&p, data, sizeof p);
  return p;
}

std::string DottedText(const uint8_t* b) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
  return text;
}

std::string MacText(const uint8_t* b) {
  char text[18];
  std::snprintf(text, sizeof text, "%.2x:%.2x:%.2x:%.2x:%.2x:%.2x", b[0], b[1], b[2], b[3], b[4],
                b[5]);
  return text;
}

SearchReplyTexts SearchReplyToTexts(const SEARCH_PACKET& r) {
  SearchReplyTexts t;
  t.mac = MacText(r.byMac);
  t.ip = DottedText(r.byIp);
  t.netMask = DottedText(r.byNetMask);
  t.gateway = DottedText(r.byGateway);
  t.dns = DottedText(r.byDns);
  t.port = static_cast<uint32_t>(r.byPortLo | r.byPortHi << 8);
  t.type = StoredDeviceType(r.byTypeOrResult);
  return t;
}

namespace {

const char* KnownTypeText(uint8_t code) {
  switch (code) {
    case 50:
      return "Video Server";
    case 83:
      return "4CH MPEG4 DVR";
    case 85:
      return "8CH MPEG4 DVR";
    case 87:
      return "16CH MPEG4 DVR";
    case 113:
    case 114:
    case 115:
      return "4CH NETWORK DVR";
    case 118:
      return "9CH NETWORK DMR";
    case 119:
      return "16CH NETWORK DMR";
    case 128:
    case 132:
    case 138:
      return "4CH NETWORK MPEG2 DVR";
    default:
      return nullptr;
  }
}

}  // namespace

const char* DeviceTypeText(uint8_t code) {
  const char* text = KnownTypeText(code);
  return text ? text : "Video Server";
}

uint8_t StoredDeviceType(uint8_t code) {
  return KnownTypeText(code) ? code : 50;
}

bool DeviceTypeAllowsSetup(uint8_t code) {
  return code == 50 || code == 83 || code == 85 || code == 87;
}

int SetupResultMessageId(SetupCommand command, uint8_t result) {
  const bool setIp = command == SetupCommand::kSetIp;
  switch (result) {
    case 0:
      return 4081;
    case 1:
      return setIp ? 4005 : 4062;
    case 2:
      return 4102;
    default:
      return setIp ? 4004 : 4061;
  }
}

std::optional<std::array<uint8_t, 4>> ParseStrictAddress(std::string_view text) {
  std::array<uint8_t, 4> out{};
  size_t pos = 0;
  for (size_t i = 0; i < 4; ++i) {
    if (i != 0) {
      if (pos >= text.size() || text[pos] != '.') return std::nullopt;
      ++pos;
    }
    unsigned value = 0;
    size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 4) {
      value = value * 10 + static_cast<unsigned>(text[pos] - '0');
      ++pos, ++digits;
    }
    if (digits == 0 || digits > 3 || value > 255) return std::nullopt;
    out[i] = static_cast<uint8_t>(value);
  }
  if (pos != text.size()) return std::nullopt;
  return out;
}

std::optional<std::array<uint8_t, 6>> ParseMacText(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  std::array<uint8_t, 6> out{};
  const auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (size_t i = 0; i < 6; ++i) {
    const size_t at = i * 3;
    if (i != 0 && text[at - 1] != ':') return std::nullopt;
    const int hi = nibble(text[at]), lo = nibble(text[at + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    out[i] = static_cast<uint8_t>(hi << 4 | lo);
  }
  return out;
}
