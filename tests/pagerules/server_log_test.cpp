// The device log: entry names and filters of both dialogs, the count reply, and the paged fetch.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "pagerules/server_log.h"

namespace {

std::array<uint8_t, 32> Entry(uint32_t id, uint8_t channel = 0, const char* text = "",
                              uint8_t result = 0) {
  std::array<uint8_t, 32> e{};
  for (int i = 0; i < 4; ++i) e[i] = static_cast<uint8_t>(id >> (8 * i));
  const uint8_t time[6] = {26, 12, 11, 9, 5, 7};
  std::memcpy(&e[4], time, 6);
  e[10] = channel;
  std::memcpy(&e[11], text, std::min<size_t>(std::strlen(text), 16));
  e[27] = result;
  return e;
}

TEST(ServerLogEntry, Names) {
  struct Case {
    ServerLogKind kind;
    std::array<uint8_t, 32> entry;
    const char* name;
  };
  const Case cases[] = {
      {ServerLogKind::kDvr, Entry(0x1), "POWER ON"},
      {ServerLogKind::kDvr, Entry(0x100, 0, "10.0.0.9"), "REMOTE LOGIN ( 10.0.0.9 )"},
      {ServerLogKind::kDvr, Entry(0x4000, 0, "", 1), "DDNS UPDATE SUCCESS"},
      {ServerLogKind::kDvr, Entry(0x4000), "DDNS UPDATE FAIL"},
      {ServerLogKind::kDvr, Entry(0x800), "USB_ERROR"},
      {ServerLogKind::kDvr, Entry(0x3), "NO EVENT"},
      {ServerLogKind::kVideoServer, Entry(0x4, 0x06), "ALARM (2)"},
      {ServerLogKind::kVideoServer, Entry(0x4, 0), "ALARM"},
      {ServerLogKind::kVideoServer, Entry(0x4, 0x80), "ALARM (8)"},
      {ServerLogKind::kVideoServer, Entry(0x20, 0, "0123456789ABCDEF"),
       "REMOTE LOGOUT ( 0123456789ABCDEF )"},  // a full field without its zero stays bounded
      {ServerLogKind::kVideoServer, Entry(0x40000), "SNTP FAILED"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ServerLogEventName(c.kind, DecodeServerLogEntry(c.entry)), c.name);
  EXPECT_EQ(ServerLogTimeText(DecodeServerLogEntry(Entry(1))), "26-12-11 09:05:07");
}

TEST(ServerLogRows, FiltersRenumberAndMasks) {
  EXPECT_EQ(ServerLogInitialMask(ServerLogKind::kDvr), 0x1CFFFu);
  EXPECT_EQ(ServerLogInitialMask(ServerLogKind::kVideoServer), 0x7F7F37u);
  EXPECT_EQ(ServerLogFilters(ServerLogKind::kDvr).size(), 14u);
  EXPECT_EQ(ServerLogFilters(ServerLogKind::kVideoServer).size(), 11u);

  std::vector<uint8_t> buffer;
  for (uint32_t id : {0x1u, 0x2u, 0x800u, 0x1u, 0xFFFFu, 0x100u}) {
    auto e = Entry(id, id == 0x2 ? 4 : 0);
    buffer.insert(buffer.end(), e.begin(), e.end());
  }
  auto rows = ServerLogRows(ServerLogKind::kDvr, buffer, 6, 0x1CFFF);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1].channel, "4");
  EXPECT_EQ(rows[0].channel, "NO");
  rows = ServerLogRows(ServerLogKind::kDvr, buffer, 6, 0x1CFFF & ~0x1u & ~0x800u);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].number, " 1");
  EXPECT_EQ(rows[0].event, "VIDEO LOSS");
  // The count never reaches past the buffer.
  EXPECT_EQ(ServerLogRows(ServerLogKind::kDvr, buffer, 1000, ~0u).size(), 5u);
  // The video-server dialog leaves a power-on entry's time empty.
  rows = ServerLogRows(ServerLogKind::kVideoServer, buffer, 6, 0x7F7F37);
  EXPECT_EQ(rows[0].time, "");
  EXPECT_EQ(rows[0].channel, "");
}

