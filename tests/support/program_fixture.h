// The gtest fixture of the tests that run the real program under Wine against devsim: a private
// copy of the program folder, devsim started on its own port, the program started and its login
// window filled in and connected, the main window waited for; the program stopped if a test left
// it running.
//
// A program test waits for what it asserts, never for time: a request in devsim's log
// (WaitForRequests), a window's text (WaitForItemText), a line of the program's state log
// (WaitForEvent; the program writes it to events.log in its folder, see platform/event_log.h).
// Each wait has a deadline only a hang reaches (kHangMs): on a busy two-core machine a step may
// take many seconds. A test that counts (logins, threads) counts what it caused and allows what
// the program may do by itself under load (a relogin after a late frame, see Relogins()).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace testsupport {

struct ProgramFixtureOptions {
  std::string folderPrefix = "ostrova";  // the private program folder's name prefix
  std::vector<std::string> extraFiles;   // copied beside the program
  std::vector<std::string> devsimArgs;   // after each test's own devsim arguments
  bool waitForFrames = true;             // StartAndLogIn waits for 3 frames
  // Environment variables of the program that name a file in its folder: {variable, file name}.
  std::vector<std::pair<std::string, std::string>> fileVariables;
};

class ProgramFixture : public ::testing::Test {
 public:
  // The deadline of a wait for the program: only a hang reaches it.
  static constexpr DWORD kHangMs = kWaitForHangMs;

 protected:
  explicit ProgramFixture(ProgramFixtureOptions options);

  static void SetUpTestSuite();  // winsock, for devsim's control requests
  static void TearDownTestSuite();

  void SetUp() override;     // the program's folder
  void TearDown() override;  // a program still running fails the test

  // A value in the program's Setting.ini, section "Ostrova".
  void SetSetting(const char* key, const std::string& value);

  // devsim (the test's arguments, then the fixture's) and the program, its message boxes logged
  // to msgbox.log; its login window filled in for devsim and connected. The login window, or
  // null with a failure added.
  HWND StartAndConnect(std::vector<std::string> devsimArgs = {});
  // As StartAndConnect; the main window (once it shows frames, unless the options say not).
  HWND StartAndLogIn(std::vector<std::string> devsimArgs = {});

  // Closes the main window through its close button; the program ends, with code 0.
  void CloseAndWait(HWND main);

  // The frame count the main window shows.
  static uint32_t Frames(HWND main);
  static bool FramesGrow(HWND main, uint32_t more, DWORD timeoutMs = kHangMs);
  // A button's click as its notification to the window.
  static void Click(HWND window, int id);

  // The text of every message box the program showed.
  std::string MessageBoxes() const;
  // The values of one parameter in devsim's requests of a path, in order.
  std::vector<std::string> Params(const std::string& path, const std::string& name) const;

  // Waits until devsim has logged at least count requests of path.
  bool WaitForRequests(const std::string& path, size_t count, DWORD timeoutMs = kHangMs) const;
  // Waits until a window's item shows text.
  static bool WaitForItemText(HWND window, int id, const std::string& text,
                              DWORD timeoutMs = kHangMs);

  // The program's state log: each line's text without its time, in order.
  std::vector<std::string> Events() const;
  // The lines whose text begins with `prefix`.
  size_t EventCount(const std::string& prefix) const;
  // The text after `prefix` of the last line that begins with it; "" when none does.
  std::string LastEvent(const std::string& prefix) const;
  // Waits until at least count lines begin with prefix.
  bool WaitForEvent(const std::string& prefix, size_t count = 1, DWORD timeoutMs = kHangMs) const;
  // The state log as written (times included), for a failure's message.
  std::string EventLogText() const;
  // The relogins the program started by itself after its stream was lost (a late frame on a busy
  // machine is one): each is a login in devsim's log that no test step asked for.
  size_t Relogins() const { return EventCount("stream lost: relogin"); }

  const ProgramFixtureOptions m_options;
  TempFolder m_folder;
  DevsimChild m_device;
  Process m_process;
};

}  // namespace testsupport
