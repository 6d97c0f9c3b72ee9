// Nearest-neighbour kernels: every destination pixel copies the source pixel that the row and
// column tables name.  Float elements are moved as 32-bit words, bit for bit.
#include <cstddef>
#include <cstring>

#include "resize/resize_kernels.h"

namespace {

template <typename T, int kElems>
inline void CopyPixel(const T* from, T* to) {
  std::memcpy(to, from, sizeof(T) * kElems);
}

// 8-bit three-channel pixels of a packed row, moved as 4-byte words where the fourth byte is
// rewritten by the next pixel and read from within the row's last source pixel.
void NearestRow8uC3Packed(const uint8_t* row, uint8_t* out, int32_t dstW, const int32_t* colOfs) {
  const int32_t lastOfs = colOfs[dstW - 1];
  int32_t j = 0;
  for (; j < dstW - 1; ++j) {
    const int32_t ofs = colOfs[j];
    if (ofs < lastOfs) {
      uint32_t v;
      std::memcpy(&v, row + ofs, 4);
      std::memcpy(out + 3 * j, &v, 4);
    } else {
      CopyPixel<uint8_t, 3>(row + ofs, out + 3 * j);
    }
  }
  CopyPixel<uint8_t, 3>(row + lastOfs, out + 3 * j);
}

// Storage: 8-bit, 16-bit or 32-bit words.  stride is the output advance per pixel in elements.
template <typename T, int kElems>
void NearestKernel(const void* srcV, void* dstV, int32_t dstStep, int32_t dstW, int32_t dstH,
                   const int32_t* rowOfs, const int32_t* colOfs, int32_t stride) {
  const T* src = static_cast<const T*>(srcV);
  T* dst = static_cast<T*>(dstV);
  const ptrdiff_t rowElems = static_cast<ptrdiff_t>(dstW) * stride;
  // A row whose source row repeats is a copy of the row before, when rows do not overlap and no
  // element between pixels must stay untouched.
  const bool copyRepeats = stride == kElems && dstStep >= rowElems;
  for (int32_t i = 0; i < dstH; ++i) {
    T* out = dst + static_cast<ptrdiff_t>(i) * dstStep;
    if (copyRepeats && i > 0 && rowOfs[i] == rowOfs[i - 1]) {
      std::memcpy(out, out - dstStep, sizeof(T) * static_cast<size_t>(rowElems));
      continue;
    }
    const T* row = src + rowOfs[i];
    if constexpr (sizeof(T) == 1 && kElems == 3) {
      if (stride == 3) {
        NearestRow8uC3Packed(row, out, dstW, colOfs);
        continue;
      }
    }
    for (int32_t j = 0; j < dstW; ++j) {
      CopyPixel<T, kElems>(row + colOfs[j], out);
      out += stride;
    }
  }
}

}  // namespace

OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC1) {
  (void)channels;
  NearestKernel<uint8_t, 1>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 1);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC3) {
  NearestKernel<uint8_t, 3>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, channels);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC4) {
  (void)channels;
  NearestKernel<uint8_t, 4>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 4);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC1) {
  (void)channels;
  NearestKernel<uint16_t, 1>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 1);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC3) {
  NearestKernel<uint16_t, 3>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, channels);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC4) {
  (void)channels;
  NearestKernel<uint16_t, 4>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 4);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC1) {
  (void)channels;
  NearestKernel<uint32_t, 1>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 1);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC3) {
  NearestKernel<uint32_t, 3>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, channels);
}
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC4) {
  (void)channels;
  NearestKernel<uint32_t, 4>(src, dst, dstStep, dstW, dstH, rowOfs, colOfs, 4);
}
