// The resize worker: checks the arguments, fits the destination, builds the row and column
// tables and weights, takes the scratch rows and calls one kernel of a build's table.
#include "resize/resize_worker.h"

#include <algorithm>
#include <cstddef>

#include "resize/resize_alloc.h"
#include "resize/resize_build.h"
#include "resize/resize_geometry.h"

namespace {

// Every scratch block of one call, freed together.
class ScratchBlocks {
 public:
  ScratchBlocks() = default;
  ScratchBlocks(const ScratchBlocks&) = delete;
  ScratchBlocks& operator=(const ScratchBlocks&) = delete;
  ~ScratchBlocks() {
    for (int i = 0; i < count_; ++i) ResizeFree(blocks_[i]);
  }
  template <typename T>
  T* Keep(void* block) {
    if (!block) {
      failed_ = true;
      return nullptr;
    }
    blocks_[count_++] = block;
    return static_cast<T*>(block);
  }
  bool failed() const { return failed_; }

 private:
  void* blocks_[16];
  int count_ = 0;
  bool failed_ = false;
};

struct Axis {
  int32_t origin;  // ROI origin in the image
  int32_t extent;  // clipped ROI extent
  int32_t image;   // image extent
  double factor;
  double shift;
  int32_t count;  // destination extent
  int32_t lo() const { return -origin; }
  int32_t hi() const { return image - 1 - origin; }
};

int32_t FitAxis(const Axis& a, int32_t limit, bool ratio, bool nearest) {
  if (ratio) return ResizeFitCount(a.extent * a.factor + kResizeEps, 0, limit);
  if (nearest) return ResizeFitCount(a.extent / a.factor + kResizeEps, 0, limit);
  return ResizeFitCount((a.extent - 1) / a.factor + kResizeEps, 1, limit);
}

ResizeAxisWalk WalkOf(const Axis& a, bool ratio, bool nearest) {
  double start;
  double step;
  if (ratio && nearest) {
    step = 1.0 / a.factor;
    start = 0.5 / a.factor;
  } else if (ratio) {
    const double scaled = a.extent * a.factor;
    step = scaled > 1.0 ? (a.extent - 1) / (scaled - 1.0) : 0.0;
    start = 0.0;
  } else {
    step = a.factor;
    start = nearest ? 0.5 * a.factor : 0.0;
  }
  return ResizeAxisWalk(start + a.shift, step, a.lo(), a.hi());
}

double ClampFraction(double f, double lo, double hi) {
  return f < lo ? lo : f > hi ? hi : f;
}

// Per-axis tables of one interpolation.  offsets[k] = index * scale.
int32_t Offset(int32_t index, int32_t scale) {
  return static_cast<int32_t>(int64_t{index} * scale);
}

void NearestAxis(const Axis& a, ResizeAxisWalk w, int32_t scale, int32_t* offsets) {
  for (int32_t k = 0; k < a.count; ++k, w.Advance()) offsets[k] = Offset(w.Index(), scale);
}

// Linear, 8-bit and 16-bit: one weight per row (lower row) or a pair per column.
void LinearAxisFixed(const Axis& a, ResizeAxisWalk w, int32_t scale, int32_t* offsets,
                     uint16_t* weights, bool pairs) {
  for (int32_t k = 0; k < a.count; ++k, w.Advance()) {
    int32_t idx = w.Index();
    int32_t f;
    if (idx == a.hi()) {
      idx -= 1;
      f = 16384;
    } else {
      const double x = (w.Position() - idx) * 16384.0 + kResizeEps;
      f = x > 0.0 ? static_cast<int32_t>(std::min(x, 16384.0)) : 0;
    }
    offsets[k] = Offset(idx, scale);
    if (pairs) {
      weights[2 * k] = static_cast<uint16_t>(16384 - f);
      weights[2 * k + 1] = static_cast<uint16_t>(f);
    } else {
      weights[k] = static_cast<uint16_t>(f);
    }
  }
}

void LinearAxisFloat(const Axis& a, ResizeAxisWalk w, int32_t scale, int32_t* offsets,
                     float* weights) {
  for (int32_t k = 0; k < a.count; ++k, w.Advance()) {
    int32_t idx = w.Index();
    float f;
    if (idx == a.hi()) {
      idx -= 1;
      f = 1.0f;
    } else {
      f = static_cast<float>(ClampFraction(w.Position() - idx, -1.0, 2.0));
    }
    offsets[k] = Offset(idx, scale);
    weights[k] = f;
  }
}

// Cubic: the base keeps the four taps base - 1 .. base + 2 inside the image.
void CubicAxis(const Axis& a, ResizeAxisWalk w, int32_t scale, int32_t* offsets, float* positions) {
  for (int32_t k = 0; k < a.count; ++k, w.Advance()) {
    const int32_t idx = w.Index();
    int32_t base = idx;
    float t;
    if (idx == a.hi()) {
      base = idx - 2;
      t = 2.0f;
    } else {
      if (idx == a.lo()) {
        base = idx + 1;
      } else if (idx == a.hi() - 1) {
        base = idx - 1;
      }
      t = static_cast<float>(ClampFraction(w.Position() - base, -2.0, 3.0));
    }
    offsets[k] = Offset(base, scale);
    positions[k] = t;
  }
}

void LanczosAxis(const Axis& a, ResizeAxisWalk w, int32_t scale, int32_t* offsets,
                 float* fractions) {
  for (int32_t k = 0; k < a.count; ++k, w.Advance()) {
    const int32_t idx = w.Index();
    offsets[k] = Offset(idx, scale);
    fractions[k] = static_cast<float>(ClampFraction(w.Position() - idx, -1.0, 2.0));
  }
}

}  // namespace

