// Comparison of two builds' results of one call: equal statuses, nothing written outside the
// fitted destination, and outputs equal or within the limits by which the builds may differ.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/resize/resize_call.h"

namespace resize_test {

// The element of a plane at a byte offset, as a number: 8u, 16u or 32f by `type` (0, 1, 2).
double StoredElement(const std::vector<uint8_t>& plane, int32_t type, size_t offset);

// The interpolation the worker runs after its fallback by the image's size.
int32_t EffectiveInterpolation(const ResizeCall& c);

// Empty when `other` agrees with `portable`: nearest, super-sampling and integer linear results
// identical; integer cubic and lanczos within 1; floats within 1e-5 of the largest source
// magnitude (plus the 1e-5 bias of the packed cubic pass).
std::string CompareBuilds(const ResizeCall& c, const CallResult& portable, const CallResult& other);

}  // namespace resize_test
