// The main window's buttons in the real program under Wine against devsim: connect and
// disconnect over and over, the resolution and quality switches, the snapshot and the alarm
// sound, watched through devsim's log, the window, the program's threads and its message boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/program_fixture.h"
#include "tests/support/text_file.h"

namespace {

namespace ts = testsupport;

constexpr int kStatusLine = 1100;
constexpr int kConnectButton = 1002;
constexpr int kSnapshotButton = 1004;
constexpr int kResolutionButton = 1007;
constexpr int kQualityButton = 1008;

class MainWindowActions : public ts::ProgramFixture {
 protected:
  MainWindowActions()
      : ProgramFixture({.folderPrefix = "ostrova-actions", .devsimArgs = {"--fps", "20"}}) {}
};

// Each disconnect stops the session's threads through their stop events and joins them; each
// connect makes them again: after twenty rounds the program runs as many threads as after the
// first, and holds no more handles. Each step waits for the program to report it done: the
// disconnect for its stop sequence ("disconnected", after which the button offers CONNECT), the
// connect for the new session's login and its frames.
TEST_F(MainWindowActions, TwentyDisconnectsAndConnectsLeaveNoThreadsOrHandlesBehind) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  int n = 0;
  const auto state = [&] {
    return ts::ItemText(main, kStatusLine) + " / " + ts::ItemText(main, kConnectButton) +
           "; logins " + std::to_string(m_device.RequestsOf("/Login.cgi").size()) + ", streams " +
           std::to_string(m_device.RequestsOf("/Getvideo.cgi").size()) + "; events:\n" +
           EventLogText() + MessageBoxes();
  };
  const auto round = [&] {
    ++n;
    const size_t disconnects = EventCount("disconnected");
    Click(main, kConnectButton);
    ASSERT_TRUE(WaitForEvent("disconnected", disconnects + 1)) << "round " << n << ": " << state();
    EXPECT_EQ(ts::ItemText(main, kConnectButton), "CONNECT") << "round " << n;
    const size_t connected = EventCount("login connected");
    const size_t streams = m_device.RequestsOf("/Getvideo.cgi").size();
    Click(main, kConnectButton);
    ASSERT_TRUE(WaitForEvent("login connected", connected + 1)) << "round " << n << ": " << state();
    ASSERT_TRUE(WaitForRequests("/Getvideo.cgi", streams + 1)) << "round " << n << ": " << state();
    ASSERT_TRUE(FramesGrow(main, 2, kHangMs)) << "round " << n << ": " << state();
  };
  // The login thread of the round has ended, and a relogin the program may have started by itself
  // has too: the threads counted are the session's own.
  const auto settled = [&] {
    return WaitForEvent("login thread ends", EventCount("login thread started"));
  };
  round();
  ASSERT_TRUE(settled()) << state();
  const DWORD threads = ts::ThreadsOf(m_process.Id());
  const DWORD handles = ts::HandlesOf(m_process.Handle());
  for (int i = 0; i < 20; ++i) {
    round();
    if (HasFatalFailure()) return;
  }
  ASSERT_TRUE(settled()) << state();
  const DWORD threadsAfter = ts::ThreadsOf(m_process.Id());
  const DWORD handlesAfter = ts::HandlesOf(m_process.Handle());
  std::printf("threads %lu -> %lu, handles %lu -> %lu, relogins %zu\n", threads, threadsAfter,
              handles, handlesAfter, Relogins());
  EXPECT_GT(threads, 0u);
  EXPECT_GT(handles, 0u);
  // A thread or handle left by each round would show twenty times over; one worker thread and a
  // few handles of the system's own may come and go.
  EXPECT_LE(threadsAfter, threads + 1);
  EXPECT_LE(handlesAfter, handles + 8);
  // The first login and one per round; a relogin the program started by itself after a late frame
  // is one more.
  EXPECT_EQ(m_device.RequestsOf("/Login.cgi").size(), 22u + Relogins()) << state();
  // The slowest disconnect and the slowest join of a thread, from the state log's times.
  const std::vector<std::string> events = Events();
  unsigned long slowestDisconnect = 0, slowestJoin = 0;
  std::string slowestThread, slowSteps, steps;
  for (const std::string& line : ts::ReadLines(m_folder.File("events.log"))) {
    const std::string e = line.substr(line.find(' ') + 1);
    unsigned long ms = 0;
    char name[64] = {};
    steps += "  " + line + "\n";
    if (std::sscanf(e.c_str(), "disconnected %lu ms", &ms) == 1) {
      // The steps of a disconnect that took a second or more, to see which one waited.
      if (ms >= 1000 && ms > slowestDisconnect) slowSteps = steps;
      slowestDisconnect = std::max(slowestDisconnect, ms);
      steps.clear();
    }
    if (std::sscanf(e.c_str(), "thread stop %63s joined %lu ms", name, &ms) == 2 &&
        ms >= slowestJoin) {
      slowestJoin = ms;
      slowestThread = name;
    }
  }
  std::printf("slowest disconnect %lu ms, slowest join %lu ms (%s)\n%s", slowestDisconnect,
              slowestJoin, slowestThread.c_str(), slowSteps.c_str());
  // Every stop joined its threads in time.
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const std::string& e) { return e.find("given up") != e.npos; }),
            0)
      << EventLogText();
  EXPECT_EQ(EventCount("session stop request not served"), 0u) << EventLogText();
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  CloseAndWait(main);
}

