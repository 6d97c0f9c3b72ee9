// The 76-byte device-search datagram of the LAN search, set-IP and reset commands.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

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

// A search request carrying the client's own address.
inline SEARCH_PACKET MakeSearchRequest(const std::array<uint8_t, 4>& ownAddress) {
  SEARCH_PACKET p;
  std::memset(&p, 0, sizeof p);
  std::memcpy(p.szCommand, "QX_SEARCH", 9);
  p.byOperation = 1;
  std::memcpy(p.byIp, ownAddress.data(), 4);
  p.byPortLo = kSearchRequestPort & 0xFF;
  p.byPortHi = kSearchRequestPort >> 8;
  return p;
}
