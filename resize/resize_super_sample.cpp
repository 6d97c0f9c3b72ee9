// Super-sampling (area average) kernels.  Each destination pixel is the mean of the source area
// it covers; rows and columns covered in part count with the covered part.  Whole-number steps
// sum exactly in integers; fractional steps sum in float with the walks below.
//
// The row buffer holds srcCols pixels of column sums followed by dstW pixels of pixel sums, as
// 64-bit integers (fraction code 0, integer elements) or floats.  A row or column shared by two
// destination pixels is consumed by the second one whether or not its lead weight is applied,
// and a span that ends a sliver past the region repeats the region's last row or column.
#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "resize/resize_kernels.h"

namespace {

constexpr double kEps = 1e-7;

template <typename T, int kElems>
class SuperSampler {
 public:
  SuperSampler(const void* src, int32_t srcStep, int32_t srcCols, int32_t srcRows, int32_t stride)
      : src_(static_cast<const uint8_t*>(src)),
        srcStep_(srcStep),
        srcCols_(srcCols),
        srcRows_(srcRows),
        stride_(stride) {}

  const T* Row(int64_t r) const {
    if (r > srcRows_ - 1) r = srcRows_ - 1;
    return reinterpret_cast<const T*>(src_ + r * srcStep_);
  }
  int64_t Col(int64_t c) const { return c > srcCols_ - 1 ? srcCols_ - 1 : c; }

  // Integer column sums of one row.
  void AddRowInt(const T* row, uint64_t* sums) const requires(!std::is_same_v<T, float>) {
    if (stride_ == kElems) {
      const ptrdiff_t n = static_cast<ptrdiff_t>(srcCols_) * kElems;
      for (ptrdiff_t e = 0; e < n; ++e) sums[e] += row[e];
      return;
    }
    for (int32_t x = 0; x < srcCols_; ++x, row += stride_, sums += kElems) {
      for (int c = 0; c < kElems; ++c) sums[c] += row[c];
    }
  }

  // Float column sums of one row at a weight (1 adds the samples themselves); every addition is
  // formed in double precision and rounded to float.
  void AddRowFloat(const T* row, double weight, float* sums) const {
    for (int32_t x = 0; x < srcCols_; ++x, row += stride_, sums += kElems) {
      for (int c = 0; c < kElems; ++c) {
        sums[c] =
            static_cast<float>(static_cast<double>(sums[c]) + static_cast<double>(row[c]) * weight);
      }
    }
  }

 private:
  const uint8_t* src_;
  int32_t srcStep_;
  int32_t srcCols_;
  int32_t srcRows_;
  int32_t stride_;
};

// Walk of one axis with a fractional step: the first pixel takes `whole` units and the first
// fraction however small; each next pixel starts with the rest of the shared unit.
struct FractionalWalk {
  double step;
  int64_t whole;
  double carry = 0.0;
  int64_t shared = 0;

  explicit FractionalWalk(double s) : step(s), whole(static_cast<int64_t>(std::floor(s))) {}

