// Super-sampling (area average) kernels.  Each destination pixel is the mean of the source area
// it covers; rows and columns covered in part count with the covered part.  Whole-number steps
// sum exactly in integers; fractional steps sum in float with the walks below.
//
// The row buffer holds srcCols pixels of column sums followed by dstW pixels of pixel sums:
// integers (fraction code 0, integer elements; 32-bit columns, 64-bit pixels) or floats.  A row
// or column shared by two destination pixels is consumed by the second one whether or not its
// lead weight is applied, and a span that ends a sliver past the region repeats the region's
// last row or column.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
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
  template <typename Sum>
  void AddRowInt(const T* row, Sum* sums) const {
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
    if (stride_ == kElems) {
      const ptrdiff_t n = static_cast<ptrdiff_t>(srcCols_) * kElems;
      for (ptrdiff_t e = 0; e < n; ++e) {
        sums[e] =
            static_cast<float>(static_cast<double>(sums[e]) + static_cast<double>(row[e]) * weight);
      }
      return;
    }
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

// Whole-number spans of integer samples (fraction code 0): exact integer sums.  Column sums are
// 32-bit while a column of the span cannot exceed it; pixel sums are 32-bit while a whole span
// cannot, which lets the means of a packed row be formed in one pass over plain arrays.
template <typename T, int kElems, typename Sum>
void SuperWholeSpans(const SuperSampler<T, kElems>& s, uint8_t* dstRow, int32_t dstStep,
                     int32_t srcCols, int32_t dstW, int32_t dstH, int64_t ix, int64_t iy,
                     double norm, int32_t stride, Sum* cols) {
  constexpr uint64_t kMaxSample = sizeof(T) == 1 ? 255 : 65535;
  const size_t colElems = static_cast<size_t>(srcCols) * kElems;
  const size_t pixElems = static_cast<size_t>(dstW) * kElems;
  const bool narrow = static_cast<uint64_t>(ix) * static_cast<uint64_t>(iy) <=
                      static_cast<uint64_t>(INT32_MAX) / kMaxSample;
  int32_t* pix = reinterpret_cast<int32_t*>(cols + colElems);
  // Pixels whose span lies within the columns read need no clamp.
  const int64_t inside = std::min<int64_t>(dstW, srcCols / ix);
  int64_t cursor = 0;
  for (int32_t i = 0; i < dstH; ++i, dstRow += dstStep) {
    std::memset(cols, 0, colElems * sizeof(Sum));
    for (int64_t k = 0; k < iy; ++k) s.AddRowInt(s.Row(cursor + k), cols);
    cursor += iy;
    auto pixelSum = [&](int64_t g, int c) {
      uint64_t sum = 0;
      if (g < inside) {
        const Sum* p = cols + static_cast<size_t>(g * ix) * kElems + c;
        for (int64_t k = 0; k < ix; ++k) sum += p[k * kElems];
      } else {
        for (int64_t k = 0; k < ix; ++k) sum += cols[s.Col(g * ix + k) * kElems + c];
      }
      return sum;
    };
    T* out = reinterpret_cast<T*>(dstRow);
    if (narrow && stride == kElems) {
      // Column k of every span in turn, then the pixels past the columns read.
      const size_t insideElems = static_cast<size_t>(inside) * kElems;
      std::memset(pix, 0, insideElems * sizeof(int32_t));
      const size_t spanElems = static_cast<size_t>(ix) * kElems;
      for (int64_t k = 0; k < ix; ++k) {
        const Sum* col = cols + static_cast<size_t>(k) * kElems;
        for (size_t g = 0; g < static_cast<size_t>(inside); ++g) {
          for (int c = 0; c < kElems; ++c) {
            pix[g * kElems + c] += static_cast<int32_t>(col[g * spanElems + c]);
          }
        }
      }
      for (int32_t g = static_cast<int32_t>(inside); g < dstW; ++g) {
        for (int c = 0; c < kElems; ++c) {
          pix[static_cast<size_t>(g) * kElems + c] = static_cast<int32_t>(pixelSum(g, c));
        }
      }
      // The mean is at most the largest sample: the truncation fits 32 bits.
      for (size_t e = 0; e < pixElems; ++e) {
        out[e] = static_cast<T>(static_cast<int32_t>(pix[e] * norm + 0.5));
      }
      continue;
    }
    for (int32_t g = 0; g < dstW; ++g, out += stride) {
      for (int c = 0; c < kElems; ++c) {
        StoreMean<T>(static_cast<double>(pixelSum(g, c)), norm, out + c);
      }
    }
  }
}

template <typename T, int kElems>
void SuperKernel(const void* srcV, void* dstV, int32_t srcStep, int32_t dstStep, int32_t srcCols,
                 int32_t srcRows, int32_t dstW, int32_t dstH, double hStep, double vStep,
                 double norm, int32_t stride, int32_t code, void* rowBuffer) {
  const SuperSampler<T, kElems> s(srcV, srcStep, srcCols, srcRows, stride);
  uint8_t* dstRow = static_cast<uint8_t*>(dstV);
  const bool vFrac = (code & 1) != 0;
  const bool hFrac = (code & 2) != 0;
  const int64_t iy = static_cast<int64_t>(std::floor(vStep));
  const int64_t ix = static_cast<int64_t>(std::floor(hStep));
  if constexpr (!std::is_same_v<T, float>) {
    if (code == 0) {
      constexpr uint64_t kMaxSample = sizeof(T) == 1 ? 255 : 65535;
      if (static_cast<uint64_t>(iy) <= UINT32_MAX / kMaxSample) {
        SuperWholeSpans(s, dstRow, dstStep, srcCols, dstW, dstH, ix, iy, norm, stride,
                        static_cast<uint32_t*>(rowBuffer));
      } else {
        SuperWholeSpans(s, dstRow, dstStep, srcCols, dstW, dstH, ix, iy, norm, stride,
                        static_cast<uint64_t*>(rowBuffer));
      }
      return;
    }
  }
  const size_t colElems = static_cast<size_t>(srcCols) * kElems;
  float* fCols = static_cast<float*>(rowBuffer);
  float* fPix = fCols + colElems;

  int64_t cursor = 0;
  FractionalWalk vWalk(vStep);
  for (int32_t i = 0; i < dstH; ++i, dstRow += dstStep) {
    // Vertical pass: one sum per source column and channel.
    std::memset(fCols, 0, colElems * sizeof(float));
    if (!vFrac) {
      for (int64_t k = 0; k < iy; ++k) s.AddRowFloat(s.Row(cursor + k), 1.0, fCols);
      cursor += iy;
    } else {
      vWalk.Next(i == 0, [&](int64_t r, double w) { s.AddRowFloat(s.Row(r), w, fCols); });
    }

    // Horizontal pass: one sum per destination pixel and channel.
    if (!hFrac) {
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
        StoreMean<T>(static_cast<double>(fPix[e]), norm, out + c);
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
