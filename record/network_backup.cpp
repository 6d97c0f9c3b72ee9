#include "record/network_backup.h"

#include <cstdio>

#include "net/device_family.h"
#include "net/device_http_request.h"

bool DecodeDvrHddReply(const uint8_t* data, size_t received, DvrHddReply& out) {
  if (data == nullptr || received < kDvrHddReplySize) return false;
  for (size_t i = 0; i < out.mask.size(); ++i) out.mask[i] = data[i];
  out.flag = data[32];
  return true;
}

std::vector<int> ListedDisks(const DvrHddReply& reply) {
  std::vector<int> disks;
  for (int n = 0; n < 256; ++n)
    if (reply.mask[static_cast<size_t>(n / 8)] & (1u << (n % 8))) disks.push_back(n);
  return disks;
}

std::string DiskName(int disk) {
  static constexpr const char* kFirst[] = {"MASTER1", "SLAVE1", "MASTER2", "SLAVE2"};
  if (disk >= 0 && disk < 4) return kFirst[disk];
  char text[16];
  std::snprintf(text, sizeof text, "EXT-%.2d", disk - 3);
  return text;
}

std::string BuildNetworkBackupQuery(const BackupRequest& r) {
  char text[kBackupRequestLimit];
  const int n = std::snprintf(
      text, sizeof text,
      "/NetworkBk.cgi?Cookie=%.*s&Year=%d&Month=%d&Day=%d&Hour=%d&Minute=%d&Second=%d&Num=%d&CH=%d"
      "&Size=%d",
      static_cast<int>(r.cookie.size()), r.cookie.data(), r.year, r.month, r.day, r.hour, r.minute,
      r.second, r.disk, r.channel, r.sizeMB);
  if (n < 0 || static_cast<size_t>(n) >= sizeof text) return {};
  return std::string(text, static_cast<size_t>(n));
}

bool BuildNetworkBackupRequest(const BackupRequest& r, std::string_view host, std::string& out) {
  out.clear();
  const std::string query = BuildNetworkBackupQuery(r);
  if (query.empty()) return false;
  std::string text;
  if (!BuildDeviceHttpRequest(query, nullptr, 0, host, text) || text.size() > kBackupRequestLimit)
    return false;
  out = std::move(text);
  return true;
}

BackupChunkHeader DecodeBackupChunkHeader(const uint8_t (&b)[8]) {
  auto u32 = [&](int at) {
    return static_cast<uint32_t>(b[at]) | static_cast<uint32_t>(b[at + 1]) << 8 |
           static_cast<uint32_t>(b[at + 2]) << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
  };
  return {u32(0), u32(4)};
}

BackupChunk ReadBackupChunk(const ReceiveExactly& receive,
                            std::array<uint8_t, kBackupChunkDataMax>& buf, uint32_t& length) {
  length = 0;
  uint8_t head[8];
  if (!receive(head, sizeof head)) return BackupChunk::kReceiveFailed;
  const BackupChunkHeader h = DecodeBackupChunkHeader(head);
  switch (h.type) {
    case kBackupChunkData:
      if (h.length > kBackupChunkDataMax) return BackupChunk::kOversize;
      if (h.length > 0 && !receive(buf.data(), h.length)) return BackupChunk::kReceiveFailed;
      length = h.length;
      return BackupChunk::kData;
    case kBackupChunkEnd:
      return BackupChunk::kEnd;
    case kBackupChunkAborted:
      return BackupChunk::kAborted;
    default:
      return BackupChunk::kIgnored;
  }
}

uint8_t BackupPercent(uint64_t total, int sizeMB) {
  if (sizeMB <= 0) return 0;
  const uint64_t percent = ((total * 100) >> 20) / static_cast<uint64_t>(sizeMB);
  return static_cast<uint8_t>(percent > 100 ? 100 : percent);
}

int BackupSizeFromText(std::string_view text) {
  int value = -1;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    value = (value < 0 ? 0 : value) * 10 + (c - '0');
    if (value > kBackupSizeMaxMB) value = kBackupSizeMaxMB + 1;  // stays above, never overflows
  }
  return value > kBackupSizeMaxMB ? kBackupSizeMaxMB : value;
}

std::string ChooseBackupFileName(const std::string& folder, int channel, const PathExists& exists) {
  char name[kBackupFileNameRoom];
  for (int number = 1; number <= 9999; ++number) {
    const int n =
        std::snprintf(name, sizeof name, "%s\\CH%.2d_%.4d.dvr", folder.c_str(), channel, number);
    if (n < 0 || static_cast<size_t>(n) >= sizeof name) return {};
    if (!exists(name)) return name;
  }
  const int n = std::snprintf(name, sizeof name, "%s\\CH%.2d_Temp.dvr", folder.c_str(), channel);
  if (n < 0 || static_cast<size_t>(n) >= sizeof name) return {};
  return name;
}

bool SendsBackupCancel(std::string_view productId, std::string_view firmware) {
  return IsRZKSeriesProduct(productId) && CompareVersionString("1043", firmware) != 2;
}