// RES toggles 0, 1 (the stream comes at full size and the window grows with it, then back); QUA
// cycles; a refused switch keeps the old value, which the next press sends again.
TEST_F(MainWindowActions, ResolutionAndQualitySwitchTheStream) {
  SetSetting("Image Resolution", "1");  // as devsim's stream starts
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  RECT before{};
  GetWindowRect(main, &before);

  const auto width = [&] {
    RECT now{};
    GetWindowRect(main, &now);
    return now.right - now.left;
  };
  Click(main, kResolutionButton);  // 1 -> 0: full size
  ASSERT_TRUE(ts::WaitUntil([&] { return Params("/Setresolution.cgi", "RES").size() == 1; }));
  EXPECT_TRUE(ts::WaitUntil([&] { return width() > before.right - before.left; }))
      << "the window did not grow with the picture";
  EXPECT_TRUE(FramesGrow(main, 3));
  Click(main, kResolutionButton);  // 0 -> 1: half size again
  ASSERT_TRUE(ts::WaitUntil([&] { return Params("/Setresolution.cgi", "RES").size() == 2; }));
  EXPECT_EQ(Params("/Setresolution.cgi", "RES"), (std::vector<std::string>{"0", "1"}));
  EXPECT_TRUE(ts::WaitUntil([&] { return width() == before.right - before.left; }))
      << "the window did not shrink with the picture";

  ASSERT_NE(m_device.Control("/_devsim/fault?name=status&code=500&path=/Setresolution.cgi&count=1"),
            "");
  Click(main, kResolutionButton);  // 1 -> 0 refused: stays 1
  ASSERT_TRUE(ts::WaitUntil([&] { return !MessageBoxes().empty(); }));
  EXPECT_NE(MessageBoxes().find("Send the change resolution command is failed"), std::string::npos)
      << MessageBoxes();
  Click(main, kResolutionButton);  // 1 -> 0 again
  ASSERT_TRUE(ts::WaitUntil([&] { return Params("/Setresolution.cgi", "RES").size() == 4; }));
  EXPECT_EQ(Params("/Setresolution.cgi", "RES"), (std::vector<std::string>{"0", "1", "0", "0"}));

  for (int i = 0; i < 4; ++i) {
    Click(main, kQualityButton);
    ASSERT_TRUE(ts::WaitUntil(
        [&] { return Params("/Setquality.cgi", "QUA").size() == static_cast<size_t>(i + 1); }));
  }
  EXPECT_EQ(Params("/Setquality.cgi", "QUA"), (std::vector<std::string>{"1", "2", "0", "1"}));
  ASSERT_NE(m_device.Control("/_devsim/fault?name=status&code=500&path=/Setquality.cgi&count=1"),
            "");
  Click(main, kQualityButton);  // 1 -> 2 refused
  Click(main, kQualityButton);  // 1 -> 2
  ASSERT_TRUE(ts::WaitUntil([&] { return Params("/Setquality.cgi", "QUA").size() == 6; }));
  EXPECT_EQ(Params("/Setquality.cgi", "QUA"),
            (std::vector<std::string>{"1", "2", "0", "1", "2", "2"}));
  EXPECT_NE(MessageBoxes().find("change image quality is failed !!"), std::string::npos);
  EXPECT_TRUE(FramesGrow(main, 3));
  CloseAndWait(main);
}

// The snapshot is the next picture, named by the local time; an unusable folder shows 4116.
TEST_F(MainWindowActions, SnapshotFileAppearsAndABadFolderShowsItsBox) {
  SetSetting("Snapshot Path", m_folder.File("shots"));
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  const std::string shots = m_folder.File("shots\\");
  Click(main, kSnapshotButton);
  ASSERT_TRUE(ts::WaitUntil([&] { return !ts::FilesMatching(shots, "*.jpg").empty(); }))
      << MessageBoxes();
  std::vector<std::string> names = ts::FilesMatching(shots, "*.jpg");
  ASSERT_EQ(names.size(), 1u);
  names[0].erase(0, shots.size());
  // YYMMDDTHHMMSS.jpg
  EXPECT_EQ(names[0].size(), 17u) << names[0];
  EXPECT_EQ(names[0][6], 'T') << names[0];
  EXPECT_TRUE(std::all_of(names[0].begin(), names[0].begin() + 6, ::isdigit)) << names[0];
  const std::string bytes = ts::ReadFileText(shots + names[0]);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0xD8);
  EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  CloseAndWait(main);
}

TEST_F(MainWindowActions, SnapshotIntoAFolderThatCannotExistShowsItsBox) {
  // A file stands where the folder would be.
  ASSERT_TRUE(ts::CopyFileTo(m_folder.File("CtrlFile.ini"), m_folder.File("blocker")));
  SetSetting("Snapshot Path", m_folder.File("blocker\\shots"));
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  // The start-up may already have told that the folder could not be made.
  const size_t shown = MessageBoxes().size();
  Click(main, kSnapshotButton);
  ASSERT_TRUE(ts::WaitUntil([&] { return MessageBoxes().size() > shown; }));
  EXPECT_NE(MessageBoxes().find("Snapshot is failed,please check snapshot path is valid.", shown),
            std::string::npos)
      << MessageBoxes();
  CloseAndWait(main);
}

}  // namespace
