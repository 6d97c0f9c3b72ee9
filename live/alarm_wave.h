// The alarm sound's data: the wave file reader, the ring fill that loops the sound through the
// playback buffers, and the carried IMA ADPCM decoder.  No Windows API: the playback thread
// (alarm_sound_win32) hands these buffers to the waveOut device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The first 16 bytes of a wave file's format chunk (cbSize is always 0 for the device).
struct WaveFormat {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
};

enum class WaveParse {
  Ok,
  TooShort,   // no room for the RIFF header and the format chunk
  NoData,     // the chunk walk found no "data" chunk
  EmptyData,  // a "data" chunk holding no whole sample block: nothing to loop
};

struct WaveImage {
  WaveFormat format;
  size_t dataOffset = 0;
  size_t dataLength = 0;
};

// Reads the RIFF header, takes the first chunk as the format chunk and walks the chunks (a pad
// byte follows an odd-sized chunk) to the "data" chunk, named without regard to case. A "data"
// chunk longer than the file gives the whole sample blocks the file holds.
WaveParse ParseWaveImage(const uint8_t* bytes, size_t size, WaveImage* out);

inline constexpr int kWaveBufferCount = 8;
inline constexpr uint32_t kWaveBufferBytes = 8000;

// The playback block: the whole sound in memory and the eight buffers queued on the device.
struct WavePlayBlock {
  void* hWaveOut = nullptr;    // device handle, written by the playback thread
  void* hDoneEvent = nullptr;  // set by the device callback when a buffer is done
  WaveFormat wfx;
  std::vector<uint8_t> data;  // the "data" chunk
  uint32_t dwReadPos = 0;
  uint8_t buffers[kWaveBufferCount][kWaveBufferBytes] = {};
};

// Copies the next kWaveBufferBytes of the sound into out, restarting at the sound's start as
// often as needed, and advances readPos past the last byte copied.  length must not be 0.
void FillWaveRing(const uint8_t* data, uint32_t length, uint32_t* readPos, uint8_t* out);

// The alarm wave file, loaded completely into a new playback block by each Open.
class CWaveFile {
 public:
  // Loads path, or failing that "alarm.wav" in exeDir.  0 when neither can be opened or neither
  // holds a playable sound (no or empty "data" chunk), else 1.
  int Open(const std::string& path, const std::string& exeDir);

  std::string m_strPath;
  std::unique_ptr<WavePlayBlock> m_lpPlayBlock;
  uint32_t fPlaying = 0;
};

// IMA ADPCM, carried with the sound code.
struct AdpcmState {
  int32_t stepIndex = 0;
  int32_t predictor = 0;
};

// Decodes one 4-bit code, updating the state; returns the new sample.
int16_t DecodeADPCMC(uint8_t code, AdpcmState* state);

// Decodes count bytes, low nibble first, into 2 * count samples; first receives the state
// before the first code.  Returns 0.
int DecodeADPCMBlock(const uint8_t* in, size_t count, int16_t* out, AdpcmState* state,
                     AdpcmState* first);
