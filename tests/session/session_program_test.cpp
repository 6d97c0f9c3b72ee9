// The session of the real program under Wine against devsim: each test runs Ostrova.exe from a
// private copy of its folder, logs in through the login window and drives the main window from
// outside, watching its status line, its CONNECT/DISCONNECT button, trace.log and devsim's log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program_fixture.h"
#include "tests/support/text_file.h"
#include "tests/support/win_process.h"

namespace {

namespace ts = testsupport;
using testsupport::DevsimRequest;

constexpr int kEditServer = 1042;
constexpr int kLoginCancelButton = 8445;
constexpr int kStatusLine = 1100;
constexpr int kConnectButton = 1002;

const char kTooManyUsers[] =
    "System relogin too many user.Wait for 40 sec!!\nApplication will try again.";
const char kLoginFailed[] = "Login process is failed,wait a moment !!";

// Records every value a text of the main window takes, polled every millisecond: a relogin on a
// fast machine shows CONNECT for only a few milliseconds.
class TextRecorder {
 public:
  TextRecorder(HWND window, int id) : m_window(window), m_id(id) {
    m_thread = std::thread([this] {
      while (!m_stop) {
        const std::string text = ts::ItemText(m_window, m_id);
        {
          std::lock_guard<std::mutex> lock(m_lock);
          if (m_values.empty() || m_values.back() != text) m_values.push_back(text);
        }
        Sleep(1);
      }
    });
  }
  ~TextRecorder() {
    m_stop = true;
    m_thread.join();
  }
  std::vector<std::string> Values() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_values;
  }
  bool Saw(const std::string& text) const {
    const auto v = Values();
    return std::find(v.begin(), v.end(), text) != v.end();
  }
  // The values other than the renderer's: its frame and data rates and the stream's start.
  std::vector<std::string> SessionValues() const {
    std::vector<std::string> out;
    for (const std::string& v : Values())
      if (v.rfind("FR:", 0) != 0 && v != "Start to get image!!" && v != "Video Loss!")
        out.push_back(v);
    return out;
  }
  bool SawMatching(const std::string& pattern) const {
    const std::regex re(pattern);
    for (const std::string& v : Values())
      if (std::regex_match(v, re)) return true;
    return false;
  }

 private:
  HWND m_window;
  int m_id;
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_lock;
  std::vector<std::string> m_values;
  std::thread m_thread;
};

// "At once" for a close: well below the shortest wait a faulty close would sit out (the relogin's
// 8 s after a refusal, the login request's time-out), well above a busy machine's delays.
constexpr ULONGLONG kEndsAtOnceMs = 6000;

class SessionProgram : public ts::ProgramFixture {
 protected:
  SessionProgram()
      : ProgramFixture({.folderPrefix = "ostrova-session", .devsimArgs = {"--fps", "20"}}) {}

  // Closes the main window; the time until the program ended, or -1.
  int64_t CloseAndWait(HWND main, DWORD* exitCode) {
    const ULONGLONG start = GetTickCount64();
    ts::CloseMainWindow(main);
    if (!m_process.WaitExit(30000, exitCode)) return -1;
    return static_cast<int64_t>(GetTickCount64() - start);
  }

  std::vector<std::string> Trace() const { return ts::ReadLines(m_folder.File("trace.log")); }

  // Connects to a device that never answers the login, then closes the login window (Escape or
  // its Cancel button): the program ends within a few seconds, cleanly, without a session.
  void CloseLoginWindowDuringAStalledLogin(bool escape) {
    HWND login = StartAndConnect({"--fault", "stall"});
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(
        ts::WaitUntil([&] { return m_device.RequestsOf("/Login.cgi").size() == 1; }, 10000));
    Sleep(300);
    const ULONGLONG start = GetTickCount64();
    if (escape) {
      HWND box = GetDlgItem(login, kEditServer);
      PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1);
      PostMessageA(box, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    } else {
      PostMessageA(login, WM_COMMAND, MAKEWPARAM(kLoginCancelButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(login, kLoginCancelButton)));
    }
    DWORD code = 99;
    ASSERT_TRUE(m_process.WaitExit(30000, &code));
    const ULONGLONG took = GetTickCount64() - start;
    std::printf("the program ended %llu ms after the login window was closed\n", took);
    EXPECT_LT(took, kEndsAtOnceMs);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(ts::FileExists(m_folder.File("Setting.ini")));
    EXPECT_TRUE(MessageBoxes().empty()) << MessageBoxes();
  }

