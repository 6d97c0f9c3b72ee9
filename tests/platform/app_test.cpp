// The application object's start-up and shut-down sequence and the entry point.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/app.h"

namespace {

class RecordingApp : public ost::App {
 public:
  explicit RecordingApp(BOOL initResult, int exitResult = -100)
      : m_initResult(initResult), m_exitResult(exitResult) {}
  std::vector<std::string> calls;
  int postQuitCode = -1;

  BOOL InitInstance() override {
    calls.push_back("InitInstance");
    if (postQuitCode >= 0) ::PostQuitMessage(postQuitCode);
    return m_initResult;
  }
  int Run() override {
    calls.push_back("Run");
    return ost::App::Run();
  }
  int ExitInstance() override {
    calls.push_back("ExitInstance");
    return m_exitResult != -100 ? m_exitResult : ost::App::ExitInstance();
  }

 private:
  BOOL m_initResult;
  int m_exitResult;
};

TEST(App, RegistersItselfAsTheOneApplicationObject) {
  EXPECT_EQ(ost::App::Get(), nullptr);
  {
    RecordingApp app(FALSE);
    EXPECT_EQ(ost::App::Get(), &app);
  }
  EXPECT_EQ(ost::App::Get(), nullptr);
}

TEST(App, ExitInstanceAlwaysFollowsAndGivesTheExitCode) {
  RecordingApp noLoop(FALSE, 31);
  EXPECT_EQ(ost::RunApp(noLoop, ::GetModuleHandleA(nullptr), "args"), 31);
  EXPECT_EQ(noLoop.calls, (std::vector<std::string>{"InitInstance", "ExitInstance"}));
  EXPECT_STREQ(noLoop.m_lpCmdLine, "args");

  RecordingApp noLoopDefault(FALSE);
  EXPECT_EQ(ost::RunApp(noLoopDefault, ::GetModuleHandleA(nullptr), nullptr), 0);
  EXPECT_STREQ(noLoopDefault.m_lpCmdLine, "");

  RecordingApp withLoop(TRUE);
  withLoop.postQuitCode = 9;
  EXPECT_EQ(ost::RunApp(withLoop, ::GetModuleHandleA(nullptr), ""), 9);
  EXPECT_EQ(withLoop.calls, (std::vector<std::string>{"InitInstance", "Run", "ExitInstance"}));
}

TEST(App, SkipProgramNameLeavesTheArguments) {
  struct Case {
    const char* line;
    const char* arguments;
  };
  const Case cases[] = {
      {"client.exe", ""},
      {"client.exe 192.168.1.10", "192.168.1.10"},
      {"\"C:\\Program Files\\client.exe\"  a  b ", "a  b "},
      {"\"C:\\x y\\client.exe\"", ""},
      {"client.exe\t\tD:\\REC\\A.QDX", "D:\\REC\\A.QDX"},
      {"\"unterminated", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_STREQ(ost::SkipProgramName(c.line), c.arguments) << c.line;
  EXPECT_STREQ(ost::SkipProgramName(nullptr), "");
}

// The probe program (app_probe.cpp) ends with 100 + the length of its arguments, plus 1000
// when the common controls were ready in InitInstance.
TEST(App, WinMainRunsTheProgramsApplicationObject) {
  char self[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string exe(self);
  exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "platform_app_probe.exe";
  std::string commandLine = "\"" + exe + "\"  hello world";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
      << "error " << ::GetLastError();
  DWORD waited = ::WaitForSingleObject(process.hProcess, 20000);
  if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 99);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ASSERT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(code, 1000u + 100u + std::string("hello world").size());
}

}  // namespace
