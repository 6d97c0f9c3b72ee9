// Fuzz target over the SSE2 build (worker, selector and entry): the status its checks predict,
// writes only inside the fitted destination, and the SSE3-class twin's bytes equal to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "resize/resize_image.h"
#include "resize/sse2/resize_sse2.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* rest;
  size_t restSize;
  resize_test::ResizeCall c = resize_test::DecodeFuzzCall(data, size, &rest, &restSize);
  c.build = &kResizeSse2Build, c.entry = ResizeEntrySSE2;
  const auto r = resize_test::RunCall(c, rest, restSize);
  if (r.status != resize_test::ExpectedStatus(c) || !r.untouched.empty()) std::abort();
  c.build = &kResizeSse3Build, c.entry = ResizeEntrySSE3;
  const auto twin = resize_test::RunCall(c, rest, restSize);
  if (twin.status != r.status || twin.dstPlanes != r.dstPlanes) std::abort();
  return 0;
}
