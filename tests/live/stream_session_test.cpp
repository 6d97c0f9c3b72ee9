// The three stream threads against the device simulator, under Wine: log in, start the stream,
// receive and decode pictures of each device family; the header reactions; every stream fault;
// and the ends of a session (kernel code 1 for a lost stream, the quiet stop).
//
// The test stands in for the kernel message thread (drawing through the pipeline and counting
// relogin requests) and for the main window (a message-only window and a live-view window that
// records what it is asked to draw and change).
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/app_data.h"
#include "session/kernel_mailbox.h"
#include "platform/trace_log.h"
#include "live/live_messages.h"
#include "session/live_view_binding.h"
#include "live/live_view_window.h"
#include "live/stream_pipeline.h"
#include "live/stream_request.h"
#include "session/session_resources.h"
#include "session/stream_threads.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/login_exchange.h"
#include "program/program_objects.h"
#include "record/record_app.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/stream_events.h"
#include "tests/support/win_process.h"

namespace {
// The number of files matching a pattern such as "C:\\x\\*.qdx".
size_t FilesIn(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  const HANDLE h = FindFirstFileA(pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  size_t n = 0;
  do ++n;
  while (FindNextFileA(h, &found));
  FindClose(h);
  return n;
}

namespace ts = testsupport;

// ---- The main window's side ---------------------------------------------------------------
class RecordingWindow : public LiveViewWindow {
 public:
  int DrawVideoFrame(const ShownFrame& frame) override {
    onDraw(frame);
    return 1;
  }
  void SetCurrentChannel(uint8_t channel) override { lastChannel = channel; }
  void SwitchChannel(int channel) override { Add("SwitchChannel " + std::to_string(channel)); }
  void SetStatusText(const char* text) override { Add(std::string("SetStatusText ") + text); }
  void PostCmosState(uint8_t state) override { Add("PostCmosState " + std::to_string(state)); }
  void ChangeItemPositionForDeviceModified() override { ++relayouts; }

  bool Has(const std::string& call) {
    std::lock_guard<std::mutex> lock(m_lock);
    for (const auto& c : m_calls)
      if (c == call) return true;
    return false;
  }
  std::atomic<int> lastChannel{-1};
  std::atomic<int> relayouts{0};
  std::function<void(const ShownFrame&)> onDraw;  // set before the stream starts

 private:
  void Add(const std::string& call) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back(call);
  }
  std::mutex m_lock;
  std::vector<std::string> m_calls;
};

std::atomic<int> g_AlarmStarts{0}, g_AlarmStops{0}, g_ClockChanges{0};

LRESULT CALLBACK MainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_POSTALARMAUDIO) (lp == 0 ? g_AlarmStarts : g_AlarmStops)++;
  if (m == WM_DEVICECLOCKCHANGED) ++g_ClockChanges;
  return DefWindowProcA(w, m, wp, lp);
}

// What the renderer stand-in was handed.
struct ShownFrames {
  std::mutex lock;
  int count = 0;
  int wrongSize = 0;
  int blank = 0;
  uint16_t width = 0, height = 0;
  uint32_t noPicture = 0;
  std::vector<uint32_t> intervals;  // between header time stamps, ms
};

// Waits, pumping the window's messages, until cond() holds.
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (cond()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(10);
  }
}

struct PictureSize {
  uint16_t w, h;
};

class StreamSessionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WSADATA wsa;
    WSAStartup(MAKEWORD(1, 1), &wsa);
    char local[16] = {};
    GetLocalIpString(local, sizeof local);
    g_strLocalIPAddress = local;
    WNDCLASSA wc{};
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OstLiveTestMain";
    RegisterClassA(&wc);
  }

  void SetUp() override {
    m_objects = std::make_unique<ProgramObjects>();
    g_lpApp = new APP_DATA(m_objects->Parts());
    BindRecordObjects(m_objects->m_Record, m_folder.Path());
    std::memset(g_szCookie, 0, sizeof g_szCookie);
    APP_DATA& a = *g_lpApp;
    ASSERT_EQ(AllocateSystemBuffer(), 1);
    ASSERT_EQ(InitialSemaphore(), 1);
    ts::MakeStreamEvents(a);
    a.h_MainDialogHandle = CreateWindowExA(0, "OstLiveTestMain", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, GetModuleHandleA(nullptr), nullptr);
    a.m_Settings.m_strRecordPath = m_folder.Path();
    a.m_Settings.m_byAlarmRecord = 1;  // "Alarm Trigger Record"
    g_AlarmStarts = g_AlarmStops = g_ClockChanges = 0;
    TraceLogInit(300, m_folder.Path());
    a.m_StreamPipeline.SetWindow(&window);
    window.onDraw = [this](const ShownFrame& f) {
      std::lock_guard<std::mutex> lock(shown.lock);
      ++shown.count;
      shown.width = f.wWidth;
      shown.height = f.wHeight;
      shown.noPicture = f.fNoPicture;
      shown.intervals.push_back(g_lpApp->ImageSlotInfo[0].dw[4]);
      if (expected.w && (f.wWidth != expected.w || f.wHeight != expected.h)) ++shown.wrongSize;
      bool allZero = true;
      for (size_t i = 0; i < size_t{f.wWidth} * f.wHeight * 3 && allZero; i += 97)
        allZero = f.lpPicture[i] == 0;
      if (allZero) ++shown.blank;
    };
    kernel.Start();
  }

  void TearDown() override {
    StopThreads();
    kernel.Stop();
    g_lpApp->m_StreamPipeline.SetWindow(nullptr);
    TraceLogDone();
    devsim.Stop();
    APP_DATA& a = *g_lpApp;
    DestroyWindow(a.h_MainDialogHandle);
    ts::CloseStreamEvents(a);
    FreeSemaphore();
    FreeSystemBuffer();
    m_objects.reset();
    delete g_lpApp;
    g_lpApp = nullptr;
  }

  // Starts devsim, logs in as the relogin thread does and asks for the stream at `resolution`.
  void LogIn(const std::string& product, std::vector<std::string> args = {},
             int32_t resolution = 0) {
    args.insert(args.begin(), {"--product", product, "--fps", "25"});
    ASSERT_TRUE(devsim.Start(args)) << devsim.error();
    APP_DATA& a = *g_lpApp;
    {
      std::lock_guard<std::mutex> lock(SessionMutex());
      a.m_Settings.m_strServerName = "127.0.0.1";
      a.m_Settings.m_wWebPort = static_cast<uint16_t>(devsim.port());
    }
    testsupport::PointProgramSessionAt(static_cast<uint16_t>(devsim.port()));
    a.m_Settings.m_iImageResolution = resolution;
    ASSERT_EQ(testsupport::LogInOnly(kReloginLogin), LoginOutcome::kAccepted);
    ASSERT_EQ(testsupport::AskDeviceInformation(kReloginLogin), 1);
  }

  void StartThreads() {
    APP_DATA& a = *g_lpApp;
    ASSERT_TRUE(StartStreamThreads(a));
    ASSERT_EQ(a.m_AlarmRecord.CreateThread(0), 1);
    SetEvent(a.h_StartToGetJpegImageEvent);
  }

  // Signals every stop event, waits for each thread and closes its handle; no thread is killed.
  void StopThreads() {
    APP_DATA& a = *g_lpApp;
    SetEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
    SetEvent(a.h_EndofShowImageEvent);
    SetEvent(a.h_EndofGetJpegImageEvent);
    for (ThreadSlot* slot :
         {&a.h_GetJpegImageThread, &a.h_ComposeImageDataThread, &a.h_ShowImageDataThread}) {
      if (!slot->h) continue;
      EXPECT_EQ(WaitForSingleObject(slot->h, 5000), WAIT_OBJECT_0) << "a stream thread did not end";
      CloseHandle(slot->h);
      slot->h = nullptr;
    }
    a.m_AlarmRecord.CloseThread();
  }

  bool ThreadEnded(const ThreadSlot& slot, DWORD timeoutMs) {
    return slot.h && WaitForSingleObject(slot.h, timeoutMs) == WAIT_OBJECT_0;
  }

  int ShownCount() {
    std::lock_guard<std::mutex> lock(shown.lock);
    return shown.count;
  }
  bool WaitForShown(int n, DWORD timeoutMs = 15000) {
    return PumpUntil([&] { return ShownCount() >= n; }, timeoutMs);
  }

  // A request on the simulator's control path.
  std::string Control(const std::string& target) {
    CBlockingSocket s;
    std::string reply;
    try {
      s.Create(SOCK_STREAM);
      s.Connect(CSockAddr("127.0.0.1", static_cast<uint16_t>(devsim.port())));
      const std::string request = "GET " + target + " HTTP/1.1\r\n\r\n";
      s.Write(request.data(), static_cast<int>(request.size()), 5);
      char buf[1024];
      int n;
      while ((n = s.Receive(buf, sizeof buf, 5)) > 0) reply.append(buf, n);
    } catch (const CBlockingSocketException&) {
    }
    s.Cleanup();
    const size_t body = reply.find("\r\n\r\n");
    return body == std::string::npos ? reply : reply.substr(body + 4);
  }

  // Adds each fault once; the stream must go on past it with pictures and without relogin.
  void ExpectStreamSurvivesFaults(const std::vector<std::string>& faults) {
    for (const std::string& fault : faults) {
      SCOPED_TRACE(fault);
      const int before = ShownCount();
      const std::string id = Control("/_devsim/fault?" + fault + "&count=1");
      ASSERT_EQ(id.rfind("id=", 0), 0u) << id;
      // The fault fires on the next frame and is gone; pictures keep coming after it.
      EXPECT_TRUE(PumpUntil([&] { return Control("/_devsim/faults").empty(); }, 5000));
      EXPECT_TRUE(PumpUntil([&] { return ShownCount() >= before + 15; }, 5000));
    }
    EXPECT_EQ(kernel.relogins.load(), 0);
    EXPECT_EQ(g_lpApp->SessionActiveFlag, 1u);
  }

  std::vector<std::string> TraceLines() { return ts::ReadLines(m_folder.File("trace.log")); }
  bool Traced(const std::string& line) {
    for (const auto& l : TraceLines())
      if (l == line) return true;
    return false;
  }

  ts::TempFolder m_folder{"livetrace"};
  std::unique_ptr<ProgramObjects> m_objects;
  testsupport::DevsimChild devsim;
  ts::StreamKernelStandIn kernel;
  RecordingWindow window;
  ShownFrames shown;
  PictureSize expected{0, 0};
};

