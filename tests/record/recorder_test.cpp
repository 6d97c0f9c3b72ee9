// The recorders driven by a synthetic compose thread: pre-alarm frames first, roll-over at 6000
// frames, the alarm-list item, a manual recording across a relogin and after a disconnect,
// start/stop toggles against a fast producer, a full disk, and names taken in the same second.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/player/record_file_check.h"
#include "record/record_objects.h"
#include "tests/record/memory_file_system.h"

namespace {
using namespace std::chrono_literals;

class FakeHost : public RecordHost {
 public:
  RecordTime LocalTime() override {
    RecordTime t{};
    const uint32_t s = m_fAdvance ? m_dwSeconds++ : m_dwSeconds.load();
    t.wYear = 2024;
    t.wMonth = 5;
    t.wDay = 1 + s / 86400 % 28;
    t.wHour = s / 3600 % 24;
    t.wMinute = s / 60 % 60;
    t.wSecond = s % 60;
    return t;
  }
  std::string Cookie() override { return "Ab12XYZ"; }
  std::string ServerName() override { return "192.168.1.10"; }
  std::string UserName() override { return "admin"; }
  void Trace(const char* text) override {
    std::lock_guard<std::mutex> lock(m_lock);
    m_traces.push_back(text);
  }
  void AlarmRecordReset() override { ++m_resets; }
  void UserRecordEnded() override { ++m_userEnded; }

  std::atomic<bool> m_fAdvance{false};
  std::atomic<uint32_t> m_dwSeconds{3600};
  std::atomic<int> m_resets{0};
  std::atomic<int> m_userEnded{0};
  std::mutex m_lock;
  std::vector<std::string> m_traces;
};

// Frame n carries n as its time stamp and n in every data byte group.
std::vector<uint8_t> FrameBytes(uint32_t n) {
  std::vector<uint8_t> bytes(16 + n % 7);
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) std::memcpy(bytes.data() + i, &n, 4);
  return bytes;
}

struct RecordedFile {
  std::string name;
  RecordFileVerdict verdict;
  std::vector<uint32_t> stamps;  // checked against the data bytes
};

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ring.AllocateBuffer(), 1);
    db.Bind(&fs, "C:\\prog", nullptr);
    RecordContext ctx{&ring, &fs, &db, &host};
    alarm.Bind(ctx);
    user.Bind(ctx);
  }
  void TearDown() override {
    alarm.CloseThread();
    user.CloseThread();
  }

  // The compose step for the next frame.
  void Store() {
    const uint32_t n = ++m_dwNext;
    const std::vector<uint8_t> bytes = FrameBytes(n);
    StoredFrameMeta meta;
    meta.dwTimeStamp = n;
    meta.wWidth = 320;
    meta.wHeight = 240;
    meta.byChannel = 2;
    meta.dwNoPicture = n % 11 == 0;
    meta.stStored = host.LocalTime();
    ring.Store(bytes.data(), static_cast<uint32_t>(bytes.size()), meta);
  }
  void Store(int count) {
    for (int i = 0; i < count; ++i) Store();
  }
  static bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 5000; ++i) {
      if (done()) return true;
      std::this_thread::sleep_for(1ms);
    }
    return done();
  }
  void WaitWriting(RingConsumerId id) {
    ASSERT_TRUE(WaitUntil([&] { return ring.IsWriting(id); }));
  }

  // Every record file, checked by the player's check and against the frames' data bytes.
  std::vector<RecordedFile> Files() {
    std::vector<RecordedFile> files;
    for (const std::string& name : fs.Names()) {
      if (name.find(".qdx") == std::string::npos) continue;
      const std::vector<uint8_t> bytes = fs.Content(name);
      RecordedFile f{name, CheckRecordFile(bytes.data(), bytes.size()), {}};
      EXPECT_TRUE(f.verdict.ok) << name << ": " << f.verdict.reason;
      for (size_t i = 0; i < f.verdict.timeStamps.size(); ++i) {
        uint32_t length = 0;
        std::memcpy(&length, bytes.data() + f.verdict.recordStarts[i] + 8, 4);
        const std::vector<uint8_t> expected = FrameBytes(f.verdict.timeStamps[i]);
        const bool same =
            length == expected.size() && std::memcmp(bytes.data() + f.verdict.dataStarts[i],
                                                     expected.data(), expected.size()) == 0;
        EXPECT_TRUE(same) << name << " frame " << i + 1 << " is torn";
      }
      f.stamps = f.verdict.timeStamps;
      files.push_back(std::move(f));
    }
    return files;
  }
  static void ExpectConsecutive(const std::vector<uint32_t>& stamps, const std::string& what) {
    for (size_t i = 1; i < stamps.size(); ++i)
      ASSERT_EQ(stamps[i], stamps[i - 1] + 1) << what << ": frame skipped or repeated at " << i;
  }
  AlarmListContent AlarmList() {
    const std::vector<uint8_t> bytes = fs.Content("C:\\prog\\AlarmData.dat");
    return ParseAlarmList(bytes.data(), bytes.size());
  }

  MemoryFileSystem fs;
  CPreAlarmBuffer ring;
  SystemConfig db;
  FakeHost host;
  CAlarmRecord alarm;
  CUserRecord user;
  uint32_t m_dwNext = 0;
};
}  // namespace

