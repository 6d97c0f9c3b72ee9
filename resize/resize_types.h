// Public types of the image resize library.
#pragma once

#include <cstdint>

struct ImgSize {
  int32_t width;
  int32_t height;
};

struct ImgRect {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// Interpolation selector.
using ResizeInterp = int32_t;
inline constexpr ResizeInterp kResizeNearest = 1;
inline constexpr ResizeInterp kResizeLinear = 2;
inline constexpr ResizeInterp kResizeCubic = 4;
inline constexpr ResizeInterp kResizeSuper = 8;  // area average, reductions only
inline constexpr ResizeInterp kResizeLanczos = 16;

// Result of a resize call.
using ResizeStatus = int32_t;
inline constexpr ResizeStatus kResizeOk = 0;
inline constexpr ResizeStatus kResizeSizeErr = -6;      // a size is not positive, or ROI origin < 0
inline constexpr ResizeStatus kResizeNullPtrErr = -8;   // source or destination pointer is null
inline constexpr ResizeStatus kResizeMemAllocErr = -9;  // scratch memory could not be allocated
inline constexpr ResizeStatus kResizeStepErr = -14;     // a row step is not positive
inline constexpr ResizeStatus kResizeInterpErr = -22;   // unsupported interpolation
inline constexpr ResizeStatus kResizeFactorErr = -23;   // a factor is not greater than 0
inline constexpr ResizeStatus kResizeRoiOutside = 29;   // ROI origin outside the source image

// Element types of the worker and the super-sampling selector.
inline constexpr int32_t kResizeElem8u = 0;
inline constexpr int32_t kResizeElem16u = 1;
inline constexpr int32_t kResizeElem32f = 2;

// Factor modes: destination size over source size (1) or source pixels per destination pixel (0).
inline constexpr int32_t kResizeFactorSpan = 0;
inline constexpr int32_t kResizeFactorRatio = 1;
