// Byte layout of the ".qdx" record files: names, the 80-byte file header, the tagged frame
// records with their byte sum, and the closing index.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

static_assert(std::endian::native == std::endian::little, "record layouts are little-endian");

// A local date and time in the 16-byte layout of the platform's SYSTEMTIME.
struct RecordTime {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};
static_assert(sizeof(RecordTime) == 16);

#pragma pack(push, 1)
struct RECORD_FILE_HEADER {
  uint16_t wMagic;
  uint16_t wHeaderLength;  // this header and the extension block
  char szDevice[4];        // "RZ2K", no terminator
  uint8_t byReserved[16];
  RecordTime stCreated;  // day of week kept, milliseconds 0
  uint32_t dwFirstTimeStamp;
  uint32_t dwLastTimeStamp;
  uint32_t dwFrameCount;
  uint8_t byServerAddress[4];
  uint16_t wVersion;  // 23
  uint8_t byReserved2;
  uint8_t byRecordKind;  // 1 alarm, 0 manual
  char szUserName[16];   // zero-padded, no terminator at 16 characters
  uint32_t dwFlags;      // 2: the extension block follows
};
#pragma pack(pop)
static_assert(sizeof(RECORD_FILE_HEADER) == 80);

// The entry that goes with each frame of the pre-alarm ring.
#pragma pack(push, 1)
struct RECORD_FRAME_INFO {
  uint32_t dwFrameNumber;  // 0 in the ring; a recorder numbers its own copy
  uint32_t dwLength;
  uint32_t dwReserved;
  uint32_t dwMarker;  // kFrameInfoMarker
  uint8_t byStart;
  uint8_t bySpare;  // written as the byte with flag 0x40
  uint8_t byChannel;
  uint8_t byReserved;
  uint32_t dwNoPicture;
  RecordTime stStored;  // day of week and milliseconds 0
  uint8_t byReserved2[8];
  uint32_t dwTimeStamp;
  uint16_t wWidth;
  uint16_t wHeight;
};
#pragma pack(pop)
static_assert(sizeof(RECORD_FRAME_INFO) == 56);

namespace recfmt {
inline constexpr uint16_t kMagic = 0x5158;
inline constexpr uint16_t kHeaderLength = 88;
inline constexpr uint16_t kHeaderVersion = 23;
inline constexpr uint32_t kHeaderFlags = 2;
inline constexpr uint32_t kFirstFrameOffset = 90;  // header, extension block, end word
inline constexpr uint32_t kFrameInfoMarker = 0x1234567;
inline constexpr uint32_t kMaxFramesPerFile = 6000;
inline constexpr uint32_t kIndexEntries = 20000;
inline constexpr size_t kMaxRecordHeadBytes = 32;
inline constexpr size_t kMaxFrameBytes = 102400;  // a ring slot

// Presence flags of a frame record.
inline constexpr uint32_t kFlagFrameNumber = 0x1;
inline constexpr uint32_t kFlagLength = 0x2;
inline constexpr uint32_t kFlagWidth = 0x4;
inline constexpr uint32_t kFlagHeight = 0x8;
inline constexpr uint32_t kFlagTimeStamp = 0x10;
inline constexpr uint32_t kFlagChannel = 0x20;
inline constexpr uint32_t kFlagSpare = 0x40;
inline constexpr uint32_t kFlagFive = 0x80;
inline constexpr uint32_t kFlagNoPicture = 0x800;
inline constexpr uint32_t kFlagMagic = 0x20000000;
inline constexpr uint32_t kFlagHeadLength = 0x40000000;
inline constexpr uint32_t kFlagSum = 0x80000000;
}  // namespace recfmt

enum class RecordKind : uint8_t { kManual = 0, kAlarm = 1, kSchedule = 2 };

// What the file header carries besides its constants.
struct RecordHeaderValues {
  RecordTime created{};
  std::string strServerName;  // the "Server Name" setting
  std::string strUserName;    // the "Username" setting
  RecordKind kind = RecordKind::kManual;
};

// The 80-byte header with first-frame, last-frame and count fields 0.
RECORD_FILE_HEADER MakeRecordFileHeader(const RecordHeaderValues& values);
// The extension block and the end word that follow the header.
inline constexpr std::array<uint8_t, 10> kRecordHeaderTail = {0xFF, 0xFF, 0xFF, 0xFF, 0,
                                                              0,    0,    0,    0xFF, 0xFF};

// "192.168.1.10" -> C0 A8 01 0A: the first four parts split at ".", each a decimal number taken
// in 8 bits, 0 when a part is not a number.
std::array<uint8_t, 4> ServerAddressBytes(std::string_view serverName);

// Builds the record head of one frame (presence flags to end word) into out; returns its length,
// 31, or 32 for a frame without picture.
size_t BuildFrameRecordHead(const RECORD_FRAME_INFO& info,
                            std::array<uint8_t, recfmt::kMaxRecordHeadBytes>& out);
// The 16-bit byte sum over bytes [0, n).
uint16_t RecordByteSum(const uint8_t* bytes, size_t n);

// The closing index: {offset, 0} per frame, then the count.
std::vector<uint8_t> BuildRecordIndex(const uint32_t* offsets, uint32_t count);

// File names. The folder ends in a backslash. Time parts are two digits each.
std::string RecordTimeText(const RecordTime& t);  // YYMMDD "T" HHMMSS
// The cookie piece of an alarm name: its first four characters, each outside [0-9A-Za-z_-]
// replaced by "_" so that the name stays one plain file name.
std::string CookieNamePiece(std::string_view cookie);
std::string RecordFileName(RecordKind kind, const std::string& folder, const RecordTime& t,
                           std::string_view cookie);
// The name for the n-th file (n >= 2) when a name is taken: "_n" before the extension.
std::string NumberedRecordFileName(const std::string& name, unsigned n);