// ---- Pictures of every family -------------------------------------------------------------

struct FamilyCase {
  const char* product;
  const char* firmware;  // null: devsim's default
  bool versionWordLayout;
  PictureSize full;
  uint16_t fullLayout;  // layout id for full-width NTSC pictures
};

class StreamFamilyTest : public StreamSessionTest,
                         public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(StreamFamilyTest, ReceivesAndDecodesConsecutivePicturesOfTheRightSize) {
  const FamilyCase& c = GetParam();
  std::vector<std::string> args;
  if (c.firmware) args = {"--firmware", c.firmware};
  LogIn(c.product, args, 0);
  APP_DATA& a = *g_lpApp;
  EXPECT_EQ(a.m_RTPHeaderParser.m_fNewHeader, c.versionWordLayout ? 1u : 0u);
  // The main window opens laid out for half-width pictures; full-width ones re-lay it out once.
  BindLiveViewObjects();
  a.m_Settings.m_iImageResolution = 1;
  a.m_DisplayMode.SelectByFamily();
  expected = c.full;
  StartThreads();
  ASSERT_TRUE(WaitForShown(30)) << "shown " << ShownCount();
  {
    std::lock_guard<std::mutex> lock(shown.lock);
    EXPECT_EQ(shown.wrongSize, 0);
    EXPECT_EQ(shown.blank, 0);
    EXPECT_EQ(shown.noPicture, 0u);
    // One picture after the other: the device's time stamps move on between any two (the first
    // two intervals are 0: no earlier stamp, and the first stamp may be 0).  The bound is loose:
    // on a loaded machine devsim's own frames come late and the show thread may drop one.
    for (size_t i = 2; i < shown.intervals.size(); ++i) {
      EXPECT_GT(shown.intervals[i], 0u) << i;
      EXPECT_LE(shown.intervals[i], 1000u) << i;
    }
  }
  EXPECT_EQ(a.wImageWidth, c.full.w);
  EXPECT_EQ(a.wImageHeight, c.full.h);
  EXPECT_EQ(a.wLayoutId, c.fullLayout);
  EXPECT_EQ(window.relayouts.load(), 1);
  EXPECT_EQ(window.lastChannel.load(), a.m_Settings.m_bySelectedChannel);
  EXPECT_EQ(kernel.relogins.load(), 0);
  EXPECT_EQ(a.SessionActiveFlag, 1u);
  EXPECT_EQ(a.StreamRunningFlag, 1u);
  EXPECT_EQ(a.fVideoConnected, 1u);
  EXPECT_GT(a.dwRateBytes, 30u * 1000);
  EXPECT_GE(a.dwShownFrames, 30u);
  EXPECT_GE(PreAlarmRingStoredFrames(), 30u);
  EXPECT_TRUE(Traced("Got start event"));

  // The stream request as the device received it.
  bool found = false;
  for (const auto& r : devsim.Requests()) {
    if (r.path != "/Getvideo.cgi") continue;
    found = true;
    EXPECT_EQ(r.head, BuildStreamRequest(g_szCookie, g_strLocalIPAddress));
  }
  EXPECT_TRUE(found);
}

