// Network backup throughput under Wine against devsim on 127.0.0.1: the program's download (the
// backup progress dialog and its download thread, as the "Network Backup" page runs them: the
// chunks read, appended to the ".dvr" file, the dialog told the percent) beside a plain socket
// read of the same reply (the same request, 64 KB receives, the bytes dropped), in one run.
// Each row: MB/s, the process's CPU ms per MB and, with its pid, the wineserver's. Goal: the
// download at least half the plain read's rate. The file is compared with devsim's payload.
//
// usage: ost_backup_bench [--mb N] [--rounds N] [--wineserver-pid N] [--clock-ticks N] [--smoke]
// --smoke: 4 MB, one round. Exit status 1 when a download did not finish whole.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "record/backup_download.h"
#include "record/network_backup.h"
#include "settings/network_backup_page.h"
#include "bench/process_cpu.h"
#include "tests/support/devsim_child.h"
#include "tests/support/win_process.h"

namespace {
namespace ts = testsupport;

constexpr int kStatusId = 1448;

struct Options {
  int mb = 200;
  int rounds = 3;
  int wineserverPid = 0;
  int clockTicks = 100;
};

struct Sample {
  double seconds = 0, cpu = 0, wineserver = -1;
  uint64_t bytes = 0;
  bool ok = false;
};

class Meter {
 public:
  explicit Meter(const Options& o) : m_o(o) {}
  void Begin() {
    m_cpu = ProcessCpuSeconds();
    m_ws = HostProcessCpuSeconds(m_o.wineserverPid, m_o.clockTicks);
    m_t = std::chrono::steady_clock::now();
  }
  void End(Sample& s) const {
    s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_t).count();
    s.cpu = ProcessCpuSeconds() - m_cpu;
    const double ws = HostProcessCpuSeconds(m_o.wineserverPid, m_o.clockTicks);
    if (ws >= 0 && m_ws >= 0) s.wineserver = ws - m_ws;
  }

 private:
  const Options& m_o;
  double m_cpu = 0, m_ws = -1;
  std::chrono::steady_clock::time_point m_t;
};

BackupRequest Request(int mb) {
  BackupRequest r;
  r.year = 2026;
  r.month = 12;
  r.day = 11;
  r.hour = 9;
  r.disk = 0;
  r.channel = 0;
  r.sizeMB = mb;
  return r;
}

// The reply read as it comes, 64 KB at a time, the bytes dropped.
Sample PlainRead(const Options& o, int port) {
  Sample s;
  std::string text;
  if (!BuildNetworkBackupRequest(Request(o.mb), "127.0.0.1", text)) return s;
  SOCKET sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<u_short>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  Meter m(o);
  m.Begin();
  if (connect(sock, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      send(sock, text.data(), static_cast<int>(text.size()), 0) == static_cast<int>(text.size())) {
    std::vector<char> buf(65536);
    for (;;) {
      const int n = recv(sock, buf.data(), static_cast<int>(buf.size()), 0);
      if (n <= 0) break;
      s.bytes += static_cast<uint64_t>(n);
    }
    s.ok = true;
  }
  m.End(s);
  closesocket(sock);
  return s;
}

// The program's download: the progress dialog and its thread, until it says it has finished.
Sample ProgramDownload(const Options& o, int port, const std::string& file) {
  Sample s;
  BackupJob job;
  job.server = "127.0.0.1";
  job.port = static_cast<uint16_t>(port);
  job.host = "127.0.0.1";
  job.request = Request(o.mb);
  job.filePath = file;
  CBackupProgressDlg dialog(nullptr, job, false, nullptr);
  std::atomic<bool> done{false};
  std::string status;
  Meter m(o);
  std::thread watcher([&] {
    HWND w = nullptr;
    while (!done) {
      if (!w) w = ts::WaitForWindow(GetCurrentProcessId(), "DVR-Network Backup", 100);
      if (w) {
        status = ts::ItemText(w, kStatusId);
        if (status.rfind("Downloading", 0) != 0 && !status.empty()) {
          m.End(s);
          PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
          return;
        }
      }
      Sleep(5);
    }
  });
  m.Begin();
  dialog.DoModal();
  done = true;
  watcher.join();
  s.ok = status == "Download process is finished";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data))
    s.bytes = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  if (!s.ok) std::fprintf(stderr, "download ended with \"%s\"\n", status.c_str());
  return s;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool value = i + 1 < argc;
    if (arg == "--mb" && value)
      o.mb = std::clamp(std::atoi(argv[++i]), 1, kBackupSizeMaxMB);
    else if (arg == "--rounds" && value)
      o.rounds = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--wineserver-pid" && value)
      o.wineserverPid = std::atoi(argv[++i]);
    else if (arg == "--clock-ticks" && value)
      o.clockTicks = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--smoke")
      o.mb = 4, o.rounds = 1;
    else {
      std::fprintf(stderr,
                   "usage: ost_backup_bench [--mb N] [--rounds N] [--wineserver-pid N] "
                   "[--clock-ticks N] [--smoke]\n");
      return 2;
    }
  }
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  ts::DevsimChild devsim;
  const uint64_t bytes = static_cast<uint64_t>(o.mb) << 20;
  if (!devsim.Start({"--product", "RZ1K", "--no-cookie-check", "--set",
                     "backup.bytes=" + std::to_string(bytes)})) {
    std::fprintf(stderr, "devsim did not start: %s\n", devsim.error().c_str());
    return 1;
  }
  ts::TempFolder folder("ost-backup-bench");
  std::vector<Sample> plain, program;
  bool failed = false;
  // Alternating, so that drifting machine load falls on both alike.
  for (int r = 0; r < o.rounds; ++r) {
    plain.push_back(PlainRead(o, devsim.port()));
    const std::string file = folder.File("CH01_" + std::to_string(r) + ".dvr");
    program.push_back(ProgramDownload(o, devsim.port(), file));
    if (!plain.back().ok || !program.back().ok || program.back().bytes != bytes) failed = true;
    DeleteFileA(file.c_str());
  }
  devsim.Stop();
  auto row = [&](const char* who, const std::vector<Sample>& v) {
    std::vector<double> rate, cpu, ws;
    for (const Sample& s : v) {
      const double mb = static_cast<double>(s.bytes) / (1 << 20);
      if (s.seconds <= 0 || mb <= 0) continue;
      rate.push_back(mb / s.seconds);
      cpu.push_back(s.cpu * 1e3 / mb);
      if (s.wineserver >= 0) ws.push_back(s.wineserver * 1e3 / mb);
    }
    char wsText[32] = "-";
    if (!ws.empty()) std::snprintf(wsText, sizeof wsText, "%.2f", Median(ws));
    std::printf("| %s | %d | %.1f | %.2f | %s |\n", who, o.mb, Median(rate), Median(cpu), wsText);
    return Median(rate);
  };
  std::printf("network backup of %d MB from devsim on 127.0.0.1, medians of %d rounds\n\n", o.mb,
              o.rounds);
  std::printf(
      "| case | MB | MB/s | CPU ms per MB | wineserver ms per MB |\n|---|---|---|---|---|\n");
  const double plainRate = row("plain socket read", plain);
  const double programRate = row("program download", program);
  std::printf("\nprogram / plain = %.2f (goal >= 0.50: %s)\n", programRate / plainRate,
              programRate >= plainRate / 2 ? "met" : "not met");
  return failed ? 1 : 0;
}
