// End-to-end frame rate of the live view with recording off and on, under Wine against devsim:
// the three stream threads, the kernel message thread drawing each picture into a window, and the
// recorders writing ".qdx" files through the Windows file system (a manual recording, or alarm
// recordings from devsim's alarm schedule). One session per case (login, stream, stop); in it,
// windows of a few seconds alternate recording off, on, off, on, ... One table row per case gives
// the shown frames per second (median of the windows) off and on, their ratio, and the median of
// each pair's ratio, which drifting machine load disturbs least (goal: at least 0.90). Every
// record file is checked whole by the player stand-in's check.
// The unpaced case: devsim sends 704 x 240 pictures as fast as the client takes them, each one
// line-doubled and drawn, recording off; one window gives the shown frames per second and the
// process's CPU time per shown frame, and the wineserver's when its pid is given.
//
// usage: ost_live_record_bench [--fps N] [--seconds S] [--warmup S] [--pairs N]
//                              [--case manual|alarm|unpaced]... [--unpaced-seconds S]
//                              [--wineserver-pid N] [--clock-ticks N] [--one-core] [--smoke]
// --smoke: one pair of windows per case. Exit status 1 when a case failed: a window without a
// frame shown, the stream lost, no record file, or a record file that is not whole.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/app_data.h"
#include "live/live_view_window.h"
#include "live/stream_pipeline.h"
#include "mainwnd/frame_overlay.h"
#include "mainwnd/picture_draw.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/login_exchange.h"
#include "platform/player/record_file_check.h"
#include "platform/trace_log.h"
#include "program/program_objects.h"
#include "record/record_app.h"
#include "resize/resize_image.h"
#include "session/kernel_mailbox.h"
#include "session/session_resources.h"
#include "session/stream_threads.h"
#include "bench/process_cpu.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/stream_events.h"
#include "tests/support/win_process.h"

namespace {
namespace ts = testsupport;

struct Options {
  int fps = 60;
  double seconds = 3.0;  // per window: one period of the alarm schedule
  double warmup = 1.5;   // after the stream starts
  int pairs = 20;
  std::vector<std::string> cases{"manual", "alarm", "unpaced"};
  bool smoke = false;
  double unpacedSeconds = 10.0;
  int wineserverPid = 0;  // 0: its CPU time is not read
  int clockTicks = 100;   // of /proc/<pid>/stat, per second
  bool oneCore = false;   // the unpaced case on the first processor only (devsim stays free)
};

// ---- The live view: each picture drawn into a window, counted ---------------------------------
class DrawingWindow : public LiveViewWindow {
 public:
  explicit DrawingWindow(HWND w) : m_hWnd(w) {}
  // Line-doubles pictures as the program's frame renderer does (the same plan and resize call).
  void SetLineDoubling(bool on) {
    m_lineDouble = on;
    if (on) m_doubled.resize(APP_DATA::kImageSlotBytes);
  }
  int DrawVideoFrame(const ShownFrame& frame) override {
    ShownFrame f = frame;
    if (m_lineDouble) {
      const FramePlan plan = PlanFrame(f.wWidth, f.wHeight, false, APP_DATA::kImageSlotBytes);
      if (plan.lineDouble) {
        const int32_t step = f.wWidth * 3;
        ResizeImage8uC3(f.lpPicture, ImgSize{f.wWidth, f.wHeight}, step,
                        ImgRect{0, 0, f.wWidth, f.wHeight}, m_doubled.data(), step,
                        ImgSize{plan.width, plan.height}, 1.0, 2.0, kResizeLinear);
        f.lpPicture = m_doubled.data();
        f.wHeight = plan.height;
        ++doubled;
      } else {
        ++undoubled;
      }
    }
    const HDC dc = GetDC(m_hWnd);
    DrawBgrPicture(dc, 0, 0, f.wWidth, f.wHeight, 0, 0, f.lpPicture, f.wWidth, f.wHeight, m_rows);
    ReleaseDC(m_hWnd, dc);
    if (!drawThread)
      DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &drawThread, 0,
                      FALSE, DUPLICATE_SAME_ACCESS);
    ++drawn;
    return 1;
  }
  HANDLE drawThread = nullptr;  // the thread that draws, for its CPU time
  std::atomic<uint32_t> drawn{0};
  std::atomic<uint32_t> doubled{0};
  // Pictures drawn without doubling while doubling was asked for (the two counters above are
  // read at slightly different moments while pictures are drawn, so they are not compared).
  std::atomic<uint32_t> undoubled{0};