TEST(ServerLogCount, Reply) {
  auto count = [](std::string_view text) {
    return ParseServerLogCount({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
  };
  EXPECT_EQ(count("COUNT=1000;"), 1000u);
  EXPECT_EQ(count("COUNT=12"), 0u);
  EXPECT_EQ(count("NONE=3;"), 0u);
  EXPECT_EQ(count("COUNT=-4;"), 0u);
}

// A device log of n entries served newest page first, 30 entries a page.
struct FakeLog {
  uint32_t entries = 0;
  uint32_t page = 30;
  uint32_t cursor = 0;
  int failAt = -1;  // request number that fails
  int stopAfter = -1;
  std::vector<std::string> states;
  std::vector<std::pair<int, uint32_t>> progress;

  ServerLogFetchHost Host() {
    ServerLogFetchHost h;
    h.request = [this](std::string_view state, std::vector<uint8_t>& reply) {
      states.emplace_back(state);
      if (static_cast<int>(states.size()) - 1 == failAt) return false;
      if (state == "COUNT") {
        const std::string t = "COUNT=" + std::to_string(entries) + ";";
        reply.assign(t.begin(), t.end());
        return true;
      }
      if (state == "LAST") cursor = entries;
      const uint32_t n = std::min(page, cursor);
      for (uint32_t i = 0; i < n; ++i) {
        auto e = Entry(1u << (cursor - i) % 11);
        reply.insert(reply.end(), e.begin(), e.end());
      }
      cursor -= n;
      return true;
    };
    h.stopRequested = [this] {
      return stopAfter >= 0 && static_cast<int>(states.size()) > stopAfter;
    };
    h.progress = [this](int command, uint32_t value) { progress.emplace_back(command, value); };
    return h;
  }
};

struct Buffer {
  std::unique_ptr<std::array<uint8_t, kServerLogMaxEntries* kServerLogEntrySize>> bytes =
      std::make_unique<std::array<uint8_t, kServerLogMaxEntries * kServerLogEntrySize>>();
  std::span<uint8_t, kServerLogMaxEntries * kServerLogEntrySize> span() { return *bytes; }
};

TEST(ServerLogFetch, PagesUpToTheLimit) {
  FakeLog log;
  log.entries = 1000;
  Buffer b;
  uint32_t count = 0;
  EXPECT_EQ(FetchServerLog(log.Host(), 300, b.span(), &count), ServerLogOutcome::kReceived);
  EXPECT_EQ(count, 300u);
  ASSERT_EQ(log.states.size(), 11u);
  EXPECT_EQ(log.states[1], "LAST");
  for (size_t i = 2; i < 11; ++i) EXPECT_EQ(log.states[i], "PRE");
  EXPECT_EQ(log.progress.front(), std::make_pair(1, 0u));
  EXPECT_EQ(log.progress[1], std::make_pair(2, 300u));
  EXPECT_EQ(log.progress.back(), std::make_pair(4, 0u));
  for (const auto& [cmd, value] : log.progress)
    if (cmd == 3) {
      EXPECT_LE(value, 300u);
    }
}

TEST(ServerLogFetch, EdgeCases) {
  struct Case {
    const char* name;
    uint32_t entries, page, max;
    int failAt, stopAfter;
    ServerLogOutcome outcome;
    uint32_t count;
    size_t requests;
  };
  const Case cases[] = {
      {"empty log", 0, 30, 300, -1, -1, ServerLogOutcome::kEmpty, 0, 1},
      {"count fails", 10, 30, 300, 0, -1, ServerLogOutcome::kFailed, 0, 1},
      {"page fails", 100, 30, 300, 2, -1, ServerLogOutcome::kFailed, 30, 3},
      {"short page ends", 100, 20, 300, -1, -1, ServerLogOutcome::kReceived, 20, 2},
      {"max 0 fetches one page", 100, 30, 0, -1, -1, ServerLogOutcome::kReceived, 0, 2},
      {"stopped", 1000, 30, 2048, -1, 3, ServerLogOutcome::kStopped, 90, 4},
      // Pages of 31 against a 2048-entry buffer: the last page is cut to the room left.
      {"room left", 2100, 31, 2048, -1, -1, ServerLogOutcome::kReceived, 2048, 68},
  };
  for (const Case& c : cases) {
    FakeLog log;
    log.entries = c.entries;
    log.page = c.page;
    log.failAt = c.failAt;
    log.stopAfter = c.stopAfter;
    Buffer b;
    uint32_t count = 99;
    EXPECT_EQ(FetchServerLog(log.Host(), c.max, b.span(), &count), c.outcome) << c.name;
    if (c.outcome == ServerLogOutcome::kReceived || c.outcome == ServerLogOutcome::kEmpty) {
      EXPECT_EQ(count, c.count) << c.name;
    }
    EXPECT_EQ(log.states.size(), c.requests) << c.name;
    if (c.outcome != ServerLogOutcome::kEmpty && c.failAt != 0) {
      ASSERT_FALSE(log.progress.empty()) << c.name;
      EXPECT_EQ(log.progress.back().first, 4) << c.name;
    } else {
      EXPECT_TRUE(log.progress.empty()) << c.name;
    }
  }
}

}  // namespace