  // Every thread ended: none was given up. One that needed more than its stop wait (a few
  // milliseconds for some) is a busy machine, not a fault; the trace says so and it was joined.
  void ExpectEveryThreadEndedInTime() const {
    for (const std::string& line : Trace())
      EXPECT_EQ(line.find("given up"), std::string::npos) << line;
  }
};

TEST_F(SessionProgram, DroppedStreamLogsInAgainAndStreamsAgain) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  // The status line shows the frame and data rates every 2 s.
  EXPECT_TRUE(
      ts::WaitUntil([&] { return ts::ItemText(main, kStatusLine).rfind("FR:", 0) == 0; }, 10000));
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "DISCONNECT");
  TextRecorder status(main, kStatusLine), button(main, kConnectButton);

  ASSERT_NE(m_device.Control("/_devsim/fault?name=stream-drop&count=1"), "");
  ASSERT_TRUE(
      ts::WaitUntil([&] { return m_device.RequestsOf("/Getvideo.cgi").size() == 2; }, 20000));
  EXPECT_TRUE(FramesGrow(main, 5));
  const std::vector<std::string> expected = {"Got start event",
                                             "if (RtpRecvLength == SOCKET_ERROR)",
                                             "case Get_Image_TimeOut_Message",
                                             "login success",
                                             "start to send get device info command",
                                             "Command success",
                                             "Send start event",
                                             "Got start event"};
  EXPECT_EQ(Trace(), expected);
  EXPECT_EQ(status.SessionValues(), (std::vector<std::string>{"Start login"}));
  EXPECT_EQ(button.Values(), (std::vector<std::string>{"DISCONNECT", "CONNECT", "DISCONNECT"}));
  EXPECT_EQ(m_device.RequestsOf("/Login.cgi").size(), 2u);

  DWORD code = 99;
  EXPECT_GE(CloseAndWait(main, &code), 0);
  EXPECT_EQ(code, 0u);
  ExpectEveryThreadEndedInTime();
}

// The system close command ends the program at once, without writing the settings; Enter and
// Escape in the main window end nothing.
TEST_F(SessionProgram, EnterDoesNothingAndTheSystemCloseEndsAtOnce) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
    PostMessageA(main, WM_KEYDOWN, key, 1);
    PostMessageA(main, WM_KEYUP, key, 0xC0000001);
  }
  EXPECT_TRUE(FramesGrow(main, 5));
  EXPECT_EQ(WaitForSingleObject(m_process.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  const ULONGLONG start = GetTickCount64();
  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(m_process.WaitExit(30000, &code));
  EXPECT_LT(GetTickCount64() - start, kEndsAtOnceMs);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(ts::FileExists(m_folder.File("Setting.ini")));
}

TEST_F(SessionProgram, RefusedLoginsAreRetriedAtTheCadence) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  TextRecorder status(main, kStatusLine), button(main, kConnectButton);
  // Too many users, then a refusal, then the login goes through.
  ASSERT_NE(m_device.Control("/_devsim/fault?name=login-busy&count=1"), "");
  ASSERT_NE(m_device.Control("/_devsim/fault?name=login-denied&count=1&skip=1"), "");
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stream-drop&count=1"), "");
  ASSERT_TRUE(
      ts::WaitUntil([&] { return m_device.RequestsOf("/Getvideo.cgi").size() == 2; }, 60000));
  EXPECT_TRUE(FramesGrow(main, 3));

  const std::vector<DevsimRequest> logins = m_device.RequestsOf("/Login.cgi");
  ASSERT_EQ(logins.size(), 4u);  // the login window's, then the relogin's three
  EXPECT_EQ(logins[1].status, 202);
  EXPECT_EQ(logins[2].status, 401);
  EXPECT_EQ(logins[3].status, 200);
  // 20 s for too many users, then 3 + 3 + 2 s; then 3 + 3 + 2 s.
  const int64_t afterBusy = logins[2].tMs - logins[1].tMs;
  const int64_t afterRefusal = logins[3].tMs - logins[2].tMs;
  std::printf("relogin waits: %lld ms after too many users, %lld ms after a refusal\n",
              static_cast<long long>(afterBusy), static_cast<long long>(afterRefusal));
  EXPECT_GE(afterBusy, 28000);
  EXPECT_LE(afterBusy, 29500);
  EXPECT_GE(afterRefusal, 8000);
  EXPECT_LE(afterRefusal, 9500);

  EXPECT_TRUE(status.Saw(kTooManyUsers));
  EXPECT_TRUE(status.Saw(kLoginFailed));
  // Seconds since the relogin began, at the end of each first 3-s wait: 23, then 31.
  EXPECT_TRUE(status.SawMatching("ESCAPED TIME:  00:2[34]"));
  EXPECT_TRUE(status.SawMatching("ESCAPED TIME:  00:3[12]"));
  EXPECT_EQ(status.SessionValues().back(), "Start login");
  EXPECT_EQ(button.Values(), (std::vector<std::string>{"DISCONNECT", "CONNECT", "DISCONNECT"}));

  DWORD code = 99;
  EXPECT_GE(CloseAndWait(main, &code), 0);
  EXPECT_EQ(code, 0u);
  ExpectEveryThreadEndedInTime();
}

