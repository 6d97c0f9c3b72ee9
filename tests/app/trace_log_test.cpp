#include "platform/trace_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/temp_folder.h"

namespace {

class TraceLogTest : public ::testing::Test {
 protected:
  void SetUp() override { TraceLogInit(300, folder.Dir()); }
  void TearDown() override { TraceLogDone(); }

  std::string Log() const { return TempFolder::Read(folder.File("trace.log")); }

  static std::string Lines(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i) s += "line " + std::to_string(i) + "\r\n";
    return s;
  }
  static void WriteLines(int from, int to) {
    for (int i = from; i <= to; ++i) TraceLogWrite(("line " + std::to_string(i)).c_str());
  }

  TempFolder folder;
};

TEST_F(TraceLogTest, FirstWriteCreatesTheFileWithOneLine) {
  EXPECT_FALSE(std::filesystem::exists(folder.File("trace.log")));
  TraceLogWrite("login success");
  EXPECT_EQ(Log(), "login success\r\n");
}

TEST_F(TraceLogTest, KeepsTheNewest300LinesInOrder) {
  WriteLines(1, 300);
  EXPECT_EQ(Log(), Lines(1, 300));
  TraceLogWrite("line 301");
  EXPECT_EQ(Log(), Lines(2, 301));
  WriteLines(302, 310);
  EXPECT_EQ(Log(), Lines(11, 310));
}

TEST_F(TraceLogTest, ShorterLineLeavesNoRemnant) {
  TraceLogInit(2, folder.Dir());
  TraceLogWrite("dwResult == (WAIT_OBJECT_0 + 1) Get_Image_TimeOut_Message");
  TraceLogWrite("Command failed");
  TraceLogWrite("Got start event");
  EXPECT_EQ(Log(), "Command failed\r\nGot start event\r\n");
}

TEST_F(TraceLogTest, FileAlreadyOverTheLimitIsCutBack) {
  TempFolder::Write(folder.File("trace.log"), Lines(1, 450));
  TraceLogWrite("line 451");
  EXPECT_EQ(Log(), Lines(152, 451));
}

TEST_F(TraceLogTest, LinesDroppedWhenNotInitialisedOrNotWritable) {
  TraceLogDone();
  TraceLogWrite("lost");
  EXPECT_FALSE(std::filesystem::exists(folder.File("trace.log")));
  // A folder that does not exist: the line is dropped and the lock still released.
  TraceLogInit(300, folder.File("missing") + "/");
  TraceLogWrite("lost too");
  TraceLogInit(300, folder.Dir());
  TraceLogWrite("kept");
  EXPECT_EQ(Log(), "kept\r\n");
}

TEST_F(TraceLogTest, ConcurrentWritersLoseNoLine) {
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < 25; ++i) TraceLogWrite(("writer " + std::to_string(t)).c_str());
    });
  }
  for (auto& w : writers) w.join();
  const std::string log = Log();
  size_t lines = 0;
  for (size_t p = log.find("\r\n"); p != std::string::npos; p = log.find("\r\n", p + 2)) ++lines;
  EXPECT_EQ(lines, 100u);
}

TEST(TraceFile, CreatedEmptyAndNeverWrittenAtStart) {
  TempFolder folder;
  TempFolder::Write(folder.File("DebugTrace.log"), "left from the last run");
  {
    CTraceFile trace;
    EXPECT_EQ(trace.Open(folder.Dir()), 1);
    EXPECT_TRUE(std::filesystem::exists(folder.File("DebugTrace.log")));
    EXPECT_EQ(std::filesystem::file_size(folder.File("DebugTrace.log")), 0u);
    DebugTrace("CAddressBookDialog::OnEditButton() %d\n", 1);
    EXPECT_EQ(std::filesystem::file_size(folder.File("DebugTrace.log")), 0u);
    EXPECT_EQ(trace.Write("one"), 1);
    EXPECT_EQ(trace.Close(), 1);
    EXPECT_EQ(TempFolder::Read(folder.File("DebugTrace.log")), "one\r\n");
    EXPECT_EQ(trace.Write("after close"), 0);
    EXPECT_EQ(trace.Delete(), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.File("DebugTrace.log")));
  }
  CTraceFile cannotCreate;
  EXPECT_EQ(cannotCreate.Open(folder.File("missing") + "/"), 0);
  EXPECT_EQ(cannotCreate.Write("nothing"), 0);
}

}  // namespace
