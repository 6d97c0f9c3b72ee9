#include "platform/player/record_file_check.h"

#include <cstring>

namespace {
uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

RecordFileVerdict Bad(RecordFileVerdict v, std::string reason) {
  v.ok = false;
  v.reason = std::move(reason);
  return v;
}

constexpr size_t kFirstRecord = 90;
constexpr uint32_t kFlagsPicture = 0xE00000FF;
constexpr uint32_t kFlagsNoPicture = 0xE00008FF;
}  // namespace

RecordFileVerdict CheckRecordFile(const uint8_t* bytes, size_t size) {
  RecordFileVerdict v;
  if (size < kFirstRecord + 4) return Bad(v, "file shorter than header and count");
  if (U16(bytes) != 0x5158) return Bad(v, "header magic");
  if (U16(bytes + 2) != 88) return Bad(v, "header length");
  if (std::memcmp(bytes + 4, "RZ2K", 4) != 0) return Bad(v, "device text");
  if (U32(bytes + 76) != 2) return Bad(v, "header flags");
  if (U32(bytes + 80) != 0xFFFFFFFF || U32(bytes + 84) != 0) return Bad(v, "extension block");
  if (U16(bytes + 88) != 0xFFFF) return Bad(v, "header end word");
  v.kind = bytes[59];
  const uint32_t headerCount = U32(bytes + 48);
  v.firstTimeStamp = U32(bytes + 40);
  v.lastTimeStamp = U32(bytes + 44);

  const uint32_t count = U32(bytes + size - 4);
  if (count > (size - kFirstRecord - 4) / 8) return Bad(v, "trailing count larger than the file");
  const size_t indexAt = size - 4 - size_t{count} * 8;
  if (count != headerCount) return Bad(v, "header count differs from trailing count");

  std::vector<uint32_t> starts;
  size_t pos = kFirstRecord;
  while (pos < indexAt) {
    if (indexAt - pos < 31) return Bad(v, "record head cut at " + std::to_string(pos));
    const uint8_t* r = bytes + pos;
    const uint32_t flags = U32(r);
    if (flags != kFlagsPicture && flags != kFlagsNoPicture)
      return Bad(v, "presence flags at " + std::to_string(pos));
    const size_t headEnd = flags == kFlagsNoPicture ? 30 : 29;  // position of the end word
    if (indexAt - pos < headEnd + 2) return Bad(v, "record head cut at " + std::to_string(pos));
    if (flags == kFlagsNoPicture && r[23] != 1) return Bad(v, "no-picture byte");
    if (r[22] != 5) return Bad(v, "constant byte 5");
    const size_t at = headEnd - 6;  // magic, head length, sum
    if (U16(r + at) != 0x5158) return Bad(v, "record magic at " + std::to_string(pos));
    if (U16(r + at + 2) != headEnd) return Bad(v, "record head length at " + std::to_string(pos));
    uint16_t sum = 0;
    for (size_t i = 0; i < at + 4; ++i) sum = static_cast<uint16_t>(sum + r[i]);
    if (U16(r + at + 4) != sum) return Bad(v, "byte sum at " + std::to_string(pos));
    if (U16(r + headEnd) != 0xFFFF) return Bad(v, "record end word at " + std::to_string(pos));
    const uint32_t number = U32(r + 4);
    if (number != starts.size() + 1) return Bad(v, "frame number at " + std::to_string(pos));
    const uint32_t length = U32(r + 8);
    const size_t total = headEnd + 2 + size_t{length};
    if (total > indexAt - pos) return Bad(v, "frame data runs into the index");
    starts.push_back(static_cast<uint32_t>(pos));
    v.timeStamps.push_back(U32(r + 16));
    v.dataStarts.push_back(static_cast<uint32_t>(pos + headEnd + 2));
    pos += total;
  }
  if (starts.size() != count) return Bad(v, "records counted differ from the index count");
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* e = bytes + indexAt + size_t{i} * 8;
    if (U32(e) != starts[i] || U32(e + 4) != 0) return Bad(v, "index entry " + std::to_string(i));
  }
  const uint32_t first = count ? v.timeStamps.front() : 0;
  const uint32_t last = count ? v.timeStamps.back() : 0;
  if (v.firstTimeStamp != first) return Bad(v, "first time stamp");
  if (v.lastTimeStamp != last) return Bad(v, "last time stamp");
  v.frames = count;
  v.recordStarts = std::move(starts);
  v.ok = true;
  return v;
}

std::string VerdictText(const RecordFileVerdict& v) {
  if (!v.ok) return "BAD " + v.reason;
  return "OK frames=" + std::to_string(v.frames) + " kind=" + std::to_string(v.kind);
}