TEST_F(RecorderTest, AlarmStartsWithTheFullRingAndItsListItemCountsEveryFrame) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  Store(25);
  ASSERT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
  EXPECT_TRUE(alarm.IsRecording());
  WaitWriting(kRingAlarm);
  Store(50);
  alarm.CloseRecordFile();
  EXPECT_FALSE(alarm.IsRecording());
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "C:\\rec\\ALARM_MJPEG_240501T010000_Ab12.qdx");
  EXPECT_EQ(files[0].verdict.kind, 1);
  ASSERT_EQ(files[0].verdict.frames, 69u);
  EXPECT_EQ(files[0].stamps.front(), 7u);  // the 20 newest at the first signal: 7..26
  ExpectConsecutive(files[0].stamps, "alarm");
  const AlarmListContent list = AlarmList();
  ASSERT_EQ(list.items.size(), 1u);
  EXPECT_EQ(list.items[0].dwFrames, 69u);
  EXPECT_STREQ(list.items[0].szPath, files[0].name.c_str());
  EXPECT_STREQ(list.items[0].strSourceIP, "192.168.1.10");
  EXPECT_EQ(list.items[0].stTime.wHour, 1);
}

TEST_F(RecorderTest, AlarmOf6500FramesRollsOverIntoTwoListedFiles) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  Store(20);
  ASSERT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingAlarm);
  Store(6481);
  alarm.CloseRecordFile();
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 2u);  // the second name, taken in the same second, gets "_2"
  EXPECT_EQ(files[0].name, "C:\\rec\\ALARM_MJPEG_240501T010000_Ab12.qdx");
  EXPECT_EQ(files[1].name, "C:\\rec\\ALARM_MJPEG_240501T010000_Ab12_2.qdx");
  EXPECT_EQ(files[0].verdict.frames, 6000u);
  EXPECT_EQ(files[1].verdict.frames, 500u);
  EXPECT_EQ(files[1].stamps.front(), files[0].stamps.back() + 1);
  const AlarmListContent list = AlarmList();
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.items[0].dwFrames, 6000u);
  EXPECT_EQ(list.items[1].dwFrames, 500u);
  EXPECT_STREQ(list.items[1].szPath, files[1].name.c_str());
}

TEST_F(RecorderTest, ManualRecordingOf6001FramesGivesTwoFiles) {
  ASSERT_EQ(user.CreateThread(0), 1);
  Store(5);
  host.m_dwSeconds = 7200;
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  EXPECT_EQ(user.CreateRecordFile("C:\\rec\\"), 0);  // one at a time
  WaitWriting(kRingManual);
  host.m_dwSeconds = 7201;
  Store(6001);
  user.StopRecord();
  EXPECT_FALSE(user.IsRecording());
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].name, "C:\\rec\\USER_MJPEG_240501T020000_UR.qdx");
  EXPECT_EQ(files[0].verdict.frames, 6000u);
  EXPECT_EQ(files[0].verdict.kind, 0);
  EXPECT_EQ(files[1].verdict.frames, 1u);
  EXPECT_EQ(files[0].stamps.front(), 6u);  // the manual recorder starts with the next frame
  EXPECT_FALSE(fs.Has("C:\\prog\\AlarmData.dat"));
}

