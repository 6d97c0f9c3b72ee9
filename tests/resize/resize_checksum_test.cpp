// Output checksums of a fixed set of resizes.  The table is the same in every tree: the native
// build and the Windows build under Wine must give identical bytes.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "resize/resize_image.h"
#include "resize/sse2/resize_sse2.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::ResizeCall;

struct Layout {
  int32_t channels, layout, planar;
};
constexpr Layout kLayouts[] = {{3, 3, 0}, {1, 1, 0}, {4, 4, 0}, {4, 3, 0}, {1, 3, 1}};
struct Factors {
  double x, y;
};
constexpr Factors kEnlarge[] = {{2.0, 2.0}, {1.7, 2.9}, {1.0, 2.0}, {3.3, 1.25}};
constexpr Factors kReduce[] = {
    {0.5, 0.5}, {0.4, 0.7}, {static_cast<double>(1.0f / 3), 0.25}, {2.0 / 3, 1.0}};

std::vector<uint8_t> Fill(size_t n, uint64_t seed) {
  resize_test::TestRng rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng.Next());
  return v;
}

uint64_t HashCalls(int32_t interp, int32_t type, const ResizeBuild* build = nullptr) {
  uint64_t h = 1469598103934665603ull;
  const std::vector<uint8_t> fill = Fill(4093, 100 + interp * 3 + type);
  for (const Layout& l : kLayouts) {
    for (const Factors& f : interp == 8 ? kReduce : kEnlarge) {
      for (const Factors& g : {f, Factors{1.0 / f.x, 1.0 / f.y}}) {
        if (interp == 8 && (g.x > 1 || g.y > 1)) continue;
        ResizeCall c;
        c.type = type, c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
        c.interp = interp;
        c.srcSize = {37, 29};
        c.srcStep = (37 * l.channels + 3) << type;
        c.roi = {2, 3, 33, 24};
        c.dstRoi = {90, 80};
        c.dstStep = (90 * l.channels + 1) << type;
        c.xf = g.x, c.yf = g.y;
        c.build = build;
        const auto r = resize_test::RunCall(c, fill.data(), fill.size());
        EXPECT_EQ(r.status, 0);
        for (const auto& p : r.dstPlanes) h = resize_test::Fnv1a(p.data(), p.size(), h);
      }
    }
  }
  return h;
}

// The system's own calls on a frame of live-view size.
uint64_t HashLiveView(int32_t interp, ResizeEntryFn entry = nullptr) {
  ResizeCall c;
  c.publicEntry = true;
  c.entry = entry;
  c.interp = interp;
  c.srcSize = {352, 120};
  c.srcStep = 352 * 3;
  c.roi = {0, 0, 352, 120};
  if (interp == 2) {
    c.dstRoi = {352, 240}, c.xf = 1.0, c.yf = 2.0;
  } else {
    c.dstRoi = {683, 384}, c.xf = 683.0 / 352, c.yf = 384.0 / 120;
  }
  c.dstStep = (c.dstRoi.width * 3 + 3) & ~3;
  const std::vector<uint8_t> fill = Fill(65521, 7);
  const auto r = resize_test::RunCall(c, fill.data(), fill.size());
  EXPECT_EQ(r.status, 0);
  return resize_test::Fnv1a(r.dstPlanes[0].data(), r.dstPlanes[0].size());
}

struct Expected {
  int32_t interp, type;
  uint64_t hash;
};
constexpr Expected kExpected[] = {
    {1, 0, 0x1fd8d1940ffa70a3ull},  {1, 1, 0xdd97d27a530a131cull},  {1, 2, 0xdac5bf2725aa318cull},
    {2, 0, 0xc8ede39b2a0eeaa7ull},  {2, 1, 0x47293767e89b5bf4ull},  {2, 2, 0x10c3c1fab3a30e4eull},
    {4, 0, 0x168fea6720dd75bbull},  {4, 1, 0x544bdd902842b695ull},  {4, 2, 0xc6608a4e7ccabfb0ull},
    {16, 0, 0x6c065682fc527d47ull}, {16, 1, 0x7e1df1503e4f8e39ull}, {16, 2, 0x4d6b937774cabc19ull},
    {8, 0, 0x7014fd60313c4145ull},  {8, 1, 0xb713b8790602e80cull},  {8, 2, 0x2cf0f8a64262e888ull},
};
constexpr uint64_t kLineDoubling = 0xc64ca3ab4a478282ull;
constexpr uint64_t kFullScreen = 0x9ae2245da61b32f3ull;

