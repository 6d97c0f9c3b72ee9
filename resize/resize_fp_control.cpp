#include "resize/resize_fp_control.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#define OST_RESIZE_X86 1
#else
#define OST_RESIZE_X86 0
#endif

namespace {

// x87 exception bits (control masks and status flags share positions) and their portable bits.
struct ExceptionBit {
  uint16_t x87;
  uint32_t portable;
};
constexpr ExceptionBit kExceptionBits[] = {
    {0x01, kFpMaskInvalid},  {0x02, kFpMaskDenormal},  {0x04, kFpMaskZeroDivide},
    {0x08, kFpMaskOverflow}, {0x10, kFpMaskUnderflow}, {0x20, kFpMaskInexact},
};
constexpr uint32_t kPortableRounding[4] = {kFpRoundNear, kFpRoundDown, kFpRoundUp, kFpRoundChop};
constexpr uint32_t kPortablePrecisionMask = kFpPrecision24 | kFpPrecision53;

}  // namespace

uint32_t ResizeFpX87ControlToPortable(uint16_t control) {
  uint32_t p = 0;
  for (const auto& b : kExceptionBits) {
    if (control & b.x87) p |= b.portable;
  }
  p |= kPortableRounding[(control >> 10) & 3];
  switch ((control >> 8) & 3) {
    case 0:
      p |= kFpPrecision24;
      break;
    case 2:
      p |= kFpPrecision53;
      break;
    default:
      p |= kFpPrecision64;
      break;
  }
  if (control & 0x1000) p |= kFpInfinityAffine;
  return p;
}

uint16_t ResizeFpPortableToX87Control(uint32_t portable, uint16_t base) {
  uint16_t c = base & ~uint16_t{0x1F3F};
  for (const auto& b : kExceptionBits) {
    if (portable & b.portable) c |= b.x87;
  }
  c |= static_cast<uint16_t>(((portable & kFpRoundChop) >> 8) << 10);
  uint32_t pc = portable & kPortablePrecisionMask;
  c |= static_cast<uint16_t>(pc == kFpPrecision24 ? 0 : pc == kFpPrecision53 ? 2 : 3) << 8;
  if (portable & kFpInfinityAffine) c |= 0x1000;
  return c;
}

uint32_t ResizeFpX87StatusToPortable(uint16_t status) {
  uint32_t p = 0;
  for (const auto& b : kExceptionBits) {
    if (status & b.x87) p |= b.portable;
  }
  return p;
}

uint16_t ResizeFpGetX87Control() {
  uint16_t cw = 0;
#if OST_RESIZE_X86
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
#endif
  return cw;
}

void ResizeFpLoadX87Control(uint16_t control) {
#if OST_RESIZE_X86
  __asm__ __volatile__("fldcw %0" : : "m"(control));
#else
  (void)control;
#endif
}

uint16_t ResizeFpGetX87Status() {
  uint16_t sw = 0;
#if OST_RESIZE_X86
  __asm__ __volatile__("fnstsw %0" : "=m"(sw));
#endif
  return sw;
}

uint16_t ResizeFpGetClearX87Status() {
  uint16_t sw = ResizeFpGetX87Status();
#if OST_RESIZE_X86
  __asm__ __volatile__("fnclex");
#endif
  return sw;
}

uint32_t ResizeFpGetMxcsr() {
#if OST_RESIZE_X86
  return _mm_getcsr();
#else
  return 0;
#endif
}

void ResizeFpLoadMxcsr(uint32_t mxcsr) {
#if OST_RESIZE_X86
  _mm_setcsr(mxcsr);
#else
  (void)mxcsr;
#endif
}

uint32_t ResizeFpResetSseControl() {
  uint32_t old = ResizeFpGetMxcsr();
  ResizeFpLoadMxcsr(0x1F80);
  return old;
}

uint16_t ResizeFpSetX87ControlMasked(uint16_t value, uint16_t mask) {
  uint16_t old = ResizeFpGetX87Control();
  ResizeFpLoadX87Control(static_cast<uint16_t>((old & ~mask) | (value & mask)));
  return old;
}

uint32_t ResizeFpSetMxcsrMasked(uint32_t value, uint32_t mask) {
  uint32_t old = ResizeFpGetMxcsr();
  ResizeFpLoadMxcsr((old & ~mask) | (value & mask));
  return old;
}

uint32_t ResizeFpSetControlPortable(uint32_t value, uint32_t mask) {
  uint16_t cw = ResizeFpGetX87Control();
  uint32_t p = (ResizeFpX87ControlToPortable(cw) & ~mask) | (value & mask);
  ResizeFpLoadX87Control(ResizeFpPortableToX87Control(p, cw));
  return ResizeFpX87ControlToPortable(ResizeFpGetX87Control());
}

uint32_t ResizeFpGetStatusPortable() {
  return ResizeFpX87StatusToPortable(ResizeFpGetX87Status());
}

uint32_t ResizeFpGetClearStatusPortable() {
  return ResizeFpX87StatusToPortable(ResizeFpGetClearX87Status());
}

int32_t ResizeFpIsNan(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return (bits & 0x7FF0000000000000ull) == 0x7FF0000000000000ull &&
                 (bits & 0x000FFFFFFFFFFFFFull) != 0
             ? 1
             : 0;
}

int32_t ResizeFpIsFinite(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return (bits & 0x7FF0000000000000ull) == 0x7FF0000000000000ull ? 0 : 1;
}

void ResizeFpSetX87ControlIfDiffers(uint16_t value, uint16_t mask) {
  uint16_t cw = ResizeFpGetX87Control();
  if ((cw & mask) != value) ResizeFpLoadX87Control(static_cast<uint16_t>((cw & ~mask) | value));
}

uint32_t ResizeFpSetRoundingIfDiffers(uint32_t rounding) {
  uint32_t old = ResizeFpGetMxcsr();
  if ((old & 0x6000u) != rounding) ResizeFpLoadMxcsr((old & ~0x6000u) | rounding);
  return old;
}

int32_t ResizeFpHasDenormalsAreZero() {
#if OST_RESIZE_X86
  alignas(16) unsigned char area[512];
  std::memset(area, 0, sizeof area);
  __asm__ __volatile__("fxsave %0" : "=m"(area));
  uint32_t mask;
  std::memcpy(&mask, area + 28, sizeof mask);
  return mask != 0 && (mask & 0x40u) ? 1 : 0;
#else
  return 0;
#endif
}
