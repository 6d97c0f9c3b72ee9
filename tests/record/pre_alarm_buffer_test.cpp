// The pre-alarm ring: flush order, slot entries, and the one-frame hand-off.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "record/pre_alarm_buffer.h"

namespace {
std::vector<uint16_t> Range(uint16_t from, uint16_t to) {  // [from, to]
  std::vector<uint16_t> v;
  for (uint16_t i = from; i <= to; ++i) v.push_back(i);
  return v;
}

std::vector<uint16_t> Join(std::vector<uint16_t> a, const std::vector<uint16_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
}  // namespace

TEST(PreAlarmFlushOrder, Table) {
  const struct {
    const char* what;
    uint16_t writeIndex, count;
    std::vector<uint16_t> slots;
  } cases[] = {
      {"20 frames since the thread started", 0, 20, Range(0, 19)},
      {"5 frames after the first login", 5, 5, Range(0, 4)},
      {"relogin at index 13, 5 frames later", 18, 5, Range(0, 17)},
      {"full ring, write index 7", 7, 21, Join(Range(7, 19), Range(0, 6))},
      {"wrapped since the relogin: newest 5", 2, 5, Join(Range(17, 19), Range(0, 1))},
      {"wrapped to index 0: the newest frame is kept", 0, 1, {19}},
      {"wrapped, 19 frames", 3, 19, Join(Range(4, 19), Range(0, 2))},
      {"nothing stored", 0, 0, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PreAlarmFlushOrder(c.writeIndex, c.count), c.slots) << c.what;
}

TEST(PreAlarmBuffer, StoresEachFrameWithItsEntryAndSkipsWhatDoesNotFit) {
  CPreAlarmBuffer ring;
  const uint8_t jpeg[] = {0xFF, 0xD8, 1, 2};
  EXPECT_EQ(ring.Store(jpeg, 4, {}), 0);  // no areas yet
  ASSERT_EQ(ring.AllocateBuffer(), 1);
  StoredFrameMeta meta;
  meta.dwTimeStamp = 77;
  meta.dwNoPicture = 1;
  meta.wWidth = 352;
  meta.wHeight = 240;
  meta.byChannel = 3;
  meta.stStored.wYear = 2024;
  meta.stStored.wDayOfWeek = 4;
  meta.stStored.wMilliseconds = 999;
  EXPECT_EQ(ring.Store(jpeg, 4, meta), 1);
  EXPECT_EQ(ring.NewestSlot(), 0);
  EXPECT_EQ(ring.WriteIndex(), 1);
  const RECORD_FRAME_INFO& e = ring.Info(0);
  EXPECT_EQ(e.dwLength, 4u);
  EXPECT_EQ(e.dwMarker, 0x1234567u);
  EXPECT_EQ(e.dwTimeStamp, 77u);
  EXPECT_EQ(e.dwNoPicture, 1u);
  EXPECT_EQ(e.byChannel, 3);
  EXPECT_EQ(e.wWidth, 352);
  EXPECT_EQ(e.stStored.wYear, 2024);
  EXPECT_EQ(e.stStored.wDayOfWeek, 0);
  EXPECT_EQ(e.stStored.wMilliseconds, 0);
  EXPECT_EQ(std::memcmp(ring.Data(0), jpeg, 4), 0);

  std::vector<uint8_t> huge(CPreAlarmBuffer::kFrameBytes + 1, 0xAA);
  EXPECT_EQ(ring.Store(huge.data(), static_cast<uint32_t>(huge.size()), meta), 0);
  EXPECT_EQ(ring.WriteIndex(), 1);
  for (int i = 0; i < 25; ++i) ring.Store(jpeg, 4, meta);
  EXPECT_EQ(ring.PreAlarmCount(), 21);
  EXPECT_EQ(ring.WriteIndex(), 6);
  ring.ResetPreAlarmCount();
  EXPECT_EQ(ring.PreAlarmCount(), 0);
}

// A writing recorder holds up the next store until it has taken the frame; one that stopped
// writing gives the frame back, so the store never waits for it.
TEST(PreAlarmBuffer, HandOffPacesTheStoreAndDetachReleasesIt) {
  CPreAlarmBuffer ring;
  ASSERT_EQ(ring.AllocateBuffer(), 1);
  const uint8_t jpeg[] = {1};
  ring.Attach(kRingManual);
  ASSERT_EQ(ring.Store(jpeg, 1, {}), 1);
  std::atomic<bool> second{false};
  std::thread producer([&] {
    ring.Store(jpeg, 1, {});
    second = true;
  });
  EXPECT_EQ(ring.Wait(kRingManual, kSignalFrame), uint32_t{kSignalFrame});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(second.load());
  ring.FrameDone(kRingManual);
  EXPECT_EQ(ring.Wait(kRingManual, kSignalFrame), uint32_t{kSignalFrame});
  ring.Detach(kRingManual);
  producer.join();
  EXPECT_TRUE(second.load());
  EXPECT_EQ(ring.Store(jpeg, 1, {}), 1);  // a recorder not writing holds nothing up
  EXPECT_EQ(ring.WaitFor(kRingManual, kSignalFrame, std::chrono::milliseconds(10)), 0u);
}

// A store held up by a recorder that has not taken its frame goes on by whichever way the
// recorder lets the frame go; a signal to another recorder, or to the holder without taking the
// frame, does not let it go.
TEST(PreAlarmBuffer, HeldStoreIsReleasedByEachWayTheFrameIsLetGo) {
  const struct {
    const char* what;
    void (*release)(CPreAlarmBuffer&);
  } cases[] = {
      {"frame written", [](CPreAlarmBuffer& r) { r.FrameDone(kRingAlarm); }},
      {"recorder stops writing", [](CPreAlarmBuffer& r) { r.Detach(kRingAlarm); }},
      {"recorder thread ends", [](CPreAlarmBuffer& r) { r.EndServing(kRingAlarm); }},
      {"frame signal cleared", [](CPreAlarmBuffer& r) { r.Clear(kRingAlarm, kSignalFrame); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CPreAlarmBuffer ring;
    ASSERT_EQ(ring.AllocateBuffer(), 1);
    const uint8_t jpeg[] = {1};
    ring.SetServed(kRingAlarm, true);
    ring.SetServed(kRingManual, true);
    ring.Attach(kRingAlarm);
    ring.Attach(kRingManual);
    ASSERT_EQ(ring.Store(jpeg, 1, {}), 1);
    ring.FrameDone(kRingManual);  // the other recorder has written it
    std::atomic<bool> stored{false};
    std::thread producer([&] {
      ring.Store(jpeg, 1, {});
      stored = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ring.Signal(kRingManual, kSignalStart);
    ring.Signal(kRingAlarm, kSignalClosed);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(stored.load());
    c.release(ring);
    for (int i = 0; i < 500 && !stored; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(stored.load()) << "the store was not woken";
    if (!stored) {
      ring.Detach(kRingAlarm);
      ring.FrameDone(kRingAlarm);
    }
    producer.join();
    // The other recorder was handed the second frame as well.
    EXPECT_EQ(ring.WaitFor(kRingManual, kSignalFrame, std::chrono::seconds(5)),
              uint32_t{kSignalFrame});
    EXPECT_EQ(ring.StoredFrames(), 2u);
  }
}

// A recorder waiting for its frame and a closer waiting on the same recorder's confirmation are
// both woken: the one by the store, the other by the close.
TEST(PreAlarmBuffer, RecorderAndCloserOfOneRecorderAreBothWoken) {
  CPreAlarmBuffer ring;
  ASSERT_EQ(ring.AllocateBuffer(), 1);
  ring.Attach(kRingAlarm);
  std::atomic<uint32_t> recorderGot{0}, closerGot{0};
  std::thread recorder([&] { recorderGot = ring.Wait(kRingAlarm, kSignalFrame); });
  std::thread closer(
      [&] { closerGot = ring.WaitFor(kRingAlarm, kSignalClosed, std::chrono::seconds(5)); });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const uint8_t jpeg[] = {1};
  ASSERT_EQ(ring.Store(jpeg, 1, {}), 1);
  recorder.join();
  EXPECT_EQ(recorderGot.load(), uint32_t{kSignalFrame});
  ring.Signal(kRingAlarm, kSignalClosed);
  closer.join();
  EXPECT_EQ(closerGot.load(), uint32_t{kSignalClosed});
}
