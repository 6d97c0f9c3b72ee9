// The login window run in the test process against the device simulator: the application
// data of a started program, a private program folder (player stand-in, address book, record
// folder), message boxes logged instead of shown, and helpers to type, press keys and wait.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "login/login_dialog.h"
#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace logintest {

class LoginWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Starts the simulator with these arguments; the window's fields are aimed at it.
  void StartDevice(const std::vector<std::string>& args = {});
  // Creates the window (modeless, shown) with the fields the start-up fills.
  void OpenWindow();
  HWND Window() const { return m_dialog ? m_dialog->GetSafeHwnd() : nullptr; }
  HWND Item(int id) const { return ::GetDlgItem(Window(), id); }
  std::string Text(int id) const { return testsupport::ItemText(Window(), id); }

  // Replaces an edit box's text by typing it, one character at a time, at the end.
  void Type(int id, const std::string& text, bool clearFirst = true);
  // A key press as the user makes it, through the window's message loop.
  void PressKey(int id, WPARAM key);
  void Click(int id);
  // Processes this thread's messages until done() or the time-out.
  bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);
  void PumpFor(DWORD ms);
  bool WindowClosed() const { return !::IsWindow(m_hwnd); }

  std::vector<std::string> MessageBoxes() const;
  std::vector<testsupport::DevsimRequest> DeviceRequests() const;
  int LoginRequestCount() const;

  // Runs work on a helper thread, e.g. to drive a modal dialog the window opens.  The test's
  // thread must keep processing messages meanwhile (PumpUntil, JoinHelpers).
  void Helper(std::function<void()> work);
  void JoinHelpers();

  static std::string ProgramFolder();  // the program's private folder (ends in '\')
  static std::string RecordFolder();

  testsupport::DevsimChild m_device;
  std::unique_ptr<LoginDialog> m_dialog;
  HWND m_hwnd = nullptr;
  std::vector<std::thread> m_helpers;
  std::atomic<int> m_runningHelpers{0};
};

// A visible top-level window of this process with this caption, or null after the time-out.
HWND WaitForOwnWindow(const std::string& caption, DWORD timeoutMs = 20000);
// The same for a window that holds a control with this id.
HWND WaitForOwnWindowWithItem(int id, DWORD timeoutMs = 20000);

}  // namespace logintest