TEST_F(SessionProgram, DisconnectAndConnectFromTheMainWindow) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  Click(main, kConnectButton);
  ASSERT_TRUE(ts::WaitUntil([&] { return ts::ItemText(main, kStatusLine) == "DISCONNECT!!"; }));
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "CONNECT");
  // The text shows as the disconnect begins; the frames stop once its stop sequence has ended.
  ASSERT_TRUE(WaitForEvent("disconnected")) << EventLogText();
  Sleep(300);
  const uint32_t stopped = Frames(main);
  Sleep(1000);
  EXPECT_EQ(Frames(main), stopped);

  Click(main, kConnectButton);
  ASSERT_TRUE(ts::WaitUntil([&] { return ts::ItemText(main, kStatusLine) == "Start login"; }));
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "DISCONNECT");
  EXPECT_TRUE(FramesGrow(main, 5));
  EXPECT_EQ(m_device.RequestsOf("/Getvideo.cgi").size(), 2u);
  EXPECT_EQ(m_device.RequestsOf("/Login.cgi").size(), 2u);
  // A disconnect asks for no relogin.
  const auto trace = Trace();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "case Get_Image_TimeOut_Message"), 0);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "Got start event"), 2);

  DWORD code = 99;
  EXPECT_GE(CloseAndWait(main, &code), 0);
  EXPECT_EQ(code, 0u);
  ExpectEveryThreadEndedInTime();
}

// A second press of the button while its login is still running: the login thread has set the
// session active, so the press is the disconnect the button offers; it stops that login at once,
// and the next press logs in again.
TEST_F(SessionProgram, SecondConnectPressDuringTheLoginStopsIt) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForEvent("disconnected")) << EventLogText();
  // The next login's request is read and never answered.
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stall&path=/Login.cgi&count=1"), "");
  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForRequests("/Login.cgi", 2));
  ASSERT_EQ(EventCount("login thread started"), 1u) << EventLogText();
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "DISCONNECT");

  Click(main, kConnectButton);  // the second press
  ASSERT_TRUE(WaitForEvent("disconnected", 2)) << EventLogText();
  ASSERT_TRUE(WaitForEvent("login thread ends")) << EventLogText();
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "CONNECT");
  EXPECT_EQ(ts::ItemText(main, kStatusLine), "DISCONNECT!!");
  EXPECT_EQ(EventCount("login thread started"), 1u);
  EXPECT_EQ(EventCount("login connected"), 0u);
  EXPECT_EQ(m_device.RequestsOf("/Getvideo.cgi").size(), 1u);

  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForRequests("/Getvideo.cgi", 2));
  EXPECT_TRUE(FramesGrow(main, 5));
  EXPECT_EQ(m_device.RequestsOf("/Login.cgi").size(), 3u);
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "DISCONNECT");

  DWORD code = 99;
  EXPECT_GE(CloseAndWait(main, &code), 0);
  EXPECT_EQ(code, 0u);
  ExpectEveryThreadEndedInTime();
}

