// The download loop: the file gets exactly the data chunks; every failure ends in its state with
// the progress ended and the player told; the player's reports sum to the file size.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

#include "record/backup_download.h"

namespace {

void Chunk(std::vector<uint8_t>& v, uint32_t type, uint32_t length, uint8_t fill = 0) {
  for (uint32_t x : {length, type})
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
  if (type == 3)
    for (uint32_t i = 0; i < length && i < 4096; ++i) v.push_back(static_cast<uint8_t>(fill + i));
}

struct FakeIo : BackupDownloadIo {
  std::vector<uint8_t> stream;
  size_t at = 0;
  bool sendOk = true, createOk = true;
  int appendFailsAt = -1;  // the append that fails
  int stopAfterAppends = -1;
  bool follows = false;
  uint32_t step = 100;
  std::vector<uint8_t> file;
  bool fileExists = false;
  int appends = 0;
  bool closed = false;
  std::vector<int> states;
  std::vector<uint32_t> progress;  // command * 1000 + value
  std::vector<uint32_t> playerBytes;
  std::vector<std::string> player;

  bool SendRequest() override { return sendOk; }
  bool ReceiveExactly(uint8_t* b, size_t n) override {
    if (closed || stream.size() - at < n) return false;
    std::memcpy(b, stream.data() + at, n);
    at += n;
    return true;
  }
  void CloseConnection() override { closed = true; }
  bool CreateFile() override {
    if (!createOk) return false;
    file.clear();
    fileExists = true;
    return true;
  }
  bool Append(const uint8_t* d, size_t n) override {
    if (appends++ == appendFailsAt) return false;
    file.insert(file.end(), d, d + n);
    return true;
  }
  bool StopRequested() override { return stopAfterAppends >= 0 && appends >= stopAfterAppends; }
  void PostState(int s, uint32_t) override { states.push_back(s); }
  void Progress(uint32_t c, uint32_t v) override { progress.push_back(c * 1000 + v); }
  bool PlayerFollows() override { return follows; }
  uint32_t PlayerStep() override { return step; }
  void PlayerProgress(uint32_t b) override { playerBytes.push_back(b); }
  void PlayerDone(bool stopped) override { player.push_back(stopped ? "DONE 1" : "DONE 0"); }
  void PlayerError(uint32_t code) override {
    player.push_back("ERROR " + std::to_string(code & 0xF));
  }
};

std::vector<uint8_t> DataOf(const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> data;
  size_t at = 0;
  while (at + 8 <= stream.size()) {
    uint32_t len, type;
    std::memcpy(&len, &stream[at], 4);
    std::memcpy(&type, &stream[at + 4], 4);
    at += 8;
    if (type == 3 && len <= 2048 && at + len <= stream.size()) {
      data.insert(data.end(), stream.begin() + static_cast<long>(at),
                  stream.begin() + static_cast<long>(at + len));
      at += len;
    }
    if (type == 3 && len > 2048) break;
  }
  return data;
}

}  // namespace

