// The carried media helpers: raw frame files (layout, the header every ten frames and at the
// end, a full disk leaving only whole frames), the packet time stamp and mu-law expansion.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "record/media_helpers.h"
#include "tests/record/memory_file_system.h"

namespace {

constexpr uint8_t kBytes[3] = {7, 8, 9};
constexpr uint32_t kWords[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};

FrameFileHeader HeaderOf(const std::vector<uint8_t>& bytes) {
  FrameFileHeader h{};
  if (bytes.size() >= sizeof h) std::memcpy(&h, bytes.data(), sizeof h);
  return h;
}

std::vector<uint8_t> Frame(size_t n, uint8_t seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + i);
  return v;
}

TEST(FrameFile, RecordsAroundEachFrameAndTheHeaderEveryTenFramesAndAtTheEnd) {
  MemoryFileSystem fs;
  auto file = fs.Open("f.raw", FileOpenMode::kCreateNew);
  ASSERT_TRUE(file);
  uint32_t tick = 1000;
  {
    CFrameFileWriter w(*file, [&] { return FrameStamp{tick += 40, 1167750245}; });
    EXPECT_EQ(HeaderOf(fs.Content("f.raw")).frameCount, 0u);
    for (int i = 0; i < 12; ++i) {
      const auto f = Frame(100 + i, static_cast<uint8_t>(i));
      ASSERT_TRUE(w.WriteFrame(f.data(), static_cast<uint32_t>(f.size()), kBytes, kWords));
      // The header is written again after the 10th frame only, and at the end.
      EXPECT_EQ(HeaderOf(fs.Content("f.raw")).frameCount, i < 9 ? 0u : 10u) << i;
    }
    EXPECT_TRUE(w.WriteFrame(nullptr, 0, FrameStamp{5, 6}, kBytes, kWords));  // an empty frame
  }
  const std::vector<uint8_t> bytes = fs.Content("f.raw");
  const FrameFileHeader h = HeaderOf(bytes);
  EXPECT_EQ(h.magic, 0xADFBCE23u);
  EXPECT_EQ(h.headerSize, 80u);
  EXPECT_EQ(h.frameCount, 13u);
  EXPECT_EQ(h.endOffset, bytes.size());
  EXPECT_EQ(h.firstTime, 1167750245u);
  EXPECT_EQ(h.lastTime, 6u);
  // The first frame: its record, its data, the same record again.
  FrameRecord r{};
  std::memcpy(&r, bytes.data() + 80, sizeof r);
  EXPECT_EQ(r.frameIndex, 0u);
  EXPECT_EQ(r.tickMs, 1040u);
  EXPECT_EQ(r.localTime, 1167750245u);
  EXPECT_EQ(r.dataLength, 100u);
  EXPECT_EQ(r.magic, kFrameRecordMagic);
  EXPECT_EQ(r.bytes[2], 9);
  EXPECT_EQ(r.words[3], 0x44444444u);
  EXPECT_EQ(bytes[80 + 40], 0);
  EXPECT_EQ(bytes[80 + 40 + 99], 99);
  EXPECT_EQ(std::memcmp(bytes.data() + 80, bytes.data() + 80 + 40 + 100, 40), 0);
  const FrameFileCheck c = CheckFrameFile(bytes.data(), bytes.size());
  EXPECT_TRUE(c.valid);
  EXPECT_EQ(c.frames, 13u);
  EXPECT_EQ(c.dataBytes, 12u * 100 + 66);
}

TEST(FrameFile, FullDiskLeavesWholeFramesAndAHeaderThatSaysSo) {
  for (const uint64_t capacity : {80 + 3 * 180 + 50, 80 + 3 * 180 + 30, 80 + 3 * 180 + 179}) {
    SCOPED_TRACE(capacity);
    MemoryFileSystem fs;
    fs.SetCapacity(capacity);
    auto file = fs.Open("f.raw", FileOpenMode::kCreateNew);
    ASSERT_TRUE(file);
    {
      CFrameFileWriter w(*file, [] { return FrameStamp{1, 2}; });
      const auto f = Frame(100, 1);
      int written = 0;
      while (w.WriteFrame(f.data(), 100, kBytes, kWords)) ++written;
      EXPECT_EQ(written, 3);
      EXPECT_TRUE(w.Failed());
      EXPECT_FALSE(w.WriteFrame(f.data(), 100, kBytes, kWords));  // ended for good
    }
    const auto bytes = fs.Content("f.raw");
    EXPECT_EQ(bytes.size(), 80u + 3 * 180);
    const FrameFileCheck c = CheckFrameFile(bytes.data(), bytes.size());
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.frames, 3u);
  }
}

