// Processor detection for the resize dispatcher (x86 and x86-64; elsewhere no CPUID).
#pragma once

#include <cstdint>

struct ResizeCpuInfo {
  uint32_t family;      // leaf 1 EAX bits 8-11
  uint32_t stepping;    // bits 0-3
  uint32_t model;       // bits 4-7
  uint32_t featureEdx;  // leaf 1 EDX
  uint32_t leaf2Eax;
  uint32_t leaf2Edx;
  uint32_t mmx;  // 0 or 1
  uint32_t sse;
  uint32_t sse2;
  uint32_t multiLogical;  // EDX bit 28 with EBX bits 16-23 above 1
  uint32_t sse3;
  uint32_t longMode;
};

// Processor classes (ResizeCpuType): 0 to 9, 16, 17 and 32.
using ResizeCpuType = int32_t;

int32_t ResizeHasCpuid();
int32_t ResizeIsGenuineVendor();
void ResizeReadCpuInfo(ResizeCpuInfo* info);
ResizeCpuType ResizeDetectCpuType();

// The classification rule itself, over a given CPUID record.
ResizeCpuType ResizeClassifyCpu(int32_t hasCpuid, int32_t genuineVendor, const ResizeCpuInfo& info);

// Single feature queries; each executes CPUID (0 without it).
uint32_t ResizeCpuMaxLeaf();
int32_t ResizeCpuHasTsc();
int32_t ResizeCpuHasMmx();
int32_t ResizeCpuHasSse();
int32_t ResizeCpuHasSse2();
int32_t ResizeCpuHasMultiLogical();
int32_t ResizeCpuHasSse3();
int32_t ResizeCpuHasLongMode();
uint64_t ResizeReadTsc();
