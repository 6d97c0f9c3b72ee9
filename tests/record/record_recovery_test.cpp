// Record files left open by a program that died: for a crash at every step of a recording, the
// file found afterwards is finished into one the player accepts, holding every frame record
// that was whole; finished files, files in use and files of others are left as they are.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/player/record_file_check.h"
#include "record/record_file_writer.h"
#include "record/record_recovery.h"
#include "tests/record/memory_file_system.h"

namespace {
const std::string kFolder = "C:\\rec\\";
const std::string kManual = kFolder + "USER_MJPEG_240501T010000_UR.qdx";
const std::string kAlarm = kFolder + "ALARM_MJPEG_240501T010000_Ab12.qdx";

RecordHeaderValues Values(RecordKind kind) {
  RecordHeaderValues v;
  v.created = RecordTime{2024, 5, 3, 1, 1, 0, 0, 0};
  v.strServerName = "192.168.1.10";
  v.strUserName = "admin";
  v.kind = kind;
  return v;
}

RECORD_FRAME_INFO Frame(uint32_t n) {
  RECORD_FRAME_INFO info{};
  info.dwLength = 40 + n;
  info.dwTimeStamp = 1000 + n;
  info.wWidth = 320;
  info.wHeight = 240;
  info.dwNoPicture = n == 3;
  return info;
}

// Records frames into path, the file system crashing after `crashAfter` changing operations
// (-1: never). Returns the frames whose write reported success.
uint32_t Record(MemoryFileSystem& fs, const std::string& path, RecordKind kind, uint32_t frames,
                bool close, int crashAfter) {
  fs.CrashAfter(crashAfter);
  RecordFileWriter writer;
  std::unique_ptr<RecordFile> file = fs.Open(path, FileOpenMode::kCreateNew);
  uint32_t written = 0;
  if (file) {
    writer.Attach(std::move(file), path, &fs);
    if (writer.OpenHeader(Values(kind))) {
      std::vector<uint8_t> data(200, 0x5A);
      for (uint32_t n = 1; n <= frames; ++n)
        if (writer.WriteFrame(Frame(n), data.data())) ++written;
      if (close) writer.FinishAndClose(Values(kind), nullptr);
    }
  }
  writer.Abandon();  // the process is gone: its handles close, nothing more is written
  fs.CrashAfter(-1);
  return written;
}

RecordFileVerdict Check(MemoryFileSystem& fs, const std::string& path) {
  const std::vector<uint8_t> bytes = fs.Content(path);
  return CheckRecordFile(bytes.data(), bytes.size());
}
}  // namespace

TEST(RecordRecovery, ACrashAtEveryStepLeavesAFileThePlayerAcceptsWithEveryWholeFrame) {
  // Create, header, 5 frames (the first also rewrites the header), truncate, header, index.
  for (int crashAfter = 0; crashAfter <= 12; ++crashAfter) {
    SCOPED_TRACE("crash after " + std::to_string(crashAfter) + " operations");
    MemoryFileSystem fs;
    const uint32_t written = Record(fs, kManual, RecordKind::kManual, 5, true, crashAfter);
    const std::vector<uint8_t> before = fs.Content(kManual);
    const RecoveryResult r = RecoverRecordFile(fs, kManual);
    if (!fs.Has(kManual)) {
      EXPECT_TRUE(r.outcome == RecoveryOutcome::kRemoved || before.empty() || crashAfter == 0);
      continue;
    }
    const RecordFileVerdict v = Check(fs, kManual);
    ASSERT_TRUE(v.ok) << v.reason;
    EXPECT_GE(v.frames, written);
    EXPECT_LE(v.frames, 5u);
    for (uint32_t i = 0; i < v.frames; ++i) EXPECT_EQ(v.timeStamps[i], 1001 + i);
    if (r.outcome == RecoveryOutcome::kWhole) {
      EXPECT_EQ(fs.Content(kManual), before);
    }
    // A second pass finds nothing to do.
    EXPECT_EQ(RecoverRecordFile(fs, kManual).outcome, RecoveryOutcome::kWhole);
  }
}

