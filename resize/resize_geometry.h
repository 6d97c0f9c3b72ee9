// Destination fitting and the coordinate walk shared by the worker and the super-sampling
// selector.  Real numbers are compared and clamped before any conversion to an integer.
#pragma once

#include <cmath>
#include <cstdint>

inline constexpr double kResizeEps = 1e-7;

// trunc(t) + add, or limit when that is not below limit; at least 1.  t must not be negative.
inline int32_t ResizeFitCount(double t, int32_t add, int32_t limit) {
  if (!(t < static_cast<double>(limit) - add)) return limit;
  const int32_t n = static_cast<int32_t>(t) + add;
  return n < 1 ? 1 : n;
}

// Source position u(k) = start + k steps, summed step by step; the index is trunc(u + 1e-7),
// kept within [lo, hi], and the fraction u - index.
class ResizeAxisWalk {
 public:
  ResizeAxisWalk(double start, double step, int32_t lo, int32_t hi)
      : u_(start), step_(step), lo_(lo), hi_(hi) {}

  int32_t Index() const {
    double t = std::trunc(u_ + kResizeEps);
    if (!(t >= lo_)) t = lo_;
    if (t > hi_) t = hi_;
    return static_cast<int32_t>(t);
  }
  double Position() const { return u_; }
  void Advance() { u_ += step_; }

 private:
  double u_;
  double step_;
  int32_t lo_;
  int32_t hi_;
};
