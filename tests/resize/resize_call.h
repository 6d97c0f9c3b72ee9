// One resize call over exactly sized buffers, as the sweep and the fuzz target make them: any
// element type, layout and planar form, with the status a caller should expect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resize/resize_build.h"
#include "resize/resize_image.h"
#include "resize/resize_types.h"

namespace resize_test {

struct ResizeCall {
  ImgSize srcSize{1, 1};
  int32_t srcStep = 0;  // 0: the packed row size
  ImgRect roi{};
  ImgSize dstRoi{1, 1};
  int32_t dstStep = 0;  // 0: the packed row size
  double xf = 1, yf = 1;
  int32_t interp = 1;
  int32_t type = 0;      // 0 8-bit, 1 16-bit, 2 float
  int32_t channels = 3;  // pixel stride
  int32_t layout = 3;
  int32_t planar = 0;
  int32_t factorMode = 1;
  bool publicEntry = false;  // through ResizeImage8uC3 (8-bit, three channels, packed)
  bool nullSrc = false, nullDst = false;
  // The build whose worker and selector run (null: the generic build), and the entry that
  // stands for the public function (null: ResizeImage8uC3 itself).
  const ResizeBuild* build = nullptr;
  ResizeEntryFn entry = nullptr;
};

struct CallResult {
  ResizeStatus status = 0;
  std::string untouched;  // bytes changed outside the writable area, if any
  int32_t dstW = 0, dstH = 0;
  std::vector<std::vector<uint8_t>> dstPlanes;
  std::vector<std::vector<uint8_t>> srcPlanes;
  int32_t srcStep = 0, dstStep = 0;
};

// Fills the source from `fill` (repeated), runs the call and checks the destination: bytes
// outside dstH rows of dstW pixels (and the elements past `layout` in each pixel) must keep
// their sentinel.  dstW and dstH are those the status-0 call is expected to write.
CallResult RunCall(const ResizeCall& c, const uint8_t* fill, size_t fillSize);

// The status the checks should give, in their order.
ResizeStatus ExpectedStatus(const ResizeCall& c);

}  // namespace resize_test
