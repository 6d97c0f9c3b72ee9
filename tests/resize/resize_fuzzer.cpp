// Fuzz target: any region, steps, sizes, factors (from raw bits: tiny, huge, NaN, infinite),
// interpolation, element type and layout.  Buffers are exactly what a caller guarantees; the
// call must give the status its checks predict and write only the fitted destination.  Linear
// calls give the same bytes without the build's row-only kernel.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "resize/resize_build.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_fuzz_input.h"

namespace {

const ResizeBuild kGeneralLinear = [] {
  ResizeBuild b = kResizeGenericBuild;
  b.linearRows8u = nullptr;
  return b;
}();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* rest;
  size_t restSize;
  resize_test::ResizeCall c = resize_test::DecodeFuzzCall(data, size, &rest, &restSize);
  const auto r = resize_test::RunCall(c, rest, restSize);
  if (r.status != resize_test::ExpectedStatus(c) || !r.untouched.empty()) std::abort();
  if (c.interp == kResizeLinear) {
    c.build = &kGeneralLinear;
    const auto general = resize_test::RunCall(c, rest, restSize);
    if (general.status != r.status || general.dstPlanes != r.dstPlanes) std::abort();
  }
  return 0;
}
