// The resize library's public function and its processor dispatch.
#pragma once

#include <atomic>
#include <cstdint>

#include "resize/resize_types.h"

// Scales a region of a packed 8-bit three-channel image.  Steps are in bytes; factors are
// destination size over source size.  The caller guarantees the buffer extents.
ResizeStatus ResizeImage8uC3(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                             uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                             double yFactor, ResizeInterp interpolation);

using ResizeEntryFn = ResizeStatus (*)(const uint8_t* src, ImgSize srcSize, int32_t srcStep,
                                       ImgRect srcRoi, uint8_t* dst, int32_t dstStep,
                                       ImgSize dstRoiSize, double xFactor, double yFactor,
                                       ResizeInterp interpolation);

// The builds of the resize code, one entry each.
ResizeStatus ResizeEntryGeneric(const uint8_t* src, ImgSize srcSize, int32_t srcStep,
                                ImgRect srcRoi, uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize,
                                double xFactor, double yFactor, ResizeInterp interpolation);
ResizeStatus ResizeEntrySSE(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                            uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                            double yFactor, ResizeInterp interpolation);
ResizeStatus ResizeEntrySSE2(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                             uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                             double yFactor, ResizeInterp interpolation);
ResizeStatus ResizeEntrySSE3(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                             uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                             double yFactor, ResizeInterp interpolation);

// Slot 0 is empty; 1 generic, 2 SSE, 3 SSE2, 4 SSE2 for SSE3-class processors.
inline constexpr int32_t kResizeDispatchSlots = 5;
extern const ResizeEntryFn ResizeDispatchTable[kResizeDispatchSlots];

// The processor slot; 1 from start-up.  An empty or out-of-range slot runs the generic entry.
extern std::atomic<int32_t> ResizeCpuSlot;

// Descriptor of the public function, registered once at static initialisation.
struct ResizeDispatchDescriptor {
  const char* tag;
  const char* name;
  const ResizeEntryFn* table;
  ResizeDispatchDescriptor* next;
};
extern ResizeDispatchDescriptor* ResizeDescriptorList;
ResizeDispatchDescriptor* ResizeDescriptorPush(ResizeDispatchDescriptor* descriptor);
void ResizeDispatchRegister();

// Slot setters (results: 0 done, 20 no CPUID or other vendor, 21 unknown processor class).
inline constexpr int32_t kResizeCpuNotDetected = 20;
inline constexpr int32_t kResizeCpuUnknownType = 21;
int32_t ResizeSetCpuSlotDetected();
int32_t ResizeSetCpuSlot(int32_t cpuType);