TEST(FrameFile, CheckRefusesDamage) {
  MemoryFileSystem fs;
  auto file = fs.Open("f.raw", FileOpenMode::kCreateNew);
  {
    CFrameFileWriter w(*file, [] { return FrameStamp{1, 2}; });
    for (int i = 0; i < 3; ++i) {
      const auto f = Frame(10, 3);
      w.WriteFrame(f.data(), 10, kBytes, kWords);
    }
  }
  const auto good = fs.Content("f.raw");
  ASSERT_TRUE(CheckFrameFile(good.data(), good.size()).valid);
  struct Case {
    size_t at;  // byte changed, or the size cut to
    bool cut;
    uint32_t frames;
  } cases[] = {
      {0, false, 0},                       // magic
      {80 + 16, false, 0},                 // first record's magic
      {80 + 90 + 12, false, 1},            // second frame's length
      {80 + 90 + 90 + 40 + 10, false, 2},  // third frame's closing record
      {good.size() - 1, true, 2},          // cut inside the last record
      {79, true, 0},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> v = good;
    if (c.cut)
      v.resize(c.at);
    else
      v[c.at] ^= 0x5A;
    const FrameFileCheck r = CheckFrameFile(v.data(), v.size());
    EXPECT_FALSE(r.valid) << c.at;
    EXPECT_EQ(r.frames, c.frames) << c.at;
  }
}

TEST(MpegStreamHelper, TimeStampOfVideoPacketHeaders) {
  // PTS 0x1'2345'6789 and DTS 0x0'8765'4321 in their 5-byte forms.
  auto stamp = [](uint8_t prefix, uint64_t v) {
    return std::vector<uint8_t>{
        static_cast<uint8_t>(prefix << 4 | ((v >> 29) & 0x0E) | 1), static_cast<uint8_t>(v >> 22),
        static_cast<uint8_t>(((v >> 14) & 0xFE) | 1), static_cast<uint8_t>(v >> 7),
        static_cast<uint8_t>(((v << 1) & 0xFE) | 1)};
  };
  auto packet = [&](uint8_t id, uint8_t flags, uint8_t headerLength) {
    std::vector<uint8_t> p = {0, 0, 1, id, 0x10, 0x00, 0x80, flags, headerLength};
    if (flags & 0x80) {
      const auto s = stamp(flags == 0xC0 ? 3 : 2, 0x123456789ull);
      p.insert(p.end(), s.begin(), s.end());
    }
    if (flags == 0xC0) {
      const auto s = stamp(1, 0x087654321ull);
      p.insert(p.end(), s.begin(), s.end());
    }
    return p;
  };
  struct Case {
    std::vector<uint8_t> bytes;
    uint32_t want;
    const char* what;
  } cases[] = {
      {packet(0xE0, 0x80, 5), 0x23456789u, "presentation stamp, low 32 bits"},
      {packet(0xEF, 0xC0, 10), 0x87654321u, "both: the decoding stamp"},
      {packet(0xE0, 0x00, 0), 0u, "no stamp"},
      {packet(0xC0, 0x80, 5), 0u, "an audio packet"},
      {packet(0xE0, 0x80, 4), 0u, "stamp beyond the header data"},
      {packet(0xE0, 0xC0, 5), 0u, "two stamps in five bytes"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CMpegStreamHelper::ReadTimeStamp(c.bytes.data(), c.bytes.size()), c.want) << c.what;
  // A marker bit of either stamp cleared, or the buffer ending inside the stamp.
  for (const size_t at : {9u, 11u, 13u, 14u, 16u, 18u}) {
    auto p = packet(0xE0, 0xC0, 10);
    p[at] &= 0xFE;
    EXPECT_EQ(CMpegStreamHelper::ReadTimeStamp(p.data(), p.size()), 0u) << at;
  }
  const auto both = packet(0xE0, 0xC0, 10);
  EXPECT_EQ(CMpegStreamHelper::ReadTimeStamp(both.data(), both.size() - 1), 0u);
  EXPECT_EQ(CMpegStreamHelper::ReadTimeStamp(both.data(), 8), 0u);
  EXPECT_EQ(CMpegStreamHelper::ReadTimeStamp(nullptr, 0), 0u);
}

TEST(MpegStreamHelper, MuLawToLinear) {
  struct Case {
    uint8_t in;
    int16_t out;
  } cases[] = {{0x00, -32124}, {0x80, 32124},  {0xFF, 0},    {0x7F, 0},   {0x7E, -8},
               {0xFE, 8},      {0x0F, -16764}, {0x70, -120}, {0xF0, 120}, {0x8F, 16764}};
  for (const auto& c : cases) EXPECT_EQ(CMpegStreamHelper::MuLawToLinear(c.in), c.out) << +c.in;
  // Every code: symmetric, and growing in magnitude as the code falls from 0x7F to 0x00.
  for (int u = 0; u < 128; ++u) {
    EXPECT_EQ(CMpegStreamHelper::MuLawToLinear(static_cast<uint8_t>(u)),
              -CMpegStreamHelper::MuLawToLinear(static_cast<uint8_t>(u | 0x80)));
    if (u > 0) {
      EXPECT_LT(CMpegStreamHelper::MuLawToLinear(static_cast<uint8_t>(u - 1)),
                CMpegStreamHelper::MuLawToLinear(static_cast<uint8_t>(u)));
    }
  }
  const uint8_t in[3] = {0x00, 0xFF, 0x80};
  int16_t out[3] = {};
  CMpegStreamHelper::ExpandMuLaw(in, 3, out);
  EXPECT_EQ(out[0], -32124);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 32124);
}

}  // namespace
