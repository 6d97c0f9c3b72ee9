// Fuzz target: a network backup reply read chunk by chunk, and the search-list page reply.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "record/network_backup.h"
#include "record/search_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t at = 0;
  auto receive = [&](uint8_t* buf, size_t n) {
    if (size - at < n) return false;
    std::memcpy(buf, data + at, n);
    at += n;
    return true;
  };
  std::array<uint8_t, kBackupChunkDataMax> buf{};
  for (;;) {
    uint32_t len = 0;
    const BackupChunk c = ReadBackupChunk(receive, buf, len);
    if (len > kBackupChunkDataMax || at > size) __builtin_trap();
    if (c != BackupChunk::kData && c != BackupChunk::kIgnored) break;
  }
  const auto entries = DecodeSearchListReply(data, size);
  if (entries.size() * sizeof(SearchListEntry) + kSearchListHeaderSize > (size < 4 ? 4 : size) ||
      entries.size() > 127)
    __builtin_trap();
  for (const auto& e : entries) (void)SearchListRowTexts(e);
  DvrHddReply hdd;
  if (DecodeDvrHddReply(data, size, hdd)) (void)ListedDisks(hdd);
  return 0;
}
