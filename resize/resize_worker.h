// The generic build's worker, super-sampling selector and weight builder.
#pragma once

#include <cstdint>

#include "resize/resize_types.h"

// channels: pixel stride in elements; layout: channels processed (1, 3 or 4); elemType 0 8-bit,
// 1 16-bit, 2 float; planar: src and dst point to arrays of plane pointers (3 planes for layout 3,
// otherwise 4); factorMode 1: destination over source size, 0: source pixels per destination pixel.
// Pointers and steps of 16-bit and float images are whole elements.
ResizeStatus ResizeWorker(const void* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                          void* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                          double yFactor, double xShift, double yShift, int32_t channels,
                          int32_t layout, int32_t elemType, int32_t planar, int32_t interpolation,
                          int32_t factorMode);

// Area-average reduction; steps in bytes.
ResizeStatus ResizeSuperSample(const void* src, ImgSize srcSize, int32_t srcStep, ImgRect srcRoi,
                               void* dst, int32_t dstStep, ImgSize dstRoiSize, double xFactor,
                               double yFactor, int32_t channels, int32_t layout, int32_t elemType,
                               int32_t planar, int32_t factorMode);

// Six lanczos weights per fraction, tap k weighting source pixel index + k - 2.
void ResizeLanczosWeights(const float* fractions, int32_t count, float* weights);

// L(i/100) for i = 0..300, and a zero entry 301.
inline constexpr int32_t kResizeLanczosTableSize = 302;
extern const float ResizeLanczosTable[kResizeLanczosTableSize];
