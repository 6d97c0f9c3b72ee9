// Cuts the live stream into frames: reads chunks of at most 1400 bytes, has each frame header
// parsed (and told to an observer at once), resynchronises on the end-of-picture marker after data
// that is not a picture, and collects each picture into a socket-buffer slot. Bytes of a chunk that
// belong to the next frame are carried over to the next search.
#pragma once

#include <cstdint>

#include "live/frame_stream_source.h"
#include "live/rtp_header_parser.h"
#include "live/rtph_struct.h"
#include "live/stream_frame_header.h"

// A frame the splitter gives: its header and its picture, in the slot it was given.
struct StreamFrame {
  RTPH_Struct header;      // dwPayloadLength is the picture's length
  const uint8_t* picture;  // the slot's first byte
  uint32_t length;         // header.dwPayloadLength
};

class CFrameSplitter {
 public:
  static constexpr uint32_t kChunkBytes = 1400;
  // The longest picture read past when it does not fit the slot (no longer one can be decoded
  // here); a longer payload length is taken for a damaged header.
  static constexpr uint32_t kMaxPassedOverBytes = 1572864;

  enum class Outcome {
    kFrame,             // a frame: its picture is in the slot
    kStopped,           // a read was interrupted by a stop request
    kHeaderReadFailed,  // a read during the header search failed
    kHeaderTooLong,     // a header that does not fit in one chunk
    kBodyReadFailed,    // a read of the picture's remaining bytes failed
  };

  // Searches for the next frame, reads its picture into slot (slotBytes long) and gives it in
  // frame. Each header parsed on the way goes to observer (may be null) at once, also one whose
  // picture is then dropped. Data that does not start FF D8, a rejected header and a payload
  // length above kMaxPassedOverBytes make it resynchronise on the next end-of-picture marker; a
  // picture longer than the slot is read past, and one that does not start FF D8 FF DB is read
  // and dropped.
  Outcome NextFrame(FrameStreamSource& source, CRTPHeaderParser& parser,
                    ParsedHeaderObserver* observer, uint8_t* slot, uint32_t slotBytes,
                    StreamFrame* frame);

  // Forgets the carry and the resynchronisation (a new connection).
  void Reset();

  uint32_t CarryLength() const { return m_dwCarryLength; }
  bool IsResynchronising() const { return m_fResync; }

 private:
  uint32_t TakeCarry();
  void SetCarry(const uint8_t* bytes, uint32_t length);
  // Reads past the rest of a picture too long for the slot; kFrame when it is passed.
  Outcome PassOver(FrameStreamSource& source, const uint8_t* data, uint32_t dataLength,
                   uint32_t payload);
  // Reads into the chunk after its first length bytes: the new length, or a read result < 0.
  int ReadMore(FrameStreamSource& source, uint32_t length);

  uint8_t m_RecvChunkBuffer[kChunkBytes] = {};
  uint8_t m_CarryBuffer[kChunkBytes] = {};
  uint32_t m_dwCarryLength = 0;
  bool m_fResync = false;
};