 private:
  HWND m_hWnd;
  bool m_lineDouble = false;
  std::vector<uint8_t> m_doubled;
  std::vector<uint8_t> m_rows;  // the picture widened for the screen
};

LRESULT CALLBACK QuietWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(w, m, wp, lp);
}

void PumpFor(double seconds) {
  const DWORD start = GetTickCount();
  const DWORD span = static_cast<DWORD>(seconds * 1000);
  while (GetTickCount() - start < span) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
}

bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (cond()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(5);
  }
}

double Now() {
  static const double perSecond = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perSecond;
}

struct CaseResult {
  std::string name;
  std::vector<double> off, on;  // frames/s of each window
  int files = 0, wholeFiles = 0;
  uint32_t recordedFrames = 0;
  bool failed = false;
  // The unpaced case
  double seconds = 0, cpuSeconds = 0, wineserverSeconds = -1;  // -1: not read
  uint32_t shown = 0, doubled = 0;
  // CPU seconds of the receive, compose, show and drawing threads over the same window.
  double threadSeconds[4] = {};
};

constexpr const char* kThreadNames[4] = {"receive", "compose", "show", "draw"};

// User + kernel time of one thread; 0 without a handle.
double ThreadCpuSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!thread || !GetThreadTimes(thread, &created, &exited, &kernel, &user)) return 0;
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

// One session per case: login, the stream, then windows of `seconds` with recording off and
// on in turn. The close of a recording ends before the next window starts, so that an off
// window carries nothing of it.
class Session {
 public:
  Session(const Options& o, HWND window, int devsimPort) : m_opt(o), m_port(devsimPort) {
    m_window = new DrawingWindow(window);
  }
  ~Session() { delete m_window; }

  // One window with recording off, every picture line-doubled and drawn.
  void RunUnpaced(const std::string& folder, CaseResult& cr) {
    m_window->SetLineDoubling(true);
    if (!SetUp(folder) || !LogIn() || !StartThreads()) {
      std::fprintf(stderr, "%s: set-up, login or threads failed\n", cr.name.c_str());
      cr.failed = true;
      TearDown();
      return;
    }
    PumpFor(m_opt.warmup);
    const uint32_t n0 = m_window->drawn.load(), d0 = m_window->doubled.load();
    const uint32_t u0 = m_window->undoubled.load();
    APP_DATA& a = *g_lpApp;
    const HANDLE threads[4] = {a.h_GetJpegImageThread.h, a.h_ComposeImageDataThread.h,
                               a.h_ShowImageDataThread.h, m_window->drawThread};
    double threadCpu0[4];
    for (int i = 0; i < 4; ++i) threadCpu0[i] = ThreadCpuSeconds(threads[i]);
    const double cpu0 = ProcessCpuSeconds();
    const double ws0 = HostProcessCpuSeconds(m_opt.wineserverPid, m_opt.clockTicks);
    const double t0 = Now();
    PumpFor(m_opt.unpacedSeconds);
    cr.seconds = Now() - t0;
    const double ws1 = HostProcessCpuSeconds(m_opt.wineserverPid, m_opt.clockTicks);
    cr.cpuSeconds = ProcessCpuSeconds() - cpu0;
    for (int i = 0; i < 4; ++i) cr.threadSeconds[i] = ThreadCpuSeconds(threads[i]) - threadCpu0[i];
    cr.shown = m_window->drawn.load() - n0;
    cr.doubled = m_window->doubled.load() - d0;
    if (ws0 >= 0 && ws1 >= 0) cr.wineserverSeconds = ws1 - ws0;
    std::fprintf(stderr, "%s: %u frames shown (%u doubled) in %.2f s, %.2f s CPU\n",
                 cr.name.c_str(), cr.shown, cr.doubled, cr.seconds, cr.cpuSeconds);
    if (cr.shown == 0 || m_window->undoubled.load() != u0) cr.failed = true;
    if (m_kernel.relogins != 0) {
      std::fprintf(stderr, "%s: the stream was lost\n", cr.name.c_str());
      cr.failed = true;
    }
    TearDown();
  }

