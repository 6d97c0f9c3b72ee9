// The SSE build: the shared kernels instantiated with the SSE row helpers, its kernel tables, its
// description for the shared worker and selector, and its entry (dispatch slot 2).
#include "resize/resize_build.h"
#include "resize/resize_drivers.h"
#include "resize/resize_image.h"
#include "resize/sse/resize_sse_rows.h"

using SseTables = ResizeBuildTables<ResizeSseRows>;

const ResizeKernelTable ResizeKernelTableSse = SseTables::Table();
const ResizeKernelTableByNearest ResizeKernelTableSseCopy1 = SseTables::TableByNearest();
const ResizeKernelTableByNearest ResizeKernelTableSseCopy2 = SseTables::TableByNearest();
const ResizeSuperKernelTable ResizeSuperKernelTableSse = SseTables::SuperTable();

const ResizeBuild kResizeSseBuild = {&ResizeKernelTableSse, ResizeLanczosWeightsSse,
                                     &ResizeSuperKernelTableSse, ResizeLinearRows8u};

ResizeStatus ResizeEntrySSE(const uint8_t* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                            uint8_t* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                            double yFactor, ResizeInterp interpolation) {
  return ResizeRouteEntry(kResizeSseBuild, src, srcSize, srcStep, srcRoi, dst, dstStep, dstRoiSize,
                          xFactor, yFactor, interpolation);
}
