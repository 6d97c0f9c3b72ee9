#include "devsim/frame_header.h"

#include <algorithm>

namespace devsim {
namespace {

void PutU8(std::string& out, uint8_t v) {
  out += static_cast<char>(v);
}

void PutU16(std::string& out, uint16_t v) {
  PutU8(out, static_cast<uint8_t>(v & 0xFF));
  PutU8(out, static_cast<uint8_t>(v >> 8));
}

void PutU32(std::string& out, uint32_t v) {
  PutU16(out, static_cast<uint16_t>(v & 0xFFFF));
  PutU16(out, static_cast<uint16_t>(v >> 16));
}

void PutTitle(std::string& out, const TitleBytes& title) {
  out.append(reinterpret_cast<const char*>(title.data()), title.size());
}

void PatchU16(std::string& out, size_t at, uint16_t v) {
  out[at] = static_cast<char>(v & 0xFF);
  out[at + 1] = static_cast<char>(v >> 8);
}

std::string EncodeVersioned(const FrameHeaderFields& f, uint64_t payload_bytes,
                            bool counts_header) {
  using namespace versioned;
  uint16_t ext = kExtHalfWidth;
  if (f.retr) ext |= kExtRetr;
  if (f.network_backup) ext |= kExtNetworkBackup;
  if (f.no_picture) ext |= kExtNoPicture;
  if (f.display_channel >= 16) ext |= kExtChannel16;
  if (f.sensor) ext |= kExtSensor;

  uint16_t mask = kTimeStamp | kDate | kTitle | kExtension;
  if (f.motion) mask |= kMotion;
  if (f.event_a) mask |= kEventA;
  if (f.event_b) mask |= kEventB;
  if (f.extra) mask |= kExtra;

  std::string out;
  PutU16(out, f.version);
  PutU16(out, 0);  // payload, patched below
  PutU8(out, f.channel & 0x0F);
  PutU8(out, f.display_channel >= 16 ? 0 : static_cast<uint8_t>(f.display_channel << 4));
  PutU16(out, mask);
  if (f.motion) PutU16(out, *f.motion);
  if (f.event_a) PutU16(out, *f.event_a);
  if (f.event_b) PutU16(out, *f.event_b);
  PutU32(out, f.time_stamp);
  PutU32(out, f.packed_date);
  PutTitle(out, f.title);
  if (f.extra) PutU8(out, *f.extra);
  // Extension block: tag, a byte the reader skips, its mask, then the fields in the reader's
  // order (half width, R.E.T.R., camera sensor; the other bits carry no byte).
  PutU8(out, kExtensionTag);
  PutU8(out, 0);
  PutU16(out, ext);
  PutU8(out, f.half_width ? 1 : 0);
  if (f.retr) PutU8(out, *f.retr);
  if (f.sensor) PutU8(out, *f.sensor);

  uint64_t field = payload_bytes + (counts_header ? out.size() : 0);
  PatchU16(out, 2, static_cast<uint16_t>(std::min<uint64_t>(field, 0xFFFF)));
  return out;
}

std::string EncodeMaskFirst(const FrameHeaderFields& f, uint64_t payload_bytes) {
  using namespace mask_first;
  uint32_t mask = kPayload | kTitle | kHalfWidth | kTimeStamp | kChannel | kDisplayChannel | kDate;
  if (f.retr) mask |= kRetr;
  if (f.extra) mask |= kExtra;
  if (f.event_a) mask |= kEventA;
  if (f.motion) mask |= kMotion;
  if (f.event_b) mask |= kEventB;
  if (f.network_backup) mask |= kNetworkBackup;
  if (f.no_picture) mask |= kNoPicture;

  std::string out;
  PutU32(out, mask);
  PutU32(out, static_cast<uint32_t>(std::min<uint64_t>(payload_bytes, 0xFFFFFFFFu)));
  PutTitle(out, f.title);
  if (f.retr) {
    PutU8(out, *f.retr);
    PutU8(out, 0);
  }
  PutU8(out, f.half_width ? 1 : 0);
  if (f.extra) PutU8(out, *f.extra);
  PutU32(out, f.time_stamp);
  PutU8(out, f.channel);
  if (f.event_a) PutU16(out, *f.event_a);
  if (f.motion) PutU16(out, *f.motion);
  if (f.event_b) PutU16(out, *f.event_b);
  PutU8(out, f.display_channel);
  PutU32(out, f.packed_date);
  return out;
}

}  // namespace

uint32_t PackDeviceDate(const DeviceClock& c) {
  uint32_t year = static_cast<uint32_t>(std::clamp(c.year - 2000, 0, 63));
  return year << 26 | static_cast<uint32_t>(c.month & 0x0F) << 22 |
         static_cast<uint32_t>(c.day & 0x1F) << 17 | static_cast<uint32_t>(c.hour & 0x1F) << 12 |
         static_cast<uint32_t>(c.minute & 0x3F) << 6 | static_cast<uint32_t>(c.second & 0x3F);
}

std::string EncodeFrameHeader(HeaderLayout layout, const FrameHeaderFields& fields,
                              uint64_t payload_bytes, bool counts_header) {
  return layout == HeaderLayout::kVersioned ? EncodeVersioned(fields, payload_bytes, counts_header)
                                            : EncodeMaskFirst(fields, payload_bytes);
}

}  // namespace devsim
