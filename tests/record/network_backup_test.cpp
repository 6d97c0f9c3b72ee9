// Network backup and the device's record list: the disk reply, the requests, the chunk reader
// over split and faulty streams, the percent, the size box, the file name, the list reply's
// bounds, the Full List's rows, filters and the record handed to the backup page.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "record/network_backup.h"
#include "record/playback_search.h"
#include "record/search_list.h"

namespace {
void PutU32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}
void Chunk(std::vector<uint8_t>& v, uint32_t type, uint32_t length, size_t payload = 0) {
  PutU32(v, length);
  PutU32(v, type);
  for (size_t i = 0; i < payload; ++i) v.push_back(static_cast<uint8_t>(i * 7 + 1));
}

// Reads a stream in pieces of at most `piece` bytes, as a socket that returns short reads.
struct StreamSource {
  std::vector<uint8_t> bytes;
  size_t at = 0;
  size_t requested = 0;
  bool Receive(uint8_t* buf, size_t n) {
    requested += n;
    if (bytes.size() - at < n) {
      at = bytes.size();
      return false;
    }
    std::memcpy(buf, bytes.data() + at, n);
    at += n;
    return true;
  }
};

struct Outcome {
  std::vector<BackupChunk> chunks;
  std::vector<uint8_t> written;
};
Outcome ReadAll(StreamSource& s) {
  Outcome o;
  std::array<uint8_t, kBackupChunkDataMax> buf{};
  for (;;) {
    uint32_t len = 0;
    const BackupChunk c =
        ReadBackupChunk([&](uint8_t* b, size_t n) { return s.Receive(b, n); }, buf, len);
    o.chunks.push_back(c);
    if (c == BackupChunk::kData) o.written.insert(o.written.end(), buf.begin(), buf.begin() + len);
    if (c != BackupChunk::kData && c != BackupChunk::kIgnored) return o;
  }
}
}  // namespace

TEST(DvrHddReply, NamesAndNumbersOfTheSetBits) {
  uint8_t reply[33] = {0x23};
  reply[31] = 0x80;  // disk 255
  reply[32] = 7;
  DvrHddReply r;
  ASSERT_TRUE(DecodeDvrHddReply(reply, sizeof reply, r));
  EXPECT_EQ(r.flag, 7);
  EXPECT_EQ(ListedDisks(r), (std::vector<int>{0, 1, 5, 255}));
  EXPECT_EQ(DiskName(0), "MASTER1");
  EXPECT_EQ(DiskName(1), "SLAVE1");
  EXPECT_EQ(DiskName(2), "MASTER2");
  EXPECT_EQ(DiskName(3), "SLAVE2");
  EXPECT_EQ(DiskName(4), "EXT-01");
  EXPECT_EQ(DiskName(5), "EXT-02");
  EXPECT_EQ(DiskName(255), "EXT-252");
  // A short reply lists no stale bytes as disks.
  EXPECT_FALSE(DecodeDvrHddReply(reply, 32, r));
  EXPECT_FALSE(DecodeDvrHddReply(nullptr, 33, r));
}

TEST(NetworkBackupRequest, QueryKeysInOrderAndTheWholeRequestBounded) {
  BackupRequest r;
  r.year = 2007;
  r.month = 3;
  r.day = 5;
  r.hour = 14;
  r.minute = 2;
  r.second = 9;
  r.disk = 5;
  r.channel = 0;
  r.sizeMB = 20;
  EXPECT_EQ(BuildNetworkBackupQuery(r),
            "/NetworkBk.cgi?Cookie=&Year=2007&Month=3&Day=5&Hour=14&Minute=2&Second=9&Num=5&CH=0"
            "&Size=20");
  r.cookie = "abc";
  std::string text;
  ASSERT_TRUE(BuildNetworkBackupRequest(r, "127.0.0.1", text));
  EXPECT_EQ(text.rfind("GET /NetworkBk.cgi?Cookie=abc&Year=2007&", 0), 0u);
  EXPECT_NE(text.find(" HTTP/1.1\r\nAccept: */* \r\n"), std::string::npos);
  EXPECT_NE(text.find("Host: 127.0.0.1\r\nConnection: Keep-Alive\r\n\r\n"), std::string::npos);
  EXPECT_LE(text.size(), kBackupRequestLimit);
  r.cookie.assign(300, 'c');  // request above 512 bytes
  EXPECT_FALSE(BuildNetworkBackupRequest(r, "127.0.0.1", text));
  EXPECT_TRUE(text.empty());
}

