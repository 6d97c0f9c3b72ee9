// The recordings on the simulated disks: the disk set, the record list paged per session, the
// network backup's chunks (payload, end, faults) and its cancel.
#include <cstring>
#include <string>
#include <thread>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

uint32_t U32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
  return v;
}

struct Chunks {
  std::string data;
  std::vector<uint32_t> types;
  bool whole = true;  // every chunk complete
};
Chunks Split(const std::string& b) {
  Chunks c;
  size_t at = 0;
  while (at < b.size()) {
    if (b.size() - at < 8) return c.whole = false, c;
    const uint32_t len = U32(b, at), type = U32(b, at + 4);
    at += 8;
    c.types.push_back(type);
    if (type != 3) continue;
    if (b.size() - at < len) return c.whole = false, c;
    c.data += b.substr(at, len);
    at += len;
  }
  return c;
}

std::string BackupQuery(const std::string& cookie, int size = 1) {
  return "/NetworkBk.cgi?Cookie=" + cookie +
         "&Year=2007&Month=3&Day=5&Hour=14&Minute=2&Second=9&Num=5&CH=0&Size=" +
         std::to_string(size);
}

TEST_F(DevsimTest, DiskSetAndRecordListPagedPerSession) {
  StartDevsim(
      {"--set", "backup.disks=0,1,5", "--set", "backup.disk_flag=9", "--set", "search.entries=45"});
  const std::string a = Login(), b = Login();
  const std::string disks = Get("/GetDvrHDD.cgi?Cookie=" + a).body;
  ASSERT_EQ(disks.size(), 33u);
  EXPECT_EQ(static_cast<uint8_t>(disks[0]), 0x23);
  EXPECT_EQ(disks[32], 9);

  auto page = [&](const std::string& cookie, const char* state, const char* type = "&TYPE=8") {
    return Get("/GetSearchList.cgi?Cookie=" + cookie + "&STATE=" + state + "&HDD=5" + type).body;
  };
  auto count = [](const std::string& body) { return (U32(body, 0) >> 16) / 16; };
  const std::string first = page(a, "LAST");
  EXPECT_EQ(count(first), 20u);
  EXPECT_EQ(first.size(), 4u + 20 * 16);
  EXPECT_EQ(count(page(b, "LAST")), 20u);  // b's cursor is its own
  EXPECT_EQ(count(page(a, "PREV")), 20u);
  EXPECT_EQ(count(page(a, "PREV")), 5u);
  EXPECT_EQ(count(page(a, "PREV")), 0u);
  EXPECT_EQ(page(a, "LAST"), first);  // LAST starts again
  EXPECT_EQ(count(page(b, "PREV")), 20u);
  // Manual records only.
  const std::string manual = page(a, "LAST", "&TYPE=3");
  ASSERT_GT(count(manual), 0u);
  for (size_t i = 0; i < count(manual); ++i)
    EXPECT_EQ(static_cast<uint8_t>(manual[4 + 16 * i + 7]), 48);
  EXPECT_EQ(Get("/GetSearchList.cgi?Cookie=" + a + "&STATE=NEXT&HDD=5").status, 400);
}

TEST_F(DevsimTest, BackupSendsThePayloadInChunksThenEnds) {
  StartDevsim({"--set", "backup.bytes=100000", "--set", "backup.scenario=other-type"});
  const std::string cookie = Login();
  const RawExchange r = Raw(ClientRequest(BackupQuery(cookie)));
  EXPECT_TRUE(r.closed);
  const Chunks c = Split(r.bytes);
  ASSERT_TRUE(c.whole);
  EXPECT_EQ(c.data.size(), 100000u);
  EXPECT_EQ(c.types.back(), 1u);
  EXPECT_EQ(c.types.front(), 2u);
  EXPECT_EQ(c.data, Control("/_devsim/backup-payload"));
  const auto lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back()["decoded"].text,
            "Year=2007 Month=3 Day=5 Hour=14 Minute=2 Second=9 Num=5 CH=0 Size=1");
}

TEST_F(DevsimTest, BackupScenarios) {
  StartDevsim({"--set", "backup.bytes=50000"});
  const std::string cookie = Login();
  struct Case {
    const char* scenario;
    std::vector<uint32_t> last_types;  // the types at the end
    bool whole;
  } cases[] = {
      {"end-first", {1}, true},    {"abort", {3, 6}, true},
      {"oversize", {3, 3}, false},  // the 4096-byte chunk arrives whole; its length is the fault
      {"close", {3}, false},       {"split", {3, 1}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    Control(std::string("/_devsim/set?backup.scenario=") + c.scenario);
    const RawExchange r = Raw(ClientRequest(BackupQuery(cookie)));
    EXPECT_TRUE(r.closed);
    const Chunks got = Split(r.bytes);
    ASSERT_GE(got.types.size(), c.last_types.size());
    EXPECT_EQ(std::vector<uint32_t>(got.types.end() - static_cast<long>(c.last_types.size()),
                                    got.types.end()),
              c.last_types);
    if (std::string(c.scenario) == "oversize") {
      EXPECT_EQ(U32(r.bytes, r.bytes.size() - 4096 - 8), 4096u);
    } else {
      EXPECT_EQ(got.whole, c.whole);
    }
  }
  // A stall keeps the connection open and silent.
  Control("/_devsim/set?backup.scenario=stall");
  const RawExchange stalled = Raw(ClientRequest(BackupQuery(cookie)), 800);
  EXPECT_TRUE(stalled.timed_out);
  EXPECT_FALSE(stalled.closed);
}

TEST_F(DevsimTest, CancelStopsARunningBackup) {
  StartDevsim({"--set", "backup.chunk_delay_ms=20"});
  const std::string cookie = Login();
  RawExchange r;
  std::thread backup([&] { r = Raw(ClientRequest(BackupQuery(cookie, 500)), 30000); });
  // Wait until the backup is logged, then cancel it.
  for (int i = 0; i < 3000 && LogLines().size() < 2; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(Get("/CancelNB.cgi?Cookie=" + cookie).status, 200);
  backup.join();
  EXPECT_TRUE(r.closed);
  const Chunks c = Split(r.bytes);
  EXPECT_TRUE(c.types.empty() || c.types.back() == 3u);
  EXPECT_LT(c.data.size(), 500u << 20);
}

}  // namespace
}  // namespace devsim_test
