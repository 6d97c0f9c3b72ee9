// The 76-byte device-search datagram of the LAN search, set-IP and reset commands, its field
// texts, the device-type and result tables.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#pragma pack(push, 1)
struct SEARCH_PACKET {
  char szCommand[16];   // "QX_SEARCH", "QX_SET_IP" or "QX_RESET", zero-filled
  uint8_t byOperation;  // 1 search, 2 set IP, 3 reset
  uint8_t byTypeOrResult;
  uint8_t byMac[6];
  char szUser[16];
  char szPassword[16];
  uint8_t byIp[4];  // network byte order: first number at the lowest offset
  uint8_t byNetMask[4];
  uint8_t byGateway[4];
  uint8_t byDns[4];
  uint8_t byPortLo, byPortHi;  // little-endian
  uint8_t byReserved[2];
};
#pragma pack(pop)
static_assert(sizeof(SEARCH_PACKET) == 76, "the search datagram is 76 bytes");

constexpr uint16_t kSearchRequestPort = 3333;
constexpr uint16_t kSearchDevicePort = 7777;
constexpr uint16_t kSearchReplyPort = 3332;
constexpr size_t kSearchPacketSize = sizeof(SEARCH_PACKET);

enum class SetupCommand : uint8_t { kSetIp = 2, kReset = 3 };

// A search request carrying the client's own address.
SEARCH_PACKET MakeSearchRequest(const std::array<uint8_t, 4>& ownAddress);

// The network settings a set-up request carries, already checked.
struct SetupFields {
  std::array<uint8_t, 6> mac{};
  std::string user;      // 1 to 15 characters
  std::string password;  // 1 to 15 characters
  std::array<uint8_t, 4> ip{}, netMask{}, gateway{}, dns{};
  uint16_t port = 0;
};
SEARCH_PACKET MakeSetupRequest(SetupCommand command, const SetupFields& fields);

std::array<uint8_t, kSearchPacketSize> EncodeSearchPacket(const SEARCH_PACKET& packet);
// None unless exactly 76 bytes arrived.
std::optional<SEARCH_PACKET> DecodeSearchPacket(const uint8_t* data, size_t size);

// A search reply as the dialog shows it.
struct SearchReplyTexts {
  std::string mac;  // "%.2x:%.2x:..." lower-case
  std::string ip, netMask, gateway, dns;
  uint32_t port = 0;
  uint8_t type = 50;  // a code outside the table is kept as 50
};
SearchReplyTexts SearchReplyToTexts(const SEARCH_PACKET& reply);
std::string DottedText(const uint8_t* bytes);
std::string MacText(const uint8_t* bytes);

// The device-type texts: "Video Server" for codes outside the table.
const char* DeviceTypeText(uint8_t code);
uint8_t StoredDeviceType(uint8_t code);
// Set IP and reset are offered for codes 50, 83, 85 and 87 only.
bool DeviceTypeAllowsSetup(uint8_t storedCode);

// The string-table id shown for a set-up reply's result byte.
int SetupResultMessageId(SetupCommand command, uint8_t result);

// Exactly four decimal numbers 0-255 separated by single dots, nothing else.
std::optional<std::array<uint8_t, 4>> ParseStrictAddress(std::string_view text);
// Six two-digit hexadecimal groups separated by colons.
std::optional<std::array<uint8_t, 6>> ParseMacText(std::string_view text);
