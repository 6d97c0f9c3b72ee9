// Fuzz target: any region, steps, sizes, factors (from raw bits: tiny, huge, NaN, infinite),
// interpolation, element type and layout.  Buffers are exactly what a caller guarantees; the
// call must give the status its checks predict and write only the fitted destination.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tests/resize/resize_call.h"
#include "tests/resize/resize_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* rest;
  size_t restSize;
  const resize_test::ResizeCall c = resize_test::DecodeFuzzCall(data, size, &rest, &restSize);
  const auto r = resize_test::RunCall(c, rest, restSize);
  if (r.status != resize_test::ExpectedStatus(c) || !r.untouched.empty()) std::abort();
  return 0;
}
