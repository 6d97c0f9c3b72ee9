#include "tools/ip_record.h"

#include <cstring>

namespace {

uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void WriteLe32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// The text up to its NUL, never beyond its field.
std::string ReadText(const uint8_t* field) {
  const void* nul = std::memchr(field, 0, kIpRecordTextSize);
  const size_t length = nul ? static_cast<const uint8_t*>(nul) - field : kIpRecordTextSize;
  return std::string(reinterpret_cast<const char*>(field), length);
}

void WriteText(uint8_t* field, const std::string& text) {
  const size_t length = text.size() < kIpRecordTextSize - 1 ? text.size() : kIpRecordTextSize - 1;
  std::memcpy(field, text.data(), length);
}

}  // namespace

bool DecodeIpRecords(const uint8_t* data, size_t size, std::vector<AddressBookRow>& rows) {
  std::vector<AddressBookRow> decoded;
  const size_t count = data != nullptr ? size / kIpRecordSize : 0;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* r = data + i * kIpRecordSize;
    if (ReadLe32(r + kIpRecordUseOffset) != kIpRecordUseMarker ||
        ReadLe32(r + kIpRecordAddressMarkerOffset) != kIpRecordAddressMarker ||
        ReadLe32(r + kIpRecordCommentMarkerOffset) != kIpRecordCommentMarker)
      return false;
    AddressBookRow row;
    row.strUser = ReadText(r + kIpRecordUserOffset);
    row.strIpAddress = ReadText(r + kIpRecordAddressOffset);
    row.strComment = ReadText(r + kIpRecordCommentOffset);
    row.wMajorPort =
        static_cast<uint16_t>(r[kIpRecordPortOffset] | r[kIpRecordPortOffset + 1] << 8);
    decoded.push_back(std::move(row));
  }
  rows = std::move(decoded);
  return true;
}

std::vector<uint8_t> EncodeIpRecords(const std::vector<AddressBookRow>& rows) {
  std::vector<uint8_t> image(rows.size() * kIpRecordSize, 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    uint8_t* r = image.data() + i * kIpRecordSize;
    WriteLe32(r + kIpRecordUseOffset, kIpRecordUseMarker);
    WriteText(r + kIpRecordUserOffset, rows[i].strUser);
    WriteLe32(r + kIpRecordAddressMarkerOffset, kIpRecordAddressMarker);
    WriteText(r + kIpRecordAddressOffset, rows[i].strIpAddress);
    WriteLe32(r + kIpRecordCommentMarkerOffset, kIpRecordCommentMarker);
    WriteText(r + kIpRecordCommentOffset, rows[i].strComment);
    r[kIpRecordPortOffset] = static_cast<uint8_t>(rows[i].wMajorPort);
    r[kIpRecordPortOffset + 1] = static_cast<uint8_t>(rows[i].wMajorPort >> 8);
  }
  return image;
}
