// Entry of the SSE build (dispatch slot 2).  Until that build carries kernels of its own it runs
// the generic kernels behind the shared worker, so its routing, checks and statuses are those of
// the generic entry.  The SSE2 and SSE3-class entries live in sse2/ and sse3/.
#include "resize/resize_build.h"
#include "resize/resize_image.h"

ResizeStatus ResizeEntrySSE(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                            uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                            double yFactor, ResizeInterp interpolation) {
  return ResizeRouteEntry(kResizeGenericBuild, src, srcSize, srcStep, srcRoi, dst, dstStep,
                          dstRoiSize, xFactor, yFactor, interpolation);
}
