// What one build of the resize code consists of: its kernel tables and weight builder.  The
// worker and the super-sampling selector are shared; a build supplies the kernels they call.
#pragma once

#include <cstdint>

#include "resize/resize_types.h"

// Steps are in elements and offsets relative to the ROI's top-left pixel (Part of the worker).
using ResizeNearestKernel = void (*)(const void* src, void* dst, int32_t dstStep, int32_t dstW,
                                     int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs,
                                     int32_t channels);
using ResizeLinearKernel = void (*)(const void* src, void* dst, int32_t srcStep, int32_t dstStep,
                                    int32_t dstW, int32_t dstH, const int32_t* rowOfs,
                                    const int32_t* colOfs, const void* rowWeights,
                                    const void* colWeights, void* rowBuf0, void* rowBuf1,
                                    int32_t channels, int32_t layout);
using ResizeCubicKernel = void (*)(const void* src, void* dst, int32_t srcStep, int32_t dstStep,
                                   int32_t dstW, int32_t dstH, const int32_t* rowOfs,
                                   const int32_t* colOfs, const float* rowPos, const float* colPos,
                                   float* rowBuf0, float* rowBuf1, float* rowBuf2, float* rowBuf3,
                                   int32_t channels, int32_t layout);
using ResizeLanczosKernel = void (*)(const void* src, void* dst, int32_t srcStep, int32_t dstStep,
                                     int32_t dstW, int32_t dstH, const int32_t* rowOfs,
                                     const int32_t* colOfs, const float* rowWeights6,
                                     const float* colWeights6, float* rowBuf0, float* rowBuf1,
                                     float* rowBuf2, float* rowBuf3, float* rowBuf4, float* rowBuf5,
                                     int32_t roiX, int32_t roiY, int32_t restW, int32_t restH,
                                     int32_t yEnlarge, int32_t channels, int32_t layout);

// The 27 kernels in four groups; within a group: element type, + 3 for one channel (or a plane),
// and for nearest + 6 for four channels.
struct ResizeKernelTable {
  ResizeLanczosKernel lanczos[6];
  ResizeCubicKernel cubic[6];
  ResizeLinearKernel linear[6];
  ResizeNearestKernel nearest[9];
};
inline constexpr int32_t kResizeKernelCount = 27;

// Super-sampling kernels.  Steps are in bytes; srcCols columns and srcRows rows of the region
// may be read; rowBuffer holds srcCols pixels of 8-byte sums (see the selector).
using ResizeSuperKernel = void (*)(const void* src, void* dst, int32_t srcStep, int32_t dstStep,
                                   int32_t srcCols, int32_t srcRows, int32_t dstW, int32_t dstH,
                                   double hStep, double vStep, double norm, int32_t channels,
                                   int32_t fractionCode, void* rowBuffer);

// Indexed [element type][0 one channel, 1 three channels, 2 four channels].
struct ResizeSuperKernelTable {
  ResizeSuperKernel kernels[3][3];
};

using ResizeLanczosWeightsFn = void (*)(const float* fractions, int32_t count, float* weights);

// 8-bit linear over packed pixels whose columns are copies of their source columns (factor 1
// across, no shift): destination row i blends the source rows at rowOfs[i] and rowOfs[i] +
// srcStep with the lower row's weight rowW[i]; rowElems values per row.  Steps in bytes.
using ResizeLinearRowsKernel = void (*)(const uint8_t* src, uint8_t* dst, int32_t srcStep,
                                        int32_t dstStep, int32_t rowElems, int32_t dstH,
                                        const int32_t* rowOfs, const uint16_t* rowW);

struct ResizeBuild {
  const ResizeKernelTable* kernels;
  ResizeLanczosWeightsFn lanczosWeights;
  const ResizeSuperKernelTable* superKernels;
  // Null: such calls take the linear kernel of the table (the same bytes, more work).
  ResizeLinearRowsKernel linearRows8u;
};

// The row-only kernel every build uses; its results are the general 8-bit linear kernel's.
void ResizeLinearRows8u(const uint8_t* src, uint8_t* dst, int32_t srcStep, int32_t dstStep,
                        int32_t rowElems, int32_t dstH, const int32_t* rowOfs,
                        const uint16_t* rowW);

// The portable build.
extern const ResizeKernelTable ResizeKernelTableGeneric;
extern const ResizeSuperKernelTable ResizeSuperKernelTableGeneric;
extern const ResizeBuild kResizeGenericBuild;

// Worker and selector of a build (see resize_worker.h and resize_super_sample.h).
ResizeStatus ResizeRunWorker(const ResizeBuild& build, const void* src, ImgSize srcSize,
                             int32_t srcStep, ImgRect srcRoi, void* dst, int32_t dstStep,
                             ImgSize dstRoiSize, double xFactor, double yFactor, double xShift,
                             double yShift, int32_t channels, int32_t layout, int32_t elemType,
                             int32_t planar, int32_t interpolation, int32_t factorMode);
ResizeStatus ResizeRunSuperSample(const ResizeBuild& build, const void* src, ImgSize srcSize,
                                  int32_t srcStep, ImgRect srcRoi, void* dst, int32_t dstStep,
                                  ImgSize dstRoiSize, double xFactor, double yFactor,
                                  int32_t channels, int32_t layout, int32_t elemType,
                                  int32_t planar, int32_t factorMode);

// The public entry's routing, shared by every build: super-sampling for interpolation 8 with both
// factors in (0, 1], the worker for everything else (packed 8-bit three-channel pixels).
inline ResizeStatus ResizeRouteEntry(const ResizeBuild& build, const uint8_t* src, ImgSize srcSize,
                                     int32_t srcStep, ImgRect srcRoi, uint8_t* dst, int32_t dstStep,
                                     ImgSize dstRoiSize, double xFactor, double yFactor,
                                     ResizeInterp interpolation) {
  if (interpolation == kResizeSuper && xFactor > 0.0 && xFactor <= 1.0 && yFactor > 0.0 &&
      yFactor <= 1.0) {
    return ResizeRunSuperSample(build, src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize,
                                xFactor, yFactor, 3, 3, kResizeElem8u, 0, kResizeFactorRatio);
  }
  return ResizeRunWorker(build, src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize, xFactor,
                         yFactor, 0.0, 0.0, 3, 3, kResizeElem8u, 0, interpolation,
                         kResizeFactorRatio);
}

// The generic build also carries its kernels in two further tables ordered nearest, linear,
// cubic, lanczos; nothing reads them.
struct ResizeKernelTableByNearest {
  ResizeNearestKernel nearest[9];
  ResizeLinearKernel linear[6];
  ResizeCubicKernel cubic[6];
  ResizeLanczosKernel lanczos[6];
};
extern const ResizeKernelTableByNearest ResizeKernelTableGenericCopy1;
extern const ResizeKernelTableByNearest ResizeKernelTableGenericCopy2;
