#include "tests/resize/resize_compare.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace resize_test {

double StoredElement(const std::vector<uint8_t>& plane, int32_t type, size_t offset) {
  if (type == 0) return plane[offset];
  if (type == 1) return plane[offset] | plane[offset + 1] << 8;
  float f;
  std::memcpy(&f, &plane[offset], 4);
  return f;
}

int32_t EffectiveInterpolation(const ResizeCall& c) {
  if (c.interp == 8) return 8;
  const int32_t minSide = std::min(c.srcSize.width, c.srcSize.height);
  int32_t i = c.interp;
  if (minSide < 2) i = 1;
  if (i == 16 && minSide < 6) i = 4;
  if (i == 4 && minSide < 4) i = 2;
  return i;
}

std::string CompareBuilds(const ResizeCall& c, const CallResult& portable,
                          const CallResult& other) {
  if (portable.status != other.status) {
    return "status " + std::to_string(portable.status) + " vs " + std::to_string(other.status);
  }
  if (!portable.untouched.empty()) return "portable wrote outside: " + portable.untouched;
  if (!other.untouched.empty()) return "wrote outside: " + other.untouched;
  if (portable.status != 0) return {};
  const int32_t interp = EffectiveInterpolation(c);
  const int32_t es = 1 << c.type;
  const int32_t pixel = c.planar ? 1 : c.channels;
  const int32_t written = c.planar || c.layout == 1 ? 1 : c.layout == 4 ? 4 : 3;
  const bool exact = interp == 1 || interp == 8 || (interp == 2 && c.type != 2);
  double scale = 1.0;
  if (c.type == 2) {
    for (const auto& plane : portable.srcPlanes) {
      for (size_t i = 0; i + 4 <= plane.size(); i += 4) {
        const double v = std::fabs(StoredElement(plane, 2, i));
        if (std::isfinite(v)) scale = std::max(scale, v);
      }
    }
  }
  const double tol = c.type == 2 ? 1e-5 * scale + (interp == 4 ? 1.2e-5 : 0.0) : 1.0;
  for (size_t p = 0; p < portable.dstPlanes.size(); ++p) {
    for (int32_t y = 0; y < portable.dstH; ++y) {
      for (int32_t x = 0; x < portable.dstW * pixel; ++x) {
        if (x % pixel >= written) continue;
        const size_t at = static_cast<size_t>(y) * c.dstStep + static_cast<size_t>(x) * es;
        const double a = StoredElement(portable.dstPlanes[p], c.type, at);
        const double b = StoredElement(other.dstPlanes[p], c.type, at);
        const bool same = std::memcmp(&portable.dstPlanes[p][at], &other.dstPlanes[p][at], es) == 0;
        if (same) continue;
        if (!exact && std::fabs(a - b) <= tol) continue;
        return "plane " + std::to_string(p) + " row " + std::to_string(y) + " element " +
               std::to_string(x) + ": " + std::to_string(a) + " vs " + std::to_string(b);
      }
    }
  }
  return {};
}

}  // namespace resize_test