INSTANTIATE_TEST_SUITE_P(Families, StreamFamilyTest,
                         ::testing::Values(FamilyCase{"RZ1K", nullptr, true, {640, 228}, 0},
                                           FamilyCase{"RZ3K", "1045", false, {640, 228}, 0},
                                           FamilyCase{"RZ4K", nullptr, true, {640, 228}, 0},
                                           FamilyCase{"RZ2K", nullptr, true, {704, 240}, 6},
                                           FamilyCase{"RZ2K", "1005", false, {704, 240}, 6},
                                           FamilyCase{"RZ5M", nullptr, false, {704, 240}, 6},
                                           FamilyCase{"RZ7M", nullptr, false, {704, 240}, 6},
                                           FamilyCase{"RZ8P", nullptr, true, {640, 480}, 12}),
                         [](const auto& info) {
                           return std::string(info.param.product) +
                                  (info.param.versionWordLayout ? "_1" : "_2");
                         });

// ---- Header reactions -----------------------------------------------------------------------

TEST_F(StreamSessionTest, MotionStartsAndEndsAlarmSoundAndRecording) {
  LogIn("RZ2K", {"--set", "stream.motion=0x4"}, 1);
  StartThreads();
  ASSERT_TRUE(PumpUntil([] { return g_AlarmStarts > 0; }, 10000));
  EXPECT_TRUE(PumpUntil([] { return g_lpApp->m_AlarmRecord.IsRecording(); }, 5000));
  EXPECT_EQ(FilesIn(m_folder.Path() + "ALARM_MJPEG_*.qdx"), 1u);
  EXPECT_EQ(g_AlarmStops.load(), 0);
  EXPECT_EQ(g_lpApp->m_RTPHeaderParser.m_wAlarmData, 4);
  EXPECT_EQ(Control("/_devsim/set?stream.motion=off").rfind("ok", 0), 0u);
  EXPECT_TRUE(PumpUntil([] { return g_AlarmStops > 0; }, 15000));
  EXPECT_TRUE(PumpUntil([] { return !g_lpApp->m_AlarmRecord.IsRecording(); }, 5000));
  // The device clock is kept, and told to the window when it changes.
  EXPECT_TRUE(PumpUntil([] { return g_ClockChanges > 0; }, 5000));
  EXPECT_GE(g_lpApp->stDeviceTime.wYear, 2000);
}

