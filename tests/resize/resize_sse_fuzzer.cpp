// Fuzz target: the SSE build beside the portable one on the same call (decoded as for the resize
// fuzz target): equal statuses, nothing written outside the fitted destination, and outputs
// equal or within the limits by which the builds may differ.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "resize/sse/resize_sse_rows.h"
#include "tests/resize/resize_call.h"
#include "tests/resize/resize_compare.h"
#include "tests/resize/resize_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* rest;
  size_t restSize;
  resize_test::ResizeCall c = resize_test::DecodeFuzzCall(data, size, &rest, &restSize);
  const auto portable = resize_test::RunCall(c, rest, restSize);
  c.build = &kResizeSseBuild;
  const auto sse = resize_test::RunCall(c, rest, restSize);
  const std::string diff = resize_test::CompareBuilds(c, portable, sse);
  if (portable.status != resize_test::ExpectedStatus(c) || !diff.empty()) {
    std::fprintf(stderr, "%s\n", diff.c_str());
    std::abort();
  }
  return 0;
}
