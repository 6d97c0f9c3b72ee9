// Entries of the SSE2 and SSE3-class builds (dispatch slots 3 and 4; the SSE build's is in sse/).
// Until those builds carry kernels of their own they run the generic kernels behind the shared
// worker, so their routing, checks and statuses are those of the generic entry.  A build replaces
// its line here with its own ResizeBuild.
#include "resize/resize_build.h"
#include "resize/resize_image.h"

ResizeStatus ResizeEntrySSE2(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                             uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                             double yFactor, ResizeInterp interpolation) {
  return ResizeRouteEntry(kResizeGenericBuild, src, srcSize, srcStep, srcRoi, dst, dstStep,
                          dstRoiSize, xFactor, yFactor, interpolation);
}

ResizeStatus ResizeEntrySSE3(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                             uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                             double yFactor, ResizeInterp interpolation) {
  return ResizeRouteEntry(kResizeGenericBuild, src, srcSize, srcStep, srcRoi, dst, dstStep,
                          dstRoiSize, xFactor, yFactor, interpolation);
}
