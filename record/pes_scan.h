// Scanner for time stamps and picture types in an MPEG stream.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int kPesFlagTimeStamp = 1;
inline constexpr int kPesFlagPicture = 8;

// Walks buffer for 00 00 01 start codes (as if zero bytes preceded it). An audio or video
// packet header (start code value 0xC0-0xEF) with a presentation stamp stores that stamp, with
// both stamps the decoding one, as its low 32 bits in timeStamp and adds kPesFlagTimeStamp; a
// picture start (0xB6) stores its type (1 intra, 2 predicted, 3 bidirectional, 4 sprite) in
// pictureType and returns at once with kPesFlagPicture added. A start code is read only when
// at least 15 bytes follow its value inside the buffer. reserved1-3 are set to 0. Null
// outputs are skipped.
int ScanPesTimestamp(const uint8_t* buffer, size_t length, uint32_t* timeStamp, uint32_t* reserved1,
                     uint32_t* reserved2, uint32_t* reserved3, uint8_t* pictureType);
