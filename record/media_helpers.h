// Carried media helpers: the writer of raw frame files (each frame between two copies of its
// 40-byte record, an 80-byte header in front) with its checker, and the MPEG packet time stamp
// and G.711 mu-law expansion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "record/record_file_system.h"

// ---- Raw frame files ----

inline constexpr uint32_t kFrameRecordMagic = 0xADFBCE23;
// The header is written again after every kFrameHeaderPeriod frames.
inline constexpr uint32_t kFrameHeaderPeriod = 10;

// The record before and after each frame's data; little-endian.
struct FrameRecord {
  uint32_t frameIndex;  // from 0
  uint32_t tickMs;      // the writer's tick count
  uint32_t localTime;   // seconds since 1970 of the local calendar
  uint32_t dataLength;  // bytes of frame data between the two records
  uint32_t magic;       // kFrameRecordMagic
  uint8_t bytes[3];     // the caller's
  uint8_t zero;
  uint32_t words[4];  // the caller's
};
static_assert(sizeof(FrameRecord) == 40);

// At offset 0; little-endian.
struct FrameFileHeader {
  uint32_t magic;       // kFrameRecordMagic
  uint32_t headerSize;  // 80
  uint32_t frameCount;  // whole frames that follow
  uint32_t zero;
  uint64_t endOffset;            // the end of the last whole frame
  uint32_t firstTime, lastTime;  // localTime of the first and the last frame
  uint8_t reserved[48];
};
static_assert(sizeof(FrameFileHeader) == 80);

struct FrameStamp {
  uint32_t tickMs = 0;
  uint32_t localTime = 0;
};

// Writes frames into a file its caller opened (it never opens one itself). A write that fails
// cuts the file back to its last whole frame, writes the header for what is left and ends the
// writer: a frame file is never left with a torn frame or a header that counts more than it has.
class CFrameFileWriter {
 public:
  // Starts the file afresh with an empty header.
  explicit CFrameFileWriter(RecordFile& file, std::function<FrameStamp()> clock = {});
  // Writes the header for the frames written.
  ~CFrameFileWriter();
  CFrameFileWriter(const CFrameFileWriter&) = delete;
  CFrameFileWriter& operator=(const CFrameFileWriter&) = delete;

  // One frame with the caller's time; false when it was not written (the writer has ended).
  bool WriteFrame(const uint8_t* data, uint32_t length, const FrameStamp& stamp,
                  const uint8_t (&bytes)[3], const uint32_t (&words)[4]);
  // The same with the time of the clock (by default the tick count and the local time).
  bool WriteFrame(const uint8_t* data, uint32_t length, const uint8_t (&bytes)[3],
                  const uint32_t (&words)[4]);
  bool WriteHeader();

  uint32_t FrameCount() const { return m_header.frameCount; }
  bool Failed() const { return m_failed; }

 private:
  RecordFile& m_file;
  std::function<FrameStamp()> m_clock;
  FrameFileHeader m_header{};
  bool m_failed = false;
};

// The clock WriteFrame uses without one: a millisecond tick and the local calendar time.
FrameStamp FrameClockNow();

// What a frame file holds: the whole frames, each with matching records and a growing index.
struct FrameFileCheck {
  bool valid = false;      // header and every counted frame as written
  uint32_t frames = 0;     // whole frames found
  uint64_t dataBytes = 0;  // their data bytes
  uint64_t end = 0;        // the end of the last whole frame
};
FrameFileCheck CheckFrameFile(const uint8_t* data, size_t size);

// ---- MPEG packets and mu-law audio ----

class CMpegStreamHelper {
 public:
  // The low 32 bits of the decoding time stamp of a video packet header (00 00 01 E0-EF),
  // else of its presentation time stamp; 0 when the header is not one, a marker bit is wrong,
  // it has no time stamp, or the stamp lies beyond the header or the buffer.
  static uint32_t ReadTimeStamp(const uint8_t* data, size_t length);
  // G.711 mu-law sample to 16-bit linear (bias 132).
  static int16_t MuLawToLinear(uint8_t sample);
  // n samples of in expanded into out (n values).
  static void ExpandMuLaw(const uint8_t* in, size_t n, int16_t* out);
};