  void RunCase(bool alarmCase, const std::string& folder, CaseResult& cr) {
    if (!SetUp(folder) || !LogIn() || !StartThreads()) {
      std::fprintf(stderr, "%s: set-up, login or threads failed\n", cr.name.c_str());
      cr.failed = true;
      TearDown();
      return;
    }
    APP_DATA& a = *g_lpApp;
    PumpFor(m_opt.warmup);
    for (int pair = 0; pair < m_opt.pairs && !cr.failed; ++pair) {
      for (const bool on : {false, true}) {
        if (on && !alarmCase && a.m_UserRecord.CreateRecordFile(folder) != 1) {
          std::fprintf(stderr, "%s: the manual record file was not created\n", cr.name.c_str());
          cr.failed = true;
          break;
        }
        if (on && alarmCase) a.m_Settings.m_byAlarmRecord = 1;  // "Alarm Trigger Record"
        const uint32_t n0 = m_window->drawn.load();
        const double t0 = Now();
        PumpFor(m_opt.seconds);
        const uint32_t n1 = m_window->drawn.load();
        const double fps = (n1 - n0) / (Now() - t0);
        (on ? cr.on : cr.off).push_back(fps);
        std::fprintf(stderr, "%s %s: %.2f frames/s\n", cr.name.c_str(), on ? "on " : "off", fps);
        if (n1 == n0) cr.failed = true;
        if (on && !alarmCase) a.m_UserRecord.StopRecord();
        if (on && alarmCase) {
          // The receive thread closes an open alarm file at the next header.
          a.m_Settings.m_byAlarmRecord = 0;
          PumpUntil([&] { return !a.m_AlarmRecord.IsRecording(); }, 10000);
        }
      }
    }
    if (m_kernel.relogins != 0) {
      std::fprintf(stderr, "%s: the stream was lost\n", cr.name.c_str());
      cr.failed = true;
    }
    TearDown();
    CheckFiles(folder, alarmCase, cr);
    std::fprintf(stderr, "%s: %d/%d files whole, %u frames recorded\n", cr.name.c_str(),
                 cr.wholeFiles, cr.files, cr.recordedFrames);
    if (cr.files == 0 || cr.wholeFiles != cr.files) cr.failed = true;
  }

 private:
  bool SetUp(const std::string& folder) {
    m_objects = std::make_unique<ProgramObjects>();
    g_lpApp = new APP_DATA(m_objects->Parts());
    BindRecordObjects(m_objects->m_Record, folder);
    std::memset(g_szCookie, 0, sizeof g_szCookie);
    APP_DATA& a = *g_lpApp;
    if (AllocateSystemBuffer() != 1 || InitialSemaphore() != 1) return false;
    ts::MakeStreamEvents(a);
    a.h_MainDialogHandle = CreateWindowExA(0, "OstBenchMain", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                           nullptr, GetModuleHandleA(nullptr), nullptr);
    a.m_Settings.m_strRecordPath = folder;
    a.m_Settings.m_byAlarmRecord = 0;
    TraceLogInit(300, folder);
    a.m_StreamPipeline.SetWindow(m_window);
    m_kernel.Start();
    return true;
  }

