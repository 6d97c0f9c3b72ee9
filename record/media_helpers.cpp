#include "record/media_helpers.h"

#include <chrono>
#include <cstring>
#include <ctime>

namespace {
constexpr uint64_t kHeaderSize = sizeof(FrameFileHeader);
constexpr uint64_t kRecordSize = sizeof(FrameRecord);

FrameRecord ReadRecord(const uint8_t* at) {
  FrameRecord r;
  std::memcpy(&r, at, sizeof r);
  return r;
}
}  // namespace

FrameStamp FrameClockNow() {
  using namespace std::chrono;
  FrameStamp s;
  s.tickMs = static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
#if defined(_WIN32)
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
#else
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
#endif
  // The local calendar's seconds: UTC plus the zone's offset at this moment.
  utc.tm_isdst = local.tm_isdst;
  const std::time_t offset = std::mktime(&local) - std::mktime(&utc);
  s.localTime = static_cast<uint32_t>(now + offset);
  return s;
}

CFrameFileWriter::CFrameFileWriter(RecordFile& file, std::function<FrameStamp()> clock)
    : m_file(file), m_clock(clock ? std::move(clock) : FrameClockNow) {
  m_header.magic = kFrameRecordMagic;
  m_header.headerSize = static_cast<uint32_t>(kHeaderSize);
  m_header.endOffset = kHeaderSize;
  m_failed = !m_file.Truncate(0) || !WriteHeader();
}

CFrameFileWriter::~CFrameFileWriter() {
  WriteHeader();
  m_file.Flush();
}

bool CFrameFileWriter::WriteHeader() {
  return m_file.WriteAt(0, &m_header, sizeof m_header);
}

bool CFrameFileWriter::WriteFrame(const uint8_t* data, uint32_t length, const uint8_t (&bytes)[3],
                                  const uint32_t (&words)[4]) {
  return WriteFrame(data, length, m_clock(), bytes, words);
}

bool CFrameFileWriter::WriteFrame(const uint8_t* data, uint32_t length, const FrameStamp& stamp,
                                  const uint8_t (&bytes)[3], const uint32_t (&words)[4]) {
  if (m_failed || (data == nullptr && length != 0)) return false;
  FrameRecord r{};
  r.frameIndex = m_header.frameCount;
  r.tickMs = stamp.tickMs;
  r.localTime = stamp.localTime;
  r.dataLength = length;
  r.magic = kFrameRecordMagic;
  std::memcpy(r.bytes, bytes, sizeof r.bytes);
  std::memcpy(r.words, words, sizeof r.words);
  const uint64_t at = m_header.endOffset;
  const bool written = m_file.WriteAt(at, &r, sizeof r) &&
                       (length == 0 || m_file.WriteAt(at + kRecordSize, data, length)) &&
                       m_file.WriteAt(at + kRecordSize + length, &r, sizeof r);
  if (!written) {
    // Nothing of a torn frame stays: the file ends with the last whole one, and says so.
    m_failed = true;
    m_file.Truncate(at);
    WriteHeader();
    return false;
  }
  if (m_header.frameCount == 0) m_header.firstTime = stamp.localTime;
  m_header.lastTime = stamp.localTime;
  m_header.frameCount++;
  m_header.endOffset = at + 2 * kRecordSize + length;
  if (m_header.frameCount % kFrameHeaderPeriod == 0) WriteHeader();
  return true;
}

FrameFileCheck CheckFrameFile(const uint8_t* data, size_t size) {
  FrameFileCheck c;
  if (size < kHeaderSize) return c;
  FrameFileHeader h;
  std::memcpy(&h, data, sizeof h);
  if (h.magic != kFrameRecordMagic || h.headerSize != kHeaderSize) return c;
  uint64_t at = kHeaderSize;
  c.end = at;
  while (size - at >= 2 * kRecordSize) {
    const FrameRecord first = ReadRecord(data + at);
    if (first.magic != kFrameRecordMagic || first.frameIndex != c.frames) break;
    if (first.dataLength > size - at - 2 * kRecordSize) break;
    const uint64_t second = at + kRecordSize + first.dataLength;
    if (std::memcmp(data + at, data + second, kRecordSize) != 0) break;
    at = second + kRecordSize;
    c.frames++;
    c.dataBytes += first.dataLength;
    c.end = at;
  }
  c.valid = c.frames == h.frameCount && c.end == h.endOffset;
  return c;
}

uint32_t CMpegStreamHelper::ReadTimeStamp(const uint8_t* data, size_t length) {
  // 00 00 01 id, packet length (2), flags (2), header data length, then the stamps.
  if (data == nullptr || length < 9) return 0;
  if (data[0] != 0 || data[1] != 0 || data[2] != 1 || (data[3] & 0xF0) != 0xE0) return 0;
  const unsigned flags = data[7] >> 6;  // 2: presentation stamp, 3: both
  const size_t headerData = data[8];
  const size_t stamps = flags == 3 ? 2 : flags == 2 ? 1 : 0;
  if (stamps == 0 || headerData < 5 * stamps || length < 9 + 5 * stamps) return 0;
  const uint8_t* s = data + 9 + 5 * (stamps - 1);  // the decoding stamp when there are two
  for (const uint8_t* p : {data + 9, s})
    if ((p[0] & 1) == 0 || (p[2] & 1) == 0 || (p[4] & 1) == 0) return 0;
  return (static_cast<uint32_t>((s[0] >> 1) & 0x03) << 30) | (static_cast<uint32_t>(s[1]) << 22) |
         (static_cast<uint32_t>(s[2] >> 1) << 15) | (static_cast<uint32_t>(s[3]) << 7) |
         static_cast<uint32_t>(s[4] >> 1);
}

int16_t CMpegStreamHelper::MuLawToLinear(uint8_t sample) {
  constexpr int kBias = 132;
  const int u = static_cast<uint8_t>(~sample);
  const int magnitude = (((u & 0x0F) << 3) + kBias) << ((u >> 4) & 7);
  return static_cast<int16_t>((u & 0x80) ? kBias - magnitude : magnitude - kBias);
}

void CMpegStreamHelper::ExpandMuLaw(const uint8_t* in, size_t n, int16_t* out) {
  for (size_t i = 0; i < n; ++i) out[i] = MuLawToLinear(in[i]);
}
