// The SSE build against the portable one: a randomized matrix of calls over element types,
// layouts, interpolations, factors and regions, with guard-banded destinations and scratch blocks
// whose slack carries a canary; the entry's routing and the dispatch slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "resize/resize_alloc.h"
#include "resize/resize_image.h"
#include "resize/sse/resize_sse_rows.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_compare.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::CallResult;
using resize_test::ResizeCall;
using resize_test::TestRng;

// A heap whose blocks are filled with a canary and checked on release: every byte outside the
// aligned block the allocator hands out (the part before it and the slack after it) must keep
// the canary.
class CanaryHeap {
 public:
  static constexpr uint8_t kCanary = 0xCD;
  static constexpr size_t kHeader = 16;
  static constexpr size_t kTail = 64;
  // The allocator's bookkeeping: 31 bytes of alignment slack, the block's size and heap pointer
  // kept before the block and, in debug trees, its own canary after it (which it checks itself).
  static constexpr size_t kAllocHeader = 2 * sizeof(void*);
#ifdef NDEBUG
  static constexpr size_t kAllocTail = 0;
#else
  static constexpr size_t kAllocTail = 32;
#endif
  static constexpr size_t kOverhead = 31 + kAllocHeader + kAllocTail;

  static void* Alloc(size_t bytes) {
    uint8_t* real = static_cast<uint8_t*>(std::malloc(bytes + kHeader + kTail));
    if (!real) return nullptr;
    std::memcpy(real, &bytes, sizeof bytes);
    std::memset(real + kHeader, kCanary, bytes + kTail);
    return real + kHeader;
  }
  static void Free(void* p) {
    uint8_t* raw = static_cast<uint8_t*>(p);
    uint8_t* real = raw - kHeader;
    size_t bytes;
    std::memcpy(&bytes, real, sizeof bytes);
    const uintptr_t start = (reinterpret_cast<uintptr_t>(raw) + 31 + kAllocHeader) & ~uintptr_t{31};
    uint8_t* block = reinterpret_cast<uint8_t*>(start);
    uint8_t* end = block + (bytes - kOverhead) + kAllocTail;
    for (uint8_t* q = raw; q < block - kAllocHeader; ++q) Check(*q);
    for (uint8_t* q = end; q < raw + bytes + kTail; ++q) Check(*q);
    std::free(real);
  }
  static void Check(uint8_t b) {
    if (b != kCanary) damaged.fetch_add(1);
  }
  static inline std::atomic<int> damaged{0};
};

class ResizeSseBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    CanaryHeap::damaged = 0;
    ResizeSetHeap(&CanaryHeap::Alloc, &CanaryHeap::Free);
  }
  void TearDown() override {
    ResizeSetHeap(nullptr, nullptr);
    EXPECT_EQ(CanaryHeap::damaged.load(), 0) << "a scratch block was written past its end";
  }
};

double PickFactor(TestRng& rng) {
  static const double kPool[] = {1.0, 2.0, 0.5,  0.25, 3.0,  1.0 / 3, static_cast<double>(1.0f / 3),
                                 0.2, 1.5, 0.75, 0.0,  -1.0, 8.0,     1.0 / 7};
  switch (rng.Next() % 3) {
    case 0:
      return kPool[rng.Next() % (sizeof kPool / sizeof kPool[0])];
    case 1:
      return 0.05 + rng.Unit();
    default:
      return 0.05 + rng.Unit() * 4.0;
  }
}

struct LayoutChoice {
  int32_t channels, layout, planar;
};
constexpr LayoutChoice kLayouts[] = {{3, 3, 0}, {1, 1, 0}, {4, 4, 0},
                                     {4, 3, 0}, {1, 3, 1}, {1, 4, 1}};

