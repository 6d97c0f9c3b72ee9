// "AlarmData.dat": append (first file, the 1024 cap), wrong magic, damaged count, rewrite, and a
// crash in the middle of a rewrite or a capped append.
#include <gtest/gtest.h>

#include <cstring>

#include "record/alarm_db.h"
#include "tests/record/memory_file_system.h"

namespace {
const char kList[] = "C:\\prog\\AlarmData.dat";

ALARM_DB_ITEM Item(int n, uint8_t flags = 0) {
  ALARM_DB_ITEM item{};
  item.wItemNumber = static_cast<uint16_t>(n);
  item.byFlags = flags;
  std::snprintf(item.szPath, sizeof item.szPath, "C:\\rec\\ALARM_%d.qdx", n);
  item.dwFrames = static_cast<uint32_t>(n);
  return item;
}

std::vector<ALARM_DB_ITEM> Items(int from, int to) {
  std::vector<ALARM_DB_ITEM> v;
  for (int i = from; i <= to; ++i) v.push_back(Item(i));
  return v;
}

struct AlarmDbTest : ::testing::Test {
  MemoryFileSystem fs;
  SystemConfig db;
  void SetUp() override { db.Bind(&fs, "C:\\prog", nullptr); }
  AlarmListContent Read() {
    const std::vector<uint8_t> bytes = fs.Content(kList);
    return ParseAlarmList(bytes.data(), bytes.size());
  }
  int Append(const std::string& path, uint32_t frames) {
    db.AlarmDB_PrepareItem(path);
    RecordTime t{};
    t.wYear = 2007;
    t.wMonth = 1;
    t.wDayOfWeek = 2;
    t.wDay = 2;
    t.wHour = 15;
    t.wMinute = 4;
    t.wSecond = 5;
    t.wMilliseconds = 9;
    db.AlarmDB_StampTime(t);
    return db.AlarmDB_AppendItem(frames, "192.168.1.10");
  }
};
}  // namespace

TEST_F(AlarmDbTest, FirstAppendCreatesTheFileWithOneItem) {
  ASSERT_EQ(Append("C:\\rec\\ALARM_MJPEG_070102T150405_Ab12.qdx", 69), 1);
  const std::vector<uint8_t> bytes = fs.Content(kList);
  ASSERT_EQ(bytes.size(), 320u);
  const uint8_t head[] = {0x87, 0x99, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD7, 0x07, 0x01, 0x00,
                          0x00, 0x00, 0x02, 0x00, 0x0F, 0x00, 0x04, 0x00, 0x05, 0x00, 0x00, 0x00};
  EXPECT_EQ(std::memcmp(bytes.data(), head, sizeof head), 0);
  EXPECT_EQ(bytes[284], 69);
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 288), "192.168.1.10");
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 24),
               "C:\\rec\\ALARM_MJPEG_070102T150405_Ab12.qdx");
  EXPECT_EQ(db.m_strAlarmDBPath, kList);
  ASSERT_EQ(Append("C:\\rec\\second.qdx", 5), 1);
  const AlarmListContent list = Read();
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.items[1].wItemNumber, 1);
}

TEST_F(AlarmDbTest, AppendToAFullListDropsTheOldest) {
  fs.Put(kList, EncodeAlarmList(1023, Items(0, 1022)));
  ASSERT_EQ(Append("C:\\rec\\new1.qdx", 1), 1);
  AlarmListContent list = Read();
  ASSERT_EQ(list.wHeaderCount, 1024);
  ASSERT_EQ(list.items.size(), 1024u);
  ASSERT_EQ(Append("C:\\rec\\new2.qdx", 2), 1);
  list = Read();
  EXPECT_EQ(list.wHeaderCount, 1024);
  ASSERT_EQ(list.items.size(), 1024u);
  EXPECT_STREQ(list.items.front().szPath, "C:\\rec\\ALARM_1.qdx");
  EXPECT_STREQ(list.items.back().szPath, "C:\\rec\\new2.qdx");
  EXPECT_EQ(fs.Content(kList).size(), 4u + 1024 * 316);
}

TEST_F(AlarmDbTest, WrongMagicIsLeftAsItIs) {
  std::vector<uint8_t> bytes = EncodeAlarmList(2, Items(0, 1));
  bytes[0] = 0x12;
  fs.Put(kList, bytes);
  EXPECT_EQ(Append("C:\\rec\\x.qdx", 1), 0);
  EXPECT_EQ(fs.Content(kList), bytes);
}

