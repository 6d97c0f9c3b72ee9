// The generic build's kernels, by the names of the kernel tables.
#pragma once

#include <cstdint>

#define OST_RESIZE_NEAREST_KERNEL(name)                                              \
  void name(const void* src, void* dst, int32_t dstStep, int32_t dstW, int32_t dstH, \
            const int32_t* rowOfs, const int32_t* colOfs, int32_t channels)
#define OST_RESIZE_LINEAR_KERNEL(name)                                                          \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,         \
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const void* rowWeights, \
            const void* colWeights, void* rowBuf0, void* rowBuf1, int32_t channels,             \
            int32_t layout)
#define OST_RESIZE_CUBIC_KERNEL(name)                                                            \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,          \
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos,     \
            const float* colPos, float* rowBuf0, float* rowBuf1, float* rowBuf2, float* rowBuf3, \
            int32_t channels, int32_t layout)
#define OST_RESIZE_LANCZOS_KERNEL(name)                                                           \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,           \
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowWeights6, \
            const float* colWeights6, float* rowBuf0, float* rowBuf1, float* rowBuf2,             \
            float* rowBuf3, float* rowBuf4, float* rowBuf5, int32_t roiX, int32_t roiY,           \
            int32_t restW, int32_t restH, int32_t yEnlarge, int32_t channels, int32_t layout)
#define OST_RESIZE_SUPER_KERNEL(name)                                                             \
  void name(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t srcCols,        \
            int32_t srcRows, int32_t dstW, int32_t dstH, double hStep, double vStep, double norm, \
            int32_t channels, int32_t fractionCode, void* rowBuffer)

OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC1);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC3);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest8uC4);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC1);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC3);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest16uC4);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC1);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC3);
OST_RESIZE_NEAREST_KERNEL(ResizeNearest32fC4);

OST_RESIZE_LINEAR_KERNEL(ResizeLinear8u);
OST_RESIZE_LINEAR_KERNEL(ResizeLinear16u);
OST_RESIZE_LINEAR_KERNEL(ResizeLinear32f);
OST_RESIZE_LINEAR_KERNEL(ResizeLinear8uC1);
OST_RESIZE_LINEAR_KERNEL(ResizeLinear16uC1);
OST_RESIZE_LINEAR_KERNEL(ResizeLinear32fC1);

OST_RESIZE_CUBIC_KERNEL(ResizeCubic8u);
OST_RESIZE_CUBIC_KERNEL(ResizeCubic16u);
OST_RESIZE_CUBIC_KERNEL(ResizeCubic32f);
OST_RESIZE_CUBIC_KERNEL(ResizeCubic8uC1);
OST_RESIZE_CUBIC_KERNEL(ResizeCubic16uC1);
OST_RESIZE_CUBIC_KERNEL(ResizeCubic32fC1);

OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos8u);
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos16u);
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos32f);
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos8uC1);
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos16uC1);
OST_RESIZE_LANCZOS_KERNEL(ResizeLanczos32fC1);

OST_RESIZE_SUPER_KERNEL(ResizeSuperSample8uC1);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample8uC3);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample8uC4);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample16uC1);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample16uC3);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample16uC4);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample32fC1);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample32fC3);
OST_RESIZE_SUPER_KERNEL(ResizeSuperSample32fC4);