TEST_F(StreamSessionTest, MotionSwitchesAMultiChannelRecorderToItsChannel) {
  g_lpApp->m_Settings.m_byAlarmSwitchVideo = 1;
  LogIn("RZ1K", {"--set", "multich=1", "--set", "stream.motion=0x4"}, 1);
  StartThreads();
  EXPECT_TRUE(PumpUntil([&] { return window.Has("SwitchChannel 3"); }, 10000));
  // Not a family whose alarms sound here.
  EXPECT_EQ(g_AlarmStarts.load(), 0);
  EXPECT_FALSE(g_lpApp->m_AlarmRecord.IsRecording());
}

TEST_F(StreamSessionTest, RetrNetworkBackupAndCameraSensorReachTheirTargets) {
  LogIn(
      "RZ8P",
      {"--set", "stream.retr=1", "--set", "stream.network_backup=1", "--set", "stream.sensor=0x42"},
      1);
  StartThreads();
  EXPECT_TRUE(
      PumpUntil([&] { return window.Has("SetStatusText Network backup,stop video!!"); }, 10000));
  EXPECT_TRUE(PumpUntil([&] { return window.Has("PostCmosState 66"); }, 5000));
  EXPECT_TRUE(PumpUntil([] { return g_lpApp->m_ControlD.RETRState() == 1; }, 5000));
  EXPECT_TRUE(PumpUntil([] { return g_ClockChanges > 0; }, 5000));
}