TEST(BackupChunkReader, StreamsAndTheirOutcomes) {
  struct Case {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<BackupChunk> chunks;
    size_t written;
  };
  auto make = [](auto build) {
    std::vector<uint8_t> v;
    build(v);
    return v;
  };
  using C = BackupChunk;
  const Case cases[] = {
      {"data then end",
       make([](auto& v) { Chunk(v, 3, 2048, 2048), Chunk(v, 3, 1, 1), Chunk(v, 1, 0); }),
       {C::kData, C::kData, C::kEnd},
       2049},
      {"end first", make([](auto& v) { Chunk(v, 1, 0); }), {C::kEnd}, 0},
      {"abort after data",
       make([](auto& v) { Chunk(v, 3, 10, 10), Chunk(v, 6, 0); }),
       {C::kData, C::kAborted},
       10},
      // Another type's length is not skipped: the next 8 bytes are the next header.
      {"type 2 header only",
       make([](auto& v) { Chunk(v, 2, 500), Chunk(v, 3, 4, 4), Chunk(v, 1, 0); }),
       {C::kIgnored, C::kData, C::kEnd},
       4},
      {"empty data chunk",
       make([](auto& v) { Chunk(v, 3, 0), Chunk(v, 1, 0); }),
       {C::kData, C::kEnd},
       0},
      {"oversize",
       make([](auto& v) { Chunk(v, 3, 4, 4), Chunk(v, 3, 2049, 2049); }),
       {C::kData, C::kOversize},
       4},
      {"huge length", make([](auto& v) { Chunk(v, 3, 0xFFFFFFFFu); }), {C::kOversize}, 0},
      {"closed in a header", make([](auto& v) { PutU32(v, 3); }), {C::kReceiveFailed}, 0},
      {"closed in data", make([](auto& v) { Chunk(v, 3, 100, 60); }), {C::kReceiveFailed}, 0},
      {"closed between chunks",
       make([](auto& v) { Chunk(v, 3, 5, 5); }),
       {C::kData, C::kReceiveFailed},
       5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StreamSource s{c.stream};
    const Outcome o = ReadAll(s);
    EXPECT_EQ(o.chunks, c.chunks);
    EXPECT_EQ(o.written.size(), c.written);
  }
}

TEST(BackupChunkReader, OversizeChunkReadsNothingBeyondItsHeader) {
  std::vector<uint8_t> v;
  Chunk(v, 3, 4096, 4096);
  StreamSource s{v};
  const Outcome o = ReadAll(s);
  EXPECT_EQ(o.chunks, std::vector<BackupChunk>{BackupChunk::kOversize});
  EXPECT_EQ(s.requested, 8u);
}

TEST(BackupPercent, WholeMebibytesOfTheSizeClampedAt100) {
  struct Case {
    uint64_t total;
    int sizeMB;
    int percent;
  } cases[] = {
      {0, 2, 0},
      {1 << 20, 2, 50},
      {(1 << 20) - 1, 1, 99},
      {5ull << 20, 5, 100},
      {600ull << 20, 5, 100},  // more than asked: never wraps past 255
      {1 << 20, 0, 0},
      {3ull << 30, 500, 100},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BackupPercent(c.total, c.sizeMB), c.percent) << c.total << " " << c.sizeMB;
}

TEST(BackupSizeText, DigitsOnlyAndClampedWhileParsed) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"", -1},     {"abc", -1},  {"0", 0},    {"5", 5},
               {"600", 500}, {"500", 500}, {"1a2", 12}, {"99999999999999999999", 500}};
  for (const auto& c : cases) EXPECT_EQ(BackupSizeFromText(c.text), c.value) << c.text;
}

