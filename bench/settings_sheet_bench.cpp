// The settings sheet opened and one page applied, under Wine against devsim, as the main window
// does it (the open also split into the fetch and the sheet's making and painting). Each round: the
// configuration fetched as the program plans it ("ALL" at once, or block by block), the sheet
// created through the program's factory and its first page painted (the open); then a new PPPoE
// user name typed on the Network page and APPLY pressed, which sends the PPPOE block and closes the
// sheet (the apply); the sheet deleted. The table gives the median over the rounds of the wall time
// of each step and, beside it, the CPU time of this process (GetProcessTimes) and of the wineserver
// (user + system time from /proc/<pid>/stat through drive Z:, when its pid is given; clock-tick
// resolution, so also given as the mean). No live stream runs. Every apply is checked: exactly one
// "/SetSysCfg.cgi", no message box.
//
// usage: ost_settings_sheet_bench [--rounds N] [--product ID] [--firmware V]
//                                 [--wineserver-pid N] [--clock-ticks N] [--smoke]
// --smoke: two rounds. Exit status 1 when a round failed.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/app_data.h"
#include "app/sys_cfg_items.h"
#include "mainwnd/main_window_commands.h"
#include "mainwnd/settings_sheet_slot.h"
#include "net/device_session.h"
#include "net/local_ip.h"
#include "net/login_exchange.h"
#include "program/program_objects.h"
#include "settings/my_system_dialog.h"
#include "bench/process_cpu.h"
#include "tests/support/device_login.h"
#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace {
namespace ts = testsupport;

constexpr int kApply = 8001;
constexpr int kPppoeUser = 1043;

struct Options {
  int rounds = 20;
  std::string product = "RZ2K";
  std::string firmware = "1035";
  int wineserverPid = 0;  // 0: its CPU time is not read
  int clockTicks = 100;   // of /proc/<pid>/stat, per second
};

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

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// The fetch of the main window's system-configuration button.
bool FetchSystemConfig(APP_DATA& a) {
  for (const FetchStep& step : SystemConfigFetchPlan(a.str_ProductID, a.str_FWVersion)) {
    uint8_t* copy = nullptr;
    if (step.option != kSysCfgAll) {
      copy = SysCfgCopy(a, step.option).data();
      if (step.copy == FetchCopy::kOnline) std::memset(copy, 0, step.size);
    }
    if (!GetSysCfgItem(step.option, copy, step.size)) return false;
  }
  return true;
}

