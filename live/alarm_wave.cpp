#include "live/alarm_wave.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsDataId(const uint8_t* id) {
  static const char kData[4] = {'d', 'a', 't', 'a'};
  for (int i = 0; i < 4; ++i)
    if (std::tolower(id[i]) != kData[i]) return false;
  return true;
}

constexpr size_t kRiffHeader = 12;
constexpr size_t kChunkHeader = 8;
constexpr size_t kFormatBytes = 16;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* out) {
  if (path.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::vector<uint8_t> bytes;
  uint8_t chunk[16384];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (ok) *out = std::move(bytes);
  return ok;
}

// One candidate file into a new block; false when unreadable or without a playable sound.
bool LoadBlock(const std::string& path, std::unique_ptr<WavePlayBlock>* block) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes)) return false;
  WaveImage image;
  if (ParseWaveImage(bytes.data(), bytes.size(), &image) != WaveParse::Ok) return false;
  auto b = std::make_unique<WavePlayBlock>();
  b->wfx = image.format;
  b->data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(image.dataOffset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(image.dataOffset + image.dataLength));
  *block = std::move(b);
  return true;
}

const int32_t kStepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
const int32_t kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

}  // namespace

WaveParse ParseWaveImage(const uint8_t* bytes, size_t size, WaveImage* out) {
  if (size < kRiffHeader + kChunkHeader + kFormatBytes) return WaveParse::TooShort;
  const uint8_t* p = bytes + kRiffHeader;
  WaveImage image;
  image.format.wFormatTag = Le16(p + 8);
  image.format.nChannels = Le16(p + 10);
  image.format.nSamplesPerSec = Le32(p + 12);
  image.format.nAvgBytesPerSec = Le32(p + 16);
  image.format.nBlockAlign = Le16(p + 20);
  image.format.wBitsPerSample = Le16(p + 22);

  // Offsets in 64 bits: a chunk size near 4 GiB cannot wrap past the end of the file.
  uint64_t chunk = kRiffHeader;
  uint64_t chunkSize = Le32(p + 4);
  for (;;) {
    const uint64_t next = chunk + kChunkHeader + chunkSize + (chunkSize & 1);
    if (next + kChunkHeader > size) return WaveParse::NoData;
    const uint8_t* h = bytes + next;
    chunk = next;
    chunkSize = Le32(h + 4);
    if (IsDataId(h)) break;
  }
  const uint64_t dataOffset = chunk + kChunkHeader;
  // A chunk that claims more than the file holds (a file cut short) plays what is there, in
  // whole sample blocks.
  if (dataOffset + chunkSize > size) {
    chunkSize = size - dataOffset;
    if (image.format.nBlockAlign > 1) chunkSize -= chunkSize % image.format.nBlockAlign;
  }
  if (chunkSize == 0) return WaveParse::EmptyData;
  image.dataOffset = static_cast<size_t>(dataOffset);
  image.dataLength = static_cast<size_t>(chunkSize);
  *out = image;
  return WaveParse::Ok;
}

void FillWaveRing(const uint8_t* data, uint32_t length, uint32_t* readPos, uint8_t* out) {
  uint32_t pos = *readPos < length ? *readPos : 0;
  uint32_t copied = 0;
  while (copied < kWaveBufferBytes) {
    const uint32_t piece = std::min(kWaveBufferBytes - copied, length - pos);
    std::memcpy(out + copied, data + pos, piece);
    copied += piece;
    pos += piece;
    if (pos == length && copied < kWaveBufferBytes) pos = 0;
  }
  *readPos = pos;
}

int CWaveFile::Open(const std::string& path, const std::string& exeDir) {
  m_strPath = path;
  std::unique_ptr<WavePlayBlock> block;
  if (!LoadBlock(path, &block) && !LoadBlock(exeDir + "alarm.wav", &block)) return 0;
  m_lpPlayBlock = std::move(block);
  return 1;
}

int16_t DecodeADPCMC(uint8_t code, AdpcmState* state) {
  code &= 0x0F;
  state->stepIndex = std::clamp(state->stepIndex, 0, 88);
  const int32_t step = kStepTable[state->stepIndex];
  state->stepIndex = std::clamp(state->stepIndex + kIndexTable[code], 0, 88);
  const int32_t diff = step * (2 * (code & 7) + 1) / 8;
  int32_t predictor = state->predictor + ((code & 8) ? -diff : diff);
  predictor = std::clamp(predictor, -32768, 32767);
  state->predictor = predictor;
  return static_cast<int16_t>(predictor);
}

int DecodeADPCMBlock(const uint8_t* in, size_t count, int16_t* out, AdpcmState* state,
                     AdpcmState* first) {
  if (first) *first = *state;
  for (size_t i = 0; i < count; ++i) {
    out[2 * i] = DecodeADPCMC(static_cast<uint8_t>(in[i] & 0x0F), state);
    out[2 * i + 1] = DecodeADPCMC(static_cast<uint8_t>(in[i] >> 4), state);
  }
  return 0;
}