TEST(BackupFileName, FirstFreeNumberSkippingTakenAndLockedNames) {
  std::set<std::string> taken = {"D:\\bk\\CH03_0001.dvr", "D:\\bk\\CH03_0002.dvr",
                                 "D:\\bk\\CH04_0001.dvr"};
  auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
  EXPECT_EQ(ChooseBackupFileName("D:\\bk", 3, exists), "D:\\bk\\CH03_0003.dvr");
  taken.insert("D:\\bk\\CH03_0003.dvr");
  EXPECT_EQ(ChooseBackupFileName("D:\\bk", 3, exists), "D:\\bk\\CH03_0004.dvr");
  EXPECT_EQ(ChooseBackupFileName("D:\\bk", 16, exists), "D:\\bk\\CH16_0001.dvr");
  EXPECT_EQ(ChooseBackupFileName("D:\\bk", 3, [](const std::string&) { return true; }),
            "D:\\bk\\CH03_Temp.dvr");
  // A folder the name cannot hold is refused, not cut.
  EXPECT_EQ(ChooseBackupFileName(std::string(498, 'f'), 1, exists), "");
  EXPECT_EQ(ChooseBackupFileName(std::string(497, 'f'), 1, exists).size(), 511u);
}

TEST(SearchListQuery, StateDiskAndTypeByListType) {
  EXPECT_EQ(BuildSearchListQuery("ck", true, 5, kListAll),
            "/GetSearchList.cgi?Cookie=ck&STATE=LAST&HDD=5&TYPE=8");
  EXPECT_EQ(BuildSearchListQuery("", false, 0, kListManual),
            "/GetSearchList.cgi?STATE=PREV&HDD=0&TYPE=3");
  EXPECT_EQ(BuildSearchListQuery("", false, 0, kListSystem),
            "/GetSearchList.cgi?STATE=PREV&HDD=0&TYPE=15");
  EXPECT_EQ(BuildSearchListQuery("", false, 1, kListAlarm),
            "/GetSearchList.cgi?STATE=PREV&HDD=1&TYPE=0");
  EXPECT_EQ(BuildSearchListQuery("", false, 1, kListMotion),
            "/GetSearchList.cgi?STATE=PREV&HDD=1&TYPE=1");
  EXPECT_EQ(BuildSearchListQuery("", true, 1, kListTimer), "/GetSearchList.cgi?STATE=LAST&HDD=1");
}

TEST(SearchListChoices, SavedDiskTypeAndMaximum) {
  const std::vector<int> disks = {0, 5, 9};
  struct Case {
    std::vector<int> disks;
    int disk, type, max;
    SearchListChoices want;
  } cases[] = {
      {disks, 5, kListAlarm, 25, {1, kListAlarm, 25}},
      {disks, 9, kListTimer, 2048, {2, kListTimer, 2048}},
      {disks, 3, kListAll, 128, {0, kListAll, 128}},      // a disk the device no longer has
      {{}, 0, kListManual, 300, {-1, kListManual, 300}},  // no disk at all
      {disks, 0, 6, 5000, {0, kListAll, 2048}},           // unknown type, maximum capped
      {disks, 0, -1, -7, {0, kListAll, 0}},
  };
  for (const auto& c : cases) {
    const SearchListChoices got = SearchListChoicesOf(c.disks, c.disk, c.type, c.max);
    EXPECT_EQ(got.diskIndex, c.want.diskIndex) << c.disk;
    EXPECT_EQ(got.listType, c.want.listType) << c.type;
    EXPECT_EQ(got.maximum, c.want.maximum) << c.max;
  }
}

