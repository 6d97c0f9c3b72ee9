#include "record/record_file_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

RECORD_FILE_HEADER MakeRecordFileHeader(const RecordHeaderValues& values) {
  RECORD_FILE_HEADER h;
  std::memset(&h, 0, sizeof h);
  h.wMagic = recfmt::kMagic;
  h.wHeaderLength = recfmt::kHeaderLength;
  std::memcpy(h.szDevice, "RZ2K", 4);
  h.stCreated = values.created;
  h.stCreated.wMilliseconds = 0;
  const std::array<uint8_t, 4> address = ServerAddressBytes(values.strServerName);
  std::memcpy(h.byServerAddress, address.data(), 4);
  h.wVersion = recfmt::kHeaderVersion;
  h.byRecordKind = values.kind == RecordKind::kAlarm ? 1 : 0;
  std::memcpy(h.szUserName, values.strUserName.data(),
              std::min(values.strUserName.size(), sizeof h.szUserName));
  h.dwFlags = recfmt::kHeaderFlags;
  return h;
}

std::array<uint8_t, 4> ServerAddressBytes(std::string_view serverName) {
  std::array<uint8_t, 4> out{};
  size_t part = 0;
  size_t start = 0;
  while (part < out.size() && start <= serverName.size()) {
    size_t dot = serverName.find('.', start);
    if (dot == std::string_view::npos) dot = serverName.size();
    const std::string_view text = serverName.substr(start, dot - start);
    uint32_t value = 0;
    bool number = !text.empty();
    for (char c : text) {
      if (c < '0' || c > '9') {
        number = false;
        break;
      }
      value = (value * 10 + static_cast<uint32_t>(c - '0')) & 0xFFFFFF;
    }
    out[part++] = number ? static_cast<uint8_t>(value) : 0;
    start = dot + 1;
  }
  return out;
}

namespace {
class HeadBuilder {
 public:
  explicit HeadBuilder(std::array<uint8_t, recfmt::kMaxRecordHeadBytes>& out) : m_out(out) {}
  template <typename T>
  void Put(uint32_t flag, T value) {
    m_flags |= flag;
    std::memcpy(m_out.data() + m_pos, &value, sizeof value);
    m_pos += sizeof value;
  }
  size_t pos() const { return m_pos; }
  uint32_t flags() const { return m_flags; }
  void AddFlag(uint32_t flag) { m_flags |= flag; }

 private:
  std::array<uint8_t, recfmt::kMaxRecordHeadBytes>& m_out;
  size_t m_pos = 4;  // the presence flags come first
  uint32_t m_flags = 0;
};
}  // namespace

size_t BuildFrameRecordHead(const RECORD_FRAME_INFO& info,
                            std::array<uint8_t, recfmt::kMaxRecordHeadBytes>& out) {
  out.fill(0);
  HeadBuilder b(out);
  b.Put(recfmt::kFlagFrameNumber, info.dwFrameNumber);
  b.Put(recfmt::kFlagLength, info.dwLength);
  b.Put(recfmt::kFlagWidth, info.wWidth);
  b.Put(recfmt::kFlagHeight, info.wHeight);
  b.Put(recfmt::kFlagTimeStamp, info.dwTimeStamp);
  b.Put(recfmt::kFlagChannel, info.byChannel);
  b.Put(recfmt::kFlagSpare, info.bySpare);
  b.Put(recfmt::kFlagFive, uint8_t{5});
  if (info.dwNoPicture) b.Put(recfmt::kFlagNoPicture, uint8_t{1});
  b.Put(recfmt::kFlagMagic, recfmt::kMagic);
  b.Put(recfmt::kFlagHeadLength, static_cast<uint16_t>(b.pos() + 4));
  b.AddFlag(recfmt::kFlagSum);
  const uint32_t flags = b.flags();
  std::memcpy(out.data(), &flags, 4);
  const size_t sumAt = b.pos();
  const uint16_t sum = RecordByteSum(out.data(), sumAt);
  std::memcpy(out.data() + sumAt, &sum, 2);
  out[sumAt + 2] = 0xFF;
  out[sumAt + 3] = 0xFF;
  return sumAt + 4;
}

uint16_t RecordByteSum(const uint8_t* bytes, size_t n) {
  uint16_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum = static_cast<uint16_t>(sum + bytes[i]);
  return sum;
}

std::vector<uint8_t> BuildRecordIndex(const uint32_t* offsets, uint32_t count) {
  std::vector<uint8_t> out(size_t{count} * 8 + 4, 0);
  for (uint32_t i = 0; i < count; ++i) std::memcpy(out.data() + size_t{i} * 8, &offsets[i], 4);
  std::memcpy(out.data() + size_t{count} * 8, &count, 4);
  return out;
}

std::string RecordTimeText(const RecordTime& t) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u%02u%02uT%02u%02u%02u", t.wYear % 100u, t.wMonth % 100u,
                t.wDay % 100u, t.wHour % 100u, t.wMinute % 100u, t.wSecond % 100u);
  return text;
}

std::string CookieNamePiece(std::string_view cookie) {
  std::string piece(cookie.substr(0, 4));
  for (char& c : piece) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       c == '_' || c == '-';
    if (!plain) c = '_';
  }
  return piece;
}

std::string RecordFileName(RecordKind kind, const std::string& folder, const RecordTime& t,
                           std::string_view cookie) {
  const std::string time = RecordTimeText(t);
  switch (kind) {
    case RecordKind::kAlarm:
      return folder + "ALARM_MJPEG_" + time + "_" + CookieNamePiece(cookie) + ".qdx";
    case RecordKind::kManual:
      return folder + "USER_MJPEG_" + time + "_UR.qdx";
    case RecordKind::kSchedule:
      break;
  }
  return folder + "SCH_MJPEG_" + time + ".qd4";
}

std::string NumberedRecordFileName(const std::string& name, unsigned n) {
  const size_t dot = name.rfind('.');
  const size_t slash = name.find_last_of("\\/");
  const size_t at =
      (dot == std::string::npos || (slash != std::string::npos && dot < slash)) ? name.size() : dot;
  return name.substr(0, at) + "_" + std::to_string(n) + name.substr(at);
}
