#include "live/stream_frame_header.h"

#include <cstring>

namespace {

// Reads fields in order from a bounded run of bytes; every read fails once the run is used up.
class Cursor {
 public:
  Cursor(const uint8_t* data, uint32_t size) : m_data(data), m_size(size) {}

  bool U8(uint8_t* v) {
    if (!Has(1)) return false;
    *v = m_data[m_pos++];
    return true;
  }
  bool U16(uint16_t* v) {
    if (!Has(2)) return false;
    *v = static_cast<uint16_t>(m_data[m_pos] | m_data[m_pos + 1] << 8);
    m_pos += 2;
    return true;
  }
  bool Read(uint8_t* v) { return U8(v); }
  bool Read(uint16_t* v) { return U16(v); }
  bool U32(uint32_t* v) {
    if (!Has(4)) return false;
    *v = static_cast<uint32_t>(m_data[m_pos]) | static_cast<uint32_t>(m_data[m_pos + 1]) << 8 |
         static_cast<uint32_t>(m_data[m_pos + 2]) << 16 |
         static_cast<uint32_t>(m_data[m_pos + 3]) << 24;
    m_pos += 4;
    return true;
  }
  // A field present when its mask bit is set: read, and its flag set. False when cut short.
  template <class T>
  bool Flagged(bool present, T* v, bool* seen) {
    if (!present) return true;
    if (!Read(v)) return false;
    *seen = true;
    return true;
  }
  bool Bytes(void* out, uint32_t n) {
    if (!Has(n)) return false;
    std::memcpy(out, m_data + m_pos, n);
    m_pos += n;
    return true;
  }
  bool Skip(uint32_t n) {
    if (!Has(n)) return false;
    m_pos += n;
    return true;
  }
  // The next byte without moving on.
  bool Peek(uint8_t* v) const {
    if (!Has(1)) return false;
    *v = m_data[m_pos];
    return true;
  }
  uint32_t Position() const { return m_pos; }

 private:
  bool Has(uint32_t n) const { return m_size - m_pos >= n; }

