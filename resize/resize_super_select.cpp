// The super-sampling selector: checks, fits the destination, derives the steps, the norm and
// the fraction code, takes the row buffer and calls the kernel of the element type and layout.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "resize/resize_alloc.h"
#include "resize/resize_build.h"
#include "resize/resize_geometry.h"
#include "resize/resize_worker.h"

ResizeStatus ResizeRunSuperSample(const ResizeBuild& build, const void* src, ImgSize srcSize,
                                  int32_t srcStep, ImgRect roi, void* dst, int32_t dstStep,
                                  ImgSize dstRoiSize, double xFactor, double yFactor,
                                  int32_t channels, int32_t layout, int32_t elemType,
                                  int32_t planar, int32_t factorMode) {
  if (!src || !dst) return kResizeNullPtrErr;
  if (srcSize.width < 1 || srcSize.height < 1) return kResizeSizeErr;
  if (srcStep < 1 || dstStep < 1) return kResizeStepErr;
  if (roi.x < 0 || roi.y < 0) return kResizeSizeErr;
  if (roi.width < 1 || roi.height < 1) return kResizeSizeErr;
  if (roi.x >= srcSize.width || roi.y >= srcSize.height) return kResizeRoiOutside;
  if (dstRoiSize.width < 1 || dstRoiSize.height < 1) return kResizeSizeErr;
  // Steps below one source pixel per destination pixel are not a reduction.
  const bool ratio = factorMode != kResizeFactorSpan;
  if (!(xFactor > 0.0) || !(yFactor > 0.0)) return kResizeFactorErr;
  if (ratio ? (xFactor > 1.0 || yFactor > 1.0) : (xFactor < 1.0 || yFactor < 1.0)) {
    return kResizeInterpErr;
  }
  if (elemType < kResizeElem8u || elemType > kResizeElem32f) return kResizeOk;

  const int32_t w = std::min(roi.width, srcSize.width - roi.x);
  const int32_t h = std::min(roi.height, srcSize.height - roi.y);
  int32_t dstW;
  int32_t dstH;
  double hStep;
  double vStep;
  if (ratio) {
    dstW = ResizeFitCount(w * xFactor + kResizeEps, 0, dstRoiSize.width);
    dstH = ResizeFitCount(h * yFactor + kResizeEps, 0, dstRoiSize.height);
    hStep = 1.0 / xFactor;
    vStep = 1.0 / yFactor;
  } else {
    // The full size when a request reaches past trunc((W - 1) / factor) + 1 pixels.
    auto fit = [](int32_t extent, double factor, int32_t limit) {
      if ((extent - 1) / factor + kResizeEps < limit - 1.0) {
        return ResizeFitCount(extent / factor + kResizeEps, 1, limit);
      }
      return limit;
    };
    dstW = fit(w, xFactor, dstRoiSize.width);
    dstH = fit(h, yFactor, dstRoiSize.height);
    hStep = xFactor;
    vStep = yFactor;
  }
  // A region smaller than one span gives its own mean: the span becomes the region.
  const bool wholeX = hStep > w;
  const bool wholeY = vStep > h;
  if (wholeX) hStep = w;
  if (wholeY) vStep = h;
  double norm;
  if (ratio) {
    norm = (wholeX ? 1.0 / w : xFactor) * (wholeY ? 1.0 / h : yFactor);
  } else {
    norm = 1.0 / (hStep * vStep);
  }

  const double cols = (dstW + 1.0) * hStep;
  const int32_t srcCols = cols + 1.0 >= w ? w : static_cast<int32_t>(cols) + 1;
  const int32_t code =
      (hStep - std::trunc(hStep) != 0.0 ? 2 : 0) + (vStep - std::trunc(vStep) != 0.0 ? 1 : 0);

  const bool single = layout == 1 || planar != 0;
  const int32_t kind = single ? 0 : layout == 4 ? 2 : 1;
  const int32_t elems = single ? 1 : layout == 4 ? 4 : 3;
  const int32_t planes = !planar ? 1 : layout == 3 ? 3 : 4;
  const int32_t elemSize = 1 << elemType;
  const ptrdiff_t srcOffset = static_cast<ptrdiff_t>(roi.y) * srcStep +
                              static_cast<ptrdiff_t>(roi.x) * (planar ? 1 : channels) * elemSize;

  // Column sums and pixel sums, 8 bytes per element.
  void* buffer = ResizeAlloc1((int64_t{srcCols} + dstW) * elems * 8);
  if (!buffer) return kResizeMemAllocErr;
  const ResizeSuperKernel kernel = build.superKernels->kernels[elemType][kind];
  for (int32_t p = 0; p < planes; ++p) {
    const uint8_t* s;
    void* d;
    if (planar) {
      s = static_cast<const uint8_t* const*>(src)[p] + srcOffset;
      d = static_cast<void* const*>(dst)[p];
    } else {
      s = static_cast<const uint8_t*>(src) + srcOffset;
      d = dst;
    }
    kernel(s, d, srcStep, dstStep, srcCols, h, dstW, dstH, hStep, vStep, norm, channels, code,
           buffer);
  }
  ResizeFree(buffer);
  return kResizeOk;
}

ResizeStatus ResizeSuperSample(const void* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                               void* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                               double yFactor, int32_t channels, int32_t layout, int32_t elemType,
                               int32_t planar, int32_t factorMode) {
  return ResizeRunSuperSample(kResizeGenericBuild, src, srcSize, srcStep, srcRoi, dst, dstStep,
                              dstRoiSize, xFactor, yFactor, channels, layout, elemType, planar,
                              factorMode);
}
