// The binary header in front of every picture of the live stream, in its two layouts: the
// version-word layout (with an extension block) and the presence-mask layout. Little-endian.
#pragma once

#include <cstdint>

#include "live/rtph_struct.h"

enum class HeaderLayout { kVersionWord, kPresenceMask };

enum class HeaderParse {
  kParsed,      // a whole header; its length is dwHeaderLength
  kIncomplete,  // the bytes end inside the header
  kRejected,    // a version-word header whose version is not 1
};

// Longest header of either layout (every optional field present).
inline constexpr uint32_t kMaxStreamFrameHeaderBytes = 46;

// Event kinds of the three event words.
inline constexpr uint32_t kEventKindA = 0x80;
inline constexpr uint32_t kEventKindMotion = 0x100;
inline constexpr uint32_t kEventKindB = 0x200;

// A decoded header: the record and which of the optional fields with reactions were present.
struct StreamFrameHeader {
  RTPH_Struct rtph;  // dwPayloadLength as received
  HeaderLayout layout;
  bool fMotion;
  bool fEventA;
  bool fEventB;
  bool fDeviceTime;
  bool fRetrState;
  uint8_t byRetrState;
  bool fNetworkBackup;
  bool fCmosState;
  uint8_t byCmosState;
};

// Decodes the header at the start of data[0, size). Never reads beyond size.
HeaderParse DecodeStreamFrameHeader(const uint8_t* data, uint32_t size, HeaderLayout layout,
                                    StreamFrameHeader* out);

// Packed date: year = bits 26-31 + 2000, month 22-25, day 17-21, hour 12-16, minute 6-11,
// second 0-5.
DeviceTime UnpackDeviceTime(uint32_t packed);

// Time stamps come in units of 5 ms. The version-word layout gives 0 for received values of
// 0x33333333 and above; the presence-mask layout multiplies modulo 2^32.
uint32_t TimeStampMilliseconds(uint32_t received, HeaderLayout layout);

// Told of each header as soon as it is parsed, before its picture is looked at.
class ParsedHeaderObserver {
 public:
  virtual ~ParsedHeaderObserver() = default;
  virtual void OnHeaderParsed(const StreamFrameHeader& header) = 0;
};
