// Live stream decoding: the client's frame splitter, header parser and picture decoder over a
// recorded device stream, side by side with bare libjpeg-turbo decoding of the same pictures.
// Prints the ratio of the two times per frame at the end.
//
// usage: ost_live_decode_bench [--stream=FILE] [--product=ID] [benchmark options]
// (default: the stream recorded at build time, ten repetitions in random order)
// The time per frame covers reading the stream as the socket gives it, splitting it into frames,
// parsing each header and decoding each picture into bottom-up rows; the peer decodes the same
// pictures, already cut out, with one reused libjpeg-turbo handle into top-down rows.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "live/frame_splitter.h"
#include "live/jpeg_decode.h"
#include "live/header_reactions.h"
#include "live/rtp_header_parser.h"

namespace {

constexpr uint32_t kSlotBytes = 102400;
constexpr uint32_t kImageBytes = 1572864;

std::string g_StreamPath = OST_LIVE_BENCH_STREAM;
std::string g_Product = OST_LIVE_BENCH_PRODUCT;

// The recorded stream, read as the socket would give it: at most what is asked, all of it
// available at once.
class MemorySource : public FrameStreamSource {
 public:
  explicit MemorySource(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}
  int Read(uint8_t* buffer, uint32_t size) override {
    if (m_pos >= m_bytes.size()) return kReadFailed;
    const size_t n = std::min<size_t>(size, m_bytes.size() - m_pos);
    std::memcpy(buffer, m_bytes.data() + m_pos, n);
    m_pos += n;
    return static_cast<int>(n);
  }
  void Rewind() { m_pos = 0; }

 private:
  const std::vector<uint8_t>& m_bytes;
  size_t m_pos = 0;
};

// A device of the recorded family whose headers change nothing.
class QuietHost : public HeaderReactionHost {
 public:
  std::string_view ProductId() const override { return g_Product; }
  uint8_t MultiChannel() const override { return 0; }
  uint8_t AlarmTriggerFlag() const override { return 0; }
  uint8_t AlarmAutoSwitchVideo() const override { return 0; }
  bool IsAlarmSoundPlaying() const override { return false; }
  bool HasModel19_22_23() const override { return false; }
  bool IsAlarmRecording() const override { return false; }
  DeviceTime LastDeviceTime() const override { return m_time; }
  void StoreDeviceTime(const DeviceTime& t) override { m_time = t; }
  void PostDeviceClockChanged() override {}
  void PostAlarmAudio(uint32_t) override {}
  void SwitchChannel(int) override {}
  void SetRETRState(uint8_t) override {}
  void SetStatusText(const char*) override {}
  void PostCmosState(uint8_t) override {}
  void CreateAlarmRecordFile() override {}
  void CloseAlarmRecordFile() override {}

