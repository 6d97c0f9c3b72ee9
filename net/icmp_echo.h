// An ICMP echo probe on a raw socket.
#pragma once

#include <cstddef>
#include <cstdint>

class CIcmpEcho {
 public:
  static constexpr size_t kRequestSize = 45;
  static constexpr size_t kMaxReplySize = 321;

  // Sends one echo request to the host's first address and waits up to 1 s for a datagram:
  // 1 when one came, 0 when the socket, the name, the send or the wait failed.
  int Ping(const char* hostName);

  // The request bytes: type 8, code 0, checksum, identifier, sequence number, a zero byte, the
  // tick count at byte 9, then the 32 bytes 0x20 to 0x3F.
  static void BuildRequest(uint16_t identifier, uint16_t sequence, uint32_t tick,
                           uint8_t (&packet)[kRequestSize]);
  // The Internet checksum (RFC 1071) of data, 16-bit words summed as stored.
  static uint16_t Checksum(const uint8_t* data, size_t size);
};
