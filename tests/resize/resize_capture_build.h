// A resize build whose kernels only record what the worker and the selector hand them.
#pragma once

#include <cstdint>
#include <vector>

#include "resize/resize_build.h"

namespace resize_test {

struct KernelCall {
  char group = 0;      // 'n' nearest, 'l' linear, 'c' cubic, 'z' lanczos, 's' super-sampling
  int32_t member = 0;  // index within the group's table (super: type * 3 + kind)
  const void* src = nullptr;
  void* dst = nullptr;
  int32_t srcStep = 0, dstStep = 0, dstW = 0, dstH = 0, channels = 0, layout = 0;
  std::vector<int32_t> rowOfs, colOfs;
  std::vector<double> rowW, colW;  // linear: row weight / column pairs; cubic: t; lanczos: 6 each
  int32_t roiX = 0, roiY = 0, restW = 0, restH = 0, yEnlarge = 0;
  int32_t srcCols = 0, srcRows = 0, code = 0;  // super-sampling
  double hStep = 0, vStep = 0, norm = 0;
};

// Calls recorded since the last Reset().
std::vector<KernelCall>& CapturedCalls();
inline void ResetCapture() {
  CapturedCalls().clear();
}

extern const ResizeBuild kCaptureBuild;

}  // namespace resize_test