TEST_F(RecorderTest, ManualRecordingGoesOnInTheSameFileAfterARelogin) {
  ASSERT_EQ(user.CreateThread(0), 1);
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingManual);
  Store(10);
  user.CloseThread();  // the session stops: the file stays open
  EXPECT_TRUE(user.IsRecording());
  Store(3);  // frames of no session are not recorded (and the store does not wait)
  ASSERT_EQ(user.CreateThread(0), 1);
  ASSERT_EQ(user.RestartRecord(), 1);
  WaitWriting(kRingManual);
  const uint32_t resumedAt = m_dwNext + 1;
  Store(10);
  user.StopRecord();
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 1u);
  ASSERT_EQ(files[0].verdict.frames, 20u);
  EXPECT_EQ(files[0].stamps[10], resumedAt);
  EXPECT_EQ(user.RestartRecord(), 0);
}

TEST_F(RecorderTest, ManualRecordingIsFinishedWithoutAThreadAfterADisconnect) {
  ASSERT_EQ(user.CreateThread(0), 1);
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingManual);
  Store(5);
  user.CloseThread();
  user.StopRecord();  // shut-down with no session
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].verdict.frames, 5u);
  EXPECT_FALSE(user.IsRecording());
  EXPECT_EQ(user.CreateRecordFile("C:\\rec\\"), 0);  // no record thread: refused
}

TEST_F(RecorderTest, CloseBeforeAnyFrameGivesThe94ByteFile) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  ASSERT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
  alarm.CloseRecordFile();
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(fs.Content(files[0].name).size(), 94u);
  ASSERT_EQ(AlarmList().items.size(), 1u);
  EXPECT_EQ(AlarmList().items[0].dwFrames, 0u);
}

TEST_F(RecorderTest, AlarmStopKeepsRecordingOffUntilTheThreadStartsAgain) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  const int resets = host.m_resets;
  alarm.StopRecord();
  EXPECT_EQ(host.m_resets, resets + 1);
  EXPECT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 0);
  alarm.CloseThread();
  ASSERT_EQ(alarm.CreateThread(0), 1);
  EXPECT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
}

TEST_F(RecorderTest, AlarmFileThatCannotBeCreatedIsReportedAndNotRecording) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  fs.SetCreateFails(true);
  EXPECT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 0);
  EXPECT_FALSE(alarm.IsRecording());
  EXPECT_FALSE(host.m_traces.empty());
  Store(3);                                                            // the compose step goes on
  EXPECT_EQ(alarm.CreateRecordFile(std::string(250, 'x') + "\\"), 0);  // path too long
}

TEST_F(RecorderTest, TwoAlarmsInOneSecondGiveTwoFilesAndTwoItems) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
    WaitWriting(kRingAlarm);
    Store(3);
    alarm.CloseRecordFile();
  }
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1].name, "C:\\rec\\ALARM_MJPEG_240501T010000_Ab12_2.qdx");
  const AlarmListContent list = AlarmList();
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_STRNE(list.items[0].szPath, list.items[1].szPath);
}

TEST_F(RecorderTest, FullDiskEndsTheManualRecordingWithAValidFile) {
  ASSERT_EQ(user.CreateThread(0), 1);
  fs.SetCapacity(2000);
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingManual);
  Store(200);  // the compose step is never held up by the failed recorder
  ASSERT_TRUE(WaitUntil([&] { return host.m_userEnded == 1; }));
  EXPECT_FALSE(user.IsRecording());
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_GT(files[0].verdict.frames, 10u);
  ExpectConsecutive(files[0].stamps, "full disk");
  EXPECT_LE(fs.UsedBytes(), 2000u);
}