// A count larger than the items the file holds: the append goes after the last whole item.
TEST_F(AlarmDbTest, DamagedCountIsBoundByTheFileSize) {
  std::vector<uint8_t> bytes = EncodeAlarmList(900, Items(0, 2));
  bytes.resize(bytes.size() + 100, 0xEE);  // part of a fourth item
  fs.Put(kList, bytes);
  ASSERT_EQ(Append("C:\\rec\\x.qdx", 1), 1);
  const AlarmListContent list = Read();
  EXPECT_EQ(list.wHeaderCount, 4);
  ASSERT_EQ(list.items.size(), 4u);
  EXPECT_STREQ(list.items[3].szPath, "C:\\rec\\x.qdx");
  EXPECT_EQ(fs.Content(kList).size(), 4u + 4 * 316);
}

TEST_F(AlarmDbTest, RewriteDropsTheDeletedItemsInOrder) {
  fs.Put(kList, EncodeAlarmList(5, Items(1, 5)));
  ASSERT_EQ(db.AlarmDB_LoadItems(), 1);
  db.m_lpAlarmDBItem_Struct[1].byFlags |= kAlarmItemDeleted;
  db.m_lpAlarmDBItem_Struct[3].byFlags |= kAlarmItemDeleted;
  EXPECT_EQ(db.AlarmDB_Rewrite(), 0);  // not pending: nothing changes
  EXPECT_EQ(Read().items.size(), 5u);
  ASSERT_EQ(db.AlarmDB_LoadItems(), 1);
  db.m_lpAlarmDBItem_Struct[1].byFlags |= kAlarmItemDeleted;
  db.m_lpAlarmDBItem_Struct[3].byFlags |= kAlarmItemDeleted;
  // An alarm that closes while the page has the items loaded does not change the walk.
  ASSERT_EQ(Append("C:\\rec\\late.qdx", 3), 1);
  db.m_bRewritePending = 1;
  ASSERT_EQ(db.AlarmDB_Rewrite(), 1);
  const AlarmListContent list = Read();
  ASSERT_EQ(list.wHeaderCount, 4);
  ASSERT_EQ(list.items.size(), 4u);
  EXPECT_STREQ(list.items[0].szPath, "C:\\rec\\ALARM_1.qdx");
  EXPECT_STREQ(list.items[1].szPath, "C:\\rec\\ALARM_3.qdx");
  EXPECT_STREQ(list.items[2].szPath, "C:\\rec\\ALARM_5.qdx");
  EXPECT_STREQ(list.items[3].szPath, "C:\\rec\\late.qdx");
  EXPECT_EQ(db.m_bRewritePending, 0u);
  EXPECT_TRUE(db.m_lpAlarmDBItem_Struct.empty());
}

TEST_F(AlarmDbTest, RewriteDropsEveryItemOfADeletedPath) {
  std::vector<ALARM_DB_ITEM> items = Items(1, 3);
  std::strcpy(items[2].szPath, items[0].szPath);
  fs.Put(kList, EncodeAlarmList(3, items));
  ASSERT_EQ(db.AlarmDB_LoadItems(), 1);
  db.m_lpAlarmDBItem_Struct[2].byFlags |= kAlarmItemDeleted;
  db.m_bRewritePending = 1;
  ASSERT_EQ(db.AlarmDB_Rewrite(), 1);
  const AlarmListContent list = Read();
  ASSERT_EQ(list.items.size(), 1u);
  EXPECT_STREQ(list.items[0].szPath, "C:\\rec\\ALARM_2.qdx");
}

// Whatever step a crash stops the rewrite or the capped append at, the list is the old one or
// the new one, whole.
TEST_F(AlarmDbTest, CrashInTheMiddleLeavesTheOldOrTheNewListWhole) {
  const std::vector<uint8_t> before = EncodeAlarmList(1024, Items(0, 1023));
  for (int mode = 0; mode < 2; ++mode) {
    std::vector<uint8_t> after;
    for (int crashAt = 0; crashAt < 12; ++crashAt) {
      MemoryFileSystem disk;
      SystemConfig list;
      list.Bind(&disk, "C:\\prog", nullptr);
      disk.Put(kList, before);
      list.AlarmDB_LoadItems();
      disk.CrashAfter(crashAt);
      if (mode == 0) {
        list.m_lpAlarmDBItem_Struct[10].byFlags |= kAlarmItemDeleted;
        list.m_bRewritePending = 1;
        list.AlarmDB_Rewrite();
      } else {
        list.AlarmDB_PrepareItem("C:\\rec\\new.qdx");
        list.AlarmDB_AppendItem(1, "h");
      }
      const std::vector<uint8_t> now = disk.Content(kList);
      if (now != before) {
        if (after.empty()) after = now;
        EXPECT_EQ(now, after) << "mode " << mode << " crash at " << crashAt;
      }
    }
    ASSERT_FALSE(after.empty()) << "mode " << mode << " never completed";
    const AlarmListContent done = ParseAlarmList(after.data(), after.size());
    EXPECT_EQ(done.items.size(), mode == 0 ? 1023u : 1024u);
  }
}