TEST(BackupDownload, OutcomesOfEveryEnding) {
  struct Case {
    const char* name;
    std::vector<uint8_t> stream;
    bool sendOk = true, createOk = true;
    int appendFailsAt = -1;
    int state;
    size_t fileBytes;
    const char* playerLast;  // with a following player
  };
  auto make = [](auto f) {
    std::vector<uint8_t> v;
    f(v);
    return v;
  };
  const std::vector<uint8_t> normal = make(
      [](auto& v) { Chunk(v, 3, 2048, 1), Chunk(v, 2, 99), Chunk(v, 3, 500, 9), Chunk(v, 1, 0); });
  const Case cases[] = {
      {"finished", normal, true, true, -1, kBackupFinished, 2548, "DONE 0"},
      {"send fails", normal, false, true, -1, kBackupSendFailed, 0, "ERROR 2"},
      {"file cannot be created", normal, true, false, -1, kBackupFileFailed, 0, "ERROR 3"},
      {"append fails", normal, true, true, 1, kBackupFileFailed, 2048, "ERROR 3"},
      {"end first", make([](auto& v) { Chunk(v, 1, 0); }), true, true, -1, kBackupNoData, 0,
       "DONE 1"},
      {"aborted", make([](auto& v) { Chunk(v, 3, 10), Chunk(v, 6, 0); }), true, true, -1,
       kBackupAborted, 10, "DONE 1"},
      {"closed", make([](auto& v) {
         Chunk(v, 3, 10), Chunk(v, 3, 100);
         v.resize(v.size() - 50);
       }),
       true, true, -1, kBackupReceiveFailed, 10, "ERROR 2"},
      {"oversize", make([](auto& v) { Chunk(v, 3, 10), Chunk(v, 3, 3000), Chunk(v, 1, 0); }), true,
       true, -1, kBackupReceiveFailed, 10, "ERROR 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeIo io;
    io.stream = c.stream;
    io.sendOk = c.sendOk;
    io.createOk = c.createOk;
    io.appendFailsAt = c.appendFailsAt;
    io.follows = true;
    const BackupDownloadResult r = RunBackupDownload(io, 1, false);
    EXPECT_EQ(r.state, c.state);
    ASSERT_FALSE(io.states.empty());
    EXPECT_EQ(io.states.back(), c.state);
    EXPECT_TRUE(io.closed);
    EXPECT_EQ(io.file.size(), c.fileBytes);
    const std::vector<uint8_t> data = DataOf(c.stream);
    EXPECT_TRUE(std::equal(io.file.begin(), io.file.end(), data.begin()));  // never a foreign byte
    ASSERT_FALSE(io.player.empty());
    EXPECT_EQ(io.player.back(), c.playerLast);
    // The progress bar, once begun, is always ended.
    if (!io.progress.empty()) {
      EXPECT_EQ(io.progress.front(), 1000u);
      EXPECT_EQ(io.progress.back(), 4000u);
    }
  }
}

TEST(BackupDownload, PlayerReportsSumToTheFileAndStepIsStrict) {
  FakeIo io;
  for (int i = 0; i < 10; ++i) Chunk(io.stream, 3, 1000, static_cast<uint8_t>(i));
  Chunk(io.stream, 1, 0);
  io.follows = true;
  io.step = 2000;
  RunBackupDownload(io, 1, false);
  uint64_t sum = 0;
  for (uint32_t b : io.playerBytes) sum += b;
  EXPECT_EQ(sum, 10000u);
  // 3000 > 2000 at the third chunk, then every third; the rest at the end.
  EXPECT_EQ(io.playerBytes, (std::vector<uint32_t>{3000, 3000, 3000, 1000}));
  EXPECT_EQ(io.player, std::vector<std::string>{"DONE 0"});
}

TEST(BackupDownload, StopClosesAndTellsTheFollowingPlayer) {
  FakeIo io;
  for (int i = 0; i < 10; ++i) Chunk(io.stream, 3, 100);
  Chunk(io.stream, 1, 0);
  io.follows = true;
  io.stopAfterAppends = 3;
  const BackupDownloadResult r = RunBackupDownload(io, 1, false);
  EXPECT_EQ(r.state, kBackupStopped);
  EXPECT_EQ(io.file.size(), 300u);
  EXPECT_TRUE(io.closed);
  EXPECT_EQ(io.player, std::vector<std::string>{"DONE 1"});
  EXPECT_EQ(io.progress.back(), 4000u);
  // Without a following player nothing goes to it.
  FakeIo quiet;
  Chunk(quiet.stream, 1, 0);
  RunBackupDownload(quiet, 1, false);
  EXPECT_TRUE(quiet.player.empty());
}

TEST(BackupDownload, EachPercentIsPostedOnce) {
  FakeIo io;
  for (int i = 0; i < 3000; ++i) Chunk(io.stream, 3, 700, static_cast<uint8_t>(i));
  Chunk(io.stream, 1, 0);
  const BackupDownloadResult r = RunBackupDownload(io, 2, false);
  EXPECT_EQ(r.state, kBackupFinished);
  EXPECT_EQ(io.file.size(), 2100000u);
  // 3000 chunks, 0 % to 100 %: each percent drawn once, in order.
  EXPECT_EQ(std::count(io.states.begin(), io.states.end(), kBackupWritten), 101);
  std::vector<uint32_t> drawn;
  for (uint32_t p : io.progress)
    if (p / 1000 == kBackupProgressDraw) drawn.push_back(p % 1000);
  ASSERT_EQ(drawn.size(), 101u);
  for (uint32_t i = 0; i < drawn.size(); ++i) EXPECT_EQ(drawn[i], i);
}
