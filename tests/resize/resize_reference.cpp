#include "tests/resize/resize_reference.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "resize/resize_worker.h"

namespace resize_test {

namespace {

constexpr double kEps = 1e-7;

double MaxOf(int32_t type) {
  return type == 0 ? 255.0 : 65535.0;
}

// Positions u(k) = start + k steps, summed one step at a time.
std::vector<double> Positions(int32_t extent, double factor, int32_t count, bool nearest) {
  double start = 0.0, step = 0.0;
  if (nearest) {
    start = 0.5 / factor;
    step = 1.0 / factor;
  } else if (extent * factor > 1.0) {
    step = (extent - 1) / (extent * factor - 1.0);
  }
  std::vector<double> u(count);
  double x = start;
  for (int32_t k = 0; k < count; ++k, x += step) u[k] = x;
  return u;
}

int32_t Fit(int32_t extent, double factor, int32_t limit) {
  const double t = extent * factor + kEps;
  if (t >= limit) return limit;
  return std::max(static_cast<int32_t>(t), 1);
}

// Index of a position in image coordinates, kept inside the image.
int32_t IndexOf(double u, int32_t origin, int32_t image) {
  double t = std::trunc(u + kEps);
  t = std::clamp(t, static_cast<double>(-origin), static_cast<double>(image - 1 - origin));
  return origin + static_cast<int32_t>(t);
}

double ToInteger(double v, int32_t type) {  // + 1e-7, truncate, clamp
  const double x = v + kEps;
  if (!(x > 0)) return 0;
  return std::min(std::trunc(x), MaxOf(type));
}

double Newton(double sm1, double s0, double s1, double s2, float tf) {
  const double t = tf, a = t + 1.0, b = t * a * 0.5, c = b * (t - 1.0) / 3.0;
  const double d1 = s0 - sm1, d2 = (s1 - s0) - d1, d3 = (s0 - 2.0 * s1 + s2) - d2;
  return sm1 + a * d1 + b * d2 + c * d3;
}

float LanczosWeight(double x) {
  if (!(x > -3.0 && x < 3.0)) return 0.0f;
  const double u = std::fabs(x) * 100.0;
  const int32_t i = static_cast<int32_t>(u);
  const float* t = ResizeLanczosTable;
  return static_cast<float>(t[i] + (u - i) * (static_cast<double>(t[i + 1]) - t[i]));
}

struct Linear {
  int32_t i0, i1;  // image coordinates of the two taps
  double w;        // fraction (float types) or 14-bit weight of the second tap
};

Linear LinearTap(double u, int32_t origin, int32_t image, bool fixed) {
  int32_t x = IndexOf(u, origin, image);
  if (x == image - 1) return {x - 1, x, fixed ? 16384.0 : 1.0};
  const double f = u - (x - origin);
  if (!fixed) return {x, x + 1, static_cast<double>(static_cast<float>(f))};
  const double w = f * 16384.0 + kEps;
  return {x, x + 1, w > 0 ? std::trunc(std::min(w, 16384.0)) : 0.0};
}

struct CubicTap {
  int32_t base;  // image coordinates
  float t;
};

CubicTap CubicTapOf(double u, int32_t origin, int32_t image) {
  const int32_t x = IndexOf(u, origin, image);
  if (x == image - 1) return {x - 2, 2.0f};
  int32_t base = x;
  if (x == 0)
    base = x + 1;
  else if (x == image - 2)
    base = x - 1;
  return {base, static_cast<float>(u - (base - origin))};
}

}  // namespace

double RefSource::At(int32_t x, int32_t y, int32_t c) const {
  const uint8_t* p = data + static_cast<ptrdiff_t>(y) * step;
  const ptrdiff_t e = static_cast<ptrdiff_t>(x) * stride + c;
  switch (type) {
    case 0:
      return p[e];
    case 1: {
      uint16_t v;
      std::memcpy(&v, p + 2 * e, 2);
      return v;
    }
    default: {
      float v;
      std::memcpy(&v, p + 4 * e, 4);
      return v;
    }
  }
}

double LagrangeCubic(double sm1, double s0, double s1, double s2, double t) {
  return sm1 * (-t * (t - 1) * (t - 2) / 6) + s0 * ((t + 1) * (t - 1) * (t - 2) / 2) +
         s1 * (-(t + 1) * t * (t - 2) / 2) + s2 * ((t + 1) * t * (t - 1) / 6);
}

double LanczosWindow(double x) {
  if (x == 0) return 1.0;
  if (std::fabs(x) >= 3) return 0.0;
  const double a = std::numbers::pi * x;
  return std::sin(a) / a * std::sin(a / 3) / (a / 3);
}

RefResult ReferenceResize(const RefSource& s, ImgRect roi, ImgSize dstRoi, double xf, double yf,
                          int32_t interp, int32_t elems) {
  const int32_t imgW = s.size.width, imgH = s.size.height;
  const int32_t minSide = std::min(imgW, imgH);
  if (interp != 8) {
    if (minSide < 2) interp = 1;
    if (interp == 16 && minSide < 6) interp = 4;
    if (interp == 4 && minSide < 4) interp = 2;
  }
  const int32_t W = std::min(roi.width, imgW - roi.x), H = std::min(roi.height, imgH - roi.y);
  RefResult r;
  r.w = Fit(W, xf, dstRoi.width);
  r.h = Fit(H, yf, dstRoi.height);
  r.elems = elems;
  r.v.resize(static_cast<size_t>(r.w) * r.h * elems);
  auto put = [&](int32_t x, int32_t y, int32_t c, double v) {
    r.v[(static_cast<size_t>(y) * r.w + x) * elems + c] = v;
  };
  const bool integer = s.type != 2;

  if (interp == 8) {
    // Exact coverage: destination pixel j spans [j, j + 1) / factor, cut at the region's end; a
    // region smaller than one span gives its own mean.
    const double sx = std::min(1.0 / xf, static_cast<double>(W));
    const double sy = std::min(1.0 / yf, static_cast<double>(H));
    auto cover = [](double a, double b, int32_t k, int32_t n) {
      if (k >= n) return 0.0;
      return std::max(0.0, std::min(b, k + 1.0) - std::max(a, static_cast<double>(k)));
    };
    for (int32_t i = 0; i < r.h; ++i) {
      for (int32_t j = 0; j < r.w; ++j) {
        for (int32_t c = 0; c < elems; ++c) {
          double sum = 0, area = 0;
          const double y0 = i * sy, y1 = (i + 1) * sy, x0 = j * sx, x1 = (j + 1) * sx;
          for (int32_t y = static_cast<int32_t>(y0); y < std::min<double>(H, std::ceil(y1)); ++y) {
            const double cy = cover(y0, y1, y, H);
            for (int32_t x = static_cast<int32_t>(x0); x < std::min<double>(W, std::ceil(x1));
                 ++x) {
              const double a = cy * cover(x0, x1, x, W);
              sum += a * s.At(roi.x + x, roi.y + y, c);
              area += a;
            }
          }
          const double mean = sum / area;
          put(j, i, c, integer ? std::trunc(mean + 0.5) : static_cast<float>(mean));
        }
      }
    }
    return r;
  }

  const std::vector<double> ux = Positions(W, xf, r.w, interp == 1);
  const std::vector<double> uy = Positions(H, yf, r.h, interp == 1);
  for (int32_t i = 0; i < r.h; ++i) {
    for (int32_t j = 0; j < r.w; ++j) {
      for (int32_t c = 0; c < elems; ++c) {
        double out = 0;
        switch (interp) {
          case 1:
            out = s.At(IndexOf(ux[j], roi.x, imgW), IndexOf(uy[i], roi.y, imgH), c);
            break;
          case 2: {
            const Linear lx = LinearTap(ux[j], roi.x, imgW, integer);
            const Linear ly = LinearTap(uy[i], roi.y, imgH, integer);
            auto horz = [&](int32_t y) {
              const double p0 = s.At(lx.i0, y, c), p1 = s.At(lx.i1, y, c);
              if (!integer) return static_cast<double>(static_cast<float>(p0 + (p1 - p0) * lx.w));
              const double v = p0 * (16384 - lx.w) + p1 * lx.w + (s.type == 0 ? 128 : 8192);
              return std::floor(v / (s.type == 0 ? 256 : 16384));
            };
            const double hu = horz(ly.i0), hl = horz(ly.i1);
            if (!integer) {
              out = static_cast<float>(hu * (1.0 - ly.w) + hl * ly.w);
            } else if (s.type == 0) {
              out = std::floor((hu * (16384 - ly.w) + hl * ly.w + 524288) / 1048576);
            } else {
              out = std::floor((hu * (16384 - ly.w) + hl * ly.w + 8192) / 16384);
            }
            break;
          }
          case 4: {
            const CubicTap cx = CubicTapOf(ux[j], roi.x, imgW);
            const CubicTap cy = CubicTapOf(uy[i], roi.y, imgH);
            double rows[4];
            for (int k = 0; k < 4; ++k) {
              const int32_t y = cy.base - 1 + k;
              rows[k] = static_cast<float>(Newton(s.At(cx.base - 1, y, c), s.At(cx.base, y, c),
                                                  s.At(cx.base + 1, y, c), s.At(cx.base + 2, y, c),
                                                  cx.t));
            }
            const double v = Newton(rows[0], rows[1], rows[2], rows[3], cy.t);
            out = integer ? ToInteger(v, s.type) : static_cast<float>(v);
            break;
          }
          default: {  // lanczos, taps clamped to the image
            const int32_t x = IndexOf(ux[j], roi.x, imgW), y = IndexOf(uy[i], roi.y, imgH);
            const float fx = static_cast<float>(ux[j] - (x - roi.x));
            const float fy = static_cast<float>(uy[i] - (y - roi.y));
            double v = 0;
            for (int ky = 0; ky < 6; ++ky) {
              const int32_t yy = std::clamp(y + ky - 2, 0, imgH - 1);
              double row = 0;
              for (int kx = 0; kx < 6; ++kx) {
                const int32_t xx = std::clamp(x + kx - 2, 0, imgW - 1);
                row += static_cast<double>(LanczosWeight(kx - 2 - static_cast<double>(fx))) *
                       s.At(xx, yy, c);
              }
              v += static_cast<double>(static_cast<float>(row)) *
                   LanczosWeight(ky - 2 - static_cast<double>(fy));
            }
            out = integer ? ToInteger(v, s.type) : static_cast<float>(v);
            break;
          }
        }
        put(j, i, c, out);
      }
    }
  }
  return r;
}

}  // namespace resize_test
