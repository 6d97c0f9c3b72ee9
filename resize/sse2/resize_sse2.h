// The SSE2 build of the resize code and its twin for SSE3-class processors (dispatch slots 3
// and 4): entries, workers, super-sampling selectors, kernel tables, scratch and lanczos weights.
// Both builds are one implementation compiled twice and give the same results bit for bit.
#pragma once

#include <cstdint>

#include "resize/resize_build.h"
#include "resize/resize_types.h"

#define OST_RESIZE_SIMD_BUILD_DECLS(S)                                                            \
  ResizeStatus ResizeWorker##S(const void* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi, \
                               void* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,    \
                               double yFactor, double xShift, double yShift, int32_t pixelStride, \
                               int32_t channels, int32_t dataType, int32_t planar,                \
                               int32_t interpolation, int32_t factorMode);                        \
  ResizeStatus ResizeSuperSample##S(                                                              \
      const void* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi, void* dst,               \
      int32_t dstStep, ImgSize dstRoiSize, double xFactor, double yFactor, int32_t pixelStride,   \
      int32_t channels, int32_t dataType, int32_t planar, int32_t factorMode);                    \
  void* ResizeAlloc##S(int32_t count, int32_t elementSize);                                       \
  void ResizeFree##S(void* block);                                                                \
  void ResizeLanczosWeights##S(const float* fractions, int32_t count, float* weights);            \
  extern const ResizeKernelTable ResizeKernelTable##S;                                            \
  extern const ResizeSuperKernelTable ResizeSuperKernelTable##S;                                  \
  extern const ResizeBuild kResize##S##Build;

// Worker and selector take piece-wise the generic worker's arguments: pixelStride is the pixel
// stride in elements, channels the processed channels (1, 3 or 4).
OST_RESIZE_SIMD_BUILD_DECLS(Sse2)
OST_RESIZE_SIMD_BUILD_DECLS(Sse3)

#undef OST_RESIZE_SIMD_BUILD_DECLS
