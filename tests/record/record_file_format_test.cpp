// Byte layout of record files: header, frame records with their sums, index, names; the writer
// on a full disk.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/player/record_file_check.h"
#include "record/record_file_format.h"
#include "record/record_file_writer.h"
#include "tests/record/memory_file_system.h"
#include "text/path_text.h"

namespace {
std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

RecordTime Jan2007() {
  RecordTime t{};
  t.wYear = 2007;
  t.wMonth = 1;
  t.wDayOfWeek = 2;
  t.wDay = 2;
  t.wHour = 15;
  t.wMinute = 4;
  t.wSecond = 5;
  t.wMilliseconds = 321;
  return t;
}

RecordHeaderValues ManualValues() {
  RecordHeaderValues v;
  v.created = Jan2007();
  v.strServerName = "192.168.1.10";
  v.strUserName = "admin";
  v.kind = RecordKind::kManual;
  return v;
}

RECORD_FRAME_INFO FrameInfo(uint32_t number, uint32_t length, uint32_t noPicture) {
  RECORD_FRAME_INFO info{};
  info.dwFrameNumber = number;
  info.dwLength = length;
  info.wWidth = 640;
  info.wHeight = 480;
  info.dwTimeStamp = 0x12345678;
  info.byChannel = 1;
  info.dwNoPicture = noPicture;
  return info;
}

std::vector<uint8_t> FrameRecord(const RECORD_FRAME_INFO& info, const std::vector<uint8_t>& jpeg) {
  std::array<uint8_t, recfmt::kMaxRecordHeadBytes> head;
  const size_t n = BuildFrameRecordHead(info, head);
  std::vector<uint8_t> out(head.begin(), head.begin() + static_cast<long>(n));
  out.insert(out.end(), jpeg.begin(), jpeg.end());
  return out;
}
}  // namespace

TEST(RecordFileFormat, HeaderOfAManualFileMatchesTheLayoutByteForByte) {
  const RECORD_FILE_HEADER h = MakeRecordFileHeader(ManualValues());
  std::vector<uint8_t> bytes(sizeof h);
  std::memcpy(bytes.data(), &h, sizeof h);
  bytes.insert(bytes.end(), kRecordHeaderTail.begin(), kRecordHeaderTail.end());
  const std::vector<uint8_t> expected = Bytes(
      {0x58, 0x51, 0x58, 0x00, 0x52, 0x5A, 0x32, 0x4B, 0,    0,    0,    0,    0,    0,    0,
       0,    0,    0,    0,    0,    0,    0,    0,    0,    0xD7, 0x07, 0x01, 0x00, 0x02, 0x00,
       0x02, 0x00, 0x0F, 0x00, 0x04, 0x00, 0x05, 0x00, 0x00, 0x00, 0,    0,    0,    0,    0,
       0,    0,    0,    0,    0,    0,    0,    0xC0, 0xA8, 0x01, 0x0A, 0x17, 0x00, 0x00, 0x00,
       0x61, 0x64, 0x6D, 0x69, 0x6E, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
       0,    0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0xFF, 0xFF});
  EXPECT_EQ(bytes, expected);

  RecordHeaderValues alarm = ManualValues();
  alarm.kind = RecordKind::kAlarm;
  alarm.strUserName = "abcdefghijklmnopqrst";  // 20 characters
  const RECORD_FILE_HEADER a = MakeRecordFileHeader(alarm);
  EXPECT_EQ(a.byRecordKind, 1);
  EXPECT_EQ(std::string(a.szUserName, 16), "abcdefghijklmnop");
  EXPECT_EQ(a.dwFlags, 2u);
}

TEST(RecordFileFormat, ServerAddressBytes) {
  const struct {
    const char* text;
    std::array<uint8_t, 4> bytes;
  } cases[] = {
      {"192.168.1.10", {0xC0, 0xA8, 0x01, 0x0A}},
      {"dvr.example", {0, 0, 0, 0}},
      {"10.0.0.300", {10, 0, 0, 44}},  // 300 in 8 bits
      {"1.2.3.4.5", {1, 2, 3, 4}},
      {"", {0, 0, 0, 0}},
      {"7..x.9", {7, 0, 0, 9}},
  };
  for (const auto& c : cases) EXPECT_EQ(ServerAddressBytes(c.text), c.bytes) << c.text;
}

