// The alarm wave file: chunk walk and refusals, the looping ring fill, the file fallback and the
// carried ADPCM decoder.
#include "live/alarm_wave.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void Put32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void PutChunk(std::vector<uint8_t>& v, const char* id, const std::vector<uint8_t>& body,
              bool pad = true) {
  v.insert(v.end(), id, id + 4);
  Put32(v, static_cast<uint32_t>(body.size()));
  v.insert(v.end(), body.begin(), body.end());
  if (pad && body.size() % 2) v.push_back(0);
}
std::vector<uint8_t> Fmt() {
  // PCM, mono, 8000 Hz, 16000 bytes/s, block 2, 16 bits.
  return {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0};
}
std::vector<uint8_t> Wave(const std::vector<std::pair<const char*, std::vector<uint8_t>>>& chunks) {
  std::vector<uint8_t> body = {'W', 'A', 'V', 'E'};
  for (const auto& [id, b] : chunks) PutChunk(body, id, b);
  std::vector<uint8_t> file = {'R', 'I', 'F', 'F'};
  Put32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}
std::vector<uint8_t> Bytes(size_t n, uint8_t first = 1) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(first + i);
  return v;
}

TEST(AlarmWaveParse, ChunkWalkAndRefusals) {
  struct Case {
    const char* name;
    std::vector<uint8_t> file;
    WaveParse result;
    size_t dataLength;
  };
  std::vector<uint8_t> cut = Wave({{"fmt ", Fmt()}, {"data", Bytes(100)}});
  cut.resize(cut.size() - 11);
  std::vector<uint8_t> headerOnly = Wave({{"fmt ", Fmt()}, {"data", Bytes(100)}});
  headerOnly.resize(headerOnly.size() - 100);
  std::vector<uint8_t> huge = Wave({{"fmt ", Fmt()}, {"LIST", Bytes(4)}});
  huge.insert(huge.end(), {'L', 'I', 'S', 'T', 0xF8, 0xFF, 0xFF, 0xFF});
  const Case cases[] = {
      {"plain", Wave({{"fmt ", Fmt()}, {"data", Bytes(100)}}), WaveParse::Ok, 100},
      {"LIST skipped", Wave({{"fmt ", Fmt()}, {"LIST", Bytes(26)}, {"data", Bytes(6)}}),
       WaveParse::Ok, 6},
      {"odd chunk padded", Wave({{"fmt ", Fmt()}, {"junk", Bytes(3)}, {"data", Bytes(4)}}),
       WaveParse::Ok, 4},
      {"id without case", Wave({{"fmt ", Fmt()}, {"DaTa", Bytes(8)}}), WaveParse::Ok, 8},
      {"no data chunk", Wave({{"fmt ", Fmt()}, {"LIST", Bytes(10)}}), WaveParse::NoData, 0},
      {"empty data", Wave({{"fmt ", Fmt()}, {"data", {}}}), WaveParse::EmptyData, 0},
      {"data past the end: the whole blocks held", cut, WaveParse::Ok, 88},
      {"data past the end, none held", headerOnly, WaveParse::EmptyData, 0},
      {"chunk size near 4 GiB", huge, WaveParse::NoData, 0},
      {"too short", std::vector<uint8_t>(35, 0), WaveParse::TooShort, 0},
  };
  for (const Case& c : cases) {
    WaveImage image;
    EXPECT_EQ(ParseWaveImage(c.file.data(), c.file.size(), &image), c.result) << c.name;
    if (c.result != WaveParse::Ok) continue;
    EXPECT_EQ(image.dataLength, c.dataLength) << c.name;
    EXPECT_EQ(c.file[image.dataOffset], 1) << c.name;
    EXPECT_EQ(image.format.nSamplesPerSec, 8000u) << c.name;
    EXPECT_EQ(image.format.wBitsPerSample, 16) << c.name;
  }
}

// Eight buffers over a sound of `length` bytes whose byte k holds k mod 251.
std::vector<std::vector<uint8_t>> FillEight(uint32_t length, uint32_t* endPos) {
  std::vector<uint8_t> sound(length);
  for (uint32_t k = 0; k < length; ++k) sound[k] = static_cast<uint8_t>(k % 251);
  std::vector<std::vector<uint8_t>> out(kWaveBufferCount, std::vector<uint8_t>(kWaveBufferBytes));
  uint32_t pos = 0;
  for (auto& b : out) FillWaveRing(sound.data(), length, &pos, b.data());
  *endPos = pos;
  return out;
}