ResizeCall RandomCall(TestRng& rng) {
  ResizeCall c;
  c.publicEntry = rng.Next() % 4 == 0;
  if (!c.publicEntry) {
    const LayoutChoice& l = kLayouts[rng.Next() % (sizeof kLayouts / sizeof kLayouts[0])];
    c.type = rng.Range(0, 2), c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
    c.factorMode = rng.Next() % 8 == 0 ? 0 : 1;
  }
  c.srcSize = {rng.Range(1, 40), rng.Range(1, 40)};
  const int32_t pixelBytes = (c.planar ? 1 : c.channels) << c.type;
  c.srcStep = c.srcSize.width * pixelBytes + (rng.Range(0, 5) << c.type);
  c.roi = {rng.Range(0, c.srcSize.width - 1), rng.Range(0, c.srcSize.height - 1), rng.Range(1, 45),
           rng.Range(1, 45)};
  if (rng.Next() % 3 == 0) c.roi = {0, 0, c.srcSize.width, c.srcSize.height};
  c.dstRoi = {rng.Range(1, 70), rng.Range(1, 70)};
  c.dstStep = c.dstRoi.width * pixelBytes + (rng.Range(0, 5) << c.type);
  c.xf = PickFactor(rng);
  c.yf = rng.Next() % 3 == 0 ? c.xf : PickFactor(rng);
  static const int32_t kInterp[] = {1, 2, 4, 8, 16, 4, 16, 8, 3};
  c.interp = kInterp[rng.Next() % (sizeof kInterp / sizeof kInterp[0])];
  return c;
}

std::vector<uint8_t> Fill(TestRng& rng, size_t n) {
  std::vector<uint8_t> v(n);
  // Smooth stretches and noise: values near the clamps and near integer boundaries both occur.
  uint8_t level = 0;
  for (auto& b : v) {
    if (rng.Next() % 16 == 0) level = static_cast<uint8_t>(rng.Next());
    b = rng.Next() % 4 == 0 ? static_cast<uint8_t>(rng.Next()) : level;
  }
  return v;
}

TEST_F(ResizeSseBuild, MatchesThePortableBuildOnARandomMatrix) {
  TestRng rng(2026);
  int ran = 0;
  for (int i = 0; i < 2500; ++i) {
    ResizeCall c = RandomCall(rng);
    const std::vector<uint8_t> fill = Fill(rng, 997);
    const CallResult portable = resize_test::RunCall(c, fill.data(), fill.size());
    c.build = &kResizeSseBuild;
    const CallResult sse = resize_test::RunCall(c, fill.data(), fill.size());
    const std::string diff = resize_test::CompareBuilds(c, portable, sse);
    ASSERT_TRUE(diff.empty()) << "call " << i << " type " << c.type << " layout " << c.channels
                              << "/" << c.layout << "/" << c.planar << " interp " << c.interp
                              << " src " << c.srcSize.width << "x" << c.srcSize.height << " roi "
                              << c.roi.x << "," << c.roi.y << " " << c.roi.width << "x"
                              << c.roi.height << " factors " << c.xf << " " << c.yf << ": " << diff;
    ran += portable.status == 0;
  }
  EXPECT_GT(ran, 1500);
}

// Float rows whose start is 4, 8 or 12 bytes past a 16-byte boundary (lanczos vertical sums
// and area column sums of single-channel rows): the build's loads are unaligned where it cannot
// know, and it gives the portable results.
TEST_F(ResizeSseBuild, FloatRowsAtAnyFourByteOffset) {
  TestRng rng(744);
  const std::vector<uint8_t> fill = Fill(rng, 997);
  for (const int32_t interp : {16, 8}) {
    for (const int32_t layout : {3, 1}) {
      for (int32_t pad = 0; pad < 4; ++pad) {
        ResizeCall c;
        c.type = 2, c.channels = layout, c.layout = layout, c.planar = 0;
        c.interp = interp;
        c.srcSize = {23, 17};
        c.srcStep = (23 * layout + pad) * 4;
        c.roi = {1, 2, 21, 15};
        c.xf = interp == 8 ? 0.5 : 3.0;
        c.yf = 0.5;
        c.dstRoi = {70, 9};
        c.dstStep = (70 * layout + pad) * 4;
        const CallResult portable = resize_test::RunCall(c, fill.data(), fill.size());
        c.build = &kResizeSseBuild;
        const CallResult sse = resize_test::RunCall(c, fill.data(), fill.size());
        EXPECT_EQ(resize_test::CompareBuilds(c, portable, sse), "")
            << "interp " << interp << " layout " << layout << " pad " << pad;
      }
    }
  }
}