TEST(ResizeChecksums, OutputsAreTheSameInEveryTree) {
  std::string table;
  bool same = true;
  for (int32_t interp : {1, 2, 4, 16, 8}) {
    for (int32_t type = 0; type < 3; ++type) {
      const uint64_t h = HashCalls(interp, type);
      char line[96];
      std::snprintf(line, sizeof line, "    {%d, %d, 0x%016" PRIx64 "ull},\n", interp, type, h);
      table += line;
      bool found = false;
      for (const Expected& e : kExpected) {
        if (e.interp == interp && e.type == type) found = e.hash == h;
      }
      same = same && found;
    }
  }
  const uint64_t line = HashLiveView(2), full = HashLiveView(1);
  char live[160];
  std::snprintf(live, sizeof live,
                "constexpr uint64_t kLineDoubling = 0x%016" PRIx64
                "ull;\nconstexpr uint64_t kFullScreen = 0x%016" PRIx64 "ull;\n",
                line, full);
  EXPECT_TRUE(same && line == kLineDoubling && full == kFullScreen) << table << live;
}

// The SSE2 build's own table; its SSE3-class twin must give the same bytes.
constexpr Expected kExpectedSse2[] = {
    {1, 0, 0x1fd8d1940ffa70a3ull},  {1, 1, 0xdd97d27a530a131cull},  {1, 2, 0xdac5bf2725aa318cull},
    {2, 0, 0xc8ede39b2a0eeaa7ull},  {2, 1, 0x47293767e89b5bf4ull},  {2, 2, 0xa1d2ffaddc6790ebull},
    {4, 0, 0xcbc1d40868c075f5ull},  {4, 1, 0x3754a536d272168dull},  {4, 2, 0x85422e2cad1b0991ull},
    {16, 0, 0x1d2e8bc3b58d8fa7ull}, {16, 1, 0x4702c2fad32b594dull}, {16, 2, 0x288dfff3460a8919ull},
    {8, 0, 0x7014fd60313c4145ull},  {8, 1, 0xb713b8790602e80cull},  {8, 2, 0x2cf0f8a64262e888ull},
};
constexpr uint64_t kLineDoublingSse2 = 0xc64ca3ab4a478282ull;
constexpr uint64_t kFullScreenSse2 = 0x9ae2245da61b32f3ull;

TEST(ResizeChecksums, SimdBuildOutputsAreTheSameInEveryTree) {
  std::string table;
  bool same = true;
  for (int32_t interp : {1, 2, 4, 16, 8}) {
    for (int32_t type = 0; type < 3; ++type) {
      const uint64_t h = HashCalls(interp, type, &kResizeSse2Build);
      EXPECT_EQ(HashCalls(interp, type, &kResizeSse3Build), h) << interp << " " << type;
      char line[96];
      std::snprintf(line, sizeof line, "    {%d, %d, 0x%016" PRIx64 "ull},\n", interp, type, h);
      table += line;
      bool found = false;
      for (const Expected& e : kExpectedSse2) {
        if (e.interp == interp && e.type == type) found = e.hash == h;
      }
      same = same && found;
    }
  }
  const uint64_t line = HashLiveView(2, ResizeEntrySSE2);
  const uint64_t full = HashLiveView(1, ResizeEntrySSE2);
  EXPECT_EQ(HashLiveView(2, ResizeEntrySSE3), line);
  EXPECT_EQ(HashLiveView(1, ResizeEntrySSE3), full);
  char live[160];
  std::snprintf(live, sizeof live,
                "constexpr uint64_t kLineDoublingSse2 = 0x%016" PRIx64
                "ull;\nconstexpr uint64_t kFullScreenSse2 = 0x%016" PRIx64 "ull;\n",
                line, full);
  EXPECT_TRUE(same && line == kLineDoublingSse2 && full == kFullScreenSse2) << table << live;
}

}  // namespace
