#include "tests/live/stream_test_support.h"

#include <algorithm>
#include <cstring>

namespace livetest {
namespace {
void Put8(Bytes& b, uint8_t v) {
  b.push_back(v);
}
void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, static_cast<uint16_t>(v));
  Put16(b, static_cast<uint16_t>(v >> 16));
}
void PutTitle(Bytes& b, const std::string& title) {
  for (size_t i = 0; i < 16; ++i)
    b.push_back(i < title.size() ? static_cast<uint8_t>(title[i]) : 0);
}
}  // namespace

Bytes VersionWordHeader(const VersionWordFields& f) {
  uint16_t mask = f.extraMaskBits;
  if (f.motion) mask |= 0x0002;
  if (f.eventA) mask |= 0x0004;
  if (f.eventB) mask |= 0x0008;
  if (f.timeStamp) mask |= 0x0020;
  if (f.packedDate) mask |= 0x0040;
  if (f.title) mask |= 0x0080;
  if (f.extra) mask |= 0x0100;
  if (f.extensionMarker) mask |= 0x2000;
  Bytes b;
  Put16(b, f.version);
  Put16(b, f.payload);
  Put8(b, f.channelByte);
  Put8(b, f.displayByte);
  Put16(b, mask);
  if (f.motion) Put16(b, *f.motion);
  if (f.eventA) Put16(b, *f.eventA);
  if (f.eventB) Put16(b, *f.eventB);
  if (f.timeStamp) Put32(b, *f.timeStamp);
  if (f.packedDate) Put32(b, *f.packedDate);
  if (f.title) PutTitle(b, *f.title);
  if (f.extra) Put8(b, *f.extra);
  if (f.extensionMarker) {
    Put8(b, *f.extensionMarker);
    if (*f.extensionMarker == 0x32) {
      uint16_t ext = f.extensionMask;
      if (f.halfWidth) ext |= 0x01;
      if (f.retr) ext |= 0x02;
      if (f.cmos) ext |= 0x10;
      Put8(b, f.extensionSkipped);
      Put16(b, ext);
      if (f.halfWidth) Put8(b, *f.halfWidth);
      if (f.retr) Put8(b, *f.retr);
      if (f.cmos) Put8(b, *f.cmos);
    }
  }
  return b;
}

Bytes PresenceMaskHeader(const PresenceMaskFields& f) {
  uint32_t mask = f.extraMaskBits;
  if (f.payload) mask |= 0x1;
  if (f.title) mask |= 0x2;
  if (f.retr) mask |= 0x4;
  if (f.halfWidth) mask |= 0x8;
  if (f.extra) mask |= 0x10;
  if (f.timeStamp) mask |= 0x20;
  if (f.channel) mask |= 0x40;
  if (f.eventA) mask |= 0x80;
  if (f.motion) mask |= 0x100;
  if (f.eventB) mask |= 0x200;
  if (f.displayChannel) mask |= 0x800;
  if (f.packedDate) mask |= 0x2000;
  Bytes b;
  Put32(b, mask);
  if (f.payload) Put32(b, *f.payload);
  if (f.title) PutTitle(b, *f.title);
  if (f.retr) {
    Put8(b, *f.retr);
    Put8(b, 0xEE);
  }
  if (f.halfWidth) Put8(b, *f.halfWidth);
  if (f.extra) Put8(b, *f.extra);
  if (f.timeStamp) Put32(b, *f.timeStamp);
  if (f.channel) Put8(b, *f.channel);
  if (f.eventA) Put16(b, *f.eventA);
  if (f.motion) Put16(b, *f.motion);
  if (f.eventB) Put16(b, *f.eventB);
  if (f.displayChannel) Put8(b, *f.displayChannel);
  if (f.packedDate) Put32(b, *f.packedDate);
  return b;
}

Bytes DevicePicture(uint32_t n, uint8_t seed) {
  Bytes b(n);
  for (uint32_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((i + seed) % 0xF0);
  b[0] = 0xFF;
  b[1] = 0xD8;
  b[2] = 0xFF;
  b[3] = 0xDB;
  b[n - 2] = 0xFF;
  b[n - 1] = 0xD9;
  return b;
}

Bytes ApplicationSegmentPicture(uint32_t n) {
  Bytes b = DevicePicture(n);
  b[3] = 0xE0;
  return b;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

void ScriptedSource::AddInPieces(const Bytes& bytes, size_t n) {
  for (size_t i = 0; i < bytes.size(); i += n)
    Add(Bytes(bytes.begin() + i, bytes.begin() + std::min(bytes.size(), i + n)));
}

int ScriptedSource::Read(uint8_t* buffer, uint32_t size) {
  readSizes.push_back(size);
  if (m_script.empty()) return kReadFailed;  // the device closed the connection
  Entry& e = m_script.front();
  if (e.kind != Kind::kBytes) {
    const Kind kind = e.kind;
    m_script.pop_front();
    return kind == Kind::kStop ? kReadStopped : kReadFailed;
  }
  const uint32_t n = std::min<uint32_t>(size, static_cast<uint32_t>(e.bytes.size()));
  std::memcpy(buffer, e.bytes.data(), n);
  e.bytes.erase(e.bytes.begin(), e.bytes.begin() + n);
  if (e.bytes.empty()) m_script.pop_front();
  return static_cast<int>(n);
}

void RecordingHost::StoreDeviceTime(const DeviceTime& t) {
  deviceTime = t;
  calls.push_back("StoreDeviceTime");
}

void RecordingHost::SetRETRState(uint8_t state) {
  calls.push_back("SetRETRState " + std::to_string(state));
}

}  // namespace livetest
