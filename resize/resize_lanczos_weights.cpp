// The portable build's lanczos weights: six taps per fraction from the tabulated window (not
// normalised), interpolated in double precision and rounded once to float.
#include <cmath>
#include <cstddef>

#include "resize/resize_worker.h"

void ResizeLanczosWeights(const float* fractions, int32_t count, float* weights) {
  const float* table = ResizeLanczosTable;
  for (int32_t j = 0; j < count; ++j) {
    double x = -2.0 - static_cast<double>(fractions[j]);
    for (int k = 0; k < 6; ++k, x += 1.0) {
      float w = 0.0f;
      if (x > -3.0 && x < 3.0) {
        const double u = std::fabs(x) * 100.0;
        const int32_t i = static_cast<int32_t>(u);
        w = static_cast<float>(table[i] + (u - i) * (static_cast<double>(table[i + 1]) - table[i]));
      }
      weights[6 * static_cast<ptrdiff_t>(j) + k] = w;
    }
  }
}