// Alarms that start and stop as fast as the calls come, against a producer that never waits
// for anything but the hand-off: every file is whole, and its frames follow one another with
// none torn, skipped or repeated.
TEST_F(RecorderTest, ManyAlarmTogglesAgainstAFastProducer) {
  RecordContext ctx{&ring, &fs, nullptr, &host};
  alarm.Bind(ctx);
  host.m_fAdvance = true;
  ASSERT_EQ(alarm.CreateThread(0), 1);
  ASSERT_EQ(user.CreateThread(0), 1);
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  std::atomic<bool> stop{false};
  std::thread producer([&] {
    while (!stop) Store();
  });
  int opened = 0;
  for (int i = 0; i < 10000; ++i) {
    opened += alarm.CreateRecordFile("C:\\rec\\");
    if (i % 3 == 0) std::this_thread::yield();
    alarm.CloseRecordFile();
  }
  user.StopRecord();
  stop = true;
  producer.join();
  alarm.CloseThread();
  EXPECT_EQ(opened, 10000);
  const std::vector<RecordedFile> files = Files();
  size_t alarms = 0;
  uint32_t frames = 0;
  for (const RecordedFile& f : files) {
    ExpectConsecutive(f.stamps, f.name);
    if (f.name.find("ALARM_") != std::string::npos) {
      ++alarms;
      frames += f.verdict.frames;
    }
  }
  EXPECT_EQ(alarms, 10000u);
  EXPECT_GT(frames, 0u);
}

// A session stop in the middle of a recording: the threads end, the store is never left
// waiting, and the alarm file is finished.
TEST_F(RecorderTest, ThreadsStopWhileTheProducerRuns) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  ASSERT_EQ(user.CreateThread(0), 1);
  std::atomic<bool> stop{false};
  std::thread producer([&] {
    while (!stop) Store();
  });
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  ASSERT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingAlarm);
  std::this_thread::sleep_for(20ms);
  alarm.CloseThread();
  user.CloseThread();
  EXPECT_FALSE(alarm.IsRecording());
  EXPECT_TRUE(user.IsRecording());
  std::this_thread::sleep_for(20ms);
  stop = true;
  producer.join();
  user.StopRecord();
  const std::vector<RecordedFile> files = Files();
  ASSERT_EQ(files.size(), 2u);
  for (const RecordedFile& f : files) ExpectConsecutive(f.stamps, f.name);
  EXPECT_EQ(AlarmList().items.size(), 1u);
}

// A disk too full for a header: the failed alarm file is not tried again at once, however many
// alarms come within the second.
TEST_F(RecorderTest, FailedAlarmWriteWaitsASecondBeforeTheNextFile) {
  ASSERT_EQ(alarm.CreateThread(0), 1);
  fs.SetCapacity(50);
  ASSERT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingAlarm);
  Store();
  ASSERT_TRUE(WaitUntil([&] { return !alarm.IsRecording(); }));
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(alarm.CreateRecordFile("C:\\rec\\"), 0) << "attempt " << i;
    Store();
  }
  std::lock_guard<std::mutex> lock(host.m_lock);
  const auto headerFailures = std::count_if(
      host.m_traces.begin(), host.m_traces.end(),
      [](const std::string& t) { return t.find("header write failed") != std::string::npos; });
  EXPECT_EQ(headerFailures, 1);
}

// A record folder whose writes hang: stopping does not wait for ever, and the thread is taken
// back once the write returns.
TEST_F(RecorderTest, StopWaitsBoundedForAThreadInAHungWrite) {
  user.m_StopWait = 200ms;
  ASSERT_EQ(user.CreateThread(0), 1);
  ASSERT_EQ(user.CreateRecordFile("C:\\rec\\"), 1);
  WaitWriting(kRingManual);
  fs.SetWritesHang(true);
  std::thread producer([&] { Store(); });
  EXPECT_TRUE(WaitUntil([&] { return fs.WritesWaiting() == 1; }));
  EXPECT_EQ(user.CloseThread(), 0);
  EXPECT_TRUE(user.HasThread());
  EXPECT_EQ(user.CreateThread(0), 0);  // the old thread is still busy
  fs.SetWritesHang(false);
  producer.join();
  ASSERT_TRUE(WaitUntil([&] { return !user.IsServing(); }));
  EXPECT_EQ(user.CreateThread(0), 1);
  user.StopRecord();
  for (const RecordedFile& f : Files()) EXPECT_TRUE(f.verdict.ok);
}
