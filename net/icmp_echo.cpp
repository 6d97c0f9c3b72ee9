#include "net/icmp_echo.h"

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstring>

namespace {
std::atomic<uint16_t> g_nextIdentifier{1};
std::atomic<uint16_t> g_nextSequence{1};
}  // namespace

uint16_t CIcmpEcho::Checksum(const uint8_t* data, size_t size) {
  uint32_t sum = 0;
  size_t i = 0;
  for (; i + 1 < size; i += 2) {
    uint16_t word;
    std::memcpy(&word, data + i, 2);
    sum += word;
  }
  if (i < size) sum += data[i];
  sum = (sum >> 16) + (sum & 0xFFFF);
  sum += sum >> 16;
  return static_cast<uint16_t>(~sum);
}

void CIcmpEcho::BuildRequest(uint16_t identifier, uint16_t sequence, uint32_t tick,
                             uint8_t (&packet)[kRequestSize]) {
  std::memset(packet, 0, sizeof packet);
  packet[0] = 8;
  packet[1] = 0;
  std::memcpy(packet + 4, &identifier, 2);
  std::memcpy(packet + 6, &sequence, 2);
  packet[8] = 0;
  std::memcpy(packet + 9, &tick, 4);
  for (int i = 0; i < 32; ++i) packet[13 + i] = static_cast<uint8_t>(0x20 + i);
  const uint16_t sum = Checksum(packet, sizeof packet);
  std::memcpy(packet + 2, &sum, 2);
}

int CIcmpEcho::Ping(const char* hostName) {
  const SOCKET s = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
  if (s == INVALID_SOCKET) return 0;
  const hostent* host = hostName ? gethostbyname(hostName) : nullptr;
  if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list ||
      !host->h_addr_list[0]) {
    closesocket(s);
    return 0;
  }
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = 0;
  std::memcpy(&to.sin_addr, host->h_addr_list[0], 4);

  uint8_t packet[kRequestSize];
  BuildRequest(g_nextIdentifier++, g_nextSequence++, GetTickCount(), packet);
  if (sendto(s, reinterpret_cast<const char*>(packet), sizeof packet, 0,
             reinterpret_cast<const sockaddr*>(&to), sizeof to) == SOCKET_ERROR) {
    closesocket(s);
    return 0;
  }

  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval tv{1, 0};
  if (select(0, &readable, nullptr, nullptr, &tv) <= 0) {
    closesocket(s);
    return 0;
  }
  char reply[kMaxReplySize];
  sockaddr_in from{};
  int fromLength = sizeof from;
  recvfrom(s, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
  closesocket(s);
  return 1;
}
