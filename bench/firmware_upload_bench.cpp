// Firmware upload throughput under Wine against devsim on 127.0.0.1: a firmware of 32 MiB sent
// by each upload method through the program's own walk and socket transport (the hold
// connection, one connection per 900-byte chunked piece, one stream of 1300-byte pieces per
// streamed part).  One row per method: MB/s over the whole upload and without the method's
// fixed waits (2 s after the hold connection of the streamed image, 3 s before each streamed
// part of a file set), the process's CPU time per MB and the wineserver's when its pid is
// given.  devsim's stored parts are checked against what was sent (size and FNV-1a).
//
// usage: ost_firmware_upload_bench [--megabytes N] [--method NAME]... [--wineserver-pid N]
//                                  [--clock-ticks N] [--smoke]
// NAME: image_chunked, image_streamed, fileset_chunked, fileset_streamed (default: all).
// --smoke: 1 MiB per method.  Exit status 1 when an upload failed or devsim holds other parts.
#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/process_cpu.h"
#include "tests/support/devsim_child.h"
#include "tools/firmware_upload.h"
#include "tools/firmware_upload_win32.h"

namespace ts = testsupport;

namespace {

struct Options {
  uint32_t megabytes = 32;
  std::vector<std::string> methods;
  int wineserverPid = 0;  // 0: its CPU time is not read
  int clockTicks = 100;   // of /proc/<pid>/stat, per second
};

struct Method {
  const char* name;
  UpgradeMethod method;
};
constexpr Method kMethods[] = {
    {"image_chunked", UpgradeMethod::kImageChunked},
    {"image_streamed", UpgradeMethod::kImageStreamed},
    {"fileset_chunked", UpgradeMethod::kFileSetChunked},
    {"fileset_streamed", UpgradeMethod::kFileSetStreamed},
};

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Fnv(const uint8_t* data, size_t size) {
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i < size; ++i) {
    h ^= data[i];
    h *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

// The socket transport, with the time its waits took.
class TimedTransport : public UploadTransport {
 public:
  explicit TimedTransport(UploadTransport& inner) : m_inner(inner) {}
  double pausedSeconds = 0;

  bool OpenHold(const std::string& r) override { return m_inner.OpenHold(r); }
  void CloseHold() override { m_inner.CloseHold(); }
  PieceResult SendChunk(const std::string& q, const uint8_t* body, uint32_t size) override {
    return m_inner.SendChunk(q, body, size);
  }
  bool OpenStream(const std::string& r) override { return m_inner.OpenStream(r); }
  bool SendStreamPiece(const uint8_t* data, uint32_t size) override {
    return m_inner.SendStreamPiece(data, size);
  }
  int32_t FinishStream() override { return m_inner.FinishStream(); }
  void Pause(uint32_t ms) override {
    const double t0 = Now();
    m_inner.Pause(ms);
    pausedSeconds += Now() - t0;
  }

 private:
  UploadTransport& m_inner;
};

class QuietObserver : public UploadObserver {
 public:
  void Busy() override {}
  void Progress(uint32_t) override {}
  bool StopRequested() override { return false; }
};

struct Row {
  std::string name;
  bool ok = false;
  double seconds = 0, pausedSeconds = 0, cpuSeconds = 0, wineserverSeconds = -1;
};

// The firmware's bytes: a pattern no two parts share.
std::vector<uint8_t> Pattern(size_t size, uint32_t seed) {
  std::vector<uint8_t> bytes(size);
  uint32_t x = seed * 2654435761u + 1;
  for (uint8_t& b : bytes) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return bytes;
}

// The parts of a firmware of `total` bytes: an image's kernel (7/8), boot (1/32) and web pages
// (the rest), or four equal files of a file set.
std::vector<std::vector<uint8_t>> PartBytes(UpgradeMethod method, uint32_t total) {
  std::vector<uint32_t> sizes;
  if (IsFileSetMethod(method)) {
    sizes.assign(4, total / 4);
    sizes[3] += total % 4;
  } else {
    sizes = {total / 8 * 7, total / 32};
    sizes.push_back(total - sizes[0] - sizes[1]);
  }
  std::vector<std::vector<uint8_t>> parts;
  for (size_t i = 0; i < sizes.size(); ++i) parts.push_back(Pattern(sizes[i], uint32_t(i + 1)));
  return parts;
}

Row RunMethod(const Method& m, const Options& opt, const ts::DevsimChild& devsim) {
  Row row;
  row.name = std::string(m.name) + "_" + std::to_string(opt.megabytes) + "MiB";
  const auto bytes = PartBytes(m.method, opt.megabytes * 1024u * 1024u);
  UploadJob job;
  job.method = m.method;
  job.host = "127.0.0.1";
  // A cookie of a login's length, so that every request is as long as the program's; devsim
  // runs without its cookie check.
  job.cookie = "0123456789abcdef";
  static const char* const kImageNames[] = {"KERNEL", "BOOT", "HTML"};
  static const int32_t kImageNumbers[] = {0, 1, 2};
  static const int32_t kFileRows[] = {1, 5, 9, 17};
  std::string expected;
  for (size_t i = 0; i < bytes.size(); ++i) {
    UploadPart part;
    part.data = bytes[i].data();
    part.size = static_cast<uint32_t>(bytes[i].size());
    const bool fileSet = IsFileSetMethod(m.method), streamed = IsStreamedMethod(m.method);
    if (fileSet) {
      part.type = kFileRows[i];
    } else if (streamed) {
      part.type = kImageNumbers[i];
    } else {
      part.name = kImageNames[i];
    }
    job.parts.push_back(part);
    job.total += part.size;
    const std::string type =
        fileSet || streamed ? std::to_string(part.type) : std::string(kImageNames[i]);
    expected += std::string("part method=") + (streamed ? "streamed" : "chunked") +
                " type=" + type + " size=" + std::to_string(part.size) +
                " fnv=" + Fnv(part.data, part.size) +
                " reboot=" + (i + 1 == bytes.size() ? "1" : "0") + " hold=1\n";
  }
  devsim.Control("/_devsim/clear-firmware");
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  {
    SocketUploadTransport socket(m.method, "127.0.0.1", static_cast<uint16_t>(devsim.port()),
                                 "127.0.0.1", stop);
    TimedTransport timed(socket);
    QuietObserver observer;
    const double ws0 = HostProcessCpuSeconds(opt.wineserverPid, opt.clockTicks);
    const double cpu0 = ProcessCpuSeconds();
    const double t0 = Now();
    const UploadOutcome outcome = RunFirmwareUpload(job, timed, observer);
    row.seconds = Now() - t0;
    row.cpuSeconds = ProcessCpuSeconds() - cpu0;
    const double ws1 = HostProcessCpuSeconds(opt.wineserverPid, opt.clockTicks);
    if (ws0 >= 0 && ws1 >= 0) row.wineserverSeconds = ws1 - ws0;
    row.pausedSeconds = timed.pausedSeconds;
    row.ok = outcome == UploadOutcome::kCompleted;
    if (!row.ok) std::fprintf(stderr, "%s: the upload ended with %d\n", m.name, int(outcome));
    socket.CloseHold();
  }
  CloseHandle(stop);
  const std::string stored = devsim.Control("/_devsim/firmware");
  if (stored.substr(0, stored.find("holds open=")) != expected) {
    std::fprintf(stderr, "%s: devsim holds\n%s\nexpected\n%s\n", m.name, stored.c_str(),
                 expected.c_str());
    row.ok = false;
  }
  std::fprintf(stderr, "%s: %.2f s (%.2f s of waits), %.2f s CPU\n", row.name.c_str(), row.seconds,
               row.pausedSeconds, row.cpuSeconds);
  return row;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--megabytes" && hasValue) {
      o.megabytes = static_cast<uint32_t>(std::atoi(argv[++i]));
    } else if (arg == "--method" && hasValue) {
      o.methods.push_back(argv[++i]);
    } else if (arg == "--wineserver-pid" && hasValue) {
      o.wineserverPid = std::atoi(argv[++i]);
    } else if (arg == "--clock-ticks" && hasValue) {
      o.clockTicks = std::atoi(argv[++i]);
    } else if (arg == "--smoke") {
      o.megabytes = 1;
    } else {
      return false;
    }
  }
  return o.megabytes >= 1 && o.megabytes <= 256 && o.clockTicks > 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseOptions(argc, argv, opt)) {
    std::fprintf(stderr,
                 "usage: ost_firmware_upload_bench [--megabytes N] [--method NAME]... "
                 "[--wineserver-pid N] [--clock-ticks N] [--smoke]\n");
    return 2;
  }
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) return 1;
  ts::DevsimChild devsim;
  if (!devsim.Start({"--product", "RZ2K", "--no-cookie-check"})) {
    std::fprintf(stderr, "devsim did not start: %s\n", devsim.error().c_str());
    return 1;
  }
  std::vector<Row> rows;
  for (const Method& m : kMethods) {
    bool wanted = opt.methods.empty();
    for (const std::string& name : opt.methods) wanted = wanted || name == m.name;
    if (wanted) rows.push_back(RunMethod(m, opt, devsim));
  }
  devsim.Stop();
  WSACleanup();

  bool failed = false;
  std::printf(
      "## ost_firmware_upload_bench\n%u MiB per method to devsim on 127.0.0.1; MB = MiB; "
      "CPU = the process's user + system time%s\n\n",
      opt.megabytes, opt.wineserverPid > 0 ? "; wineserver = its user + system time" : "");
  std::printf(
      "| method | s | MB/s | fixed waits s | MB/s without waits | CPU ms per MB | "
      "wineserver ms per MB | parts whole |\n|---|---|---|---|---|---|---|---|\n");
  for (const Row& r : rows) {
    const double mb = opt.megabytes;
    const double moving = r.seconds - r.pausedSeconds;
    char ws[32] = "-";
    if (r.wineserverSeconds >= 0)
      std::snprintf(ws, sizeof ws, "%.2f", r.wineserverSeconds * 1e3 / mb);
    std::printf("| %s | %.2f | %.2f | %.2f | %.2f | %.2f | %s | %s |\n", r.name.c_str(), r.seconds,
                mb / r.seconds, r.pausedSeconds, moving > 0 ? mb / moving : 0.0,
                r.cpuSeconds * 1e3 / mb, ws, r.ok ? "yes" : "NO");
    failed = failed || !r.ok;
  }
  std::printf("\n");
  return failed ? 1 : 0;
}
