#include "live/frame_splitter.h"

#include <algorithm>
#include <cstring>

#include "live/jpeg_frame.h"

namespace {
constexpr uint32_t kNotFound = UINT32_MAX;
// Data bytes looked at before a frame start is accepted.
constexpr uint32_t kPictureStartBytes = 4;

// Index just after the first FF D9 pair of the run, or kNotFound.
uint32_t FindEndOfPicture(const uint8_t* run, uint32_t length) {
  for (uint32_t i = 0; i + 1 < length; ++i) {
    if (run[i] == 0xFF && run[i + 1] == 0xD9) return i + 2;
  }
  return kNotFound;
}

CFrameSplitter::Outcome ReadFailure(int result, CFrameSplitter::Outcome failed) {
  return result == FrameStreamSource::kReadStopped ? CFrameSplitter::Outcome::kStopped : failed;
}
}  // namespace

void CFrameSplitter::Reset() {
  m_dwCarryLength = 0;
  m_fResync = false;
}

uint32_t CFrameSplitter::TakeCarry() {
  const uint32_t n = m_dwCarryLength;
  if (n) std::memmove(m_RecvChunkBuffer, m_CarryBuffer, n);
  m_dwCarryLength = 0;
  return n;
}

void CFrameSplitter::SetCarry(const uint8_t* bytes, uint32_t length) {
  std::memmove(m_CarryBuffer, bytes, length);
  m_dwCarryLength = length;
}

int CFrameSplitter::ReadMore(FrameStreamSource& source, uint32_t length) {
  const int n = source.Read(m_RecvChunkBuffer + length, kChunkBytes - length);
  if (n < 0) return n;
  // A source never gives more than asked; anything else is treated as a failed read.
  if (n == 0 || static_cast<uint32_t>(n) > kChunkBytes - length)
    return FrameStreamSource::kReadFailed;
  return static_cast<int>(length) + n;
}

CFrameSplitter::Outcome CFrameSplitter::PassOver(FrameStreamSource& source, const uint8_t* data,
                                                 uint32_t dataLength, uint32_t payload) {
  uint32_t passed = std::min(dataLength, payload);
  if (dataLength > payload) SetCarry(data + payload, dataLength - payload);
  while (passed < payload) {
    const int n = ReadMore(source, 0);
    if (n < 0) return ReadFailure(n, Outcome::kBodyReadFailed);
    const uint32_t got = static_cast<uint32_t>(n);
    const uint32_t used = std::min(got, payload - passed);
    passed += used;
    if (got > used) SetCarry(m_RecvChunkBuffer + used, got - used);
  }
  return Outcome::kFrame;
}

CFrameSplitter::Outcome CFrameSplitter::NextFrame(FrameStreamSource& source,
                                                  CRTPHeaderParser& parser,
                                                  ParsedHeaderObserver* observer, uint8_t* slot,
                                                  uint32_t slotBytes, StreamFrame* frame) {
  for (;;) {
    source.OnFrameSearch();
    StreamFrameHeader parsedHeader;

    // The carried bytes, then as many new ones as fit in the chunk.
    uint32_t length = TakeCarry();
    if (length < kChunkBytes) {
      const int n = ReadMore(source, length);
      if (n < 0) return ReadFailure(n, Outcome::kHeaderReadFailed);
      length = static_cast<uint32_t>(n);
    }

    if (m_fResync) {
      const uint32_t after = FindEndOfPicture(m_RecvChunkBuffer, length);
      if (after != kNotFound) {
        m_fResync = false;
        SetCarry(m_RecvChunkBuffer + after, length - after);
      }
      continue;
    }

    // The header, reading on while it is cut short by the end of what has arrived.
    uint32_t headerLength = 0;
    bool readOn = false;
    HeaderParse parsed;
    while ((parsed = parser.Parse(m_RecvChunkBuffer, length, &headerLength, &parsedHeader)) ==
           HeaderParse::kIncomplete) {
      if (length >= kChunkBytes) return Outcome::kHeaderTooLong;
      const int n = ReadMore(source, length);
      if (n < 0) return ReadFailure(n, Outcome::kHeaderReadFailed);
      length = static_cast<uint32_t>(n);
      readOn = true;
    }
    if (parsed == HeaderParse::kRejected) {
      // Look for the end of a picture from this chunk's first byte on.
      m_fResync = true;
      SetCarry(m_RecvChunkBuffer, length);
      continue;
    }
    if (observer) observer->OnHeaderParsed(parsedHeader);
    if (headerLength > length) return Outcome::kHeaderTooLong;
    const RTPH_Struct& header = parsedHeader.rtph;

    uint32_t dataLength = length - headerLength;
    // A header that came alone in its chunk: the next chunk is read as a header. (One that was
    // cut short and read on is followed by its picture.)
    if (dataLength == 0 && !readOn) continue;
    const uint32_t payload = header.dwPayloadLength;
    if (payload == 0) {
      // No picture: the bytes after the header are the next header.
      SetCarry(m_RecvChunkBuffer + headerLength, dataLength);
      continue;
    }
    while (dataLength < kPictureStartBytes && length < kChunkBytes) {
      const int n = ReadMore(source, length);
      if (n < 0) return ReadFailure(n, Outcome::kHeaderReadFailed);
      dataLength += static_cast<uint32_t>(n) - length;
      length = static_cast<uint32_t>(n);
    }
    const uint8_t* data = m_RecvChunkBuffer + headerLength;
    if (dataLength < kPictureStartBytes || data[0] != 0xFF || data[1] != 0xD8 ||
        payload > kMaxPassedOverBytes) {
      m_fResync = true;
      continue;
    }
    if (payload > slotBytes) {
      // Too long for the slot: its bytes are read past, so the stream stays in step.
      const Outcome passed = PassOver(source, data, dataLength, payload);
      if (passed != Outcome::kFrame) return passed;
      continue;
    }

    // The frame start: the picture's first bytes into the slot, the rest carried over.
    const uint32_t taken = std::min(dataLength, payload);
    std::memcpy(slot, data, taken);
    if (dataLength > payload) SetCarry(data + payload, dataLength - payload);
    const bool picture = payload >= kPictureStartBytes && IsJpegFrame(slot, taken);
    if (picture) source.OnReceivedBytes(length);

    // The body: only the missing bytes go into the slot.
    uint32_t collected = taken;
    while (collected < payload) {
      const int n = ReadMore(source, 0);
      if (n < 0) return ReadFailure(n, Outcome::kBodyReadFailed);
      const uint32_t got = static_cast<uint32_t>(n);
      const uint32_t used = std::min(got, payload - collected);
      std::memcpy(slot + collected, m_RecvChunkBuffer, used);
      collected += used;
      if (got > used) SetCarry(m_RecvChunkBuffer + used, got - used);
      if (picture) source.OnReceivedBytes(got);
    }
    if (picture) {
      *frame = StreamFrame{header, slot, payload};
      return Outcome::kFrame;
    }
    // Not a device picture: dropped whole, so the stream stays in step.
  }
}
