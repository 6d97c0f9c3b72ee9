// Resize benchmark: our public entry and the peers on the same frames, single-threaded.
// Names: <case>/<implementation>; scripts/bench turns them into one table.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/resize_peers.h"
#include "resize/resize_build.h"
#include "resize/resize_image.h"

namespace {

struct Case {
  const char* name;
  int32_t sw, sh, dw, dh;
  BenchInterp interp;
  double xf, yf;  // 0: dw / sw and dh / sh
};

// The live view's own calls first: line doubling (linear) and full screen (nearest).
const Case kCases[] = {
    {"line_doubling_704x240_linear", 704, 240, 704, 480, BenchInterp::kLinear, 1.0, 2.0},
    {"line_doubling_720x288_linear", 720, 288, 720, 576, BenchInterp::kLinear, 1.0, 2.0},
    {"full_screen_720x576_1920x1080_nearest", 720, 576, 1920, 1080, BenchInterp::kNearest, 0, 0},
    {"full_screen_704x480_1280x1024_nearest", 704, 480, 1280, 1024, BenchInterp::kNearest, 0, 0},
    {"enlarge_720x576_1920x1080_linear", 720, 576, 1920, 1080, BenchInterp::kLinear, 0, 0},
    {"enlarge_720x576_1920x1080_cubic", 720, 576, 1920, 1080, BenchInterp::kCubic, 0, 0},
    {"enlarge_720x576_1920x1080_lanczos", 720, 576, 1920, 1080, BenchInterp::kLanczos, 0, 0},
    {"reduce_1920x1080_960x540_area", 1920, 1080, 960, 540, BenchInterp::kArea, 0, 0},
    {"reduce_1920x1080_640x360_area", 1920, 1080, 640, 360, BenchInterp::kArea, 0, 0},
    {"reduce_1920x1080_1280x720_area", 1920, 1080, 1280, 720, BenchInterp::kArea, 0, 0},
    {"reduce_1920x1080_960x540_linear", 1920, 1080, 960, 540, BenchInterp::kLinear, 0, 0},
    {"reduce_1920x1080_960x540_cubic", 1920, 1080, 960, 540, BenchInterp::kCubic, 0, 0},
    {"reduce_1920x1080_960x540_lanczos", 1920, 1080, 960, 540, BenchInterp::kLanczos, 0, 0},
};

ResizeInterp OurInterp(BenchInterp i) {
  switch (i) {
    case BenchInterp::kNearest:
      return kResizeNearest;
    case BenchInterp::kLinear:
      return kResizeLinear;
    case BenchInterp::kCubic:
      return kResizeCubic;
    case BenchInterp::kLanczos:
      return kResizeLanczos;
    case BenchInterp::kArea:
      return kResizeSuper;
  }
  return kResizeNearest;
}

// A frame of gradients and noise, like a decoded camera picture.
std::vector<uint8_t> MakeFrame(int32_t w, int32_t h) {
  std::vector<uint8_t> f(static_cast<size_t>(w) * h * 3);
  uint32_t s = 12345;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      s = s * 1664525u + 1013904223u;
      const int noise = static_cast<int>(s >> 28) - 8;
      uint8_t* p = &f[(static_cast<size_t>(y) * w + x) * 3];
      p[0] = static_cast<uint8_t>((x * 255 / w + noise) & 0xFF);
      p[1] = static_cast<uint8_t>((y * 255 / h + noise) & 0xFF);
      p[2] = static_cast<uint8_t>(((x + y) * 128 / (w + h) + 64 + noise) & 0xFF);
    }
  }
  return f;
}

struct Buffers {
  std::vector<uint8_t> src, dst;
  BenchFrame frame;
  BenchTarget target;
  explicit Buffers(const Case& c) : src(MakeFrame(c.sw, c.sh)) {
    const int32_t step = (c.dw * 3 + 3) & ~3;  // the renderer's rows: multiples of 4 bytes
    dst.assign(static_cast<size_t>(step) * c.dh, 0);
    frame = {src.data(), c.sw, c.sh, c.sw * 3};
    target = {dst.data(), c.dw, c.dh, step};
  }
};

// entry: the public function (the portable build it selects) or one build's entry directly.
void RunOurs(benchmark::State& state, const Case& c, ResizeEntryFn entry) {
  Buffers b(c);
  const double xf = c.xf ? c.xf : static_cast<double>(c.dw) / c.sw;
  const double yf = c.yf ? c.yf : static_cast<double>(c.dh) / c.sh;
  for (auto _ : state) {
    const ResizeStatus s =
        entry(b.frame.data, {c.sw, c.sh}, b.frame.step, {0, 0, c.sw, c.sh}, b.target.data,
              b.target.step, {c.dw, c.dh}, xf, yf, OurInterp(c.interp));
    if (s != 0) state.SkipWithError("resize failed");
    benchmark::DoNotOptimize(b.dst.data());
    benchmark::ClobberMemory();
  }
}

// The portable build without its row-only linear kernel: the general linear kernel on the calls
// that kernel takes (factor 1 across), for the before and after in one run.
ResizeStatus GeneralLinearEntry(const uint8_t* src, ImgSize srcSize, int32_t srcStep,
                                ImgRect srcRoi, uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize,
                                double xFactor, double yFactor, ResizeInterp interpolation) {
  static const ResizeBuild build = [] {
    ResizeBuild b = kResizeGenericBuild;
    b.linearRows8u = nullptr;
    return b;
  }();
  return ResizeRouteEntry(build, src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize, xFactor,
                          yFactor, interpolation);
}

void RunPeer(benchmark::State& state, const Case& c, const std::string& peer) {
  Buffers b(c);
  std::unique_ptr<ResizePeer> p = peer == "opencv"    ? MakeOpenCvPeer(c.interp)
                                  : peer == "swscale" ? MakeSwscalePeer(c.interp, b.frame, b.target)
                                                      : MakeStbPeer(c.interp);
  for (auto _ : state) {
    p->Resize(b.frame, b.target);
    benchmark::DoNotOptimize(b.dst.data());
    benchmark::ClobberMemory();
  }
}

void Register() {
  for (const Case& c : kCases) {
    const std::string base = c.name;
    benchmark::RegisterBenchmark((base + "/ours").c_str(), [c](benchmark::State& s) {
      RunOurs(s, c, ResizeImage8uC3);
    })->Unit(benchmark::kMillisecond);
    // The processor-specific builds, each through its own entry.
    benchmark::RegisterBenchmark((base + "/sse").c_str(), [c](benchmark::State& s) {
      RunOurs(s, c, ResizeEntrySSE);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((base + "/sse2").c_str(), [c](benchmark::State& s) {
      RunOurs(s, c, ResizeEntrySSE2);
    })->Unit(benchmark::kMillisecond);
    if (c.interp == BenchInterp::kLinear && c.xf == 1.0) {
      benchmark::RegisterBenchmark((base + "/general").c_str(), [c](benchmark::State& s) {
        RunOurs(s, c, GeneralLinearEntry);
      })->Unit(benchmark::kMillisecond);
    }
    for (const char* peer : {"opencv", "swscale", "stb"}) {
      if (std::string(peer) == "stb" && !MakeStbPeer(c.interp)) continue;
      benchmark::RegisterBenchmark((base + "/" + peer).c_str(), [c, peer](benchmark::State& s) {
        RunPeer(s, c, peer);
      })->Unit(benchmark::kMillisecond);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