TEST(RecordFileFormat, FrameRecordsCarryTheirFlagsLengthAndSum) {
  const std::vector<uint8_t> jpeg = Bytes({0xFF, 0xD8, 0xFF, 0xD9});
  EXPECT_EQ(FrameRecord(FrameInfo(1, 4, 0), jpeg),
            Bytes({0xFF, 0x00, 0x00, 0xE0, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
                   0x80, 0x02, 0xE0, 0x01, 0x78, 0x56, 0x34, 0x12, 0x01, 0x00, 0x05, 0x58,
                   0x51, 0x1D, 0x00, 0x27, 0x05, 0xFF, 0xFF, 0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_EQ(FrameRecord(FrameInfo(1, 4, 1), jpeg),
            Bytes({0xFF, 0x08, 0x00, 0xE0, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00,
                   0x80, 0x02, 0xE0, 0x01, 0x78, 0x56, 0x34, 0x12, 0x01, 0x00, 0x05, 0x01,
                   0x58, 0x51, 0x1E, 0x00, 0x31, 0x05, 0xFF, 0xFF, 0xFF, 0xD8, 0xFF, 0xD9}));
  const std::vector<uint8_t> big =
      FrameRecord(FrameInfo(7, 1000, 0), std::vector<uint8_t>(1000, 0xAB));
  ASSERT_EQ(big.size(), 1031u);
  uint32_t length = 0;
  std::memcpy(&length, big.data() + 8, 4);
  EXPECT_EQ(length, 1000u);
  EXPECT_EQ(big[25], 29);
}

TEST(RecordFileFormat, ThreeFrameFileIs4711BytesWithItsIndexAndCount) {
  MemoryFileSystem fs;
  RecordFileWriter w;
  w.Attach(fs.Open("C:\\rec\\a.qdx", FileOpenMode::kCreateNew), "C:\\rec\\a.qdx", &fs);
  ASSERT_TRUE(w.OpenHeader(ManualValues()));
  const uint32_t sizes[] = {1000, 2000, 1500};
  uint32_t stamp = 100;
  for (uint32_t n : sizes) {
    RECORD_FRAME_INFO info = FrameInfo(0, n, 0);
    info.dwTimeStamp = stamp++;
    const std::vector<uint8_t> jpeg(n, 0x11);
    ASSERT_TRUE(w.WriteFrame(info, jpeg.data()));
  }
  uint32_t frames = 0;
  ASSERT_TRUE(w.FinishAndClose(ManualValues(), &frames));
  EXPECT_EQ(frames, 3u);
  const std::vector<uint8_t> file = fs.Content("C:\\rec\\a.qdx");
  ASSERT_EQ(file.size(), 4711u);
  const std::vector<uint8_t> tail(file.begin() + 4683, file.end());
  EXPECT_EQ(tail, Bytes({0x5A, 0, 0,    0,    0, 0, 0, 0, 0x61, 0x04, 0,    0, 0, 0,
                         0,    0, 0x50, 0x0C, 0, 0, 0, 0, 0,    0,    0x03, 0, 0, 0}));
  EXPECT_EQ(file[48], 3);
  const RecordFileVerdict v = CheckRecordFile(file.data(), file.size());
  EXPECT_TRUE(v.ok) << v.reason;
  EXPECT_EQ(v.firstTimeStamp, 100u);
  EXPECT_EQ(v.lastTimeStamp, 102u);
}

TEST(RecordFileFormat, AFileClosedBeforeAnyFrameIs94Bytes) {
  MemoryFileSystem fs;
  RecordFileWriter w;
  w.Attach(fs.Open("e.qdx", FileOpenMode::kCreateNew), "e.qdx", &fs);
  uint32_t frames = 99;
  ASSERT_TRUE(w.FinishAndClose(ManualValues(), &frames));
  EXPECT_EQ(frames, 0u);
  const std::vector<uint8_t> file = fs.Content("e.qdx");
  EXPECT_EQ(file.size(), 94u);
  EXPECT_TRUE(CheckRecordFile(file.data(), file.size()).ok);
}

// On a full disk every frame that fits is kept and the file still closes whole.
TEST(RecordFileFormat, FullDiskLeavesAValidShorterFile) {
  for (uint64_t capacity : {90u, 95u, 500u, 1000u, 3000u, 3050u, 5000u}) {
    MemoryFileSystem fs;
    fs.SetCapacity(capacity);
    RecordFileWriter w;
    w.Attach(fs.Open("f.qdx", FileOpenMode::kCreateNew), "f.qdx", &fs);
    ASSERT_TRUE(w.OpenHeader(ManualValues()));
    uint32_t written = 0;
    for (int i = 0; i < 20; ++i) {
      RECORD_FRAME_INFO info = FrameInfo(0, 300, 0);
      info.dwTimeStamp = 10 + i;
      const std::vector<uint8_t> jpeg(300, static_cast<uint8_t>(i));
      if (!w.WriteFrame(info, jpeg.data())) break;
      ++written;
    }
    uint32_t frames = 0;
    if (!w.FinishAndClose(ManualValues(), &frames)) {
      EXPECT_FALSE(fs.Has("f.qdx")) << "capacity " << capacity;  // not even the count fits
      continue;
    }
    EXPECT_LE(frames, written);
    const std::vector<uint8_t> file = fs.Content("f.qdx");
    const RecordFileVerdict v = CheckRecordFile(file.data(), file.size());
    EXPECT_TRUE(v.ok) << "capacity " << capacity << ": " << v.reason;
    EXPECT_EQ(v.frames, frames);
    EXPECT_LE(file.size(), capacity);
  }
}

TEST(RecordFileFormat, NamesByKindTimeAndCookie) {
  const RecordTime t = Jan2007();
  const struct {
    RecordKind kind;
    const char* cookie;
    const char* name;
  } cases[] = {
      {RecordKind::kAlarm, "Ab12XYZ", "C:\\Rec\\ALARM_MJPEG_070102T150405_Ab12.qdx"},
      {RecordKind::kAlarm, "Ab", "C:\\Rec\\ALARM_MJPEG_070102T150405_Ab.qdx"},
      {RecordKind::kAlarm, "a:b/", "C:\\Rec\\ALARM_MJPEG_070102T150405_a_b_.qdx"},
      {RecordKind::kManual, "ignored", "C:\\Rec\\USER_MJPEG_070102T150405_UR.qdx"},
      {RecordKind::kSchedule, "", "C:\\Rec\\SCH_MJPEG_070102T150405.qd4"},
  };
  std::string folder = "C:\\Rec";
  EnsureFolderBackslash(folder);
  EXPECT_EQ(folder, "C:\\Rec\\");
  EnsureFolderBackslash(folder);
  EXPECT_EQ(folder, "C:\\Rec\\");
  for (const auto& c : cases) EXPECT_EQ(RecordFileName(c.kind, folder, t, c.cookie), c.name);
  EXPECT_EQ(NumberedRecordFileName("C:\\Rec\\USER_MJPEG_070102T150405_UR.qdx", 2),
            "C:\\Rec\\USER_MJPEG_070102T150405_UR_2.qdx");
}

TEST(RecordFileFormat, ATakenNameGetsANumberAndNothingIsWrittenOver) {
  MemoryFileSystem fs;
  fs.Put("C:\\r\\A.qdx", {1, 2, 3});
  fs.Put("C:\\r\\A_2.qdx", {4});
  std::string used;
  auto file = CreateUnusedRecordFile(fs, "C:\\r\\A.qdx", used);
  ASSERT_TRUE(file);
  EXPECT_EQ(used, "C:\\r\\A_3.qdx");
  EXPECT_EQ(fs.Content("C:\\r\\A.qdx"), Bytes({1, 2, 3}));
  fs.SetCreateFails(true);
  EXPECT_FALSE(CreateUnusedRecordFile(fs, "C:\\r\\B.qdx", used));
}
