#include "tests/resize/resize_call.h"

#include <algorithm>
#include <cmath>

#include "resize/resize_image.h"
#include "resize/resize_worker.h"
#include "tests/resize/resize_test_image.h"

namespace resize_test {

namespace {

int32_t ElemSize(const ResizeCall& c) {
  return 1 << c.type;
}
int32_t PixelElems(const ResizeCall& c) {
  return c.planar ? 1 : c.channels;
}
int32_t Planes(const ResizeCall& c) {
  return !c.planar ? 1 : c.layout == 3 ? 3 : 4;
}
int32_t Written(const ResizeCall& c) {
  return c.planar || c.layout == 1 ? 1 : c.layout == 4 ? 4 : 3;
}

// Destination size of a status-0 call (factor mode 1; the selector's fitting is the same).
int32_t Fit(int32_t extent, double f, int32_t limit, bool nearest, int32_t mode, bool super) {
  double t;
  int32_t add = 0;
  if (mode == 1) {
    t = extent * f + 1e-7;
  } else if (super) {
    if (!((extent - 1) / f + 1e-7 < limit - 1.0)) return limit;
    t = extent / f + 1e-7;
    add = 1;
  } else if (nearest) {
    t = extent / f + 1e-7;
  } else {
    t = (extent - 1) / f + 1e-7;
    add = 1;
  }
  if (!(t < static_cast<double>(limit) - add)) return limit;
  return std::max(static_cast<int32_t>(t) + add, 1);
}

bool IsSuper(const ResizeCall& c) {
  if (c.publicEntry) {
    return c.interp == 8 && c.xf > 0 && c.xf <= 1 && c.yf > 0 && c.yf <= 1;
  }
  return c.interp == 8;
}

}  // namespace

ResizeStatus ExpectedStatus(const ResizeCall& c) {
  if (c.nullSrc || c.nullDst) return -8;
  if (c.srcSize.width <= 0 || c.srcSize.height <= 0) return -6;
  if (c.srcStep <= 0 || c.dstStep <= 0) return -14;
  if (c.roi.x < 0 || c.roi.y < 0 || c.roi.width <= 0 || c.roi.height <= 0) return -6;
  if (c.roi.x >= c.srcSize.width || c.roi.y >= c.srcSize.height) return 29;
  if (c.dstRoi.width <= 0 || c.dstRoi.height <= 0) return -6;
  if (!(c.xf > 0) || !(c.yf > 0)) return -23;
  if (IsSuper(c)) {
    const bool ratio = c.factorMode != 0;
    if (ratio ? (c.xf > 1 || c.yf > 1) : (c.xf < 1 || c.yf < 1)) return -22;
    return 0;
  }
  if (c.interp != 1 && c.interp != 2 && c.interp != 4 && c.interp != 16) return -22;
  return 0;
}

CallResult RunCall(const ResizeCall& c, const uint8_t* fill, size_t fillSize) {
  CallResult r;
  const int32_t es = ElemSize(c);
  const int32_t planes = Planes(c);
  const int64_t srcRow = int64_t{std::max(c.srcSize.width, 0)} * PixelElems(c) * es;
  const int64_t dstRow = int64_t{std::max(c.dstRoi.width, 0)} * PixelElems(c) * es;
  r.srcStep = c.srcStep;
  r.dstStep = c.dstStep;
  // Exactly the bytes a caller guarantees: rows step apart, the last one only as long as a row.
  auto extent = [](int32_t rows, int32_t step, int64_t row) -> size_t {
    if (rows <= 0 || row <= 0) return 1;
    return static_cast<size_t>(int64_t{rows - 1} * std::max(step, 0) + row);
  };
  const size_t srcBytes = extent(c.srcSize.height, c.srcStep, srcRow);
  const size_t dstBytes = extent(c.dstRoi.height, c.dstStep, dstRow);
  r.srcPlanes.assign(planes, std::vector<uint8_t>(srcBytes));
  r.dstPlanes.assign(planes, std::vector<uint8_t>(dstBytes, kSentinel));
  for (int32_t p = 0; p < planes; ++p) {
    for (size_t i = 0; i < srcBytes; ++i) {
      r.srcPlanes[p][i] = fillSize ? fill[(i + p * 7) % fillSize] : static_cast<uint8_t>(i * 31);
    }
    if (c.type == 2) {  // keep float samples finite and moderate
      for (size_t i = 3; i < srcBytes; i += 4) r.srcPlanes[p][i] &= 0x43;
    }
  }
  const void* srcPtrs[4];
  void* dstPtrs[4];
  for (int32_t p = 0; p < planes; ++p) {
    srcPtrs[p] = r.srcPlanes[p].data();
    dstPtrs[p] = r.dstPlanes[p].data();
  }
  const void* src = c.nullSrc  ? nullptr
                    : c.planar ? static_cast<const void*>(srcPtrs)
                               : r.srcPlanes[0].data();
  void* dst = c.nullDst ? nullptr : c.planar ? static_cast<void*>(dstPtrs) : r.dstPlanes[0].data();
  const ResizeBuild& build = c.build ? *c.build : kResizeGenericBuild;
  if (c.publicEntry) {
    const ResizeEntryFn entry = c.entry ? c.entry : ResizeImage8uC3;
    r.status = entry(static_cast<const uint8_t*>(src), c.srcSize, c.srcStep, c.roi,
                     static_cast<uint8_t*>(dst), c.dstStep, c.dstRoi, c.xf, c.yf, c.interp);
  } else if (c.interp == 8) {
    r.status =
        ResizeRunSuperSample(build, src, c.srcSize, c.srcStep, c.roi, dst, c.dstStep, c.dstRoi,
                             c.xf, c.yf, c.channels, c.layout, c.type, c.planar, c.factorMode);
  } else {
    r.status = ResizeRunWorker(build, src, c.srcSize, c.srcStep, c.roi, dst, c.dstStep, c.dstRoi,
                               c.xf, c.yf, 0.0, 0.0, c.channels, c.layout, c.type, c.planar,
                               c.interp, c.factorMode);
  }
  if (r.status == 0 && ExpectedStatus(c) == 0) {
    const int32_t w = std::min(c.roi.width, c.srcSize.width - c.roi.x);
    const int32_t h = std::min(c.roi.height, c.srcSize.height - c.roi.y);
    const bool nearest = c.interp == 1 || std::min(c.srcSize.width, c.srcSize.height) < 2;
    const bool super = IsSuper(c);
    r.dstW = Fit(w, c.xf, c.dstRoi.width, nearest, c.factorMode, super);
    r.dstH = Fit(h, c.yf, c.dstRoi.height, nearest, c.factorMode, super);
  }
  // Writable: dstH rows of dstW pixels, the processed elements of each.
  const int32_t dstStepElems = c.dstStep / es;
  if (c.dstStep > 0 && c.dstStep % es == 0 && dstStepElems >= c.dstRoi.width * PixelElems(c)) {
    for (int32_t p = 0; p < planes && r.untouched.empty(); ++p) {
      for (size_t b = 0; b < dstBytes; ++b) {
        const int64_t row = static_cast<int64_t>(b) / c.dstStep;
        const int64_t element = static_cast<int64_t>(b % c.dstStep) / es;
        const bool writable = row < r.dstH && element < int64_t{r.dstW} * PixelElems(c) &&
                              element % PixelElems(c) < Written(c);
        if (!writable && r.dstPlanes[p][b] != kSentinel) {
          r.untouched = "plane " + std::to_string(p) + " byte " + std::to_string(b);
          break;
        }
      }
    }
  }
  return r;
}

}  // namespace resize_test
