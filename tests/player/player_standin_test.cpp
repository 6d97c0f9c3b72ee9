// The player stand-in started the way the client starts the player: the program's full path as
// application name and the record path alone (or with its option) as the command line.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/player/player_command_line.h"
#include "tests/support/win_process.h"

namespace {

constexpr int kTextId = 100;  // the stand-in's edit box with the shown lines

TEST(PlayerCommandLine, SplitsPathAndOption) {
  const std::string self = "C:\\Ostrova\\Quendor.exe";
  struct Case {
    std::string raw, path;
    PlayerOpenMode mode;
  };
  const std::vector<Case> cases = {
      {"D:\\REC\\A.QDX", "D:\\REC\\A.QDX", PlayerOpenMode::kRecordFile},
      {"C:\\My Backup\\CH01_0001.dvr CONVERT=0", "C:\\My Backup\\CH01_0001.dvr",
       PlayerOpenMode::kFinishedDownload},
      {"C:\\My Backup\\CH01_0001.dvr DYNAMICLOAD=1", "C:\\My Backup\\CH01_0001.dvr",
       PlayerOpenMode::kDownloadInProgress},
      {" DYNAMICLOAD=1", "", PlayerOpenMode::kDownloadInProgress},
      {"C:\\rec\\a CONVERT=0.qdx", "C:\\rec\\a CONVERT=0.qdx", PlayerOpenMode::kRecordFile},
      {"", "", PlayerOpenMode::kRecordFile},
      // Started without a command line: the process receives its own program path.
      {self, "", PlayerOpenMode::kRecordFile},
      {"\"c:\\ostrova\\QUENDOR.EXE\"", "", PlayerOpenMode::kRecordFile},
      {"C:\\Ostrova\\Quendor.exe.qdx", "C:\\Ostrova\\Quendor.exe.qdx", PlayerOpenMode::kRecordFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raw);
    const PlayerCommandLine parsed = ParsePlayerCommandLine(c.raw, self);
    EXPECT_EQ(parsed.raw, c.raw);
    EXPECT_EQ(parsed.path, c.path);
    EXPECT_EQ(parsed.mode, c.mode);
  }
}

// A private copy of the stand-in, so that its log beside it belongs to this test alone.
class PlayerStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::CopyFileTo(testsupport::ThisExeFolder() + "Quendor.exe", m_player))
        << "Quendor.exe is not beside the test";
  }

  // Starts the player as the client does, waits for its window and returns it (null on failure).
  HWND Launch(const char* commandLine) {
    std::string cmd = commandLine ? commandLine : "";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    m_pi = {};
    if (!CreateProcessA(
            m_player.c_str(), commandLine ? cmd.data() : nullptr, nullptr, nullptr, FALSE,
            CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr,
            nullptr, &si, &m_pi)) {
      ADD_FAILURE() << "CreateProcessA failed, error " << GetLastError();
      return nullptr;
    }
    WaitForInputIdle(m_pi.hProcess, 10000);
    return testsupport::WaitForWindow(m_pi.dwProcessId, "Quendor");
  }

  // Closes the window as a user would and collects the exit code.
  void CloseAndWait(HWND window) {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    const DWORD waited = WaitForSingleObject(m_pi.hProcess, 15000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(m_pi.hProcess, 99);
    DWORD code = 99;
    GetExitCodeProcess(m_pi.hProcess, &code);
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
    m_pi = {};
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_EQ(code, 0u);
  }

  // The texts after "CMDLINE" of the log's lines, each checked for its time stamp.
  std::vector<std::string> LoggedCommandLines() {
    static const std::regex line(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} CMDLINE(?: (.*))?$)");
    std::vector<std::string> out;
    for (const std::string& l : testsupport::ReadLines(m_folder.File("Quendor.log"))) {
      std::smatch m;
      EXPECT_TRUE(std::regex_match(l, m, line)) << l;
      out.push_back(m.size() > 1 ? m[1].str() : "");
    }
    return out;
  }

  testsupport::TempFolder m_folder{"player"};
  std::string m_player = m_folder.File("Quendor.exe");
  PROCESS_INFORMATION m_pi{};
};

TEST_F(PlayerStandIn, LogsAndShowsEachCommandLine) {
  struct Launched {
    const char* commandLine;
    std::string shownPath, shownMode;
  };
  const std::vector<Launched> launches = {
      {"C:\\REC\\A.QDX", "C:\\REC\\A.QDX", "record file"},
      {"C:\\My Backup\\CH01_0001.dvr CONVERT=0", "C:\\My Backup\\CH01_0001.dvr",
       "finished download (CONVERT=0)"},
      {"C:\\My Backup\\CH01_0001.dvr DYNAMICLOAD=1", "C:\\My Backup\\CH01_0001.dvr",
       "download in progress (DYNAMICLOAD=1)"},
  };
  std::vector<std::string> expectedLog;
  for (const Launched& l : launches) {
    SCOPED_TRACE(l.commandLine);
    HWND window = Launch(l.commandLine);
    ASSERT_NE(window, nullptr);
    const std::string shown = testsupport::ItemText(window, kTextId);
    EXPECT_NE(shown.find(std::string("Command line: ") + l.commandLine + "\r\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("Record file: " + l.shownPath + "\r\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Opened as: " + l.shownMode), std::string::npos) << shown;
    CloseAndWait(window);
    // One line per launch, appended.
    expectedLog.push_back(l.commandLine);
    EXPECT_EQ(LoggedCommandLines(), expectedLog);
  }
}

TEST_F(PlayerStandIn, WithoutCommandLineShowsNoRecordFile) {
  HWND window = Launch(nullptr);
  ASSERT_NE(window, nullptr);
  const std::string shown = testsupport::ItemText(window, kTextId);
  EXPECT_NE(shown.find("Record file: (none)"), std::string::npos) << shown;
  CloseAndWait(window);
  EXPECT_EQ(LoggedCommandLines().size(), 1u);
}

// The client finds the player's window as the first top-level window of the process.
TEST_F(PlayerStandIn, ItsWindowIsTheProcessFirstTopLevelWindow) {
  HWND window = Launch("C:\\REC\\B.QDX");
  ASSERT_NE(window, nullptr);
  struct Search {
    DWORD pid;
    HWND first;
  } search{m_pi.dwProcessId, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != s->pid) return TRUE;
        s->first = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  EXPECT_EQ(search.first, window);
  CloseAndWait(window);
}

}  // namespace
