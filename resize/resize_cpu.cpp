#include "resize/resize_cpu.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define OST_RESIZE_X86 1
#else
#define OST_RESIZE_X86 0
#endif

namespace {

struct CpuidRegs {
  uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

CpuidRegs Cpuid(uint32_t leaf) {
  CpuidRegs r;
#if OST_RESIZE_X86
  __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
#else
  (void)leaf;
#endif
  return r;
}

uint32_t ExtendedLongMode() {
  if (Cpuid(0x80000000u).eax < 0x80000001u) return 0;
  return (Cpuid(0x80000001u).edx >> 29) & 1u;
}

uint32_t MultiLogical(const CpuidRegs& leaf1) {
  return ((leaf1.edx >> 28) & 1u) && ((leaf1.ebx >> 16) & 0xFFu) > 1 ? 1u : 0u;
}

}  // namespace

int32_t ResizeHasCpuid() {
#if defined(__x86_64__)
  return 1;  // the EFLAGS ID bit always toggles in long mode
#elif defined(__i386__)
  return __get_cpuid_max(0, nullptr) != 0 ? 1 : 0;  // toggles EFLAGS bit 21
#else
  return 0;
#endif
}

int32_t ResizeIsGenuineVendor() {
  if (!ResizeHasCpuid()) return 0;
  CpuidRegs r = Cpuid(0);
  return r.ebx == 0x756E6547u && r.edx == 0x49656E69u && r.ecx == 0x6C65746Eu ? 1 : 0;
}

void ResizeReadCpuInfo(ResizeCpuInfo* info) {
  *info = ResizeCpuInfo{};
  if (!ResizeHasCpuid()) return;
  CpuidRegs l1 = Cpuid(1);
  CpuidRegs l2 = Cpuid(2);
  info->family = (l1.eax >> 8) & 0xFu;
  info->stepping = l1.eax & 0xFu;
  info->model = (l1.eax >> 4) & 0xFu;
  info->featureEdx = l1.edx;
  info->leaf2Eax = l2.eax;
  info->leaf2Edx = l2.edx;
  info->mmx = (l1.edx >> 23) & 1u;
  info->sse = (l1.edx >> 25) & 1u;
  info->sse2 = (l1.edx >> 26) & 1u;
  info->multiLogical = MultiLogical(l1);
  info->sse3 = l1.ecx & 1u;
  info->longMode = ExtendedLongMode();
}

ResizeCpuType ResizeClassifyCpu(int32_t hasCpuid, int32_t genuineVendor,
                                const ResizeCpuInfo& info) {
  if (!hasCpuid || !genuineVendor) return 0;
  switch (info.family) {
    case 7:
      return 16;
    case 15:
      if (!info.sse2) return 17;
      if (info.sse3) return info.longMode ? 32 : 8;
      return info.multiLogical ? 7 : 6;
    case 5:
      return info.mmx ? 2 : 1;
    case 6:
      if (info.sse2) return 9;
      if (info.sse) return 5;
      return info.mmx ? 4 : 3;
    default:
      return 0;
  }
}

ResizeCpuType ResizeDetectCpuType() {
  int32_t hasCpuid = ResizeHasCpuid();
  int32_t genuine = hasCpuid ? ResizeIsGenuineVendor() : 0;
  ResizeCpuInfo info{};
  if (hasCpuid && genuine) ResizeReadCpuInfo(&info);
  return ResizeClassifyCpu(hasCpuid, genuine, info);
}

uint32_t ResizeCpuMaxLeaf() {
  return ResizeHasCpuid() ? Cpuid(0).eax : 0;
}
int32_t ResizeCpuHasTsc() {
  return ResizeHasCpuid() ? (Cpuid(1).edx >> 4) & 1u : 0;
}
int32_t ResizeCpuHasMmx() {
  return ResizeHasCpuid() ? (Cpuid(1).edx >> 23) & 1u : 0;
}
int32_t ResizeCpuHasSse() {
  return ResizeHasCpuid() ? (Cpuid(1).edx >> 25) & 1u : 0;
}
int32_t ResizeCpuHasSse2() {
  return ResizeHasCpuid() ? (Cpuid(1).edx >> 26) & 1u : 0;
}
int32_t ResizeCpuHasMultiLogical() {
  return ResizeHasCpuid() ? MultiLogical(Cpuid(1)) : 0;
}
int32_t ResizeCpuHasSse3() {
  return ResizeHasCpuid() ? Cpuid(1).ecx & 1u : 0;
}
int32_t ResizeCpuHasLongMode() {
  return ResizeHasCpuid() ? ExtendedLongMode() : 0;
}

uint64_t ResizeReadTsc() {
#if OST_RESIZE_X86
  return __rdtsc();
#else
  return 0;
#endif
}