TEST(RecordRecovery, OutcomesByKindOfFile) {
  MemoryFileSystem fs;
  Record(fs, kManual, RecordKind::kManual, 4, false, -1);
  EXPECT_EQ(RecoverRecordFile(fs, kManual).outcome, RecoveryOutcome::kRepaired);

  const std::string finished = kFolder + "USER_MJPEG_240501T020000_UR.qdx";
  Record(fs, finished, RecordKind::kManual, 4, true, -1);
  const std::vector<uint8_t> whole = fs.Content(finished);
  EXPECT_EQ(RecoverRecordFile(fs, finished).outcome, RecoveryOutcome::kWhole);
  EXPECT_EQ(fs.Content(finished), whole);

  // Open in a recording: untouched.
  const std::string open = kFolder + "USER_MJPEG_240501T030000_UR.qdx";
  Record(fs, open, RecordKind::kManual, 2, false, -1);
  const std::vector<uint8_t> openBytes = fs.Content(open);
  {
    std::unique_ptr<RecordFile> held = fs.Open(open, FileOpenMode::kOpenExisting);
    EXPECT_EQ(RecoverRecordFile(fs, open).outcome, RecoveryOutcome::kInUse);
  }
  EXPECT_EQ(fs.Content(open), openBytes);

  // Our name, someone else's bytes: untouched.
  const std::string foreign = kFolder + "USER_MJPEG_240501T040000_UR.qdx";
  fs.Put(foreign, std::vector<uint8_t>(300, 0x41));
  EXPECT_EQ(RecoverRecordFile(fs, foreign).outcome, RecoveryOutcome::kNotOurs);
  EXPECT_EQ(fs.Content(foreign), std::vector<uint8_t>(300, 0x41));

  // A torn last frame (the data cut short) is given up; the header's own frame count of a
  // half-finished close does not count.
  const std::string torn = kFolder + "USER_MJPEG_240501T050000_UR.qdx";
  Record(fs, torn, RecordKind::kManual, 3, false, -1);
  std::vector<uint8_t> bytes = fs.Content(torn);
  bytes.resize(bytes.size() - 10);
  fs.Put(torn, bytes);
  const RecoveryResult r = RecoverRecordFile(fs, torn);
  EXPECT_EQ(r.outcome, RecoveryOutcome::kRepaired);
  EXPECT_EQ(Check(fs, torn).frames, 2u);
}

TEST(RecordRecovery, FolderScanFinishesRecordFilesOnceAndListsTheAlarmFile) {
  MemoryFileSystem fs;
  SystemConfig db;
  db.Bind(&fs, "C:\\prog", nullptr);
  Record(fs, kManual, RecordKind::kManual, 3, false, -1);
  Record(fs, kAlarm, RecordKind::kAlarm, 6, false, -1);
  fs.Put(kFolder + "ALARM_MJPEG_240501T060000_Ab12.qdx", {});  // created, never written
  fs.Put(kFolder + "notes.txt", std::vector<uint8_t>(10, 1));
  fs.Put(kFolder + "sub\\USER_MJPEG_240501T070000_UR.qdx", std::vector<uint8_t>(100, 0));

  RecordFolderRecovery recovery;
  recovery.Bind(&fs, &db, nullptr);
  EXPECT_EQ(recovery.RecoverFolder("C:\\rec"), 2);
  EXPECT_EQ(Check(fs, kManual).frames, 3u);
  const RecordFileVerdict alarm = Check(fs, kAlarm);
  EXPECT_TRUE(alarm.ok);
  EXPECT_EQ(alarm.kind, 1);
  EXPECT_FALSE(fs.Has(kFolder + "ALARM_MJPEG_240501T060000_Ab12.qdx"));
  EXPECT_TRUE(fs.Has(kFolder + "notes.txt"));
  EXPECT_EQ(fs.Content(kFolder + "sub\\USER_MJPEG_240501T070000_UR.qdx").size(), 100u);

  auto list = [&] {
    const std::vector<uint8_t> b = fs.Content("C:\\prog\\AlarmData.dat");
    return ParseAlarmList(b.data(), b.size());
  };
  ASSERT_EQ(list().items.size(), 1u);
  EXPECT_STREQ(list().items[0].szPath, kAlarm.c_str());
  EXPECT_EQ(list().items[0].dwFrames, 6u);
  EXPECT_STREQ(list().items[0].strSourceIP, "192.168.1.10");
  EXPECT_EQ(list().items[0].stTime.wHour, 1);

  EXPECT_EQ(recovery.RecoverFolder("C:\\rec\\"), 0);  // once per run
  RecordFolderRecovery nextRun;
  nextRun.Bind(&fs, &db, nullptr);
  EXPECT_EQ(nextRun.RecoverFolder("C:\\rec\\"), 0);
  // An unfinished alarm file the list already has is not listed twice.
  std::vector<uint8_t> bytes = fs.Content(kAlarm);
  bytes.resize(bytes.size() - 4);
  fs.Put(kAlarm, bytes);
  RecordFolderRecovery third;
  third.Bind(&fs, &db, nullptr);
  EXPECT_EQ(third.RecoverFolder(kFolder), 1);
  EXPECT_EQ(list().items.size(), 1u);
}