// A disconnect after the login, while the device has not sent the stream's first frame: no
// quiet-stop handshake with a receive thread that has no stream yet, no relogin; the next
// connect streams.
TEST_F(SessionProgram, DisconnectBeforeTheFirstFrame) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForEvent("disconnected")) << EventLogText();
  // The next stream request is answered with nothing.
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stall&path=/Getvideo.cgi&count=1"), "");
  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForRequests("/Getvideo.cgi", 2));
  ASSERT_TRUE(WaitForEvent("login connected")) << EventLogText();

  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForEvent("disconnected", 2)) << EventLogText();
  const std::string took = LastEvent("disconnected ");
  std::printf("the disconnect before the first frame took %s\n", took.c_str());
  EXPECT_LT(std::stoul(took), kEndsAtOnceMs) << EventLogText();
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "CONNECT");
  EXPECT_EQ(ts::ItemText(main, kStatusLine), "DISCONNECT!!");
  EXPECT_EQ(Relogins(), 0u);

  Click(main, kConnectButton);
  ASSERT_TRUE(WaitForRequests("/Getvideo.cgi", 3));
  EXPECT_TRUE(FramesGrow(main, 5));
  EXPECT_EQ(ts::ItemText(main, kConnectButton), "DISCONNECT");
  EXPECT_EQ(m_device.RequestsOf("/Login.cgi").size(), 3u);
  // The receive thread waiting for the first frame stopped quietly: no stream loss, no relogin.
  EXPECT_EQ(Relogins(), 0u) << EventLogText();
  const auto trace = Trace();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "case Get_Image_TimeOut_Message"), 0);

  DWORD code = 99;
  EXPECT_GE(CloseAndWait(main, &code), 0);
  EXPECT_EQ(code, 0u);
  ExpectEveryThreadEndedInTime();
}

TEST_F(SessionProgram, ClosingDuringAReloginEndsTheProgramAtOnce) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  ASSERT_NE(m_device.Control("/_devsim/fault?name=login-denied"), "");
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stream-drop&count=1"), "");
  ASSERT_TRUE(
      ts::WaitUntil([&] { return ts::ItemText(main, kStatusLine) == kLoginFailed; }, 20000));
  DWORD code = 99;
  const int64_t took = CloseAndWait(main, &code);
  EXPECT_GE(took, 0);
  EXPECT_LT(took, static_cast<int64_t>(kEndsAtOnceMs));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(ts::FileExists(m_folder.File("Setting.ini")));
  ExpectEveryThreadEndedInTime();
}

TEST_F(SessionProgram, ClosingDuringAStalledReloginRequestEndsTheProgramAtOnce) {
  HWND main = StartAndLogIn();
  ASSERT_NE(main, nullptr);
  // The relogin's login request is read and never answered.
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stall&path=/Login.cgi"), "");
  ASSERT_NE(m_device.Control("/_devsim/fault?name=stream-drop&count=1"), "");
  ASSERT_TRUE(ts::WaitUntil([&] { return m_device.RequestsOf("/Login.cgi").size() == 2; }, 20000));
  Sleep(300);
  DWORD code = 99;
  const int64_t took = CloseAndWait(main, &code);
  std::printf("the program ended %lld ms after the close\n", static_cast<long long>(took));
  EXPECT_GE(took, 0);
  EXPECT_LT(took, static_cast<int64_t>(kEndsAtOnceMs));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(ts::FileExists(m_folder.File("Setting.ini")));
  ExpectEveryThreadEndedInTime();
  // The cut request was not taken for a refusal.
  const auto trace = Trace();
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "login failed"), 0);
}

TEST_F(SessionProgram, LoginWindowClosedByEscapeDuringAStalledLoginEndsTheProgramAtOnce) {
  CloseLoginWindowDuringAStalledLogin(true);
}

TEST_F(SessionProgram, LoginWindowClosedByCancelDuringAStalledLoginEndsTheProgramAtOnce) {
  CloseLoginWindowDuringAStalledLogin(false);
}

TEST_F(SessionProgram, LifetimeOfOneMinuteEndsTheProgram) {
  HWND main = StartAndLogIn({"--set", "lifetime=1"});
  ASSERT_NE(main, nullptr);
  TextRecorder status(main, kStatusLine);
  DWORD code = 99;
  ASSERT_TRUE(m_process.WaitExit(90000, &code));
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const int64_t endMs =
      static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) /
                           10000) -
      11644473600000LL;
  EXPECT_EQ(code, 0u);
  const std::vector<DevsimRequest> streams = m_device.RequestsOf("/Getvideo.cgi");
  ASSERT_EQ(streams.size(), 1u);
  // One minute of counting after the stream start, then the stream's reset and a second.
  const int64_t lasted = endMs - streams[0].tMs;
  std::printf("the program ended %lld ms after the stream start\n", static_cast<long long>(lasted));
  EXPECT_GE(lasted, 60000);
  EXPECT_LE(lasted, 66000);
  EXPECT_TRUE(status.Saw("Life time is Up.Application shutdown later"));
  EXPECT_TRUE(ts::FileExists(m_folder.File("Setting.ini")));
  ExpectEveryThreadEndedInTime();
}

}  // namespace
