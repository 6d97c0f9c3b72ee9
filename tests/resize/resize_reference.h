// A reference resize for differential tests: every destination value computed on its own,
// straight from the definitions (no tables, no row reuse).  Factor mode 1, no shifts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "resize/resize_types.h"

namespace resize_test {

struct RefSource {
  const uint8_t* data;  // the image's top-left pixel (one plane)
  int32_t step;         // bytes
  int32_t type;         // 0 8-bit, 1 16-bit, 2 float
  int32_t stride;       // elements from one pixel to the next
  ImgSize size;
  double At(int32_t x, int32_t y, int32_t c) const;  // image coordinates
};

struct RefResult {
  int32_t w = 0;
  int32_t h = 0;
  int32_t elems = 0;
  std::vector<double> v;  // stored values, (row * w + column) * elems + channel
  double at(int32_t x, int32_t y, int32_t c) const {
    return v[(static_cast<size_t>(y) * w + x) * elems + c];
  }
};

// Interpolations 1, 2, 4, 16 with the worker's fallback; 8 is the exact area mean (halves up).
RefResult ReferenceResize(const RefSource& src, ImgRect roi, ImgSize dstRoi, double xf, double yf,
                          int32_t interp, int32_t elems);

// Cubic through four samples by Lagrange's form, and the lanczos window by its sines: independent
// of the difference form and the table.
double LagrangeCubic(double sm1, double s0, double s1, double s2, double t);
double LanczosWindow(double x);

}  // namespace resize_test