TEST(SearchListReply, EntriesBoundedByWhatArrivedAndByTheBuffer) {
  auto reply = [](uint16_t declared, size_t bodyBytes) {
    std::vector<uint8_t> v = {0, 0, static_cast<uint8_t>(declared),
                              static_cast<uint8_t>(declared >> 8)};
    for (size_t i = 0; i < bodyBytes; ++i) v.push_back(static_cast<uint8_t>(i));
    return v;
  };
  struct Case {
    uint16_t declared;
    size_t body;
    size_t entries;
  } cases[] = {
      {160, 160, 10},      {170, 170, 10},  // remainder dropped
      {0, 160, 0},         {160, 40, 2},    // declared more than arrived
      {0xFFFF, 4000, 127},                  // a page holds at most 127 entries
      {16, 15, 0},
  };
  for (const auto& c : cases) {
    const auto v = reply(c.declared, c.body);
    EXPECT_EQ(DecodeSearchListReply(v.data(), v.size()).size(), c.entries)
        << c.declared << " " << c.body;
  }
  const auto v = reply(32, 32);
  const auto e = DecodeSearchListReply(v.data(), v.size());
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].kind, 16 + 7);
  EXPECT_EQ(e[1].year, 16 + 8);
  EXPECT_TRUE(DecodeSearchListReply(v.data(), 3).empty());
}