  bool LogIn() {
    APP_DATA& a = *g_lpApp;
    {
      std::lock_guard<std::mutex> lock(SessionMutex());
      a.m_Settings.m_strServerName = "127.0.0.1";
      a.m_Settings.m_wWebPort = static_cast<uint16_t>(m_port);
    }
    ts::PointProgramSessionAt(static_cast<uint16_t>(m_port));
    a.m_Settings.m_iImageResolution = 0;  // full size
    return ts::LogInOnly(kReloginLogin) == LoginOutcome::kAccepted &&
           ts::AskDeviceInformation(kReloginLogin) == 1;
  }

  // As the login does: the three stream threads and both recorders' threads.
  bool StartThreads() {
    APP_DATA& a = *g_lpApp;
    if (!StartStreamThreads(a)) return false;
    if (a.m_AlarmRecord.CreateThread(0) != 1 || a.m_UserRecord.CreateThread(0) != 1) return false;
    SetEvent(a.h_StartToGetJpegImageEvent);
    return true;
  }

  // Signals every stop event and waits for each thread; the recorders finish their files.
  void StopThreads() {
    APP_DATA& a = *g_lpApp;
    for (HANDLE stop : {a.h_NotifyGetJPEGImageThreadResetEvent, a.h_EndofShowImageEvent,
                        a.h_EndofGetJpegImageEvent})
      a.m_StreamPipeline.SetStopEvent(stop);
    for (ThreadSlot* slot :
         {&a.h_GetJpegImageThread, &a.h_ComposeImageDataThread, &a.h_ShowImageDataThread}) {
      if (!slot->h) continue;
      if (WaitForSingleObject(slot->h, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "a stream thread did not end\n");
        std::exit(2);  // nothing sound is left to measure
      }
      CloseHandle(slot->h);
      slot->h = nullptr;
    }
    a.m_AlarmRecord.CloseThread();
    a.m_UserRecord.CloseThread();
    a.m_UserRecord.StopRecord();
  }

  void TearDown() {
    if (!g_lpApp) return;
    StopThreads();
    m_kernel.Stop();
    APP_DATA& a = *g_lpApp;
    a.m_StreamPipeline.SetWindow(nullptr);
    TraceLogDone();
    if (a.h_MainDialogHandle) DestroyWindow(a.h_MainDialogHandle);
    ts::CloseStreamEvents(a);
    FreeSemaphore();
    FreeSystemBuffer();
    m_objects.reset();
    delete g_lpApp;
    g_lpApp = nullptr;
  }

