// The public function's dispatch, descriptor, slot setters and processor classification.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "resize/resize_cpu.h"
#include "resize/resize_fp_control.h"
#include "resize/resize_image.h"

namespace {

// Restores the slot after a test moved it.
class SlotGuard {
 public:
  SlotGuard() : saved_(ResizeCpuSlot.load()) {}
  ~SlotGuard() { ResizeCpuSlot.store(saved_); }

 private:
  int32_t saved_;
};

std::vector<uint8_t> Gradient(int w, int h) {
  std::vector<uint8_t> v(static_cast<size_t>(w) * h * 3);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<uint8_t>(i * 7 + i / 5);
  return v;
}

TEST(ResizeDispatch, StartsOnTheGenericSlotAndForwardsUnchanged) {
  EXPECT_EQ(ResizeCpuSlot.load(), 1);
  EXPECT_EQ(ResizeDispatchTable[0], nullptr);
  EXPECT_EQ(ResizeDispatchTable[1], &ResizeEntryGeneric);
  EXPECT_EQ(ResizeDispatchTable[2], &ResizeEntrySSE);
  EXPECT_EQ(ResizeDispatchTable[3], &ResizeEntrySSE2);
  EXPECT_EQ(ResizeDispatchTable[4], &ResizeEntrySSE3);

  const auto src = Gradient(13, 9);
  for (ResizeInterp interp : {1, 2, 4, 8, 16}) {
    std::vector<uint8_t> a(40 * 30 * 3, 1), b(40 * 30 * 3, 1);
    const double f = interp == 8 ? 0.5 : 2.7;
    ResizeStatus sa = ResizeImage8uC3(src.data(), {13, 9}, 39, {1, 1, 12, 8}, a.data(), 120,
                                      {40, 30}, f, f, interp);
    ResizeStatus sb = ResizeEntryGeneric(src.data(), {13, 9}, 39, {1, 1, 12, 8}, b.data(), 120,
                                         {40, 30}, f, f, interp);
    EXPECT_EQ(sa, 0);
    EXPECT_EQ(sa, sb);
    EXPECT_EQ(a, b) << "interpolation " << interp;
  }
}

TEST(ResizeDispatch, DescriptorIsRegisteredOnce) {
  ASSERT_NE(ResizeDescriptorList, nullptr);
  EXPECT_STREQ(ResizeDescriptorList->tag, "i");
  EXPECT_STREQ(ResizeDescriptorList->name, "ResizeImage8uC3");
  EXPECT_EQ(ResizeDescriptorList->table, ResizeDispatchTable);
  EXPECT_EQ(ResizeDescriptorList->next, nullptr);
}

TEST(ResizeDispatch, SlotForProcessorClass) {
  SlotGuard guard;
  struct Case {
    int32_t type, result, slot;
  };
  const Case cases[] = {{0, 0, 1}, {1, 0, 1},  {2, 0, 1},  {3, 0, 1}, {4, 0, 1},
                        {5, 0, 2}, {16, 0, 2}, {17, 0, 2}, {6, 0, 3}, {7, 0, 3},
                        {9, 0, 3}, {8, 0, 4},  {32, 0, 4}, {-1, 0, 0}};
  for (const Case& c : cases) {
    ResizeCpuSlot.store(1);
    EXPECT_EQ(ResizeSetCpuSlot(c.type), c.result) << c.type;
    EXPECT_EQ(ResizeCpuSlot.load(), c.slot) << c.type;
  }
  for (int32_t unknown : {10, 11, 15, 31, 33, -2}) {
    ResizeCpuSlot.store(3);
    EXPECT_EQ(ResizeSetCpuSlot(unknown), kResizeCpuUnknownType);
    EXPECT_EQ(ResizeCpuSlot.load(), 3) << unknown;
  }
}

// Every slot, the empty one and out-of-range values included, answers like the generic entry.
TEST(ResizeDispatch, EverySlotAnswersLikeTheGenericEntry) {
  SlotGuard guard;
  const auto src = Gradient(10, 10);
  std::vector<uint8_t> expect(25 * 25 * 3, 0);
  ASSERT_EQ(ResizeEntryGeneric(src.data(), {10, 10}, 30, {0, 0, 10, 10}, expect.data(), 75,
                               {25, 25}, 2.5, 2.5, 2),
            0);
  for (int32_t slot : {0, 1, 2, 3, 4, 5, -1, 1000}) {
    ResizeCpuSlot.store(slot);
    std::vector<uint8_t> out(25 * 25 * 3, 0);
    EXPECT_EQ(ResizeImage8uC3(src.data(), {10, 10}, 30, {0, 0, 10, 10}, out.data(), 75, {25, 25},
                              2.5, 2.5, 2),
              0)
        << slot;
    EXPECT_EQ(out, expect) << "slot " << slot;
    EXPECT_EQ(ResizeImage8uC3(nullptr, {10, 10}, 30, {0, 0, 10, 10}, out.data(), 75, {25, 25}, 2.5,
                              2.5, 2),
              kResizeNullPtrErr);
  }
}

TEST(ResizeDispatch, DetectedSlotMatchesTheProcessor) {
  SlotGuard guard;
  const int32_t result = ResizeSetCpuSlotDetected();
  if (!ResizeHasCpuid() || !ResizeIsGenuineVendor()) {
    EXPECT_EQ(result, kResizeCpuNotDetected);
    EXPECT_EQ(ResizeCpuSlot.load(), 1);
  } else {
    EXPECT_EQ(result, 0);
    ResizeCpuSlot.store(1);
    ASSERT_EQ(ResizeSetCpuSlot(ResizeDetectCpuType()), 0);
    const int32_t expect = ResizeCpuSlot.load();
    ResizeSetCpuSlotDetected();
    EXPECT_EQ(ResizeCpuSlot.load(), expect);
  }
}

ResizeCpuInfo Info(uint32_t family, uint32_t mmx, uint32_t sse, uint32_t sse2, uint32_t sse3,
                   uint32_t longMode, uint32_t multi) {
  ResizeCpuInfo i{};
  i.family = family, i.mmx = mmx, i.sse = sse, i.sse2 = sse2, i.sse3 = sse3;
  i.longMode = longMode, i.multiLogical = multi;
  return i;
}

TEST(ResizeDispatch, ProcessorClasses) {
  struct Case {
    ResizeCpuInfo info;
    int32_t type;
  };
  const Case cases[] = {
      {Info(15, 1, 1, 1, 1, 0, 0), 8}, {Info(15, 1, 1, 1, 1, 1, 0), 32},
      {Info(6, 1, 1, 0, 0, 0, 0), 5},  {Info(6, 1, 1, 1, 0, 0, 0), 9},
      {Info(6, 1, 0, 0, 0, 0, 0), 4},  {Info(6, 0, 0, 0, 0, 0, 0), 3},
      {Info(5, 1, 0, 0, 0, 0, 0), 2},  {Info(5, 0, 0, 0, 0, 0, 0), 1},
      {Info(7, 1, 1, 1, 1, 1, 1), 16}, {Info(15, 1, 1, 0, 0, 0, 0), 17},
      {Info(15, 1, 1, 1, 0, 0, 1), 7}, {Info(15, 1, 1, 1, 0, 0, 0), 6},
      {Info(4, 0, 0, 0, 0, 0, 0), 0},  {Info(14, 1, 1, 1, 1, 1, 1), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResizeClassifyCpu(1, 1, c.info), c.type) << "family " << c.info.family;
  }
  EXPECT_EQ(ResizeClassifyCpu(0, 1, Info(15, 1, 1, 1, 1, 1, 0)), 0);
  EXPECT_EQ(ResizeClassifyCpu(1, 0, Info(15, 1, 1, 1, 1, 1, 0)), 0);
}

TEST(ResizeDispatch, CpuInfoAgreesWithTheFeatureQueries) {
  ResizeCpuInfo info;
  ResizeReadCpuInfo(&info);
  EXPECT_EQ(info.mmx, static_cast<uint32_t>(ResizeCpuHasMmx()));
  EXPECT_EQ(info.sse, static_cast<uint32_t>(ResizeCpuHasSse()));
  EXPECT_EQ(info.sse2, static_cast<uint32_t>(ResizeCpuHasSse2()));
  EXPECT_EQ(info.sse3, static_cast<uint32_t>(ResizeCpuHasSse3()));
  EXPECT_EQ(info.longMode, static_cast<uint32_t>(ResizeCpuHasLongMode()));
  EXPECT_EQ(info.multiLogical, static_cast<uint32_t>(ResizeCpuHasMultiLogical()));
#if defined(__x86_64__)
  EXPECT_EQ(ResizeHasCpuid(), 1);
  EXPECT_EQ(info.sse2, 1u);
  EXPECT_GT(ResizeCpuMaxLeaf(), 0u);
  if (ResizeCpuHasTsc()) {
    EXPECT_NE(ResizeReadTsc(), 0u);
  }
#endif
}

TEST(ResizeFpControl, PortableFormTranslation) {
  // Default x87 control word: all exceptions masked, 64-bit precision, round to nearest.
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x037F),
            kFpMaskInvalid | kFpMaskZeroDivide | kFpMaskOverflow | kFpMaskUnderflow |
                kFpMaskInexact | kFpMaskDenormal | kFpRoundNear | kFpPrecision64);
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x027F) & (kFpPrecision24 | kFpPrecision53),
            kFpPrecision53);
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x007F) & (kFpPrecision24 | kFpPrecision53),
            kFpPrecision24);
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x0C00) & kFpRoundChop, kFpRoundChop);
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x0400) & kFpRoundChop, kFpRoundDown);
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x0800) & kFpRoundChop, kFpRoundUp);
  EXPECT_EQ(ResizeFpX87ControlToPortable(0x1000) & kFpInfinityAffine, kFpInfinityAffine);
  for (uint16_t cw : {0x037F, 0x027F, 0x007F, 0x0F7F, 0x1B72, 0x0040}) {
    EXPECT_EQ(ResizeFpPortableToX87Control(ResizeFpX87ControlToPortable(cw), cw), cw) << cw;
  }
  EXPECT_EQ(ResizeFpX87StatusToPortable(0x3F), kFpMaskInvalid | kFpMaskDenormal |
                                                   kFpMaskZeroDivide | kFpMaskOverflow |
                                                   kFpMaskUnderflow | kFpMaskInexact);
}

