// The alarm sound's playback thread under Windows: it ends on its stop event (or at once when no
// device opens), closes what it opened, and repeated starts leave no handle behind.
#include "live/alarm_sound_win32.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<WavePlayBlock> Sound(uint16_t formatTag, uint32_t bytes) {
  auto b = std::make_unique<WavePlayBlock>();
  b->wfx = WaveFormat{formatTag, 1, 8000, 16000, 2, 16};
  b->data.assign(bytes, 0);
  for (uint32_t i = 0; i < bytes; ++i) b->data[i] = static_cast<uint8_t>((i * 37) & 0x3F);
  return b;
}

constexpr DWORD kNeverStop = INFINITE;

// Runs the thread over `block` for playMs, stops it (unless playMs is kNeverStop: then the thread
// must end by itself) and returns its exit code, or a sentinel when it did not end within 20 s.
DWORD PlayAndStop(WavePlayBlock& block, DWORD playMs) {
  HANDLE done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE stop = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  block.hDoneEvent = done;
  HANDLE thread = CreateThread(nullptr, 0, PlayAudioWavThread, new AlarmPlaybackStart{&block, stop},
                               0, nullptr);
  EXPECT_NE(thread, nullptr);
  if (playMs != kNeverStop) {
    Sleep(playMs);
    SetEvent(stop);
  }
  DWORD code = 0xDEAD;
  if (WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0) GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  CloseHandle(done);
  CloseHandle(stop);
  block.hDoneEvent = nullptr;
  return code;
}

// The device layer loads its driver on first use, which can take seconds under Wine.
class AlarmSoundThread : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { waveOutGetNumDevs(); }
};

TEST_F(AlarmSoundThread, EndsOnItsStopEventWithTheDeviceClosed) {
  auto block = Sound(1, 20000);
  const DWORD code = PlayAndStop(*block, 300);
  // 0 after playing; -1 where the machine has no sound device.
  EXPECT_TRUE(code == 0 || code == static_cast<DWORD>(-1)) << code;
  EXPECT_EQ(block->hWaveOut, nullptr);
  if (code == 0) {
    EXPECT_LT(block->dwReadPos, 20000u);
  }
}

TEST_F(AlarmSoundThread, RefusesWhatItCannotPlay) {
  struct Case {
    const char* name;
    std::unique_ptr<WavePlayBlock> block;
  };
  Case cases[] = {{"unknown format", Sound(0x7777, 20000)}, {"no sound data", Sound(1, 0)}};
  // Refused without waiting for the stop event.
  for (Case& c : cases)
    EXPECT_EQ(PlayAndStop(*c.block, kNeverStop), static_cast<DWORD>(-1)) << c.name;
}

TEST_F(AlarmSoundThread, RepeatedStartsLeaveNoHandle) {
  auto block = Sound(1, 8000);
  PlayAndStop(*block, 20);  // the device layer's first use may keep handles of its own
  DWORD before = 0, after = 0;
  GetProcessHandleCount(GetCurrentProcess(), &before);
  for (int i = 0; i < 20; ++i) PlayAndStop(*block, 20);
  GetProcessHandleCount(GetCurrentProcess(), &after);
  EXPECT_LE(after, before + 2);
}

}  // namespace