  static void CheckFiles(const std::string& folder, bool alarmCase, CaseResult& cr) {
    for (const std::string& name :
         ts::FilesMatching(folder, alarmCase ? "ALARM_MJPEG_*.qdx" : "USER_MJPEG_*.qdx")) {
      std::ifstream in(name, std::ios::binary);
      const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
      const RecordFileVerdict v = CheckRecordFile(bytes.data(), bytes.size());
      ++cr.files;
      if (v.ok) {
        ++cr.wholeFiles;
        cr.recordedFrames += v.frames;
      } else {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), VerdictText(v).c_str());
      }
    }
  }

  const Options& m_opt;
  int m_port;
  DrawingWindow* m_window;
  ts::StreamKernelStandIn m_kernel;
  std::unique_ptr<ProgramObjects> m_objects;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  bool casesGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--smoke") {
      o.smoke = true;
      o.pairs = 1;
      o.warmup = 1.0;
      o.unpacedSeconds = 1.0;
    } else if (arg == "--fps" && hasValue) {
      o.fps = std::atoi(argv[++i]);
    } else if (arg == "--seconds" && hasValue) {
      o.seconds = std::atof(argv[++i]);
    } else if (arg == "--warmup" && hasValue) {
      o.warmup = std::atof(argv[++i]);
    } else if (arg == "--pairs" && hasValue) {
      o.pairs = std::atoi(argv[++i]);
    } else if (arg == "--case" && hasValue) {
      if (!casesGiven) o.cases.clear();
      casesGiven = true;
      o.cases.push_back(argv[++i]);
    } else if (arg == "--unpaced-seconds" && hasValue) {
      o.unpacedSeconds = std::atof(argv[++i]);
    } else if (arg == "--wineserver-pid" && hasValue) {
      o.wineserverPid = std::atoi(argv[++i]);
    } else if (arg == "--one-core") {
      o.oneCore = true;
    } else if (arg == "--clock-ticks" && hasValue) {
      o.clockTicks = std::atoi(argv[++i]);
    } else {
      return false;
    }
  }
  for (const std::string& c : o.cases)
    if (c != "manual" && c != "alarm" && c != "unpaced") return false;
  return o.fps >= 1 && o.fps <= 60 && o.seconds > 0 && o.warmup >= 0 && o.pairs >= 1 &&
         o.unpacedSeconds > 0 && o.clockTicks > 0;
}
}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseOptions(argc, argv, opt)) {
    std::fprintf(stderr,
                 "usage: ost_live_record_bench [--fps 1-60] [--seconds S] [--warmup S] "
                 "[--pairs N] [--case manual|alarm|unpaced]... [--unpaced-seconds S] "
                 "[--wineserver-pid N] [--clock-ticks N] [--one-core] [--smoke]\n");
    return 2;
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(1, 1), &wsa);
  char local[16] = {};
  GetLocalIpString(local, sizeof local);
  g_strLocalIPAddress = local;
  WNDCLASSA wc{};
  wc.lpfnWndProc = QuietWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "OstBenchMain";
  RegisterClassA(&wc);
  wc.lpszClassName = "OstBenchLive";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&wc);
  const HWND live = CreateWindowExA(0, "OstBenchLive", "Live", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                    0, 700, 540, nullptr, nullptr, wc.hInstance, nullptr);

  ts::TempFolder folder("ost-live-record-bench");
  std::vector<CaseResult> results;
  std::vector<CaseResult> unpaced;
  for (const std::string& c : opt.cases) {
    if (c == "unpaced") {
      // RZ2K in NTSC at full size: 704 x 240 fields, sent back to back (devsim's picture
      // changes once a second), each line-doubled to 704 x 480 and drawn.
      ts::DevsimChild devsim;
      CaseResult cr;
      cr.name = "unpaced_RZ2K_704x240_doubled";
      if (!devsim.Start({"--product", "RZ2K", "--set", "videomode=0", "--set", "stream.paced=0",
                         "--fps", "1"})) {
        std::fprintf(stderr, "devsim did not start: %s\n", devsim.error().c_str());
        cr.failed = true;
      } else {
        const std::string caseFolder = folder.File(c + "\\");
        CreateDirectoryA(caseFolder.c_str(), nullptr);
        DWORD_PTR mask = 0, system = 0;
        GetProcessAffinityMask(GetCurrentProcess(), &mask, &system);
        if (opt.oneCore) SetProcessAffinityMask(GetCurrentProcess(), 1);
        Session session(opt, live, devsim.port());
        session.RunUnpaced(caseFolder, cr);
        if (opt.oneCore) SetProcessAffinityMask(GetCurrentProcess(), mask);
        devsim.Stop();
      }
      unpaced.push_back(cr);
      continue;
    }
    const bool alarm = c == "alarm";
    // Manual: RZ8P at full size, the largest pictures devsim makes (640 x 480, about 23 KB).
    // Alarm: a family whose alarms record, RZ2K in PAL at full size (704 x 288), with alarms
    // of 1.5 s in every 3 s: each a new file starting with the 20 frames before it.
    std::vector<std::string> args = {"--fps", std::to_string(opt.fps)};
    if (alarm)
      args.insert(args.end(), {"--product", "RZ2K", "--set", "videomode=1", "--set",
                               "stream.motion=0x4/1500/3000"});
    else
      args.insert(args.end(), {"--product", "RZ8P"});
    ts::DevsimChild devsim;
    CaseResult cr;
    cr.name = c + (alarm ? "_RZ2K_704x288_" : "_RZ8P_640x480_") + std::to_string(opt.fps) + "fps";
    if (!devsim.Start(args)) {
      std::fprintf(stderr, "devsim did not start: %s\n", devsim.error().c_str());
      cr.failed = true;
      results.push_back(cr);
      continue;
    }
    const std::string caseFolder = folder.File(c + "\\");
    CreateDirectoryA(caseFolder.c_str(), nullptr);
    Session session(opt, live, devsim.port());
    session.RunCase(alarm, caseFolder, cr);
    devsim.Stop();
    results.push_back(cr);
  }
  DestroyWindow(live);

  bool failed = false;
  for (const CaseResult& cr : unpaced) {
    std::printf("## ost_live_record_bench unpaced (Windows, under Wine)\n");
    std::printf(
        "devsim sending without pacing on 127.0.0.1; %.1f s after %.1f s; every picture "
        "line-doubled and drawn%s; CPU = this process's user + kernel time%s\n\n",
        cr.seconds, opt.warmup, opt.oneCore ? "; this process on one processor" : "",
        cr.wineserverSeconds >= 0 ? "; wineserver = its user + system time" : "");
    std::printf(
        "| case | shown frames/s | goal | CPU ms per shown frame | wineserver ms per shown "
        "frame |\n|---|---|---|---|---|\n");
    const double fps = cr.seconds > 0 ? cr.shown / cr.seconds : 0;
    char ws[32] = "-";
    if (cr.wineserverSeconds >= 0 && cr.shown)
      std::snprintf(ws, sizeof ws, "%.3f", cr.wineserverSeconds * 1e3 / cr.shown);
    std::printf("| %s | %.1f | %s | %.3f | %s |\n\n", cr.name.c_str(), fps,
                fps >= 200 ? ">= 200 met" : ">= 200 NOT MET",
                cr.shown ? cr.cpuSeconds * 1e3 / cr.shown : 0.0, ws);
    if (cr.shown) {
      double rest = cr.cpuSeconds;
      std::printf("CPU ms per shown frame by thread:");
      for (int i = 0; i < 4; ++i) {
        std::printf(" %s %.3f,", kThreadNames[i], cr.threadSeconds[i] * 1e3 / cr.shown);
        rest -= cr.threadSeconds[i];
      }
      std::printf(" the rest %.3f\n\n", rest * 1e3 / cr.shown);
    }
    failed = failed || cr.failed;
  }
  if (results.empty()) {
    std::fflush(stdout);
    WSACleanup();
    if (failed) std::fprintf(stderr, "a run failed (see above)\n");
    return failed ? 1 : 0;
  }
  std::printf("## ost_live_record_bench (Windows, under Wine)\n");
  std::printf(
      "devsim at %d frames/s on 127.0.0.1; one session per case, %d pairs of %.1f s windows "
      "with recording off, on, off, on, ... after %.1f s; frames/s drawn (median of the "
      "windows); ratio = on / off of the medians; pair ratio = median of each pair's on / off, "
      "the goal's measure\n\n",
      opt.fps, opt.pairs, opt.seconds, opt.warmup);
  std::printf(
      "| case | off fps | on fps | ratio | pair ratio | goal | record files whole | frames "
      "recorded |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (const CaseResult& cr : results) {
    const double off = Median(cr.off), on = Median(cr.on);
    std::vector<double> pairRatios;
    for (size_t i = 0; i < cr.off.size() && i < cr.on.size(); ++i)
      if (cr.off[i] > 0) pairRatios.push_back(cr.on[i] / cr.off[i]);
    const double pairRatio = Median(pairRatios);
    std::printf("| %s | %.1f | %.1f | %.2f | %.2f | %s | %d / %d | %u |\n", cr.name.c_str(), off,
                on, off > 0 ? on / off : 0.0, pairRatio,
                pairRatio >= 0.90 ? ">= 0.90 met" : ">= 0.90 NOT MET", cr.wholeFiles, cr.files,
                cr.recordedFrames);
    failed = failed || cr.failed;
  }
  std::printf("\n");
  std::fflush(stdout);
  WSACleanup();
  if (failed) std::fprintf(stderr, "a run failed (see above)\n");
  return failed ? 1 : 0;
}
