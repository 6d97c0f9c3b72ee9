// The session's threads in this process, against the device simulator: the kernel message
// mailbox and its codes, the stop and restart of the session, the relogin and the lifetime,
// with the main window replaced by a window that records what the threads post to it.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "session/kernel_mailbox.h"
#include "session/login_thread.h"
#include "session/process_threads.h"
#include "session/session_control.h"
#include "session/session_messages.h"
#include "session/session_resources.h"
#include "session/thread_stop.h"
#include "platform/trace_log.h"
#include "mainwnd/pallum_dlg.h"
#include "net/login_exchange.h"
#include "program/program_objects.h"
#include "tests/session/session_probe.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace {

namespace ts = testsupport;
using sessiontest::MainWindowProbe;
using sessiontest::PostedMessage;
using testsupport::DevsimChild;

// Waits of the relogin thread, short enough for many rounds.
ReloginTiming QuickTiming() {
  ReloginTiming t;
  t.dwFirstWaitMs = 30;
  t.backoff = {30, 100, 2};
  t.dwLastWaitMs = 20;
  t.dwTooManyUsersMs = 50;
  t.dwStartDelayMs = 0;
  t.wRequestTimeoutS = 5;
  return t;
}

// Creation calls that fail on demand.
std::atomic<int> g_failEventsAfter{-1};    // fail the event creation after this many more
std::atomic<int> g_failSemaphoreCall{-1};  // fail this (0-based) semaphore creation
std::atomic<int> g_semaphoreCalls{0};
std::atomic<bool> g_failReloginThread{false};
std::atomic<bool> g_suspendReloginThread{false};  // the next relogin thread starts suspended
HANDLE g_suspendedThread = nullptr;               // a handle of it, to resume it

HANDLE FailingCreateEvent(BOOL manualReset) {
  const int left = g_failEventsAfter.load();
  if (left == 0) {
    g_failEventsAfter = -1;
    return nullptr;
  }
  if (left > 0) --g_failEventsAfter;
  return DefaultSessionSystem().createEvent(manualReset);
}

HANDLE FailingCreateSemaphore(LONG initial, LONG maximum) {
  if (g_semaphoreCalls++ == g_failSemaphoreCall.load()) return nullptr;
  return DefaultSessionSystem().createSemaphore(initial, maximum);
}

HANDLE FailingCreateThread(SIZE_T stack, LPTHREAD_START_ROUTINE routine, LPVOID arg, DWORD* id) {
  if (routine == Login_Thread && g_failReloginThread) return nullptr;
  if (routine == Login_Thread && g_suspendReloginThread.exchange(false)) {
    HANDLE thread = CreateThread(nullptr, stack, routine, arg, CREATE_SUSPENDED, id);
    if (thread)
      DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &g_suspendedThread, 0,
                      FALSE, DUPLICATE_SAME_ACCESS);
    return thread;
  }
  return DefaultSessionSystem().createThread(stack, routine, arg, id);
}

class SessionThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA wsa;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &wsa), 0);
    g_failEventsAfter = -1;
    g_failSemaphoreCall = -1;
    g_semaphoreCalls = 0;
    g_failReloginThread = false;
    g_suspendReloginThread = false;
    SessionSystem() = {FailingCreateEvent, FailingCreateSemaphore,
                       DefaultSessionSystem().createMutex, FailingCreateThread};
    SetReloginTiming(QuickTiming());
    SetLifeTimeSecondMs(1000);
    SetEnvironmentVariableA("OST_MSGBOX_LOG", m_folder.File("msgbox.log").c_str());

    m_objects = std::make_unique<ProgramObjects>();
    g_lpApp = new APP_DATA(m_objects->Parts());
    ASSERT_EQ(AllocateSystemBuffer(), 1);
    ASSERT_EQ(InitialSemaphore(), 1);
    ::CSettingINI& s = g_lpApp->m_Settings;
    s.m_strExeDir = m_folder.Path();
    s.m_strServerName = "127.0.0.1";
    s.m_strUsername = "revuv";
    s.m_strPassword = "revuv";
    TraceLogInit(300, m_folder.Path());
    g_lpApp->h_MainDialogHandle = m_probe.Handle();
    g_lpApp->lp_MainDialog = &m_drawer;
    g_lpApp->m_StreamPipeline.SetWindow(&m_drawer.LiveView());
    g_lpApp->w_LoginResult = 30;
  }

  void TearDown() override {
    ExitLoginResource();
    ExitProcessResource();
    FreeSemaphore();
    FreeSystemBuffer();
    m_objects.reset();
    delete g_lpApp;
    g_lpApp = nullptr;
    TraceLogDone();
    SessionSystem() = DefaultSessionSystem();
    SetReloginTiming(ReloginTiming{});
    SetLifeTimeSecondMs(1000);
    SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
    WSACleanup();
  }

  // devsim on a free port, the settings and the program's session pointing at it.
  void StartDevice(std::vector<std::string> args = {}) {
    args.insert(args.end(), {"--fps", "50"});
    ASSERT_TRUE(m_device.Start(args)) << m_device.error();
    g_lpApp->m_Settings.m_wWebPort = static_cast<uint16_t>(m_device.port());
    testsupport::PointProgramSessionAt(static_cast<uint16_t>(m_device.port()));
  }

  // The login window's login, both resource groups as start-up creates them, then the stream
  // start of the main window.
  void StartSessionAsStartUpDoes() {
    ASSERT_EQ(testsupport::LogInOnly(kLoginWindowLogin), LoginOutcome::kAccepted);
    ASSERT_EQ(InitProcessResource(), 1);
    ASSERT_EQ(InitLoginResource(), 1);
    SetEvent(g_lpApp->h_StartToGetJpegImageEvent);
  }

  // True once `more` further frames have been drawn.
  bool FramesGrow(uint32_t more, DWORD timeoutMs = 5000) {
    const uint32_t from = m_drawer.DrawnFrames();
    return ts::WaitUntil([&] { return m_drawer.DrawnFrames() >= from + more; }, timeoutMs);
  }

  std::vector<std::string> TraceLines() const { return ts::ReadLines(m_folder.File("trace.log")); }
  std::vector<std::string> MessageBoxes() const {
    return ts::ReadLines(m_folder.File("msgbox.log"));
  }
  bool TraceHas(const std::string& line) const {
    const auto lines = TraceLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  ts::TempFolder m_folder{"session"};
  std::unique_ptr<ProgramObjects> m_objects;
  MainWindowProbe m_probe;
  CPallumDlg m_drawer;  // its window is never created: only its frame drawing is used
  DevsimChild m_device;
};

bool IsButtonState(const PostedMessage& m, uint32_t flag, int state) {
  return m.msg == WM_MAINWND_BUTTONSTATE && m.wParam == flag && m.lParam == state;
}

// Sends a code and reports how long the hand-over took.
DWORD TimedSend(uint32_t code, const char* text = nullptr, int* result = nullptr) {
  const ULONGLONG start = GetTickCount64();
  const int sent = SendKernelMessage(code, text);
  if (result) *result = sent;
  return static_cast<DWORD>(GetTickCount64() - start);
}

