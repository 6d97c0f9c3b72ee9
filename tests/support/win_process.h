// Test helpers for driving the program's executables from a Windows test under Wine: a private
// copy of the program folder, process launch with extra environment, finding a process's
// windows, clicking controls and waiting for the exit code; and native Unix programs started
// from the test through Wine.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/text_file.h"

namespace testsupport {

// The deadline of a wait for a program under test: only a hang reaches it.
inline constexpr DWORD kWaitForHangMs = 60000;

// Folder of the running test executable, ending in a backslash.
std::string ThisExeFolder();

// A fresh folder under the test's temporary folder, removed with everything in it on
// destruction.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return m_path; }  // ends in a backslash
  std::string File(const std::string& name) const { return m_path + name; }

 private:
  std::string m_path;
};

bool CopyFileTo(const std::string& from, const std::string& to);
// Copies a folder tree (e.g. "BMP").
bool CopyTree(const std::string& from, const std::string& to);
bool FileExists(const std::string& path);
// The paths (folder + name) of the files in folder (ending in a backslash) matching pattern.
std::vector<std::string> FilesMatching(const std::string& folder, const std::string& pattern);
// The number of threads of a process.
DWORD ThreadsOf(DWORD pid);
// The handles of another process. Wine reports no count for another process, so every handle
// value is tried by duplicating it.
DWORD HandlesOf(HANDLE process);

class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts exe with the given command line (as passed to CreateProcess), current folder and
  // additional environment entries ("NAME=value").
  bool Start(const std::string& exe, const std::string& commandLine, const std::string& folder,
             const std::vector<std::string>& extraEnv = {});
  DWORD Id() const { return m_pi.dwProcessId; }
  HANDLE Handle() const { return m_pi.hProcess; }
  // Waits for the process to end; false on time-out. The exit code is stored.
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode);
  // Ends the process when it is still running (only for a test that already failed).
  void Kill();

 private:
  PROCESS_INFORMATION m_pi{};
};

// Copies the program, its codec library, control file, alarm sound and skin from this test's
// folder into folder, with `extra` files beside them. False when a file could not be copied.
bool CopyProgramInto(const TempFolder& folder, const std::vector<std::string>& extra = {});
// Ends a program a test left running; true when it was still running (the test has failed).
bool StopIfRunning(Process& process);

// A visible top-level window of the process whose caption equals title ("" matches any).
HWND WaitForWindow(DWORD pid, const std::string& title, DWORD timeoutMs = kWaitForHangMs);
// The same with a caller's test.
HWND WaitForWindowIf(DWORD pid, const std::function<bool(HWND)>& match,
                     DWORD timeoutMs = kWaitForHangMs);
std::string WindowText(HWND w);
std::string ItemText(HWND dlg, int id);
// The text the tool-tip owned by `owner` holds for a control registered by its window handle;
// "(no tool-tip)" when owner has none.
std::string ToolTipTextOf(HWND owner, HWND control);
// Clicks a button through the window's queue (like a user's click).
void PostClick(HWND dlg, int id);
// The program's main window: the window of the process whose title begins "Ostrova : ".
HWND WaitForMainWindow(DWORD pid, DWORD timeoutMs = kWaitForHangMs);
// The program's login window (the one with the server field); null on time-out.
HWND WaitForLoginWindow(DWORD pid, DWORD timeoutMs = 60000);
// Fills the login window in for the device simulator at 127.0.0.1:port, user and password
// "revuv".
void FillLoginWindow(HWND login, int port);
// Presses the main window's close title button (8202): the orderly end of the program, which
// writes Setting.ini (the system close command, WM_CLOSE, ends it at once without).
void CloseMainWindow(HWND main);
// Waits until cond() holds or the time-out passes. The default deadline is one only a hang
// reaches: on a busy two-core machine a step of the program may take many seconds.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs = kWaitForHangMs);

// The Unix path of a Windows path as Wine maps it; "" when not running under Wine.
std::string UnixPathOf(const std::string& windowsPath);
// Starts a Unix program ("/bin/sh") through Wine; false when it could not start. No handle comes
// back: the Unix process is known only by the id it reports itself.
bool RunUnixProgram(const std::string& program, const std::string& commandLine);
// Sends SIGTERM to a Unix process and waits up to 10 s for it to end; then SIGKILL.
void StopUnixProcess(int pid);

}  // namespace testsupport
