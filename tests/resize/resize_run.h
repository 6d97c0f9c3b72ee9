// Runs the worker or the selector on small typed images held in guard-banded buffers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resize/resize_build.h"
#include "resize/resize_worker.h"
#include "tests/resize/resize_test_image.h"

namespace resize_test {

template <typename T>
struct Resized {
  ResizeStatus status = 0;
  GuardedBuffer out{1, 1};
  int32_t stride = 1;
  T at(int32_t x, int32_t y, int32_t c = 0) const { return out.Get<T>(y, x * stride + c); }
  std::vector<T> Row(int32_t y, int32_t n, int32_t c = 0) const {
    std::vector<T> r;
    for (int32_t x = 0; x < n; ++x) r.push_back(at(x, y, c));
    return r;
  }
};

// rows: source values, each row holding width x channels elements.  interp 8 runs the selector.
// build: whose worker and selector run (null: the generic build).
template <typename T>
Resized<T> RunResize(const std::vector<std::vector<T>>& rows, int32_t channels, int32_t layout,
                     ImgRect roi, ImgSize dstRoi, double xf, double yf, int32_t interp,
                     const ResizeBuild* build = nullptr) {
  const ResizeBuild& b = build ? *build : kResizeGenericBuild;
  const int32_t type = sizeof(T) == 1 ? 0 : sizeof(T) == 2 ? 1 : 2;
  const int32_t h = static_cast<int32_t>(rows.size());
  const int32_t w = static_cast<int32_t>(rows[0].size()) / channels;
  const int32_t srcStep = static_cast<int32_t>(rows[0].size() * sizeof(T)) + 8;
  GuardedBuffer src(h, srcStep);
  for (int32_t y = 0; y < h; ++y) {
    for (size_t e = 0; e < rows[y].size(); ++e) src.Set<T>(y, static_cast<int32_t>(e), rows[y][e]);
  }
  Resized<T> r;
  r.stride = channels;
  const int32_t dstStep = (dstRoi.width * channels + 3) * static_cast<int32_t>(sizeof(T));
  r.out = GuardedBuffer(dstRoi.height, dstStep);
  if (roi.width == 0) roi = {0, 0, w, h};
  if (interp == 8) {
    r.status = ResizeRunSuperSample(b, src.data(), {w, h}, srcStep, roi, r.out.data(), dstStep,
                                    dstRoi, xf, yf, channels, layout, type, 0, 1);
  } else {
    r.status = ResizeRunWorker(b, src.data(), {w, h}, srcStep, roi, r.out.data(), dstStep, dstRoi,
                               xf, yf, 0.0, 0.0, channels, layout, type, 0, interp, 1);
  }
  return r;
}

}  // namespace resize_test