// The visible page of the sheet that holds control id.
HWND PageWith(HWND sheet, int id) {
  for (HWND c = GetWindow(sheet, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
    if (GetDlgItem(c, id) && IsWindowVisible(c)) return c;
  return nullptr;
}

struct Sample {
  double wall = 0, cpu = 0, wineserver = -1;
};

class Meter {
 public:
  explicit Meter(const Options& o) : m_opt(o) {
    m_wall = Now();
    m_cpu = ProcessCpuSeconds();
    m_ws = HostProcessCpuSeconds(o.wineserverPid, o.clockTicks);
  }
  Sample Take() {
    Sample s;
    const double wall = Now(), cpu = ProcessCpuSeconds();
    const double ws = HostProcessCpuSeconds(m_opt.wineserverPid, m_opt.clockTicks);
    s.wall = wall - m_wall;
    s.cpu = cpu - m_cpu;
    if (ws >= 0 && m_ws >= 0) s.wineserver = ws - m_ws;
    m_wall = wall;
    m_cpu = cpu;
    m_ws = ws;
    return s;
  }

 private:
  const Options& m_opt;
  double m_wall, m_cpu, m_ws;
};

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Mean(const std::vector<double>& v) {
  double sum = 0;
  for (double x : v) sum += x;
  return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

std::vector<double> Column(const std::vector<Sample>& samples, double Sample::*field) {
  std::vector<double> v;
  for (const Sample& s : samples) v.push_back(s.*field);
  return v;
}

std::string MessageBoxes(const std::string& log) {
  std::ifstream in(log);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int Run(const Options& o) {
  ts::TempFolder folder("sheet-bench");
  const std::string boxes = folder.File("msgbox.log");
  SetEnvironmentVariableA("OST_MSGBOX_LOG", boxes.c_str());
  ProgramObjects objects;
  g_lpApp = new APP_DATA(objects.Parts());
  std::memset(g_szCookie, 0, sizeof g_szCookie);
  APP_DATA& a = *g_lpApp;
  a.m_Settings.m_strExeDir = folder.Path();

  ts::DevsimChild devsim;
  if (!devsim.Start({"--product", o.product, "--set", "firmware=" + o.firmware})) {
    std::fprintf(stderr, "devsim: %s\n", devsim.error().c_str());
    return 1;
  }
  ts::PointProgramSessionAt(static_cast<uint16_t>(devsim.port()));
  ts::LogInProgramSession(kLoginWorkerLogin);
  if (g_szCookie[0] == 0) {
    std::fprintf(stderr, "login failed\n");
    return 1;
  }
  HWND parent = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  InstallSettingsSheet();
  const SettingsSheetFactory& factory = GetSettingsSheetFactory();

  std::vector<Sample> opens, fetches, paints, applies;
  bool failed = false;
  for (int round = 0; round < o.rounds && !failed; ++round) {
    const size_t sets = devsim.RequestsOf("/SetSysCfg.cgi").size();
    Pump();
    Meter meter(o);
    MySystemDialog* sheet = nullptr;
    HWND page = nullptr;
    const bool fetched = FetchSystemConfig(a);
    const Sample fetch = meter.Take();
    if (fetched && (sheet = factory.create(parent, SettingsSheetStart{})) != nullptr) {
      UpdateWindow(sheet->GetSafeHwnd());  // the tree and the first page painted
      page = PageWith(sheet->GetSafeHwnd(), kPppoeUser);
      if (page) UpdateWindow(page);
    }
    const Sample made = meter.Take();
    fetches.push_back(fetch);
    paints.push_back(made);
    Sample open = fetch;
    open.wall += made.wall;
    open.cpu += made.cpu;
    open.wineserver =
        fetch.wineserver >= 0 && made.wineserver >= 0 ? fetch.wineserver + made.wineserver : -1;
    opens.push_back(open);
    if (page == nullptr) {
      std::fprintf(stderr, "round %d: the sheet did not open\n", round);
      failed = true;
    } else {
      const std::string user = "bench" + std::to_string(round);
      SetDlgItemTextA(page, kPppoeUser, user.c_str());
      Pump();
      meter.Take();  // the typing is not the apply's
      SendMessageA(sheet->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(kApply, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(sheet->GetSafeHwnd(), kApply)));
      Pump();
      applies.push_back(meter.Take());
      if (devsim.RequestsOf("/SetSysCfg.cgi").size() != sets + 1 || sheet->IsOpen()) {
        std::fprintf(stderr, "round %d: the apply did not send one block and close\n", round);
        failed = true;
      }
    }
    if (sheet) factory.destroy(sheet);
    Pump();
  }
  const std::string shown = MessageBoxes(boxes);
  if (!shown.empty()) {
    std::fprintf(stderr, "message boxes: %s\n", shown.c_str());
    failed = true;
  }
  DestroyWindow(parent);
  devsim.Stop();
  SetEnvironmentVariableA("OST_MSGBOX_LOG", nullptr);
  delete g_lpApp;
  g_lpApp = nullptr;

  const std::string name = o.product + "_" + o.firmware;
  std::printf("Settings sheet, %zu rounds (medians, ms; wineserver = its user + system time%s)\n\n",
              opens.size(), o.wineserverPid ? "" : ", not read");
  std::printf(
      "| case | step | wall ms | CPU ms | wineserver ms | CPU ms, mean | wineserver ms, mean |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  auto row = [&](const char* step, const std::vector<Sample>& s) {
    if (s.empty()) return;
    const std::vector<double> ws = Column(s, &Sample::wineserver);
    const bool haveWs = std::all_of(ws.begin(), ws.end(), [](double x) { return x >= 0; });
    char wsMedian[32] = "-", wsMean[32] = "-";
    if (haveWs) {
      std::snprintf(wsMedian, sizeof wsMedian, "%.1f", Median(ws) * 1e3);
      std::snprintf(wsMean, sizeof wsMean, "%.1f", Mean(ws) * 1e3);
    }
    std::printf("| %s | %s | %.1f | %.1f | %s | %.1f | %s |\n", name.c_str(), step,
                Median(Column(s, &Sample::wall)) * 1e3, Median(Column(s, &Sample::cpu)) * 1e3,
                wsMedian, Mean(Column(s, &Sample::cpu)) * 1e3, wsMean);
  };
  row("open (fetch, first page painted)", opens);
  row("- of it the fetch", fetches);
  row("- of it the sheet made and painted", paints);
  row("apply (one page, PPPOE sent, closed)", applies);
  std::fflush(stdout);
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--rounds" && hasValue) {
      o.rounds = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--product" && hasValue) {
      o.product = argv[++i];
    } else if (arg == "--firmware" && hasValue) {
      o.firmware = argv[++i];
    } else if (arg == "--wineserver-pid" && hasValue) {
      o.wineserverPid = std::atoi(argv[++i]);
    } else if (arg == "--clock-ticks" && hasValue) {
      o.clockTicks = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--smoke") {
      o.rounds = 2;
    } else {
      std::fprintf(stderr,
                   "usage: ost_settings_sheet_bench [--rounds N] [--product ID] [--firmware V]\n"
                   "       [--wineserver-pid N] [--clock-ticks N] [--smoke]\n");
      return 2;
    }
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(1, 1), &wsa);
  char local[16] = {};
  GetLocalIpString(local, sizeof local);
  g_strLocalIPAddress = local;
  INITCOMMONCONTROLSEX cc{sizeof cc, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES |
                                         ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES |
                                         ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&cc);
  const int rc = Run(o);
  WSACleanup();
  return rc;
}
