// Fuzzes the reply header parser and the reply read loop. The first two bytes choose the reply
// capacity and the receive sizes; the rest is what the device sends.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "net/device_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint32_t capacity = static_cast<uint32_t>(data[0]) * 24;
  const uint8_t sizing = data[1];
  const std::string_view wire(reinterpret_cast<const char*>(data + 2), size - 2);

  ParseReplyHeader(wire);

  size_t pos = 0;
  uint32_t turn = 0;
  const ReplyReceiveFn receive = [&](uint8_t* buf, int32_t ask) -> int32_t {
    if (pos >= wire.size() || ask <= 0) return -1;
    // Receive sizes from 1 byte up to what was asked, varied by the sizing byte.
    size_t n = sizing == 0 ? static_cast<size_t>(ask) : 1 + (sizing * ++turn) % 97;
    n = std::min({n, static_cast<size_t>(ask), wire.size() - pos});
    std::memcpy(buf, wire.data() + pos, n);
    pos += n;
    return static_cast<int32_t>(n);
  };
  std::vector<uint8_t> reply(capacity);
  const DeviceReplyResult r =
      ReadDeviceReply(receive, capacity ? reply.data() : nullptr, capacity, {});
  if (r.bodyLen > capacity) __builtin_trap();
  if (r.result == 1 && r.status != 200) __builtin_trap();
  return 0;
}
