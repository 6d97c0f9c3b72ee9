// Fuzzes the log's count reply, entry decoding and listing, and the paged fetch over replies
// taken from the input.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "pagerules/server_log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  (void)ParseServerLogCount(input);
  for (auto kind : {ServerLogKind::kDvr, ServerLogKind::kVideoServer}) {
    for (const auto& row : ServerLogRows(kind, input, size, ~0u))
      if (row.event.size() > 64 || row.time.size() > 40) __builtin_trap();
  }

  // The input cut into replies: each reply's length is its first two bytes.
  size_t at = 0;
  ServerLogFetchHost host;
  host.request = [&](std::string_view, std::vector<uint8_t>& reply) {
    if (at + 2 > size) return false;
    size_t n = static_cast<size_t>(data[at] | data[at + 1] << 8) % 4097;
    at += 2;
    n = std::min(n, size - at);
    reply.assign(data + at, data + at + n);
    at += n;
    return true;
  };
  host.stopRequested = [] { return false; };
  host.progress = [](int, uint32_t) {};
  auto buffer = std::make_unique<std::array<uint8_t, kServerLogMaxEntries * kServerLogEntrySize>>();
  uint32_t count = 0;
  FetchServerLog(host, size > 0 ? data[0] * 16u : 0u, *buffer, &count);
  if (count > kServerLogMaxEntries) __builtin_trap();
  return 0;
}