// The player stand-in's windows; closing them ends the players.
std::vector<HWND> PlayerWindows() {
  std::vector<HWND> found;
  EnumWindows(
      [](HWND w, LPARAM list) -> BOOL {
        if (ts::WindowText(w) == "Quendor")
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void ClosePlayers() {
  ts::WaitUntil([] { return !PlayerWindows().empty(); }, 10000);
  for (HWND w : PlayerWindows()) PostMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(ts::WaitUntil([] { return PlayerWindows().empty(); }, 10000));
}

TEST_F(SessionThreads, MailboxCarriesOutEachCodeAndStaysUsable) {
  ASSERT_TRUE(ts::CopyFileTo(ts::ThisExeFolder() + "Quendor.exe", m_folder.File("Quendor.exe")));
  ASSERT_EQ(InitProcessResource(), 1);

  // Codes without work, an unknown code and the stop of a sound that does not play.
  for (uint32_t code : {3u, 5u, 99u, 0u}) {
    int sent = 0;
    EXPECT_LT(TimedSend(code, nullptr, &sent), 1000u) << code;
    EXPECT_EQ(sent, 1) << code;
  }
  // Reloading a wave that is not there shows its box and leaves the events alone.
  EXPECT_EQ(SendKernelMessage(KM_RELOAD_ALARM_WAVE), 1);
  // The player with a finished download; the text is the mailbox's own copy.
  std::string path = "C:\\My Backup\\CH01_0001.dvr";
  EXPECT_EQ(SendKernelMessage(KM_LAUNCH_PLAYER, path.c_str()), 1);
  path.assign(path.size(), 'x');
  // A path too long for the command line: the box, no player with a cut path.
  const std::string longPath(520, 'p');
  EXPECT_EQ(SendKernelMessage(KM_LAUNCH_PLAYER, longPath.c_str()), 1);
  EXPECT_EQ(SendKernelMessage(3), 1);  // the codes above are done once the slot is free again
  EXPECT_EQ(SendKernelMessage(3), 1);
  EXPECT_EQ(g_lpApp->h_AudioStopEvent, nullptr);

  // A wave that loads: both sound events new. Stopping a playing sound signals one of them.
  ASSERT_TRUE(ts::CopyFileTo(ts::ThisExeFolder() + "alarm.wav", m_folder.File("alarm.wav")));
  EXPECT_EQ(SendKernelMessage(KM_RELOAD_ALARM_WAVE), 1);
  EXPECT_EQ(SendKernelMessage(3), 1);
  ASSERT_NE(g_lpApp->h_AudioStopEvent, nullptr);
  EXPECT_NE(g_lpApp->h_AudioBufferDoneEvent, nullptr);
  EXPECT_EQ(WaitForSingleObject(g_lpApp->h_AudioStopEvent, 0), WAIT_TIMEOUT);
  g_lpApp->m_WaveFile.fPlaying = 1;
  EXPECT_EQ(SendKernelMessage(KM_STOP_ALARM_SOUND), 1);
  EXPECT_EQ(SendKernelMessage(3), 1);
  EXPECT_EQ(g_lpApp->m_WaveFile.fPlaying, 0u);
  EXPECT_EQ(WaitForSingleObject(g_lpApp->h_AudioStopEvent, 0), WAIT_OBJECT_0);

  ASSERT_TRUE(ts::WaitUntil(
      [&] {
        return ts::ReadFileText(m_folder.File("Quendor.log")).find("CMDLINE") != std::string::npos;
      },
      10000));
  const std::string log = ts::ReadFileText(m_folder.File("Quendor.log"));
  EXPECT_NE(log.find("CMDLINE C:\\My Backup\\CH01_0001.dvr CONVERT=0"), std::string::npos) << log;
  EXPECT_EQ(log.find("ppppp"), std::string::npos) << log;
  EXPECT_EQ(MessageBoxes(), (std::vector<std::string>{"Load alarm audio file is failed",
                                                      "Execuate player is failed"}));
  ClosePlayers();

  // Gone with the process resources: senders give up at once, a second exit is harmless.
  EXPECT_EQ(ExitProcessResource(), 1);
  int sent = 1;
  EXPECT_LT(TimedSend(3, nullptr, &sent), 100u);
  EXPECT_EQ(sent, 0);
  EXPECT_EQ(ExitProcessResource(), 1);
  EXPECT_EQ(g_lpApp->h_Process_KernelMessageThread.h, nullptr);
  EXPECT_EQ(g_lpApp->h_KernelMessageSem, nullptr);
}

TEST_F(SessionThreads, MissingMailboxSemaphoreEndsStartUp) {
  for (int failing : {0, 1}) {
    SCOPED_TRACE(failing);
    g_semaphoreCalls = 0;
    g_failSemaphoreCall = failing;
    const DWORD threads = sessiontest::ThreadCount();
    EXPECT_EQ(InitProcessResource(), 0);
    EXPECT_EQ(g_lpApp->h_Process_KernelMessageThread.h, nullptr);
    EXPECT_EQ(sessiontest::ThreadCount(), threads);
    EXPECT_EQ(SendKernelMessage(3), 0);
    EXPECT_EQ(ExitProcessResource(), 1);
    EXPECT_EQ(g_lpApp->h_KernelMessageSem, nullptr);
    EXPECT_EQ(g_lpApp->h_KernelMessageSlotSem, nullptr);
  }
}

TEST_F(SessionThreads, ReloginThatCannotStartKeepsTheMailbox) {
  ASSERT_EQ(InitProcessResource(), 1);
  g_failReloginThread = true;
  ASSERT_EQ(SendKernelMessage(Get_Image_TimeOut_Message), 1);
  // The slot comes back: two more codes pass one after the other.
  int sent = 0;
  EXPECT_LT(TimedSend(3, nullptr, &sent), 5000u);
  EXPECT_EQ(sent, 1);
  EXPECT_LT(TimedSend(3, nullptr, &sent), 1000u);
  EXPECT_EQ(sent, 1);
  EXPECT_TRUE(m_probe.WaitForLoginStatus(kLoginStatusFailed, 2000));
  EXPECT_TRUE(m_probe.WaitFor([](const PostedMessage& m) { return IsButtonState(m, 1, 1); }, 100));
  EXPECT_TRUE(TraceHas("case Get_Image_TimeOut_Message"));
  EXPECT_TRUE(TraceHas("Process_KernelMessageThread : create Login_Thread failed"));
  EXPECT_FALSE(ReloginThreadRunning());
}

TEST_F(SessionThreads, HundredStopsAndRestartsLeaveNothingBehind) {
  StartDevice();
  StartSessionAsStartUpDoes();
  ASSERT_TRUE(FramesGrow(3));
  const auto stop = [&] { return RequestSessionStop(10000) && !LoginResourcesExist(); };
  const auto start = [&] {
    if (!RequestSessionRestart(5000)) return false;
    SetEvent(g_lpApp->h_StartToGetJpegImageEvent);
    return FramesGrow(1);
  };
  // Counts are taken while no session runs, as the least of a few samples: a thread of the
  // process may hold a file open for a moment (the trace log is opened for every line).
  const auto quietCount = [](DWORD (*count)()) {
    DWORD least = count();
    for (int i = 0; i < 5; ++i) {
      Sleep(20);
      least = std::min(least, count());
    }
    return least;
  };
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(stop() && start()) << "warm-up " << i;
  ASSERT_TRUE(stop());
  const DWORD threads = quietCount(sessiontest::ThreadCount);
  const DWORD handles = quietCount(sessiontest::HandleCount);
  ASSERT_GT(threads, 2u);
  ASSERT_GT(handles, 20u);
  const ThreadStopCounts before = GetThreadStopCounts();
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(start() && stop()) << "cycle " << i;
  const ThreadStopCounts after = GetThreadStopCounts();
  // Back at the counts of before; on a busy machine the last stop's threads and files may still
  // be on their way out, so the counts are given five seconds to settle.
  const auto settled = [](DWORD (*count)(), DWORD want) {
    DWORD now = count();
    for (int i = 0; i < 250 && now != want; ++i) {
      Sleep(20);
      now = count();
    }
    return now;
  };
  EXPECT_EQ(settled(sessiontest::ThreadCount, threads), threads);
  EXPECT_EQ(settled(sessiontest::HandleCount, handles), handles);
  // Every session thread ended by itself within its stop wait, with exit code 0: 100 rounds of
  // lifetime, receive, compose and show threads.
  EXPECT_GE(after.dwStopped - before.dwStopped, 400u);
  EXPECT_EQ(after.dwOverBudget, before.dwOverBudget);
  EXPECT_EQ(after.dwGivenUp, before.dwGivenUp);
  EXPECT_EQ(after.dwNonZeroExit, before.dwNonZeroExit);
  EXPECT_EQ(m_device.RequestsOf("/Getvideo.cgi").size(), 104u);
  EXPECT_FALSE(TraceHas("case Get_Image_TimeOut_Message"));  // no stop asked for a relogin
}

TEST_F(SessionThreads, StaleResetRequestDoesNotStopTheNextStream) {
  StartDevice();
  StartSessionAsStartUpDoes();
  ASSERT_TRUE(FramesGrow(2));
  ASSERT_TRUE(RequestSessionStop(10000));
  // A reset request that no receive thread took.
  SetEvent(g_lpApp->h_NotifyGetJPEGImageThreadResetEvent);
  ASSERT_TRUE(RequestSessionRestart(5000));
  SetEvent(g_lpApp->h_StartToGetJpegImageEvent);
  EXPECT_TRUE(FramesGrow(5));
  EXPECT_EQ(g_lpApp->SessionActiveFlag, 1u);
}

TEST_F(SessionThreads, FailedRestartIsReportedAndTheNextOneWorks) {
  StartDevice();
  ASSERT_EQ(InitProcessResource(), 1);
  g_failEventsAfter = 6;  // the seventh event, made after the lifetime thread has started
  const DWORD threads = sessiontest::ThreadCount();
  EXPECT_FALSE(RequestSessionRestart(5000));
  EXPECT_FALSE(LoginResourcesExist());
  EXPECT_EQ(g_lpApp->SocketBufferFreeSem, nullptr);
  EXPECT_TRUE(TraceHas("Process_Init_Thread : session resources could not be created"));
  EXPECT_EQ(sessiontest::ThreadCount(), threads);
  // The re-initialise thread serves on.
  EXPECT_TRUE(RequestSessionRestart(5000));
  EXPECT_TRUE(LoginResourcesExist());
  SetEvent(g_lpApp->h_StartToGetJpegImageEvent);
  EXPECT_TRUE(FramesGrow(2));
}

TEST_F(SessionThreads, ReloginRepeatsUntilTheDeviceAcceptsThenRestartsTheStream) {
  // Too many users once, refused twice, then accepted without device information, then
  // accepted; the first re-creation of the session fails.
  StartDevice({"--fault", "login-busy,count=1", "--fault", "login-denied,count=2,skip=1", "--fault",
               "devinfo-empty,count=1"});
  ASSERT_EQ(InitProcessResource(), 1);
  g_failEventsAfter = 1;  // past the relogin thread's stop event: the first re-creation
  ASSERT_EQ(SendKernelMessage(Get_Image_TimeOut_Message), 1);
  ASSERT_TRUE(m_probe.WaitForLoginStatus(kLoginStatusConnected, 20000));
  const std::vector<LPARAM> backOff = {kLoginStatusFailed, kLoginStatusElapsed,
                                       kLoginStatusDisconnected, kLoginStatusStart};
  std::vector<LPARAM> expected = {kLoginStatusStart, kLoginStatusTooManyUsers};
  for (int attempt = 0; attempt < 5; ++attempt)  // busy, denied, denied, empty, not re-created
    expected.insert(expected.end(), backOff.begin(), backOff.end());
  expected.push_back(kLoginStatusConnected);
  EXPECT_EQ(m_probe.LoginStatuses(), expected);

  ASSERT_TRUE(FramesGrow(3, 10000));
  EXPECT_EQ(m_device.RequestsOf("/Login.cgi").size(), 6u);
  EXPECT_EQ(m_device.RequestsOf("/Getdeviceinfo.cgi").size(), 3u);
  const std::vector<std::string> expectedTrace = {
      "case Get_Image_TimeOut_Message",
      "login failed",
      "login failed",
      "login failed",
      "login success",
      "start to send get device info command",
      "Command success",
      "login success",
      "start to send get device info command",
      "Command success",
      "Process_Init_Thread : session resources could not be created",
      "Login_Thread : session resources were not re-created",
      "login success",
      "start to send get device info command",
      "Command success",
      "Send start event",
      "Got start event"};
  EXPECT_EQ(TraceLines(), expectedTrace);
  EXPECT_FALSE(ts::WaitUntil([] { return ReloginThreadRunning(); }, 100));
}

// The session is active from the start of its login thread, not from when that thread first
// runs: a disconnect before then (a busy machine) finds a session to stop, and the stopped
// thread, when it runs at last, neither marks the session active again nor logs in.
TEST_F(SessionThreads, LoginThreadStoppedBeforeItRanLeavesTheSessionStopped) {
  StartDevice();
  ASSERT_EQ(InitProcessResource(), 1);
  g_lpApp->SessionActiveFlag = 0;
  g_suspendReloginThread = true;
  ASSERT_EQ(StartReloginThread(kReloginStackFromWindow), 1);
  ASSERT_NE(g_suspendedThread, nullptr);
  EXPECT_NE(g_lpApp->SessionStateNow(), SessionState::kIdle);
  StopReloginThread(30);           // set aside: it has not run
  g_lpApp->SessionActiveFlag = 0;  // as the main window's disconnect leaves it
  ResumeThread(g_suspendedThread);
  EXPECT_TRUE(ReapReloginThreads(10000));
  CloseHandle(g_suspendedThread);
  g_suspendedThread = nullptr;
  EXPECT_EQ(g_lpApp->SessionActiveFlag, 0u);
  EXPECT_TRUE(m_device.RequestsOf("/Login.cgi").empty());
  EXPECT_EQ(ExitProcessResource(), 1);
}

TEST_F(SessionThreads, ClosingDuringAReloginEndsEveryThreadAtOnce) {
  StartDevice({"--fault", "login-denied"});
  SetReloginTiming(ReloginTiming{});  // the real waits: 3 s, 3 s, 2 s
  ASSERT_EQ(InitProcessResource(), 1);
  ASSERT_EQ(SendKernelMessage(Get_Image_TimeOut_Message), 1);
  ASSERT_TRUE(ts::WaitUntil([&] { return m_device.RequestsOf("/Login.cgi").size() == 1; }, 5000));
  ASSERT_TRUE(ReloginThreadRunning());
  const ThreadStopCounts before = GetThreadStopCounts();
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(ExitLoginResource(), 1);
  EXPECT_EQ(ExitProcessResource(), 1);
  EXPECT_LT(GetTickCount64() - start, 1000u);
  EXPECT_FALSE(ReloginThreadRunning());
  EXPECT_EQ(GetThreadStopCounts().dwOverBudget, before.dwOverBudget);
  EXPECT_EQ(GetThreadStopCounts().dwGivenUp, before.dwGivenUp);
}

// A relogin held inside a device request by a device that never answers: a disconnect, a new
// start and shut-down each end it within a fraction of a second, and it acts on nothing after.
TEST_F(SessionThreads, ReloginStalledInADeviceRequestEndsWithEveryStop) {
  StartDevice();
  SetReloginTiming(ReloginTiming{});  // the real request time-out: 20 s
  enum class Stop { kDisconnect, kNewStart, kShutDown };
  struct Case {
    const char* name;
    const char* path;
    Stop stop;
  };
  const Case cases[] = {
      {"login, disconnect", "/Login.cgi", Stop::kDisconnect},
      {"login, new start", "/Login.cgi", Stop::kNewStart},
      {"login, shut-down", "/Login.cgi", Stop::kShutDown},
      {"device information, disconnect", "/Getdeviceinfo.cgi", Stop::kDisconnect},
      {"device information, shut-down", "/Getdeviceinfo.cgi", Stop::kShutDown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(m_device.Control("/_devsim/clear-faults"), "");
    ASSERT_NE(m_device.Control(std::string("/_devsim/fault?name=stall&path=") + c.path), "");
    ASSERT_EQ(InitProcessResource(), 1);
    const size_t sent = m_device.RequestsOf(c.path).size();
    ASSERT_EQ(StartReloginThread(kReloginStackFromWindow), 1);
    ASSERT_TRUE(ts::WaitUntil([&] { return m_device.RequestsOf(c.path).size() == sent + 1; }));
    Sleep(200);
    const ThreadStopCounts counts = GetThreadStopCounts();
    const ULONGLONG start = GetTickCount64();
    switch (c.stop) {
      case Stop::kDisconnect:
        StopReloginThread(30);
        break;
      case Stop::kNewStart:
        EXPECT_EQ(StartReloginThread(kReloginStackFromWindow), 1);
        break;
      case Stop::kShutDown:
        EXPECT_EQ(ExitProcessResource(), 1);
        break;
    }
    // The stopped thread, if it was set aside, has ended too.
    EXPECT_TRUE(ReapReloginThreads(2000));
    const ULONGLONG took = GetTickCount64() - start;
    EXPECT_LT(took, 1000u);
    EXPECT_EQ(ReloginThreadRunning(), c.stop == Stop::kNewStart);
    StopReloginThread(30);
    EXPECT_TRUE(ReapReloginThreads(2000));
    EXPECT_EQ(ExitProcessResource(), 1);
    EXPECT_EQ(GetThreadStopCounts().dwGivenUp, counts.dwGivenUp);
    // The cut requests were neither failures to back off from nor successes.
    for (const char* line : {"login failed", "Command failed", "Command success"})
      EXPECT_FALSE(TraceHas(line)) << line;
    EXPECT_FALSE(m_probe.WaitForLoginStatus(kLoginStatusFailed, 0));
  }
}

TEST_F(SessionThreads, LifetimeEndsTheSessionAfterItsMinutes) {
  SetLifeTimeSecondMs(10);  // a minute is 600 ms
  StartDevice();
  StartSessionAsStartUpDoes();
  ASSERT_TRUE(FramesGrow(2));
  g_lpApp->dwLifeTimeMinutes = 1;
  const ULONGLONG start = GetTickCount64();
  SetEvent(g_lpApp->h_LifeTimeStartEvent);
  ASSERT_TRUE(m_probe.WaitFor([](const PostedMessage& m) { return m.msg == WM_LIFETIMEUP; }, 5000));
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_GE(took, 600u);
  EXPECT_LT(took, 3000u);
  // The stream ended quietly, the overlays were emptied and the text shown before the post.
  EXPECT_EQ(g_lpApp->SessionActiveFlag, 0u);
  std::vector<UINT> order;
  std::string text;
  for (const PostedMessage& m : m_probe.Messages()) {
    order.push_back(m.msg);
    if (m.msg == WM_MAINWND_STATUSTEXT) text = m.text;
  }
  EXPECT_EQ(order,
            (std::vector<UINT>{WM_MAINWND_CLEAROVERLAY, WM_MAINWND_STATUSTEXT, WM_LIFETIMEUP}));
  EXPECT_EQ(text, "Life time is Up.Application shutdown later");
  EXPECT_FALSE(TraceHas("case Get_Image_TimeOut_Message"));  // no relogin
}

TEST_F(SessionThreads, LifetimeWithoutLimitOrStoppedEarlyPostsNothing) {
  SetLifeTimeSecondMs(10);
  StartDevice();
  // No limit: the thread ends after its first second.
  StartSessionAsStartUpDoes();
  g_lpApp->dwLifeTimeMinutes = -1;
  SetEvent(g_lpApp->h_LifeTimeStartEvent);
  EXPECT_EQ(WaitForSingleObject(g_lpApp->h_ConnectionThread.h, 2000), WAIT_OBJECT_0);
  // A stop during the count: the thread returns without posting.
  ASSERT_TRUE(RequestSessionStop(10000));
  ASSERT_TRUE(RequestSessionRestart(5000));
  g_lpApp->dwLifeTimeMinutes = 1;
  SetEvent(g_lpApp->h_LifeTimeStartEvent);
  Sleep(200);
  ASSERT_TRUE(RequestSessionStop(10000));
  Sleep(700);
  for (const PostedMessage& m : m_probe.Messages()) EXPECT_NE(m.msg, WM_LIFETIMEUP);
}

}  // namespace
