// The gtest fixture of the tests that run the real program under Wine against devsim: a private
// copy of the program folder, devsim started on its own port, the program started and its login
// window filled in and connected, the main window waited for; the program stopped if a test left
// it running.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace testsupport {

struct ProgramFixtureOptions {
  std::string folderPrefix = "ostrova";  // the private program folder's name prefix
  std::vector<std::string> extraFiles;   // copied beside the program
  std::vector<std::string> devsimArgs;   // after each test's own devsim arguments
  bool waitForFrames = true;             // StartAndLogIn waits for 3 frames
};

class ProgramFixture : public ::testing::Test {
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

  // The frame count the main window shows.
  static uint32_t Frames(HWND main);
  static bool FramesGrow(HWND main, uint32_t more, DWORD timeoutMs = 15000);
  // A button's click as its notification to the window.
  static void Click(HWND window, int id);

  // The text of every message box the program showed.
  std::string MessageBoxes() const;
  // The values of one parameter in devsim's requests of a path, in order.
  std::vector<std::string> Params(const std::string& path, const std::string& name) const;

  const ProgramFixtureOptions m_options;
  TempFolder m_folder;
  DevsimChild m_device;
  Process m_process;
};

}  // namespace testsupport
