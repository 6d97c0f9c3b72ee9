// Comparison of two builds' results of one call: equal statuses, nothing written outside the
// fitted destination, and outputs equal or within the limits by which the builds may differ.
#pragma once

#include <string>

#include "tests/resize/resize_call.h"

namespace resize_test {

// Empty when `other` agrees with `portable`: nearest, super-sampling and integer linear results
// identical; integer cubic and lanczos within 1; floats within 1e-5 of the largest source
// magnitude (plus the 1e-5 bias of the packed cubic pass).
std::string CompareBuilds(const ResizeCall& c, const CallResult& portable, const CallResult& other);

}  // namespace resize_test
