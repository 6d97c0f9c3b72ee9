// Scratch blocks, and what a failing allocation does to a resize.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "resize/resize_alloc.h"
#include "resize/resize_image.h"
#include "resize/resize_worker.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::GuardedBuffer;

TEST(ResizeAlloc, AlignedBlocksOfTheAskedSize) {
  std::vector<void*> blocks;
  for (int64_t n : {1, 2, 3, 31, 32, 33, 1000, 65537}) {
    for (void* (*alloc)(int64_t) : {ResizeAlloc1, ResizeAlloc2, ResizeAlloc4}) {
      void* p = alloc(n);
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 32, 0u);
      blocks.push_back(p);
    }
  }
  // Every byte of each block is usable (the sanitizers see an overrun).
  for (size_t i = 0; i < blocks.size(); ++i) {
    const int64_t n = std::vector<int64_t>{1, 2, 3, 31, 32, 33, 1000, 65537}[i / 3];
    const int64_t size = int64_t{1} << (i % 3 == 0 ? 0 : i % 3 == 1 ? 1 : 2);
    std::fill_n(static_cast<uint8_t*>(blocks[i]), n * size, 0xCD);
  }
  for (void* p : blocks) ResizeFree(p);
  ResizeFree(nullptr);
}

TEST(ResizeAlloc, NothingForEmptyOrOversizedRequests) {
  EXPECT_EQ(ResizeAlloc4(0), nullptr);
  EXPECT_EQ(ResizeAlloc2(-5), nullptr);
  EXPECT_EQ(ResizeAlloc1(std::numeric_limits<int64_t>::min()), nullptr);
  EXPECT_EQ(ResizeAlloc4(std::numeric_limits<int64_t>::max()), nullptr);
  EXPECT_EQ(ResizeAlloc1(std::numeric_limits<int64_t>::max()), nullptr);
}

// A heap that fails after a given number of allocations and counts what is still held.
struct FailingHeap {
  static inline int allowed = 0;
  static inline int held = 0;
  static void* Alloc(size_t bytes) {
    if (allowed-- <= 0) return nullptr;
    ++held;
    return std::malloc(bytes);
  }
  static void Free(void* p) {
    --held;
    std::free(p);
  }
};

class ResizeAllocFailure : public ::testing::Test {
 protected:
  void SetUp() override { ResizeSetHeap(&FailingHeap::Alloc, &FailingHeap::Free); }
  void TearDown() override { ResizeSetHeap(nullptr, nullptr); }
};

// Each allocation of a call failing in turn: -9, nothing written, nothing kept.  With enough
// allocations the call succeeds.
TEST_F(ResizeAllocFailure, EveryScratchFailureIsReported) {
  const int32_t w = 12, h = 10;
  std::vector<uint8_t> src(static_cast<size_t>(w) * h * 3);
  for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 13);
  struct Call {
    int32_t interp;
    double xf, yf;
  } const calls[] = {{1, 1.7, 1.7}, {2, 1.7, 1.7},  {2, 1.0, 2.0},  // line doubling: rows only
                     {4, 1.7, 1.7}, {16, 1.7, 1.7}, {8, 0.5, 0.5}};
  for (const Call& call : calls) {
    const int32_t interp = call.interp;
    bool succeeded = false;
    for (int allowed = 0; allowed < 20 && !succeeded; ++allowed) {
      GuardedBuffer dst(30, 30 * 3);
      FailingHeap::allowed = allowed;
      FailingHeap::held = 0;
      const ResizeStatus s = ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, dst.data(),
                                             dst.step(), {30, 30}, call.xf, call.yf, interp);
      EXPECT_EQ(FailingHeap::held, 0) << interp;
      if (s == 0) {
        // The first call that succeeds had no memory beyond the worker's blocks; its bytes are
        // those of a call with all the memory it wants.
        succeeded = true;
        ResizeSetHeap(nullptr, nullptr);
        GuardedBuffer full(30, 30 * 3);
        ASSERT_EQ(ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, full.data(), full.step(),
                                  {30, 30}, call.xf, call.yf, interp),
                  0);
        ResizeSetHeap(&FailingHeap::Alloc, &FailingHeap::Free);
        for (int32_t y = 0; y < 30; ++y) {
          EXPECT_EQ(std::memcmp(full.row(y), dst.row(y), 90), 0) << "interp " << interp;
        }
      } else {
        EXPECT_EQ(s, kResizeMemAllocErr) << "interp " << interp << " allowed " << allowed;
        EXPECT_EQ(dst.Untouched(0, 0, 3, 3, 1), "") << "interp " << interp;
      }
    }
    EXPECT_TRUE(succeeded) << interp;
  }
  // Planar 16-bit super-sampling: no plane is written when the buffer is missing.
  std::vector<uint16_t> plane(16, 7);
  const void* planes[3] = {plane.data(), plane.data(), plane.data()};
  GuardedBuffer d0(2, 8), d1(2, 8), d2(2, 8);
  void* dplanes[3] = {d0.data(), d1.data(), d2.data()};
  FailingHeap::allowed = 0;
  EXPECT_EQ(ResizeSuperSample(planes, {4, 4}, 8, {0, 0, 4, 4}, dplanes, 8, {2, 2}, 0.5, 0.5, 1, 3,
                              1, 1, 1),
            kResizeMemAllocErr);
  for (GuardedBuffer* d : {&d0, &d1, &d2}) EXPECT_EQ(d->Untouched(0, 0, 1, 1, 2), "");
}

}  // namespace
