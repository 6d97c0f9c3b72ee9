#include "resize/resize_build.h"
#include "resize/resize_image.h"

ResizeStatus ResizeEntryGeneric(const uint8_t* src, ImgSize srcSize, int32_t srcStep,
                                ImgRect srcRoi, uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize,
                                double xFactor, double yFactor, ResizeInterp interpolation) {
  return ResizeRouteEntry(kResizeGenericBuild, src, srcSize, srcStep, srcRoi, dst, dstStep,
                          dstRoiSize, xFactor, yFactor, interpolation);
}