ResizeStatus ResizeRunWorker(const ResizeBuild& build, const void* src, ImgSize srcSize,
                             int32_t srcStep, ImgRect roi, void* dst, int32_t dstStep,
                             ImgSize dstRoiSize, double xFactor, double yFactor, double xShift,
                             double yShift, int32_t channels, int32_t layout, int32_t elemType,
                             int32_t planar, int32_t interpolation, int32_t factorMode) {
  if (!src || !dst) return kResizeNullPtrErr;
  if (srcSize.width <= 0 || srcSize.height <= 0) return kResizeSizeErr;
  if (srcStep <= 0 || dstStep <= 0) return kResizeStepErr;
  if (roi.x < 0 || roi.y < 0) return kResizeSizeErr;
  if (roi.width <= 0 || roi.height <= 0) return kResizeSizeErr;
  if (roi.x >= srcSize.width || roi.y >= srcSize.height) return kResizeRoiOutside;
  if (dstRoiSize.width <= 0 || dstRoiSize.height <= 0) return kResizeSizeErr;
  if (!(xFactor > 0.0) || !(yFactor > 0.0)) return kResizeFactorErr;
  if (interpolation != kResizeNearest && interpolation != kResizeLinear &&
      interpolation != kResizeCubic && interpolation != kResizeLanczos) {
    return kResizeInterpErr;
  }
  // No kernel serves another element type.
  if (elemType < kResizeElem8u || elemType > kResizeElem32f) return kResizeOk;

  // Fallback by the whole image's size.
  const int32_t minSide = std::min(srcSize.width, srcSize.height);
  int32_t interp = interpolation;
  if (minSide < 2) interp = kResizeNearest;
  if (interp == kResizeLanczos && minSide < 6) interp = kResizeCubic;
  if (interp == kResizeCubic && minSide < 4) interp = kResizeLinear;

  const bool ratio = factorMode != kResizeFactorSpan;
  const bool nearest = interp == kResizeNearest;
  Axis ax{roi.x, std::min(roi.width, srcSize.width - roi.x), srcSize.width, xFactor, xShift, 0};
  Axis ay{roi.y, std::min(roi.height, srcSize.height - roi.y), srcSize.height, yFactor, yShift, 0};
  ax.count = FitAxis(ax, dstRoiSize.width, ratio, nearest);
  ay.count = FitAxis(ay, dstRoiSize.height, ratio, nearest);
  const int32_t dstW = ax.count;
  const int32_t dstH = ay.count;

  // Source pointers and steps in elements.
  const int32_t shift = elemType;  // element size 1, 2, 4 bytes
  const bool single = layout == 1 || planar != 0;
  const int32_t colScale = single ? 1 : channels;
  const int32_t planes = !planar ? 1 : layout == 3 ? 3 : 4;
  const ptrdiff_t srcOffset = static_cast<ptrdiff_t>(roi.y) * srcStep +
                              (static_cast<ptrdiff_t>(roi.x) * (planar ? 1 : channels) << shift);
  const int32_t srcStepE = srcStep >> shift;
  const int32_t dstStepE = dstStep >> shift;

  // 8-bit packed pixels at factor 1 across, unshifted: the column walk steps exactly 1.0 from 0,
  // so every column copies its source column and only the rows are blended.
  const bool packed = channels == layout && (layout == 1 || layout == 3 || layout == 4);
  if (interp == kResizeLinear && elemType == kResizeElem8u && !planar && packed && xFactor == 1.0 &&
      xShift == 0.0 && build.linearRows8u) {
    ScratchBlocks scratch;
    int32_t* rowOfs = scratch.Keep<int32_t>(ResizeAlloc4(dstH));
    uint16_t* rowW = scratch.Keep<uint16_t>(ResizeAlloc2(dstH));
    if (scratch.failed()) return kResizeMemAllocErr;
    LinearAxisFixed(ay, WalkOf(ay, ratio, false), srcStepE, rowOfs, rowW, false);
    build.linearRows8u(static_cast<const uint8_t*>(src) + srcOffset, static_cast<uint8_t*>(dst),
                       srcStepE, dstStepE, dstW * layout, dstH, rowOfs, rowW);
    return kResizeOk;
  }

  ScratchBlocks scratch;
  int32_t* rowOfs = scratch.Keep<int32_t>(ResizeAlloc4(dstH));
  int32_t* colOfs = scratch.Keep<int32_t>(ResizeAlloc4(dstW));
  if (scratch.failed()) return kResizeMemAllocErr;

  const ResizeAxisWalk wx = WalkOf(ax, ratio, nearest);
  const ResizeAxisWalk wy = WalkOf(ay, ratio, nearest);
  void* rowW = nullptr;
  void* colW = nullptr;
  void* rowBufs[6] = {};
  int32_t rowBufCount = 0;
  int64_t rowBufElems = single ? int64_t{dstW} + 4 : (layout == 4 ? 4 : 3) * (int64_t{dstW} + 4);
  float* rowW6 = nullptr;
  float* colW6 = nullptr;

  switch (interp) {
    case kResizeNearest:
      NearestAxis(ay, wy, srcStepE, rowOfs);
      NearestAxis(ax, wx, colScale, colOfs);
      break;
    case kResizeLinear:
      if (elemType != kResizeElem32f) {
        rowW = scratch.Keep<uint16_t>(ResizeAlloc2(dstH));
        colW = scratch.Keep<uint16_t>(ResizeAlloc2(2 * int64_t{dstW}));
        if (scratch.failed()) return kResizeMemAllocErr;
        LinearAxisFixed(ay, wy, srcStepE, rowOfs, static_cast<uint16_t*>(rowW), false);
        LinearAxisFixed(ax, wx, colScale, colOfs, static_cast<uint16_t*>(colW), true);
        rowBufCount = 2;
        for (int k = 0; k < rowBufCount; ++k)
          rowBufs[k] = scratch.Keep<void>(ResizeAlloc2(rowBufElems));
      } else {
        rowW = scratch.Keep<float>(ResizeAlloc4(dstH));
        colW = scratch.Keep<float>(ResizeAlloc4(dstW));
        if (scratch.failed()) return kResizeMemAllocErr;
        LinearAxisFloat(ay, wy, srcStepE, rowOfs, static_cast<float*>(rowW));
        LinearAxisFloat(ax, wx, colScale, colOfs, static_cast<float*>(colW));
        rowBufCount = 2;
        for (int k = 0; k < rowBufCount; ++k)
          rowBufs[k] = scratch.Keep<void>(ResizeAlloc4(rowBufElems));
      }
      break;
    case kResizeCubic:
      rowW = scratch.Keep<float>(ResizeAlloc4(dstH));
      colW = scratch.Keep<float>(ResizeAlloc4(dstW));
      if (scratch.failed()) return kResizeMemAllocErr;
      CubicAxis(ay, wy, srcStepE, rowOfs, static_cast<float*>(rowW));
      CubicAxis(ax, wx, colScale, colOfs, static_cast<float*>(colW));
      rowBufCount = 4;
      for (int k = 0; k < rowBufCount; ++k)
        rowBufs[k] = scratch.Keep<void>(ResizeAlloc4(rowBufElems));
      break;
    default:  // lanczos
      rowW = scratch.Keep<float>(ResizeAlloc4(dstH));
      colW = scratch.Keep<float>(ResizeAlloc4(dstW));
      if (scratch.failed()) return kResizeMemAllocErr;
      LanczosAxis(ay, wy, srcStepE, rowOfs, static_cast<float*>(rowW));
      LanczosAxis(ax, wx, colScale, colOfs, static_cast<float*>(colW));
      rowBufCount = 6;
      for (int k = 0; k < rowBufCount; ++k)
        rowBufs[k] = scratch.Keep<void>(ResizeAlloc4(rowBufElems));
      colW6 = scratch.Keep<float>(ResizeAlloc4(6 * int64_t{dstW}));
      rowW6 = scratch.Keep<float>(ResizeAlloc4(6 * int64_t{dstH}));
      if (scratch.failed()) return kResizeMemAllocErr;
      build.lanczosWeights(static_cast<const float*>(colW), dstW, colW6);
      build.lanczosWeights(static_cast<const float*>(rowW), dstH, rowW6);
      break;
  }
  if (scratch.failed()) return kResizeMemAllocErr;

  const ResizeKernelTable& table = *build.kernels;
  const int32_t member = elemType + (single ? 3 : 0);
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
    switch (interp) {
      case kResizeNearest:
        table.nearest[single ? member : elemType + (layout == 4 ? 6 : 0)](
            s, d, dstStepE, dstW, dstH, rowOfs, colOfs, channels);
        break;
      case kResizeLinear:
        table.linear[member](s, d, srcStepE, dstStepE, dstW, dstH, rowOfs, colOfs, rowW, colW,
                             rowBufs[0], rowBufs[1], channels, layout);
        break;
      case kResizeCubic:
        table.cubic[member](s, d, srcStepE, dstStepE, dstW, dstH, rowOfs, colOfs,
                            static_cast<const float*>(rowW), static_cast<const float*>(colW),
                            static_cast<float*>(rowBufs[0]), static_cast<float*>(rowBufs[1]),
                            static_cast<float*>(rowBufs[2]), static_cast<float*>(rowBufs[3]),
                            channels, layout);
        break;
      default:
        table.lanczos[member](s, d, srcStepE, dstStepE, dstW, dstH, rowOfs, colOfs, rowW6, colW6,
                              static_cast<float*>(rowBufs[0]), static_cast<float*>(rowBufs[1]),
                              static_cast<float*>(rowBufs[2]), static_cast<float*>(rowBufs[3]),
                              static_cast<float*>(rowBufs[4]), static_cast<float*>(rowBufs[5]),
                              roi.x, roi.y, srcSize.width - roi.x, srcSize.height - roi.y,
                              ratio ? (yFactor >= 1.0 ? 1 : 0) : (yFactor < 1.0 ? 1 : 0), channels,
                              layout);
        break;
    }
  }
  return kResizeOk;
}

ResizeStatus ResizeWorker(const void* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                          void* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                          double yFactor, double xShift, double yShift, int32_t channels,
                          int32_t layout, int32_t elemType, int32_t planar, int32_t interpolation,
                          int32_t factorMode) {
  return ResizeRunWorker(kResizeGenericBuild, src, srcSize, srcStep, srcRoi, dst, dstStep,
                         dstRoiSize, xFactor, yFactor, xShift, yShift, channels, layout, elemType,
                         planar, interpolation, factorMode);
}