  const uint8_t* m_data;
  uint32_t m_size;
  uint32_t m_pos = 0;
};

constexpr uint8_t kExtensionMarker = 0x32;

// The extension block of the version-word layout, after its mask bit. False when cut short.
bool DecodeExtension(Cursor& c, StreamFrameHeader* out) {
  uint8_t marker = 0;
  if (!c.Peek(&marker)) return false;
  if (marker != kExtensionMarker) return true;  // not an extension block: nothing is consumed
  uint16_t mask = 0;
  if (!c.Skip(2) || !c.U16(&mask)) return false;
  RTPH_Struct& r = out->rtph;
  if ((mask & 0x01) && !c.U8(&r.byHalfWidth)) return false;
  if (!c.Flagged(mask & 0x02, &out->byRetrState, &out->fRetrState)) return false;
  if (mask & 0x08) out->fNetworkBackup = true;
  if (mask & 0x04) r.byNoPicture = 1;
  if (mask & 0x20) r.byDisplayChannel = 16;
  return c.Flagged(mask & 0x10, &out->byCmosState, &out->fCmosState);
}

HeaderParse DecodeVersionWordLayout(Cursor& c, StreamFrameHeader* out) {
  RTPH_Struct& r = out->rtph;
  uint16_t version = 0, payload = 0, mask = 0;
  uint8_t channel = 0, display = 0;
  if (!c.U16(&version)) return HeaderParse::kIncomplete;
  if (version != 1) return HeaderParse::kRejected;
  if (!c.U16(&payload) || !c.U8(&channel) || !c.U8(&display) || !c.U16(&mask))
    return HeaderParse::kIncomplete;
  r.dwPayloadLength = payload;
  r.byChannel = channel & 0x0F;
  r.byDisplayChannel = static_cast<uint8_t>(display >> 4);
  if (!c.Flagged(mask & 0x0002, &r.wMotionDetect, &out->fMotion) ||
      !c.Flagged(mask & 0x0004, &r.wEventWordA, &out->fEventA) ||
      !c.Flagged(mask & 0x0008, &r.wEventWordB, &out->fEventB))
    return HeaderParse::kIncomplete;
  uint32_t v = 0;
  if (mask & 0x0020) {
    if (!c.U32(&v)) return HeaderParse::kIncomplete;
    r.dwTimeStamp = TimeStampMilliseconds(v, HeaderLayout::kVersionWord);
  }
  if (mask & 0x0040) {
    if (!c.U32(&v)) return HeaderParse::kIncomplete;
    r.stDeviceTime = UnpackDeviceTime(v);
    out->fDeviceTime = true;
  }
  if ((mask & 0x0080) && !c.Bytes(r.szTitle, sizeof r.szTitle)) return HeaderParse::kIncomplete;
  if ((mask & 0x0100) && !c.U8(&r.byExtra)) return HeaderParse::kIncomplete;
  if ((mask & 0x2000) && !DecodeExtension(c, out)) return HeaderParse::kIncomplete;
  return HeaderParse::kParsed;
}

HeaderParse DecodePresenceMaskLayout(Cursor& c, StreamFrameHeader* out) {
  RTPH_Struct& r = out->rtph;
  uint32_t mask = 0, v = 0;
  if (!c.U32(&mask)) return HeaderParse::kIncomplete;
  r.dwPresenceMask = mask;
  if ((mask & 0x1) && !c.U32(&r.dwPayloadLength)) return HeaderParse::kIncomplete;
  if ((mask & 0x2) && !c.Bytes(r.szTitle, sizeof r.szTitle)) return HeaderParse::kIncomplete;
  if (!c.Flagged(mask & 0x4, &out->byRetrState, &out->fRetrState) || ((mask & 0x4) && !c.Skip(1)))
    return HeaderParse::kIncomplete;
  if ((mask & 0x8) && !c.U8(&r.byHalfWidth)) return HeaderParse::kIncomplete;
  if ((mask & 0x10) && !c.U8(&r.byExtra)) return HeaderParse::kIncomplete;
  if (mask & 0x20) {
    if (!c.U32(&v)) return HeaderParse::kIncomplete;
    r.dwTimeStamp = TimeStampMilliseconds(v, HeaderLayout::kPresenceMask);
  }
  if ((mask & 0x40) && !c.U8(&r.byChannel)) return HeaderParse::kIncomplete;
  if (!c.Flagged(mask & 0x80, &r.wEventWordA, &out->fEventA) ||
      !c.Flagged(mask & 0x100, &r.wMotionDetect, &out->fMotion) ||
      !c.Flagged(mask & 0x200, &r.wEventWordB, &out->fEventB))
    return HeaderParse::kIncomplete;
  if (mask & 0x400) out->fNetworkBackup = true;
  if ((mask & 0x800) && !c.U8(&r.byDisplayChannel)) return HeaderParse::kIncomplete;
  if (mask & 0x2000) {
    if (!c.U32(&v)) return HeaderParse::kIncomplete;
    r.stDeviceTime = UnpackDeviceTime(v);
    out->fDeviceTime = true;
  }
  if (mask & 0x1000) r.byNoPicture = 1;
  return HeaderParse::kParsed;
}

}  // namespace

HeaderParse DecodeStreamFrameHeader(const uint8_t* data, uint32_t size, HeaderLayout layout,
                                    StreamFrameHeader* out) {
  *out = StreamFrameHeader{};
  out->layout = layout;
  Cursor c(data, data ? size : 0);
  const HeaderParse result = layout == HeaderLayout::kVersionWord
                                 ? DecodeVersionWordLayout(c, out)
                                 : DecodePresenceMaskLayout(c, out);
  if (result == HeaderParse::kParsed) out->rtph.dwHeaderLength = c.Position();
  return result;
}

DeviceTime UnpackDeviceTime(uint32_t packed) {
  DeviceTime t{};
  t.wYear = static_cast<uint16_t>((packed >> 26) + 2000);
  t.wMonth = static_cast<uint16_t>((packed >> 22) & 0x0F);
  t.wDay = static_cast<uint16_t>((packed >> 17) & 0x1F);
  t.wHour = static_cast<uint16_t>((packed >> 12) & 0x1F);
  t.wMinute = static_cast<uint16_t>((packed >> 6) & 0x3F);
  t.wSecond = static_cast<uint16_t>(packed & 0x3F);
  return t;
}

uint32_t TimeStampMilliseconds(uint32_t received, HeaderLayout layout) {
  if (layout == HeaderLayout::kVersionWord && received >= 0x33333333u) return 0;
  return received * 5u;
}