 private:
  DeviceTime m_time{};
};

struct Recording {
  std::vector<uint8_t> stream;
  std::vector<std::vector<uint8_t>> pictures;
  bool versionWord = false;
  uint16_t width = 0, height = 0;
  std::string error;
};

// The splitter over the whole stream: every picture, checked to decode.
Recording Load() {
  Recording r;
  std::ifstream in(g_StreamPath, std::ios::binary);
  r.stream.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (r.stream.size() < 2) {
    r.error = "no stream in " + g_StreamPath;
    return r;
  }
  r.versionWord = r.stream[0] == 0x01 && r.stream[1] == 0x00;
  QuietHost host;
  CRTPHeaderParser parser;
  CHeaderReactions reactions(parser);
  reactions.SetHost(&host);
  parser.m_fNewHeader = r.versionWord ? 1 : 0;
  parser.m_fPayloadCountsHeader = host.ProductId() == "RZ8P" ? 1 : 0;
  CFrameSplitter splitter;
  MemorySource source(r.stream);
  std::vector<uint8_t> slot(kSlotBytes), image(kImageBytes);
  StreamFrame frame{};
  while (splitter.NextFrame(source, parser, &reactions, slot.data(), kSlotBytes, &frame) ==
         CFrameSplitter::Outcome::kFrame) {
    r.pictures.emplace_back(slot.begin(), slot.begin() + frame.length);
    if (!DecodeJpegToDib(slot.data(), frame.length, image.data(), kImageBytes, &r.width,
                         &r.height)) {
      r.error = "picture " + std::to_string(r.pictures.size()) + " does not decode";
      return r;
    }
  }
  // The last frame stays carried when nothing follows it.
  if (r.pictures.empty()) r.error = "no frame found";
  return r;
}

const Recording& TheRecording() {
  static const Recording r = Load();
  return r;
}

// One frame per iteration: the stream is read again from its start when it runs out.
void ClientPipeline(benchmark::State& state) {
  const Recording& r = TheRecording();
  if (!r.error.empty()) {
    state.SkipWithError(r.error.c_str());
    return;
  }
  QuietHost host;
  CRTPHeaderParser parser;
  CHeaderReactions reactions(parser);
  reactions.SetHost(&host);
  parser.m_fNewHeader = r.versionWord ? 1 : 0;
  parser.m_fPayloadCountsHeader = host.ProductId() == "RZ8P" ? 1 : 0;
  auto splitter = std::make_unique<CFrameSplitter>();
  MemorySource source(r.stream);
  std::vector<uint8_t> slot(kSlotBytes), image(kImageBytes);
  StreamFrame frame{};
  uint16_t w = 0, h = 0;
  for (auto _ : state) {
    while (splitter->NextFrame(source, parser, &reactions, slot.data(), kSlotBytes, &frame) !=
           CFrameSplitter::Outcome::kFrame) {
      state.PauseTiming();
      source.Rewind();
      splitter->Reset();
      state.ResumeTiming();
    }
    DecodeJpegToDib(slot.data(), frame.length, image.data(), kImageBytes, &w, &h);
    benchmark::DoNotOptimize(image.data());
  }
  state.SetItemsProcessed(state.iterations());
}

void BareTurboJpeg(benchmark::State& state) {
  const Recording& r = TheRecording();
  if (!r.error.empty()) {
    state.SkipWithError(r.error.c_str());
    return;
  }
  tjhandle handle = tjInitDecompress();
  std::vector<uint8_t> image(kImageBytes);
  size_t next = 0;
  for (auto _ : state) {
    const auto& p = r.pictures[next];
    next = (next + 1) % r.pictures.size();
    int w = 0, h = 0, sampling = 0, colorspace = 0;
    tjDecompressHeader3(handle, p.data(), p.size(), &w, &h, &sampling, &colorspace);
    tjDecompress2(handle, p.data(), p.size(), image.data(), w, 0, h, TJPF_BGR, 0);
    benchmark::DoNotOptimize(image.data());
  }
  tjDestroy(handle);
  state.SetItemsProcessed(state.iterations());
}

// Keeps the time per frame of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto items = run.counters.find("items_per_second");
      if (run.error_occurred || items == run.counters.end() || items->second.value <= 0) continue;
      m_secondsPerFrame[run.benchmark_name()] = 1.0 / items->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // The median of repeated runs, else the single run.
  double SecondsPerFrame(const std::string& name) const {
    const auto median = m_secondsPerFrame.find(name + "_median");
    if (median != m_secondsPerFrame.end()) return median->second;
    const auto single = m_secondsPerFrame.find(name);
    return single == m_secondsPerFrame.end() ? 0 : single->second;
  }

 private:
  std::map<std::string, double> m_secondsPerFrame;
};

}  // namespace

int main(int argc, char** argv) {
  // Ten repetitions unless told otherwise, in random order, so that both see the same machine.
  static char repetitions[] = "--benchmark_repetitions=10";
  static char interleaving[] = "--benchmark_enable_random_interleaving=true";
  bool repeated = false, interleaved = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0) repeated = true;
    if (std::strncmp(argv[i], "--benchmark_enable_random_interleaving", 38) == 0)
      interleaved = true;
  }
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--stream=", 9) == 0)
      g_StreamPath = argv[i] + 9;
    else if (std::strncmp(argv[i], "--product=", 10) == 0)
      g_Product = argv[i] + 10;
    else
      args.push_back(argv[i]);
  }
  if (!repeated) args.push_back(repetitions);
  if (!interleaved) args.push_back(interleaving);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  const Recording& r = TheRecording();
  if (!r.error.empty()) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    return 1;
  }
  std::printf("stream %s: %zu bytes, %zu pictures of %ux%u, %s layout, %s\n", g_StreamPath.c_str(),
              r.stream.size(), r.pictures.size(), unsigned{r.width}, unsigned{r.height},
              r.versionWord ? "version-word" : "presence-mask", g_Product.c_str());
  // Named <case>/<who> like the other benchmark programs: ours beside the peer.
  char size[32];
  std::snprintf(size, sizeof size, "%ux%u", unsigned{r.width}, unsigned{r.height});
  const std::string name = "stream_" + g_Product + "_" + size;
  benchmark::RegisterBenchmark((name + "/ours").c_str(), ClientPipeline)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark((name + "/libjpeg_turbo").c_str(), BareTurboJpeg)
      ->Unit(benchmark::kMillisecond);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double client = reporter.SecondsPerFrame(name + "/ours");
  const double bare = reporter.SecondsPerFrame(name + "/libjpeg_turbo");
  if (client > 0 && bare > 0)
    std::printf("per frame: ours %.1f us, libjpeg-turbo %.1f us, ratio %.3f (target <= 1.15)\n",
                client * 1e6, bare * 1e6, client / bare);
  benchmark::Shutdown();
  return 0;
}
