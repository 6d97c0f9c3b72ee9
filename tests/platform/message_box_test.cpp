// The redirected message box: logged, answered from the environment, never shown.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/message_box.h"
#include "res/resource.h"

namespace {

// Closes any message box this process shows, so that a broken redirect fails instead of
// hanging; counts the boxes it had to close.
class BoxWatchdog {
 public:
  BoxWatchdog() : m_thread([this] { Watch(); }) {}
  ~BoxWatchdog() {
    m_stop = true;
    m_thread.join();
  }
  int BoxesSeen() const { return m_seen; }

 private:
  static BOOL CALLBACK CloseBox(HWND hwnd, LPARAM context) {
    auto* self = reinterpret_cast<BoxWatchdog*>(context);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {};
    ::GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == ::GetCurrentProcessId() && std::string(cls) == "#32770" && ::IsWindowVisible(hwnd)) {
      ++self->m_seen;
      ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
  }
  void Watch() {
    while (!m_stop) {
      ::EnumWindows(&CloseBox, reinterpret_cast<LPARAM>(this));
      ::Sleep(50);
    }
  }
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_seen{0};
  std::thread m_thread;
};

class RedirectedMessageBox : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    log = std::string(temp) + "ost_msgbox_" + std::to_string(::GetCurrentProcessId()) + ".log";
    ::DeleteFileA(log.c_str());
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", log.c_str());
    ::SetEnvironmentVariableA("OST_MSGBOX_ANSWER", nullptr);
  }
  void TearDown() override {
    ::SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
    ::SetEnvironmentVariableA("OST_MSGBOX_ANSWER", nullptr);
    ::DeleteFileA(log.c_str());
    EXPECT_EQ(watchdog.BoxesSeen(), 0) << "a message box was shown";
  }
  std::vector<std::string> Lines() const {
    std::ifstream in(log, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::string log;
  BoxWatchdog watchdog;
};

TEST_F(RedirectedMessageBox, LogsOneLinePerBoxAndAnswersFromTheEnvironment) {
  struct Case {
    const char* text;
    unsigned type;
    const char* answer;  // OST_MSGBOX_ANSWER, null: unset
    int expected;
    const char* line;
  };
  const Case cases[] = {
      {"Login error !!", MB_OK, nullptr, IDOK, "Login error !!"},
      {"Save?", MB_YESNO, "7", IDNO, "Save?"},
      {"Retry?", MB_YESNO, "6", IDYES, "Retry?"},
      {"Go on?", MB_OKCANCEL, "2", IDCANCEL, "Go on?"},
      {"two\nlines\r\n", MB_OK, nullptr, IDOK, "two\\nlines\\r\\n"},
      {"C:\\fw\\", MB_OK, "junk", IDOK, "C:\\fw\\"},
      {"", MB_OK, nullptr, IDOK, ""},
  };
  std::vector<std::string> expectedLines;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ::SetEnvironmentVariableA("OST_MSGBOX_ANSWER", c.answer);
    EXPECT_EQ(OstMessageBox(c.text, c.type), c.expected);
    expectedLines.push_back(c.line);
  }
  EXPECT_EQ(Lines(), expectedLines);
}

TEST_F(RedirectedMessageBox, StringIdBoxLogsTheStringTableText) {
  EXPECT_EQ(OstMessageBoxId(IDS_LOGIN_CREDENTIALS_WRONG), IDOK);
  EXPECT_EQ(OstMessageBox("with caption", MB_OK, "Caption"), IDOK);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"Username or password is not correct", "with caption"}));
}

TEST_F(RedirectedMessageBox, BoxesFromSeveralThreadsKeepTheirLinesWhole) {
  constexpr int kThreads = 4;
  constexpr int kBoxes = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      std::string text = "thread " + std::to_string(t) + " " + std::string(200, 'a' + t);
      for (int i = 0; i < kBoxes; ++i) OstMessageBox(text.c_str());
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kBoxes));
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size(), 209u);
    EXPECT_EQ(line.find_first_not_of(line.back(), 9), std::string::npos) << line;
  }
}

}  // namespace
