// "IPRecord.dat", the local address book: fixed 400-byte records back to back, no header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr size_t kIpRecordSize = 400;
inline constexpr size_t kIpRecordTextSize = 128;  // each text field, NUL included
inline constexpr uint32_t kIpRecordUseMarker = 0x12121212;
inline constexpr uint32_t kIpRecordAddressMarker = 0x4C4C4C4C;
inline constexpr uint32_t kIpRecordCommentMarker = 0x8A8A8A8A;

// Field offsets of one record (little-endian integers, NUL-terminated texts).
inline constexpr size_t kIpRecordUseOffset = 0;
inline constexpr size_t kIpRecordUserOffset = 4;
inline constexpr size_t kIpRecordAddressMarkerOffset = 132;
inline constexpr size_t kIpRecordAddressOffset = 136;
inline constexpr size_t kIpRecordCommentMarkerOffset = 264;
inline constexpr size_t kIpRecordCommentOffset = 268;
inline constexpr size_t kIpRecordPortOffset = 396;
static_assert(kIpRecordPortOffset + 4 == kIpRecordSize);
static_assert(kIpRecordCommentOffset + kIpRecordTextSize == kIpRecordPortOffset);

struct AddressBookRow {
  std::string strUser;
  std::string strIpAddress;
  std::string strComment;
  uint16_t wMajorPort = 0;
};

// The rows of the whole records of a file image (trailing bytes ignored).  False, with rows
// untouched, when a record's marker differs from its value.
bool DecodeIpRecords(const uint8_t* data, size_t size, std::vector<AddressBookRow>& rows);

// One record per row; texts longer than 127 characters keep their first 127.
std::vector<uint8_t> EncodeIpRecords(const std::vector<AddressBookRow>& rows);