TEST_F(StreamSessionTest, FramesWithoutPictureShowABlackPictureOfTheBlankSize) {
  LogIn("RZ1K", {"--set", "stream.video_loss=1"}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  std::lock_guard<std::mutex> lock(shown.lock);
  EXPECT_EQ(shown.noPicture, 1u);
  EXPECT_EQ(shown.width, 320);  // half width
  EXPECT_EQ(shown.height, 228);
  EXPECT_EQ(shown.blank, shown.count);
}

// ---- Stream faults: resynchronised, no relogin ----------------------------------------------

const std::vector<std::string> kStreamFaults = {
    "name=stream-garbage&http=1",
    "name=stream-garbage&bytes=300",
    "name=stream-no-soi",
    "name=stream-payload-zero",
    "name=stream-app0",
    "name=stream-split&at=4&delay=100",
    "name=stream-split&at=30&delay=100",
    "name=stream-oversize",
};

TEST_F(StreamSessionTest, StreamFaultsAreResynchronisedWithoutReloginVersionWordLayout) {
  LogIn("RZ2K", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  std::vector<std::string> faults = kStreamFaults;
  faults.push_back("name=stream-bad-version");
  ExpectStreamSurvivesFaults(faults);
}

TEST_F(StreamSessionTest, StreamFaultsAreResynchronisedWithoutReloginPresenceMaskLayout) {
  LogIn("RZ5M", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  ExpectStreamSurvivesFaults(kStreamFaults);
}

// ---- A long stream with a fault every 50 frames -----------------------------------------------

struct LongStreamCase {
  const char* product;
  int dropped;       // frames of the 20 faulty ones not shown
  bool clockPosted;  // device clock changes are told to the window
};

class LongStreamTest : public StreamSessionTest,
                       public ::testing::WithParamInterface<LongStreamCase> {};

// 1000 frames with the motion word in every header; from frame 50 on every 50th frame is faulty,
// in turn: data not starting FF D8, a header with payload length 0 in front of the frame, a
// picture starting FF D8 FF E0, and a payload longer than stated or than a slot; frame 1001 ends
// the stream. Each faulty frame's header still reacts, so the alarm sound is asked for once per
// header; the frames shown, stored and counted are the sound ones.
TEST_P(LongStreamTest, FaultEveryFiftyFramesKeepsFramesReactionsAndStatistics) {
  const LongStreamCase& c = GetParam();
  constexpr int kFrames = 1000;
  constexpr int kEach = 5;  // frames of each fault kind
  LogIn(c.product,
        {"--fps", "60", "--set", "stream.motion=0x4", "--fault", "stream-no-soi,skip=49,every=200",
         "--fault", "stream-payload-zero,skip=99,every=200", "--fault",
         "stream-app0,skip=149,every=200", "--fault", "stream-oversize,skip=199,every=200",
         "--fault", "stream-drop,skip=1000"},
        1);
  const uint32_t storedBefore = PreAlarmRingStoredFrames();
  StartThreads();
  const int shownFrames = kFrames - c.dropped;
  ASSERT_TRUE(PumpUntil([&] { return kernel.relogins > 0; }, 60000)) << "shown " << ShownCount();
  // The last frame may still be on its way to the renderer when the relogin is asked for.
  PumpUntil([&] { return ShownCount() >= shownFrames; }, 2000);
  PumpUntil([] { return false; }, 300);
  // The motion kept one alarm recording open to the end; stopping the threads closes it.
  const bool recordingAtEnd = g_lpApp->m_AlarmRecord.IsRecording();
  StopThreads();
  PumpUntil([] { return false; }, 100);

  APP_DATA& a = *g_lpApp;
  EXPECT_EQ(ShownCount(), shownFrames);
  EXPECT_EQ(a.dwShownFrames, static_cast<uint32_t>(shownFrames));
  EXPECT_EQ(PreAlarmRingStoredFrames() - storedBefore, static_cast<uint32_t>(shownFrames));
  {
    std::lock_guard<std::mutex> lock(shown.lock);
    EXPECT_EQ(shown.blank, 0);
    EXPECT_EQ(shown.noPicture, 0u);
  }
  // Every header reacts: the 1000 frames' and the extra ones with payload length 0.
  EXPECT_EQ(g_AlarmStarts.load(), kFrames + kEach);
  EXPECT_EQ(g_AlarmStops.load(), 0);
  EXPECT_TRUE(recordingAtEnd);
  EXPECT_FALSE(a.m_AlarmRecord.IsRecording());
  EXPECT_EQ(FilesIn(m_folder.Path() + "ALARM_MJPEG_*.qdx"), 1u);
  EXPECT_EQ(a.m_RTPHeaderParser.m_wAlarmData, 4);
  EXPECT_GE(a.stDeviceTime.wYear, 2000);
  EXPECT_EQ(g_ClockChanges.load() > 0, c.clockPosted);
  // Bytes of the accepted frames: at least their pictures, at most a chunk more each.
  EXPECT_GT(a.dwRateBytes, static_cast<uint32_t>(shownFrames) * 1000);
  EXPECT_LT(a.dwRateBytes, static_cast<uint32_t>(shownFrames) * 70000);
  EXPECT_EQ(kernel.relogins.load(), 1);
  EXPECT_TRUE(Traced("if (RtpRecvLength == SOCKET_ERROR)"));
}

// Version-word layout: the oversized payload stops at 65535 bytes and fits a slot, so it is
// shown. Presence-mask layout: 150000 bytes are read past.
INSTANTIATE_TEST_SUITE_P(Layouts, LongStreamTest,
                         ::testing::Values(LongStreamCase{"RZ2K", 10, true},
                                           LongStreamCase{"RZ5M", 15, true}),
                         [](const auto& info) { return std::string(info.param.product); });

// ---- Ends of a session ----------------------------------------------------------------------

TEST_F(StreamSessionTest, DroppedStreamAsksForReloginAtOnce) {
  LogIn("RZ2K", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  ASSERT_EQ(Control("/_devsim/fault?name=stream-drop&count=1").rfind("id=", 0), 0u);
  const DWORD dropped = GetTickCount();
  ASSERT_TRUE(PumpUntil([&] { return kernel.relogins > 0; }, 5000));
  EXPECT_LT(kernel.reloginTick - dropped, 3000u);
  EXPECT_TRUE(ThreadEnded(g_lpApp->h_GetJpegImageThread, 1000));
  EXPECT_TRUE(Traced("if (RtpRecvLength == SOCKET_ERROR)"));
  EXPECT_EQ(kernel.relogins.load(), 1);
}

TEST_F(StreamSessionTest, StreamCutInsideAPictureAsksForRelogin) {
  LogIn("RZ2K", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  ASSERT_EQ(Control("/_devsim/fault?name=stream-drop&bytes=3000&count=1").rfind("id=", 0), 0u);
  ASSERT_TRUE(PumpUntil([&] { return kernel.relogins > 0; }, 5000));
  EXPECT_TRUE(Traced("RtpRecvLength == SOCKET_ERROR"));
}

TEST_F(StreamSessionTest, StalledStreamAsksForReloginAfterTwentySeconds) {
  LogIn("RZ5M", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  ASSERT_EQ(Control("/_devsim/fault?name=stream-stall").rfind("id=", 0), 0u);
  int last = ShownCount();
  DWORD lastFrame = GetTickCount();
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (ShownCount() != last) {
          last = ShownCount();
          lastFrame = GetTickCount();
        }
        return kernel.relogins > 0;
      },
      30000));
  const DWORD waited = kernel.reloginTick - lastFrame;
  EXPECT_GE(waited, 19000u);
  EXPECT_LE(waited, 23000u);
  EXPECT_TRUE(Traced("if (RtpRecvLength == SOCKET_ERROR)"));
}

TEST_F(StreamSessionTest, RendererThatNeverFinishesEndsTheSessionAfterTenSeconds) {
  kernel.drawing = false;
  LogIn("RZ2K", {}, 1);
  StartThreads();
  const DWORD start = GetTickCount();
  ASSERT_TRUE(PumpUntil([&] { return kernel.relogins > 0; }, 20000));
  EXPECT_GE(kernel.reloginTick - start, 9500u);
  EXPECT_EQ(StreamStatusCode.load(), kStreamNoFreeSlot);
  EXPECT_TRUE(Traced("dwResult == WAIT_TIMEOUT Get_Image_TimeOut_Message"));
  EXPECT_EQ(g_lpApp->SessionActiveFlag, 0u);
  EXPECT_EQ(g_lpApp->StreamRunningFlag, 0u);
}

TEST_F(StreamSessionTest, RefusedConnectionAsksForRelogin) {
  LogIn("RZ2K", {}, 1);
  devsim.Stop();
  StartThreads();
  ASSERT_TRUE(PumpUntil([&] { return kernel.relogins > 0; }, 25000));
  EXPECT_EQ(StreamStatusCode.load(), kStreamConnectFailed);
  EXPECT_TRUE(Traced("sClient.Connect failed"));
  EXPECT_EQ(g_lpApp->SessionActiveFlag, 0u);
}

TEST_F(StreamSessionTest, QuietStopAnswersAndEndsWithoutRelogin) {
  LogIn("RZ8P", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  APP_DATA& a = *g_lpApp;
  SetEvent(a.h_NotifyGetJPEGImageThreadResetEvent);
  EXPECT_EQ(WaitForSingleObject(a.h_FeedBackForNotifyResetEvent, 2000), WAIT_OBJECT_0);
  EXPECT_TRUE(ThreadEnded(a.h_GetJpegImageThread, 1000));
  EXPECT_EQ(a.SessionActiveFlag, 0u);
  EXPECT_EQ(a.StreamRunningFlag, 0u);
  // A stall while nothing more arrives: no relogin follows.
  PumpUntil([] { return false; }, 500);
  EXPECT_EQ(kernel.relogins.load(), 0);
}

TEST_F(StreamSessionTest, StopWhileBlockedInAReadEndsAtOnce) {
  LogIn("RZ2K", {}, 1);
  StartThreads();
  ASSERT_TRUE(WaitForShown(5));
  ASSERT_EQ(Control("/_devsim/fault?name=stream-stall").rfind("id=", 0), 0u);
  PumpUntil([] { return false; }, 1000);  // the receive thread now waits in a read
  const DWORD start = GetTickCount();
  StopThreads();
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_EQ(kernel.relogins.load(), 0);
}

}  // namespace