TEST(ResizeFpControl, NanAndFiniteTests) {
  const double qnan = std::numeric_limits<double>::quiet_NaN();
  const double snan = std::numeric_limits<double>::signaling_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ResizeFpIsNan(qnan), 1);
  EXPECT_EQ(ResizeFpIsNan(snan), 1);
  EXPECT_EQ(ResizeFpIsNan(inf), 0);
  EXPECT_EQ(ResizeFpIsNan(1.5), 0);
  EXPECT_EQ(ResizeFpIsFinite(inf), 0);
  EXPECT_EQ(ResizeFpIsFinite(-inf), 0);
  EXPECT_EQ(ResizeFpIsFinite(qnan), 0);
  EXPECT_EQ(ResizeFpIsFinite(std::numeric_limits<double>::denorm_min()), 1);
  EXPECT_EQ(ResizeFpIsFinite(-0.0), 1);
}

#if defined(__x86_64__) || defined(__i386__)
TEST(ResizeFpControl, HardwareRoutinesRestoreWhatTheyChange) {
  const uint32_t mxcsr = ResizeFpGetMxcsr();
  const uint16_t cw = ResizeFpGetX87Control();

  EXPECT_EQ(ResizeFpSetMxcsrMasked(0x6000, 0x6000), mxcsr);
  EXPECT_EQ(ResizeFpGetMxcsr() & 0x6000u, 0x6000u);
  EXPECT_EQ(ResizeFpResetSseControl() & 0x6000u, 0x6000u);
  EXPECT_EQ(ResizeFpGetMxcsr() & 0xFFC0u, 0x1F80u);
  EXPECT_EQ(ResizeFpSetRoundingIfDiffers(0x2000) & 0x6000u, 0u);
  EXPECT_EQ(ResizeFpGetMxcsr() & 0x6000u, 0x2000u);
  ResizeFpLoadMxcsr(mxcsr);
  EXPECT_EQ(ResizeFpGetMxcsr(), mxcsr);

  EXPECT_EQ(ResizeFpSetX87ControlMasked(0x0C00, 0x0C00), cw);
  EXPECT_EQ(ResizeFpGetX87Control() & 0x0C00, 0x0C00);
  EXPECT_EQ(ResizeFpSetControlPortable(kFpRoundNear, kFpRoundChop) & kFpRoundChop, kFpRoundNear);
  ResizeFpSetX87ControlIfDiffers(0x0400, 0x0C00);
  EXPECT_EQ(ResizeFpGetX87Control() & 0x0C00, 0x0400);
  ResizeFpLoadX87Control(cw);
  EXPECT_EQ(ResizeFpGetX87Control(), cw);

  ResizeFpGetClearX87Status();
  EXPECT_EQ(ResizeFpGetStatusPortable(), 0u);
  EXPECT_EQ(ResizeFpGetClearStatusPortable(), 0u);
  const int32_t daz = ResizeFpHasDenormalsAreZero();
  EXPECT_TRUE(daz == 0 || daz == 1);
}
#endif

}  // namespace