// The routing of the entry and its statuses, on the public function's images.
TEST_F(ResizeSseBuild, EntryRoutesAndAnswersLikeThePortableEntry) {
  std::vector<uint8_t> src(12 * 10 * 3);
  for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 37);
  struct Case {
    double xf, yf;
    int32_t interp;
    ResizeStatus expected;
  };
  const Case kCases[] = {
      {0.5, 0.5, 8, 0},   {0.5, 2.0, 8, -22}, {0.0, 0.5, 8, -23}, {-1.0, 1.0, 1, -23},
      {1.0, 1.0, 3, -22}, {2.0, 2.0, 16, 0},  {1.5, 0.5, 4, 0},   {1.0, 1.0, 8, 0},
      {1e-9, 1e-9, 2, 0}, {0.3, 0.3, 8, 0},
  };
  for (const Case& k : kCases) {
    std::vector<uint8_t> a(30 * 30 * 3, 0x5A), b(30 * 30 * 3, 0x5A);
    const ResizeStatus sa = ResizeEntryGeneric(src.data(), {12, 10}, 36, {0, 0, 12, 10}, a.data(),
                                               90, {30, 30}, k.xf, k.yf, k.interp);
    const ResizeStatus sb = ResizeEntrySSE(src.data(), {12, 10}, 36, {0, 0, 12, 10}, b.data(), 90,
                                           {30, 30}, k.xf, k.yf, k.interp);
    EXPECT_EQ(sa, k.expected) << k.xf << " " << k.yf << " " << k.interp;
    EXPECT_EQ(sb, k.expected) << k.xf << " " << k.yf << " " << k.interp;
    if (k.interp != 4 && k.interp != 16) {
      EXPECT_EQ(a, b) << k.xf << " " << k.yf << " " << k.interp;
    }
  }
}

// Slot 1 from start-up; processor class 5 (SSE without SSE2) selects the SSE build.
TEST_F(ResizeSseBuild, ProcessorClassFiveRoutesThePublicFunctionToTheSseBuild) {
  EXPECT_EQ(ResizeCpuSlot.load(), 1);
  // A cubic enlargement whose rows pass the packed rounding: the builds differ here.
  std::vector<uint8_t> src(16 * 16 * 3);
  for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>((i * 7919) >> 3);
  auto run = [&](ResizeEntryFn entry) {
    std::vector<uint8_t> out(40 * 40 * 3);
    EXPECT_EQ(entry(src.data(), {16, 16}, 48, {0, 0, 16, 16}, out.data(), 120, {40, 40}, 2.5, 2.5,
                    kResizeCubic),
              0);
    return out;
  };
  const std::vector<uint8_t> portable = run(ResizeEntryGeneric);
  const std::vector<uint8_t> sse = run(ResizeEntrySSE);
  ASSERT_NE(portable, sse);
  EXPECT_EQ(run(ResizeImage8uC3), portable);
  for (int32_t type : {5, 16, 17}) {
    ASSERT_EQ(ResizeSetCpuSlot(type), 0);
    EXPECT_EQ(ResizeCpuSlot.load(), 2);
    EXPECT_EQ(run(ResizeImage8uC3), sse) << type;
  }
  ASSERT_EQ(ResizeSetCpuSlot(1), 0);
  EXPECT_EQ(ResizeCpuSlot.load(), 1);
  EXPECT_EQ(run(ResizeImage8uC3), portable);
}

TEST(ResizeSseTables, EveryEntryIsTheSseBuildsOwnKernel) {
  const auto* sse = reinterpret_cast<const void* const*>(&ResizeKernelTableSse);
  const auto* generic = reinterpret_cast<const void* const*>(&ResizeKernelTableGeneric);
  static_assert(sizeof(ResizeKernelTable) == kResizeKernelCount * sizeof(void*));
  for (int k = 0; k < kResizeKernelCount; ++k) {
    EXPECT_NE(sse[k], nullptr) << k;
    EXPECT_NE(sse[k], generic[k]) << k;
  }
  // The further tables: groups nearest 0-8, linear 9-14, cubic 15-20, lanczos 21-26.
  for (const ResizeKernelTableByNearest* t :
       {&ResizeKernelTableSseCopy1, &ResizeKernelTableSseCopy2}) {
    for (int k = 0; k < 9; ++k) EXPECT_EQ(t->nearest[k], ResizeKernelTableSse.nearest[k]);
    for (int k = 0; k < 6; ++k) {
      EXPECT_EQ(t->linear[k], ResizeKernelTableSse.linear[k]);
      EXPECT_EQ(t->cubic[k], ResizeKernelTableSse.cubic[k]);
      EXPECT_EQ(t->lanczos[k], ResizeKernelTableSse.lanczos[k]);
    }
  }
  EXPECT_EQ(kResizeSseBuild.lanczosWeights, &ResizeLanczosWeightsSse);
  EXPECT_EQ(ResizeDispatchTable[2], &ResizeEntrySSE);
}

}  // namespace
