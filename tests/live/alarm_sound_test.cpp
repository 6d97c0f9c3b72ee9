// The alarm sound's playback thread under Windows.  The test runner gives it a silent output that
// plays in real time (AlarmSoundThread: the device opens, the thread keeps refilling its buffers
// over the looped sound, ends on its stop event and closes the device) and, in a second run, a
// machine without any output (NoAudioDevice: the thread ends at once).  Neither run leaks.
#include "live/alarm_sound_win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

#include "tests/support/win_process.h"

namespace ts = testsupport;

namespace {

// 44.1 kHz stereo 16-bit: a buffer lasts 45 ms, the queue of eight 363 ms.
constexpr uint32_t kBytesPerSecond = 176400;
// Shorter than the queue, and 8000 * n mod kSoundBytes differs for every n below 8001: the read
// position tells how many buffers were filled.
constexpr uint32_t kSoundBytes = 16002;

std::unique_ptr<WavePlayBlock> Sound(uint16_t formatTag, uint32_t bytes) {
  auto b = std::make_unique<WavePlayBlock>();
  b->wfx = WaveFormat{formatTag, 2, 44100, kBytesPerSecond, 4, 16};
  b->data.resize(bytes);
  for (uint32_t i = 0; i < bytes; ++i) b->data[i] = static_cast<uint8_t>((i * 37) % 251);
  return b;
}

struct Playback {
  DWORD code = 0xDEAD;  // the thread's exit code; 0xDEAD when it did not end within 20 s
  DWORD ms = 0;         // from the start to the thread's end
};

constexpr DWORD kNeverStop = INFINITE;

DWORD HandleCount() {
  DWORD n = 0;
  GetProcessHandleCount(GetCurrentProcess(), &n);
  return n;
}

// Runs the thread over `block` for playMs, stops it (unless playMs is kNeverStop: then the thread
// must end by itself) and waits for its end.
Playback Play(WavePlayBlock& block, DWORD playMs) {
  HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE stop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  block.hDoneEvent = done;
  const DWORD start = GetTickCount();
  HANDLE thread = CreateThread(nullptr, 0, PlayAudioWavThread, new AlarmPlaybackStart{&block, stop},
                               0, nullptr);
  EXPECT_NE(thread, nullptr);
  if (playMs != kNeverStop) {
    Sleep(playMs);
    SetEvent(stop);
  }
  Playback p;
  if (WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0) GetExitCodeThread(thread, &p.code);
  p.ms = GetTickCount() - start;
  CloseHandle(thread);
  CloseHandle(done);
  CloseHandle(stop);
  block.hDoneEvent = nullptr;
  return p;
}

// How many buffers were filled, from where the read position stands (at least the first eight).
uint32_t BuffersFilled(uint32_t readPos) {
  for (uint32_t n = kWaveBufferCount; n < 8001; ++n)
    if (n * uint64_t{kWaveBufferBytes} % kSoundBytes == readPos % kSoundBytes) return n;
  return 0;
}

// The device layer loads its driver on first use, which can take seconds under Wine.
class AlarmSoundThread : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { waveOutGetNumDevs(); }
};

TEST_F(AlarmSoundThread, TheOutputIsThere) {
  EXPECT_GE(waveOutGetNumDevs(), 1u) << "the test runner should provide a silent output";
}

// The queue holds the sound twice over, so only refills on the device's done calls make the read
// position move on; after a stop the buffers hold the last eight stretches of the looped sound.
TEST_F(AlarmSoundThread, KeepsRefillingTheLoopedSoundUntilItsStopEvent) {
  auto block = Sound(1, kSoundBytes);
  const Playback p = Play(*block, 1500);
  ASSERT_EQ(p.code, 0u) << "the device did not open";
  EXPECT_LT(p.ms, 1500u + 5000u) << "slow to end after its stop event";
  EXPECT_EQ(block->hWaveOut, nullptr);

  // About 33 buffers play in 1.5 s; half of that shows the thread followed the device.
  const uint32_t filled = BuffersFilled(block->dwReadPos);
  EXPECT_GE(filled, 2u * kWaveBufferCount) << "read position " << block->dwReadPos;
  EXPECT_LT(filled, 8000u);

  // Every buffer holds one of the last eight stretches, each stretch exactly once.
  std::vector<uint8_t> twice = block->data;
  twice.insert(twice.end(), block->data.begin(), block->data.end());
  std::set<uint32_t> stretches;
  for (int i = 0; i < kWaveBufferCount; ++i) {
    for (uint32_t n = filled - kWaveBufferCount; n < filled; ++n) {
      const uint32_t from = static_cast<uint32_t>(n * uint64_t{kWaveBufferBytes} % kSoundBytes);
      if (std::memcmp(block->buffers[i], twice.data() + from, kWaveBufferBytes) == 0)
        stretches.insert(n);
    }
  }
  EXPECT_EQ(stretches.size(), static_cast<size_t>(kWaveBufferCount));
}

// A sound of exactly one buffer: every refill holds the whole sound from its start.
TEST_F(AlarmSoundThread, ASoundOfOneBufferRepeatsWhole) {
  auto block = Sound(1, kWaveBufferBytes);
  ASSERT_EQ(Play(*block, 600).code, 0u);
  for (const auto& buffer : block->buffers)
    EXPECT_EQ(std::memcmp(buffer, block->data.data(), kWaveBufferBytes), 0);
}

TEST_F(AlarmSoundThread, RefusesWhatItCannotPlay) {
  struct Case {
    const char* name;
    std::unique_ptr<WavePlayBlock> block;
  };
  Case cases[] = {{"unknown format", Sound(0x7777, kSoundBytes)}, {"no sound data", Sound(1, 0)}};
  // Refused without waiting for the stop event.
  for (Case& c : cases) {
    const Playback p = Play(*c.block, kNeverStop);
    EXPECT_EQ(p.code, static_cast<DWORD>(-1)) << c.name;
    EXPECT_EQ(c.block->hWaveOut, nullptr) << c.name;
  }
}

// Each start opens the device, each stop closes it and ends the thread: twenty of them leave no
// handle and no thread behind.
TEST_F(AlarmSoundThread, RepeatedStartsLeaveNoHandleOrThread) {
  auto block = Sound(1, kSoundBytes);
  ASSERT_EQ(Play(*block, 100).code, 0u);  // the device layer's first use keeps threads of its own
  Sleep(200);
  const DWORD handles = HandleCount();
  const DWORD threads = ts::ThreadsOf(GetCurrentProcessId());
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Play(*block, 60).code, 0u) << "start " << i;
  // The device layer's threads of a closed device may take a moment to go.
  EXPECT_TRUE(ts::WaitUntil([&] { return ts::ThreadsOf(GetCurrentProcessId()) <= threads; }, 5000))
      << ts::ThreadsOf(GetCurrentProcessId()) << " threads, " << threads << " before";
  EXPECT_LE(HandleCount(), handles + 2);
}

// Run with no output at all.
TEST(NoAudioDevice, TheThreadEndsAtOnceAndRepeatsLeaveNothing) {
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  auto block = Sound(1, kSoundBytes);
  const Playback first = Play(*block, kNeverStop);
  EXPECT_EQ(first.code, static_cast<DWORD>(-1));
  EXPECT_LT(first.ms, 5000u);
  EXPECT_EQ(block->hWaveOut, nullptr);
  const DWORD handles = HandleCount();
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Play(*block, kNeverStop).code, static_cast<DWORD>(-1));
  EXPECT_LE(HandleCount(), handles + 2);
  EXPECT_EQ(block->dwReadPos, 0u) << "nothing was filled";
}

}  // namespace