TEST(SearchListRows, TextsFiltersAndPreset) {
  auto entry = [](uint8_t kind) {
    SearchListEntry e{};
    e.kind = kind;
    e.year = 7;
    e.month = 3;
    e.day = 5;
    e.hour = 14;
    e.minute = 2;
    e.second = 9;
    return e;
  };
  struct Case {
    uint8_t kind;
    const char* event;
    const char* channel;
    int presetKind, presetChannel;
  } cases[] = {
      {0, "ALARM", " 1", 0, 1},      {15, "ALARM", "16", 0, 16}, {16, "MOTION", " 1", 1, 1},
      {31, "MOTION", "16", 1, 16},   {32, "TIMER", "ALL", 0, 0}, {48, "MANUAL", "ALL", 3, 0},
      {240, "SYSTEM", "ALL", 15, 0}, {77, "", "", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(int{c.kind});
    const SearchListRow row = SearchListRowTexts(entry(c.kind));
    EXPECT_EQ(row.event, c.event);
    EXPECT_EQ(row.channel, c.channel);
    EXPECT_EQ(row.time, "2007-03-05  14:02:09");
    const BackupPreset p = MakeBackupPreset(entry(c.kind), 2);
    EXPECT_EQ(p.waiting, 1);
    EXPECT_EQ(p.kind, c.presetKind);
    EXPECT_EQ(p.channel, c.presetChannel);
    EXPECT_EQ(p.diskIndex, 2);
    EXPECT_EQ(p.year, 7);
    EXPECT_EQ(p.second, 9);
  }
  // Timer entries show only with all four filters on.
  SearchListFilter all = FilterForListType(kListAll);
  EXPECT_TRUE(EntryShown(entry(32), all));
  all.alarm = false;
  EXPECT_FALSE(EntryShown(entry(32), all));
  EXPECT_FALSE(EntryShown(entry(0), all));
  EXPECT_TRUE(EntryShown(entry(16), all));
  const SearchListFilter timer = FilterForListType(kListTimer);
  for (uint8_t k : {0, 16, 32, 48, 240}) EXPECT_FALSE(EntryShown(entry(k), timer));
  EXPECT_TRUE(EntryShown(entry(48), FilterForListType(kListManual)));
  EXPECT_FALSE(EntryShown(entry(240), FilterForListType(kListManual)));
  EXPECT_EQ(SearchListTitle(kListAll), "Full Record List");
  EXPECT_EQ(SearchListTitle(kListTimer), "Timer Record List");
  EXPECT_EQ(SearchListTitle(9), "");
}

TEST(BackupCancel, OnlyRzkFamilyFrom1043) {
  struct Case {
    const char* product;
    const char* firmware;
    bool sends;
  } cases[] = {{"RZ1K", "1043", true},  {"RZ3K", "1052", true},  {"RZ4K", "1043", true},
               {"RZ3K", "1031", false}, {"RZ1K", "1042", false}, {"RZ2K", "1052", false},
               {"RZ8P", "1100", false}};
  for (const auto& c : cases)
    EXPECT_EQ(SendsBackupCancel(c.product, c.firmware), c.sends) << c.product << " " << c.firmware;
}

TEST(PlaybackSearchQuery, KeysInOrderByKind) {
  PlaybackSearch event;
  event.event = true;
  event.channelIndex = 2;
  event.alarm = true;
  event.year = 2007;
  event.month = 1;
  event.day = 7;
  event.hour = 14;
  event.minute = 5;
  event.second = 9;
  event.disk = 3;
  EXPECT_EQ(BuildPlaybackSearchQuery("ck", event),
            "/SearchPlayBack.cgi?Cookie=ck&searchType=event&channelNum=2&eventType=0&year=7&"
            "month=1&day=7&hour=14&min=5&sec=9&hddNum=3");
  event.alarm = false;
  EXPECT_NE(BuildPlaybackSearchQuery("", event).find("&eventType=1&"), std::string::npos);
  PlaybackSearch time = event;
  time.event = false;
  time.disk.reset();
  EXPECT_EQ(BuildPlaybackSearchQuery("", time),
            "/SearchPlayBack.cgi?searchType=time&year=7&month=1&day=7&hour=14&min=5&sec=9&"
            "hddNum=ALL");
  EXPECT_EQ(PlaybackSearchChannels("RZ4K"), 4);
  EXPECT_EQ(PlaybackSearchChannels("RZ3K"), 8);
  EXPECT_EQ(PlaybackSearchChannels("RZ1K"), 16);
  EXPECT_EQ(PlaybackSearchChannels("RZ2K"), 0);
}

TEST(PlaybackSearchDialog, EntriesAndTheRequestOfTheSelectedTexts) {
  using V = std::vector<std::string>;
  EXPECT_EQ(PlaybackSearchDiskEntries({}), V{"ALL"});
  EXPECT_EQ(PlaybackSearchDiskEntries({0, 3, 5}), (V{"MASTER1", "SLAVE2", "EXT-02", "ALL"}));
  EXPECT_EQ(PlaybackSearchChannelEntries(4), (V{"1", "2", "3", "4"}));
  EXPECT_TRUE(PlaybackSearchChannelEntries(0).empty());
  struct Case {
    PlaybackSearchSelection selection;
    const char* query;
  } cases[] = {
      {{"EVENT SEARCH", "ALARM", "SLAVE2", 2, 2007, 1, 7, 14, 5, 9},
       "/SearchPlayBack.cgi?searchType=event&channelNum=2&eventType=0&year=7&month=1&day=7&"
       "hour=14&min=5&sec=9&hddNum=3"},
      {{"EVENT SEARCH", "MOTION", "EXT-02", 15, 2026, 12, 31, 23, 59, 58},
       "/SearchPlayBack.cgi?searchType=event&channelNum=15&eventType=1&year=26&month=12&day=31&"
       "hour=23&min=59&sec=58&hddNum=5"},
      {{"TIME SEARCH", "ALARM", "ALL", 3, 2000, 1, 1, 0, 0, 0},
       "/SearchPlayBack.cgi?searchType=time&year=0&month=1&day=1&hour=0&min=0&sec=0&hddNum=ALL"},
      {{"TIME SEARCH", "MOTION", "MASTER1", 0, 2010, 6, 5, 4, 3, 2},
       "/SearchPlayBack.cgi?searchType=time&year=10&month=6&day=5&hour=4&min=3&sec=2&hddNum=0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BuildPlaybackSearchQuery("", PlaybackSearchOf(c.selection)), c.query);
}
