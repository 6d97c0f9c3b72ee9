// Differential tests: the library against the reference over element type x layout x factor x
// interpolation.  Nearest, linear, cubic and lanczos follow their definitions exactly; the area
// mean is exact for whole-number spans and within one step (or 1e-5 relative for float)
// otherwise.  Destinations carry guard bands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "resize/resize_image.h"
#include "resize/resize_worker.h"
#include "tests/resize/resize_reference.h"
#include "tests/resize/resize_test_image.h"

namespace {

using resize_test::GuardedBuffer;
using resize_test::ReferenceResize;
using resize_test::RefResult;
using resize_test::RefSource;
using resize_test::TestRng;

struct Layout {
  const char* name;
  int32_t channels, layout, planar;
};
constexpr Layout kLayouts[] = {
    {"C1", 1, 1, 0}, {"C3", 3, 3, 0}, {"C4", 4, 4, 0}, {"C3in4", 4, 3, 0}, {"P3", 1, 3, 1}};

struct Factors {
  double x, y;
};
constexpr Factors kFactors[] = {{1, 1},          {2, 2},
                                {0.5, 0.5},      {1.7, 0.6},
                                {0.37, 2.3},     {3.3, 3.3},
                                {1, 2},          {0.29, 0.41},
                                {0.25, 0.25},    {2.0 / 3, 0.4},
                                {0.2f, 1.0 / 3}, {0.45, 0.15}};  // rows six or more apart

struct Region {
  ImgSize size;
  ImgRect roi;
};
constexpr Region kRegions[] = {
    {{23, 19}, {3, 2, 15, 13}},  // inside, taps reach around it
    {{20, 16}, {1, 1, 14, 12}},  // one pixel in from the top-left corner
    {{17, 15}, {0, 0, 17, 15}},  // the whole image
    {{21, 18}, {9, 8, 40, 40}},  // clipped at the right and bottom edges
    {{9, 7}, {0, 0, 9, 7}},      // small: cubic and lanczos fall back
};

void FillSource(std::vector<GuardedBuffer>& planes, int32_t type, int32_t perRow, TestRng& rng) {
  for (GuardedBuffer& p : planes) {
    for (int32_t y = 0; y < p.rows(); ++y) {
      for (int32_t e = 0; e < perRow; ++e) {
        switch (type) {
          case 0:
            p.Set<uint8_t>(y, e, static_cast<uint8_t>(rng.Next()));
            break;
          case 1:
            p.Set<uint16_t>(y, e, static_cast<uint16_t>(rng.Next()));
            break;
          default:
            p.Set<float>(y, e, static_cast<float>(rng.Unit() * 400.0 - 50.0));
            break;
        }
      }
    }
  }
}

double Read(const GuardedBuffer& b, int32_t type, int32_t row, int32_t e) {
  return type == 0   ? b.Get<uint8_t>(row, e)
         : type == 1 ? b.Get<uint16_t>(row, e)
                     : b.Get<float>(row, e);
}

struct Outcome {
  int64_t compared = 0;
  int64_t mismatches = 0;
  std::string first;
};

// Runs one case through the worker (or the selector for 8) and compares with the reference.
void RunCase(int32_t type, const Layout& lay, const Factors& f, const Region& reg, int32_t interp,
             Outcome& o) {
  TestRng rng(static_cast<uint64_t>(type * 1000 + interp * 31 + lay.channels * 7 + lay.layout));
  const int32_t esize = 1 << type;
  const int32_t planes = lay.planar ? 3 : 1;
  const int32_t srcPerRow = reg.size.width * lay.channels;
  const int32_t srcStep = srcPerRow * esize + 5 * esize;  // rows with padding
  std::vector<GuardedBuffer> src(planes, GuardedBuffer(reg.size.height, srcStep));
  FillSource(src, type, srcPerRow, rng);
  const ImgSize dstRoi{64, 64};
  const int32_t dstStep = dstRoi.width * lay.channels * esize + 3 * esize;
  std::vector<GuardedBuffer> dst(planes, GuardedBuffer(dstRoi.height, dstStep));

  const void* srcPlanes[3];
  void* dstPlanes[3];
  for (int p = 0; p < planes; ++p) {
    srcPlanes[p] = src[p].data();
    dstPlanes[p] = dst[p].data();
  }
  const void* s = lay.planar ? static_cast<const void*>(srcPlanes) : src[0].data();
  void* d = lay.planar ? static_cast<void*>(dstPlanes) : dst[0].data();
  ResizeStatus status;
  if (interp == 8) {
    status = ResizeSuperSample(s, reg.size, srcStep, reg.roi, d, dstStep, dstRoi, f.x, f.y,
                               lay.channels, lay.layout, type, lay.planar, 1);
  } else {
    status = ResizeWorker(s, reg.size, srcStep, reg.roi, d, dstStep, dstRoi, f.x, f.y, 0.0, 0.0,
                          lay.channels, lay.layout, type, lay.planar, interp, 1);
  }
  const std::string name = std::string("type ") + std::to_string(type) + " " + lay.name +
                           " interp " + std::to_string(interp) + " factors " + std::to_string(f.x) +
                           "," + std::to_string(f.y) + " image " + std::to_string(reg.size.width) +
                           "x" + std::to_string(reg.size.height);
  ASSERT_EQ(status, 0) << name;

  const int32_t elems = lay.planar ? 1 : lay.layout;
  const double ix = std::floor(1 / f.x), iy = std::floor(1 / f.y);
  const bool wholeSpans = 1 / f.x == ix && 1 / f.y == iy;
  // Float area sums are single precision.
  const double tolerance = interp != 8 ? 0.0 : type == 2 ? 1e-5 : wholeSpans ? 0.0 : 1.0;
  for (int p = 0; p < planes; ++p) {
    RefSource ref{src[p].data(), srcStep, type, lay.planar ? 1 : lay.channels, reg.size};
    const RefResult r = ReferenceResize(ref, reg.roi, dstRoi, f.x, f.y, interp, elems);
    const std::string untouched =
        dst[p].Untouched(r.h, r.w, lay.planar ? 1 : lay.channels, elems, esize);
    EXPECT_EQ(untouched, "") << name;
    for (int32_t y = 0; y < r.h; ++y) {
      for (int32_t x = 0; x < r.w; ++x) {
        for (int32_t c = 0; c < elems; ++c) {
          const int32_t e = x * (lay.planar ? 1 : lay.channels) + c;
          const double got = Read(dst[p], type, y, e);
          const double want = r.at(x, y, c);
          const double diff = std::fabs(got - want);
          const bool ok = type == 2 && tolerance > 0
                              ? diff <= tolerance * std::max(1.0, std::fabs(want))
                              : diff <= tolerance;
          ++o.compared;
          if (!ok) {
            if (o.mismatches == 0) {
              o.first = name + " at (" + std::to_string(x) + "," + std::to_string(y) + "," +
                        std::to_string(c) + "): got " + std::to_string(got) + " want " +
                        std::to_string(want);
            }
            ++o.mismatches;
          }
        }
      }
    }
  }
}

class ResizeReference : public ::testing::TestWithParam<int32_t> {};

TEST_P(ResizeReference, AgreesOverTypesLayoutsAndFactors) {
  const int32_t interp = GetParam();
  Outcome o;
  for (int32_t type = 0; type < 3; ++type) {
    for (const Layout& lay : kLayouts) {
      for (const Factors& f : kFactors) {
        if (interp == 8 && (f.x > 1 || f.y > 1)) continue;
        for (const Region& reg : kRegions) RunCase(type, lay, f, reg, interp, o);
      }
    }
  }
  EXPECT_GT(o.compared, 10000);
  EXPECT_EQ(o.mismatches, 0) << o.first;
}

INSTANTIATE_TEST_SUITE_P(Interpolations, ResizeReference, ::testing::Values(1, 2, 4, 16, 8),
                         [](const auto& info) { return "Interp" + std::to_string(info.param); });

// The public function gives the worker's bytes for packed 8-bit three-channel images.
TEST(ResizeReferencePublic, PublicFunctionMatchesTheReference) {
  TestRng rng(77);
  GuardedBuffer src(31, 40 * 3 + 7);
  for (int32_t y = 0; y < 31; ++y) {
    for (int32_t e = 0; e < 120; ++e) src.Set<uint8_t>(y, e, static_cast<uint8_t>(rng.Next()));
  }
  const ImgRect roi{5, 4, 30, 25};
  for (int32_t interp : {1, 2, 4, 8, 16}) {
    for (const Factors& f : kFactors) {
      if (interp == 8 && (f.x > 1 || f.y > 1)) continue;
      GuardedBuffer dst(80, 100 * 3 + 1);
      ASSERT_EQ(ResizeImage8uC3(src.data(), {40, 31}, src.step(), roi, dst.data(), dst.step(),
                                {100, 80}, f.x, f.y, interp),
                0);
      RefSource ref{src.data(), src.step(), 0, 3, {40, 31}};
      const RefResult r = resize_test::ReferenceResize(ref, roi, {100, 80}, f.x, f.y, interp, 3);
      EXPECT_EQ(dst.Untouched(r.h, r.w, 3, 3, 1), "");
      const bool whole = 1 / f.x == std::floor(1 / f.x) && 1 / f.y == std::floor(1 / f.y);
      const double tol = interp == 8 && !whole ? 1.0 : 0.0;
      int bad = 0;
      for (int32_t y = 0; y < r.h; ++y) {
        for (int32_t e = 0; e < r.w * 3; ++e) {
          if (std::fabs(dst.Get<uint8_t>(y, e) - r.at(e / 3, y, e % 3)) > tol) ++bad;
        }
      }
      EXPECT_EQ(bad, 0) << "interp " << interp << " factors " << f.x << "," << f.y;
    }
  }
}

// Independent of the difference form and the window table: Lagrange's cubic and the lanczos
// sines agree within one step on smooth data.
TEST(ResizeReferencePublic, CubicAndLanczosAgreeWithTheirMathematics) {
  const int32_t w = 32, h = 24;
  std::vector<uint8_t> src(static_cast<size_t>(w) * h * 3);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) {
        src[(y * w + x) * 3 + c] =
            static_cast<uint8_t>(128 + 100 * std::sin(0.3 * x + 0.2 * y + c));
      }
    }
  }
  const double f = 2.3;
  std::vector<uint8_t> cubic(100 * 100 * 3), lanczos(100 * 100 * 3);
  ASSERT_EQ(ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, cubic.data(), 300, {100, 100},
                            f, f, 4),
            0);
  ASSERT_EQ(ResizeImage8uC3(src.data(), {w, h}, w * 3, {0, 0, w, h}, lanczos.data(), 300,
                            {100, 100}, f, f, 16),
            0);
  const int32_t dw = static_cast<int32_t>(w * f + 1e-7), dh = static_cast<int32_t>(h * f + 1e-7);
  const double sx = (w - 1) / (w * f - 1), sy = (h - 1) / (h * f - 1);
  auto px = [&](int32_t x, int32_t y, int c) {
    return static_cast<double>(
        src[(std::clamp(y, 0, h - 1) * w + std::clamp(x, 0, w - 1)) * 3 + c]);
  };
  int cubicBad = 0, lanczosBad = 0;
  for (int32_t i = 0; i < dh; ++i) {
    for (int32_t j = 0; j < dw; ++j) {
      const double u = j * sx, v = i * sy;
      for (int c = 0; c < 3; ++c) {
        // Cubic: the same base rule, then the polynomial through the samples.
        auto base = [](double p, int32_t n) {
          int32_t x = static_cast<int32_t>(p + 1e-7);
          if (x >= n - 1) return std::pair<int32_t, double>(n - 3, 2.0);
          const int32_t b = x == 0 ? 1 : x == n - 2 ? x - 1 : x;
          return std::pair<int32_t, double>(b, p - b);
        };
        const auto [bx, tx] = base(u, w);
        const auto [by, ty] = base(v, h);
        double rows[4];
        for (int k = 0; k < 4; ++k) {
          rows[k] =
              resize_test::LagrangeCubic(px(bx - 1, by - 1 + k, c), px(bx, by - 1 + k, c),
                                         px(bx + 1, by - 1 + k, c), px(bx + 2, by - 1 + k, c), tx);
        }
        const double cv = std::clamp(
            std::trunc(resize_test::LagrangeCubic(rows[0], rows[1], rows[2], rows[3], ty) + 1e-7),
            0.0, 255.0);
        if (std::fabs(cv - cubic[(i * 100 + j) * 3 + c]) > 1) ++cubicBad;
        // Lanczos with the window's sines.
        const int32_t x = static_cast<int32_t>(u + 1e-7), y = static_cast<int32_t>(v + 1e-7);
        double lv = 0;
        for (int ky = -2; ky <= 3; ++ky) {
          for (int kx = -2; kx <= 3; ++kx) {
            lv += resize_test::LanczosWindow(kx - (u - x)) *
                  resize_test::LanczosWindow(ky - (v - y)) * px(x + kx, y + ky, c);
          }
        }
        lv = std::clamp(std::trunc(lv + 1e-7), 0.0, 255.0);
        if (std::fabs(lv - lanczos[(i * 100 + j) * 3 + c]) > 1) ++lanczosBad;
      }
    }
  }
  EXPECT_EQ(cubicBad, 0);
  EXPECT_EQ(lanczosBad, 0);
}

}  // namespace