  // Calls add(unit, weight) for the units of pixel `index` in order: lead, whole, tail.
  template <typename Add>
  void Next(bool first, Add&& add) {
    if (first) {
      for (int64_t u = 0; u < whole; ++u) add(u, 1.0);
      carry = step - static_cast<double>(whole);
      shared = whole;
      add(shared, carry);
      return;
    }
    const double head = 1.0 - carry;
    const double z = step - head;
    const int64_t n = static_cast<int64_t>(std::floor(z + kEps));
    carry = z - static_cast<double>(n);
    if (head > kEps) add(shared, head);
    for (int64_t u = shared + 1; u <= shared + n; ++u) add(u, 1.0);
    shared += n + 1;
    if (carry > kEps) add(shared, carry);
  }
};

template <typename T>
void StoreMean(double sum, double norm, T* out) {
  if constexpr (std::is_same_v<T, float>) {
    *out = static_cast<float>(sum * norm);
  } else {
    // Low bits of the truncated mean; within the limits the mean never exceeds the largest sample.
    const int64_t v = static_cast<int64_t>(sum * norm + 0.5);
    *out = static_cast<T>(static_cast<uint64_t>(v));
  }
}

template <typename T, int kElems>
void SuperKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t srcCols,
                 int32_t srcRows, int32_t dstW, int32_t dstH, double hStep, double vStep,
                 double norm, int32_t stride, int32_t code, void* rowBuffer) {
  const SuperSampler<T, kElems> s(srcV, srcStep, srcCols, srcRows, stride);
  uint8_t* dstRow = static_cast<uint8_t*>(dstV);
  constexpr bool kIntegerElems = !std::is_same_v<T, float>;
  const bool integer = kIntegerElems && code == 0;
  const bool vFrac = (code & 1) != 0;
  const bool hFrac = (code & 2) != 0;
  const int64_t iy = static_cast<int64_t>(std::floor(vStep));
  const int64_t ix = static_cast<int64_t>(std::floor(hStep));
  const size_t colElems = static_cast<size_t>(srcCols) * kElems;
  uint64_t* intCols = static_cast<uint64_t*>(rowBuffer);
  uint64_t* intPix = intCols + colElems;
  float* fCols = static_cast<float*>(rowBuffer);
  float* fPix = fCols + colElems;

  int64_t cursor = 0;
  FractionalWalk vWalk(vStep);
  for (int32_t i = 0; i < dstH; ++i, dstRow += dstStep) {
    // Vertical pass: one sum per source column and channel.
    if (integer) {
      std::memset(intCols, 0, colElems * sizeof(uint64_t));
      if constexpr (kIntegerElems) {
        for (int64_t k = 0; k < iy; ++k) s.AddRowInt(s.Row(cursor + k), intCols);
      }
      cursor += iy;
    } else {
      std::memset(fCols, 0, colElems * sizeof(float));
      if (!vFrac) {
        for (int64_t k = 0; k < iy; ++k) s.AddRowFloat(s.Row(cursor + k), 1.0, fCols);
        cursor += iy;
      } else {
        vWalk.Next(i == 0, [&](int64_t r, double w) { s.AddRowFloat(s.Row(r), w, fCols); });
        cursor = vWalk.shared;
      }
    }

    // Horizontal pass: one sum per destination pixel and channel.
    if (integer) {
      for (int32_t g = 0; g < dstW; ++g) {
        for (int c = 0; c < kElems; ++c) {
          uint64_t sum = 0;
          for (int64_t k = 0; k < ix; ++k) sum += intCols[s.Col(g * ix + k) * kElems + c];
          intPix[static_cast<size_t>(g) * kElems + c] = sum;
        }
      }
    } else if (!hFrac) {
      for (int32_t g = 0; g < dstW; ++g) {
        for (int c = 0; c < kElems; ++c) {
          double sum = 0.0;
          for (int64_t k = 0; k < ix; ++k) sum += fCols[s.Col(g * ix + k) * kElems + c];
          fPix[static_cast<size_t>(g) * kElems + c] = static_cast<float>(sum);
        }
      }
    } else {
      FractionalWalk hWalk(hStep);
      for (int32_t g = 0; g < dstW; ++g) {
        double sum[kElems] = {};
        hWalk.Next(g == 0, [&](int64_t x, double w) {
          const float* col = fCols + s.Col(x) * kElems;
          for (int c = 0; c < kElems; ++c) sum[c] += static_cast<double>(col[c]) * w;
        });
        for (int c = 0; c < kElems; ++c) {
          fPix[static_cast<size_t>(g) * kElems + c] = static_cast<float>(sum[c]);
        }
      }
    }

    // Output.
    T* out = reinterpret_cast<T*>(dstRow);
    for (int32_t g = 0; g < dstW; ++g, out += stride) {
      for (int c = 0; c < kElems; ++c) {
        const size_t e = static_cast<size_t>(g) * kElems + c;
        StoreMean<T>(integer ? static_cast<double>(intPix[e]) : static_cast<double>(fPix[e]), norm,
                     out + c);
      }
    }
  }
}

}  // namespace

OST_RESIZE_SUPER_KERNEL(ResizeSuperSample8uC1) {
  (void)channels;
  SuperKernel<uint8_t, 1>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                          norm, 1, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample8uC3) {
  SuperKernel<uint8_t, 3>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                          norm, channels, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample8uC4) {
  (void)channels;
  SuperKernel<uint8_t, 4>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                          norm, 4, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample16uC1) {
  (void)channels;
  SuperKernel<uint16_t, 1>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                           norm, 1, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample16uC3) {
  SuperKernel<uint16_t, 3>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                           norm, channels, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample16uC4) {
  (void)channels;
  SuperKernel<uint16_t, 4>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                           norm, 4, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample32fC1) {
  (void)channels;
  SuperKernel<float, 1>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                        norm, 1, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample32fC3) {
  SuperKernel<float, 3>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                        norm, channels, fractionCode, rowBuffer);
}
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample32fC4) {
  (void)channels;
  SuperKernel<float, 4>(src, dst, srcStep, dstStep, srcCols, srcRows, dstW, dstH, hStep, vStep,
                        norm, 4, fractionCode, rowBuffer);
}