TEST(AlarmWaveRing, LoopsWithoutAGap) {
  for (uint32_t length : {20000u, 8000u, 1u, 7999u, 12345u}) {
    uint32_t end = 0;
    const auto buffers = FillEight(length, &end);
    // The buffers read back to back are the sound repeated from its start.
    uint64_t k = 0;
    for (const auto& b : buffers)
      for (uint8_t byte : b) ASSERT_EQ(byte, (k++ % length) % 251) << length;
    EXPECT_EQ(end, (8ull * kWaveBufferBytes - 1) % length + 1) << length;
  }
  // 20000 bytes: the third buffer is 16000-19999 and then 0-3999.
  uint32_t pos = 16000;
  std::vector<uint8_t> sound(20000);
  for (uint32_t k = 0; k < 20000; ++k) sound[k] = static_cast<uint8_t>(k % 251);
  std::vector<uint8_t> third(kWaveBufferBytes);
  FillWaveRing(sound.data(), 20000, &pos, third.data());
  EXPECT_EQ(third[0], 16000 % 251);
  EXPECT_EQ(third[3999], 19999 % 251);
  EXPECT_EQ(third[4000], 0);
  EXPECT_EQ(pos, 4000u);
}

class AlarmWaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() /
            ("alarm_wave_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (m_dir / name).string();
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
  }
  std::string Dir() const { return (m_dir / "").string(); }
  std::filesystem::path m_dir;
};

TEST_F(AlarmWaveFileTest, FallsBackToTheDefaultSound) {
  Write("alarm.wav", Wave({{"fmt ", Fmt()}, {"data", Bytes(20)}}));
  const std::string own = Write("own.wav", Wave({{"fmt ", Fmt()}, {"data", Bytes(30)}}));
  const std::string silent = Write("silent.wav", Wave({{"fmt ", Fmt()}, {"data", {}}}));
  struct Case {
    std::string path;
    size_t length;
  };
  for (const Case& c :
       {Case{own, 30}, Case{Dir() + "missing.wav", 20}, Case{silent, 20}, Case{"", 20}}) {
    CWaveFile file;
    ASSERT_EQ(file.Open(c.path, Dir()), 1) << c.path;
    EXPECT_EQ(file.m_strPath, c.path);
    ASSERT_TRUE(file.m_lpPlayBlock);
    EXPECT_EQ(file.m_lpPlayBlock->data.size(), c.length) << c.path;
    EXPECT_EQ(file.m_lpPlayBlock->dwReadPos, 0u);
  }
  std::filesystem::remove(m_dir / "alarm.wav");
  CWaveFile file;
  EXPECT_EQ(file.Open(silent, Dir()), 0);
  EXPECT_FALSE(file.m_lpPlayBlock);
}

#ifdef OST_ALARM_WAV
TEST(AlarmWaveShipped, IsAPlayablePcmSound) {
  CWaveFile file;
  ASSERT_EQ(file.Open(OST_ALARM_WAV, ""), 1);
  const WavePlayBlock& b = *file.m_lpPlayBlock;
  EXPECT_EQ(b.wfx.wFormatTag, 1);
  EXPECT_EQ(b.wfx.nBlockAlign, b.wfx.nChannels * b.wfx.wBitsPerSample / 8);
  EXPECT_EQ(b.wfx.nAvgBytesPerSec, b.wfx.nSamplesPerSec * b.wfx.nBlockAlign);
  EXPECT_GT(b.data.size(), kWaveBufferBytes);
  EXPECT_EQ(b.data.size() % b.wfx.nBlockAlign, 0u);
}
#endif

TEST(Adpcm, DecodesTheImaSteps) {
  struct Case {
    AdpcmState before;
    uint8_t code;
    int16_t sample;
    int32_t index;
  };
  const Case cases[] = {
      {{0, 0}, 4, 7, 2},            // 7 * 9 / 8 added
      {{2, 7}, 0xC, -3, 4},         // 9 * 9 / 8 subtracted
      {{0, 0}, 0, 0, 0},            // index held at 0
      {{88, 30000}, 7, 32767, 88},  // clamped above, index held at 88
      {{88, -30000}, 0xF, -32768, 88},
      {{50, 0}, 1, 328, 49},  // 876 * 3 / 8
  };
  for (const Case& c : cases) {
    AdpcmState s = c.before;
    EXPECT_EQ(DecodeADPCMC(c.code, &s), c.sample) << int(c.code);
    EXPECT_EQ(s.stepIndex, c.index) << int(c.code);
    EXPECT_EQ(s.predictor, c.sample);
  }
  const uint8_t block[] = {0xC4};
  int16_t out[2];
  AdpcmState state{0, 0}, first{9, 9};
  EXPECT_EQ(DecodeADPCMBlock(block, 1, out, &state, &first), 0);
  EXPECT_EQ(first.stepIndex, 0);
  EXPECT_EQ(out[0], 7);
  EXPECT_EQ(out[1], -3);
}

}  // namespace
