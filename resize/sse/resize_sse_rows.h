// The SSE build's row helpers, accumulators and weight builder, and the policy that instantiates
// the shared resize drivers with them.  Float arithmetic is single precision, rounded after every
// operation in the order each helper states.
#pragma once

#include <cstdint>
#include <type_traits>

#include "resize/resize_build.h"
#include "resize/resize_drivers.h"

// ---- Linear: n destination columns, m elements, wy / f the weight of the lower row -------------
void ResizeLinearH8uC1Sse(const uint8_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                          uint16_t* out);
void ResizeLinearH8uC4Sse(const uint8_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                          uint16_t* out);
void ResizeLinearH8uC3Sse(const uint8_t* src, int32_t n, int32_t stride, const int32_t* ofs,
                          const uint16_t* w, uint16_t* out);
void ResizeLinearV8uSse(uint8_t* dst, int32_t m, int32_t wy, const uint16_t* upper,
                        const uint16_t* lower);
void ResizeLinearV8uAC4Sse(uint8_t* dst, int32_t n, int32_t wy, const uint16_t* upper,
                           const uint16_t* lower);
void ResizeLinearH16uC1Sse(const uint16_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                           uint16_t* out);
void ResizeLinearH16uC4Sse(const uint16_t* src, int32_t n, const int32_t* ofs, const uint16_t* w,
                           uint16_t* out);
void ResizeLinearH16uC3Sse(const uint16_t* src, int32_t n, int32_t stride, const int32_t* ofs,
                           const uint16_t* w, uint16_t* out);
void ResizeLinearV16uSse(uint16_t* dst, int32_t m, int32_t wy, const uint16_t* upper,
                         const uint16_t* lower);
void ResizeLinearV16uAC4Sse(uint16_t* dst, int32_t n, int32_t wy, const uint16_t* upper,
                            const uint16_t* lower);
void ResizeLinearH32fC1Sse(const float* src, int32_t n, const int32_t* ofs, const float* w,
                           float* out);
void ResizeLinearH32fC4Sse(const float* src, int32_t n, const int32_t* ofs, const float* w,
                           float* out);
void ResizeLinearH32fC3Sse(const float* src, int32_t n, int32_t stride, const int32_t* ofs,
                           const float* w, float* out);
void ResizeLinearV32fSse(float* dst, int32_t m, float f, const float* upper, const float* lower);
void ResizeLinearV32fAC4Sse(float* dst, int32_t n, float f, const float* upper, const float* lower);

// ---- Cubic: rows 0..3 are the filtered rows y - 1 .. y + 2; each quad helper takes a count that
// is a multiple of four ------------------------------------------------------------------------
#define OST_SSE_CUBIC_H(name, T)                                                        \
  void name(const T* src, int32_t n, const int32_t* ofs, const float* pos, float* out); \
  void name##Quad(const T* src, int32_t n, const int32_t* ofs, const float* pos, float* out)
#define OST_SSE_CUBIC_H3(name, T)                                                                \
  void name(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const float* pos,       \
            float* out);                                                                         \
  void name##Quad(const T* src, int32_t n, int32_t stride, const int32_t* ofs, const float* pos, \
                  float* out)
#define OST_SSE_CUBIC_V(name, T)                                                                 \
  void name(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,       \
            const float* r3);                                                                    \
  void name##Quad(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2, \
                  const float* r3)
OST_SSE_CUBIC_H(ResizeCubicH8uC1Sse, uint8_t);
OST_SSE_CUBIC_H(ResizeCubicH8uC4Sse, uint8_t);
OST_SSE_CUBIC_H3(ResizeCubicH8uC3Sse, uint8_t);
OST_SSE_CUBIC_V(ResizeCubicV8uSse, uint8_t);
OST_SSE_CUBIC_V(ResizeCubicV8uAC4Sse, uint8_t);
OST_SSE_CUBIC_H(ResizeCubicH16uC1Sse, uint16_t);
OST_SSE_CUBIC_H(ResizeCubicH16uC4Sse, uint16_t);
OST_SSE_CUBIC_H3(ResizeCubicH16uC3Sse, uint16_t);
OST_SSE_CUBIC_V(ResizeCubicV16uSse, uint16_t);
OST_SSE_CUBIC_V(ResizeCubicV16uAC4Sse, uint16_t);
OST_SSE_CUBIC_H(ResizeCubicH32fC1Sse, float);
OST_SSE_CUBIC_H(ResizeCubicH32fC4Sse, float);
OST_SSE_CUBIC_H3(ResizeCubicH32fC3Sse, float);
OST_SSE_CUBIC_V(ResizeCubicV32fSse, float);
void ResizeCubicV32fAC4Sse(float* dst, int32_t n, float t, const float* r0, const float* r1,
                           const float* r2, const float* r3);
#undef OST_SSE_CUBIC_H
#undef OST_SSE_CUBIC_H3
#undef OST_SSE_CUBIC_V

// ---- Lanczos: roiX columns left of the region, restW from its left edge to the image's right
// edge; rows are the filtered rows y - 2 .. y + 3 ------------------------------------------------
#define OST_SSE_LANCZOS_H(name, T)                                                    \
  void name(const T* src, const int32_t* ofs, const float* w6, float* out, int32_t n, \
            int32_t roiX, int32_t restW)
#define OST_SSE_LANCZOS_H3(name, T)                                                        \
  void name(const T* src, int32_t stride, const int32_t* ofs, const float* w6, float* out, \
            int32_t n, int32_t roiX, int32_t restW)
#define OST_SSE_LANCZOS_V(name, T) \
  void name(T* dst, int32_t m, const float* w6, const float* const(&rows)[6])
OST_SSE_LANCZOS_H(ResizeLanczosH8uC1Sse, uint8_t);
OST_SSE_LANCZOS_H(ResizeLanczosH8uC4Sse, uint8_t);
OST_SSE_LANCZOS_H3(ResizeLanczosH8uC3Sse, uint8_t);
OST_SSE_LANCZOS_V(ResizeLanczosV8uSse, uint8_t);
OST_SSE_LANCZOS_V(ResizeLanczosV8uAC4Sse, uint8_t);
OST_SSE_LANCZOS_H(ResizeLanczosH16uC1Sse, uint16_t);
OST_SSE_LANCZOS_H(ResizeLanczosH16uC4Sse, uint16_t);
OST_SSE_LANCZOS_H3(ResizeLanczosH16uC3Sse, uint16_t);
OST_SSE_LANCZOS_V(ResizeLanczosV16uSse, uint16_t);
OST_SSE_LANCZOS_V(ResizeLanczosV16uAC4Sse, uint16_t);
OST_SSE_LANCZOS_H(ResizeLanczosH32fC1Sse, float);
OST_SSE_LANCZOS_H(ResizeLanczosH32fC4Sse, float);
OST_SSE_LANCZOS_H3(ResizeLanczosH32fC3Sse, float);
OST_SSE_LANCZOS_V(ResizeLanczosV32fSse, float);
OST_SSE_LANCZOS_V(ResizeLanczosV32fAC4Sse, float);
#undef OST_SSE_LANCZOS_H
#undef OST_SSE_LANCZOS_H3
#undef OST_SSE_LANCZOS_V

// Six single-precision weights per fraction for the taps -2 .. +3.
void ResizeLanczosWeightsSse(const float* fractions, int32_t count, float* weights);

// ---- Super-sampling accumulators: m rows of n pixels (srcStep bytes apart) added into acc -------
void ResizeSuperAcc8uC1Sse(const uint8_t* src, int32_t srcStep, int32_t n, int32_t m,
                           uint32_t* acc);
void ResizeSuperAcc16uC1Sse(const uint16_t* src, int32_t srcStep, int32_t n, int32_t m,
                            uint32_t* acc);
void ResizeSuperAcc32fC1Sse(const float* src, int32_t srcStep, int32_t n, int32_t m, float* acc);
// Three sums per pixel, the source pixels stride elements apart.
void ResizeSuperAcc8uC3Sse(const uint8_t* src, int32_t srcStep, int32_t n, int32_t m, uint32_t* acc,
                           int32_t stride);
void ResizeSuperAcc16uC3Sse(const uint16_t* src, int32_t srcStep, int32_t n, int32_t m,
                            uint32_t* acc, int32_t stride);
void ResizeSuperAcc32fC3Sse(const float* src, int32_t srcStep, int32_t n, int32_t m, float* acc,
                            int32_t stride);
void ResizeSuperAcc8uC4Sse(const uint8_t* src, int32_t srcStep, int32_t n, int32_t m,
                           uint32_t* acc);
void ResizeSuperAcc16uC4Sse(const uint16_t* src, int32_t srcStep, int32_t n, int32_t m,
                            uint32_t* acc);
void ResizeSuperAcc32fC4Sse(const float* src, int32_t srcStep, int32_t n, int32_t m, float* acc);

// The policy: each template member picks the helper of its element type and layout.
struct ResizeSseRows {
  static constexpr bool kLinearShortcuts8u = true;

  template <typename T, int kElems>
  static void LinearH(const T* row, int32_t n, int32_t stride, const int32_t* ofs,
                      const ResizeLinearWeight<T>* w, ResizeLinearBuf<T>* out) {
    if constexpr (std::is_same_v<T, uint8_t>) {
      if constexpr (kElems == 1) ResizeLinearH8uC1Sse(row, n, ofs, w, out);
      if constexpr (kElems == 3) ResizeLinearH8uC3Sse(row, n, stride, ofs, w, out);
      if constexpr (kElems == 4) ResizeLinearH8uC4Sse(row, n, ofs, w, out);
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      if constexpr (kElems == 1) ResizeLinearH16uC1Sse(row, n, ofs, w, out);
      if constexpr (kElems == 3) ResizeLinearH16uC3Sse(row, n, stride, ofs, w, out);
      if constexpr (kElems == 4) ResizeLinearH16uC4Sse(row, n, ofs, w, out);
    } else {
      if constexpr (kElems == 1) ResizeLinearH32fC1Sse(row, n, ofs, w, out);
      if constexpr (kElems == 3) ResizeLinearH32fC3Sse(row, n, stride, ofs, w, out);
      if constexpr (kElems == 4) ResizeLinearH32fC4Sse(row, n, ofs, w, out);
    }
  }
  template <typename T>
  static void LinearV(T* dst, int32_t m, ResizeLinearWeight<T> a, const ResizeLinearBuf<T>* upper,
                      const ResizeLinearBuf<T>* lower) {
    if constexpr (std::is_same_v<T, uint8_t>) ResizeLinearV8uSse(dst, m, a, upper, lower);
    if constexpr (std::is_same_v<T, uint16_t>) ResizeLinearV16uSse(dst, m, a, upper, lower);
    if constexpr (std::is_same_v<T, float>) ResizeLinearV32fSse(dst, m, a, upper, lower);
  }
  template <typename T>
  static void LinearVAC4(T* dst, int32_t n, ResizeLinearWeight<T> a,
                         const ResizeLinearBuf<T>* upper, const ResizeLinearBuf<T>* lower) {
    if constexpr (std::is_same_v<T, uint8_t>) ResizeLinearV8uAC4Sse(dst, n, a, upper, lower);
    if constexpr (std::is_same_v<T, uint16_t>) ResizeLinearV16uAC4Sse(dst, n, a, upper, lower);
    if constexpr (std::is_same_v<T, float>) ResizeLinearV32fAC4Sse(dst, n, a, upper, lower);
  }

  template <typename T, int kElems>
  static void CubicH(const T* row, int32_t n, int32_t stride, const int32_t* ofs, const float* pos,
                     float* out) {
    if constexpr (std::is_same_v<T, uint8_t>) {
      if constexpr (kElems == 1) ResizeCubicH8uC1Sse(row, n, ofs, pos, out);
      if constexpr (kElems == 3) ResizeCubicH8uC3Sse(row, n, stride, ofs, pos, out);
      if constexpr (kElems == 4) ResizeCubicH8uC4Sse(row, n, ofs, pos, out);
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      if constexpr (kElems == 1) ResizeCubicH16uC1Sse(row, n, ofs, pos, out);
      if constexpr (kElems == 3) ResizeCubicH16uC3Sse(row, n, stride, ofs, pos, out);
      if constexpr (kElems == 4) ResizeCubicH16uC4Sse(row, n, ofs, pos, out);
    } else {
      if constexpr (kElems == 1) ResizeCubicH32fC1Sse(row, n, ofs, pos, out);
      if constexpr (kElems == 3) ResizeCubicH32fC3Sse(row, n, stride, ofs, pos, out);
      if constexpr (kElems == 4) ResizeCubicH32fC4Sse(row, n, ofs, pos, out);
    }
  }
  template <typename T>
  static void CubicV(T* dst, int32_t m, float t, const float* r0, const float* r1, const float* r2,
                     const float* r3) {
    if constexpr (std::is_same_v<T, uint8_t>) ResizeCubicV8uSse(dst, m, t, r0, r1, r2, r3);
    if constexpr (std::is_same_v<T, uint16_t>) ResizeCubicV16uSse(dst, m, t, r0, r1, r2, r3);
    if constexpr (std::is_same_v<T, float>) ResizeCubicV32fSse(dst, m, t, r0, r1, r2, r3);
  }
  template <typename T>
  static void CubicVAC4(T* dst, int32_t n, float t, const float* r0, const float* r1,
                        const float* r2, const float* r3) {
    if constexpr (std::is_same_v<T, uint8_t>) ResizeCubicV8uAC4Sse(dst, n, t, r0, r1, r2, r3);
    if constexpr (std::is_same_v<T, uint16_t>) ResizeCubicV16uAC4Sse(dst, n, t, r0, r1, r2, r3);
    if constexpr (std::is_same_v<T, float>) ResizeCubicV32fAC4Sse(dst, n, t, r0, r1, r2, r3);
  }

  template <typename T, int kElems>
  static void LanczosH(const T* row, int32_t stride, const int32_t* ofs, const float* w6,
                       float* out, int32_t n, int32_t roiX, int32_t restW) {
    if constexpr (std::is_same_v<T, uint8_t>) {
      if constexpr (kElems == 1) ResizeLanczosH8uC1Sse(row, ofs, w6, out, n, roiX, restW);
      if constexpr (kElems == 3) ResizeLanczosH8uC3Sse(row, stride, ofs, w6, out, n, roiX, restW);
      if constexpr (kElems == 4) ResizeLanczosH8uC4Sse(row, ofs, w6, out, n, roiX, restW);
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      if constexpr (kElems == 1) ResizeLanczosH16uC1Sse(row, ofs, w6, out, n, roiX, restW);
      if constexpr (kElems == 3) ResizeLanczosH16uC3Sse(row, stride, ofs, w6, out, n, roiX, restW);
      if constexpr (kElems == 4) ResizeLanczosH16uC4Sse(row, ofs, w6, out, n, roiX, restW);
    } else {
      if constexpr (kElems == 1) ResizeLanczosH32fC1Sse(row, ofs, w6, out, n, roiX, restW);
      if constexpr (kElems == 3) ResizeLanczosH32fC3Sse(row, stride, ofs, w6, out, n, roiX, restW);
      if constexpr (kElems == 4) ResizeLanczosH32fC4Sse(row, ofs, w6, out, n, roiX, restW);
    }
  }
  template <typename T>
  static void LanczosV(T* dst, int32_t m, const float* w6, const float* const (&rows)[6]) {
    if constexpr (std::is_same_v<T, uint8_t>) ResizeLanczosV8uSse(dst, m, w6, rows);
    if constexpr (std::is_same_v<T, uint16_t>) ResizeLanczosV16uSse(dst, m, w6, rows);
    if constexpr (std::is_same_v<T, float>) ResizeLanczosV32fSse(dst, m, w6, rows);
  }
  template <typename T>
  static void LanczosVAC4(T* dst, int32_t n, const float* w6, const float* const (&rows)[6]) {
    if constexpr (std::is_same_v<T, uint8_t>) ResizeLanczosV8uAC4Sse(dst, n, w6, rows);
    if constexpr (std::is_same_v<T, uint16_t>) ResizeLanczosV16uAC4Sse(dst, n, w6, rows);
    if constexpr (std::is_same_v<T, float>) ResizeLanczosV32fAC4Sse(dst, n, w6, rows);
  }

  template <typename T, int kElems>
  static void SuperAcc(const T* src, int32_t srcStep, int32_t n, int32_t m, ResizeSuperSum<T>* acc,
                       int32_t stride) {
    if constexpr (std::is_same_v<T, uint8_t>) {
      if constexpr (kElems == 1) ResizeSuperAcc8uC1Sse(src, srcStep, n, m, acc);
      if constexpr (kElems == 3) ResizeSuperAcc8uC3Sse(src, srcStep, n, m, acc, stride);
      if constexpr (kElems == 4) ResizeSuperAcc8uC4Sse(src, srcStep, n, m, acc);
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      if constexpr (kElems == 1) ResizeSuperAcc16uC1Sse(src, srcStep, n, m, acc);
      if constexpr (kElems == 3) ResizeSuperAcc16uC3Sse(src, srcStep, n, m, acc, stride);
      if constexpr (kElems == 4) ResizeSuperAcc16uC4Sse(src, srcStep, n, m, acc);
    } else {
      if constexpr (kElems == 1) ResizeSuperAcc32fC1Sse(src, srcStep, n, m, acc);
      if constexpr (kElems == 3) ResizeSuperAcc32fC3Sse(src, srcStep, n, m, acc, stride);
      if constexpr (kElems == 4) ResizeSuperAcc32fC4Sse(src, srcStep, n, m, acc);
    }
  }
};

// The SSE build: its kernel tables (the worker's and the two further ones) and its description.
extern const ResizeKernelTable ResizeKernelTableSse;
extern const ResizeKernelTableByNearest ResizeKernelTableSseCopy1;
extern const ResizeKernelTableByNearest ResizeKernelTableSseCopy2;
extern const ResizeSuperKernelTable ResizeSuperKernelTableSse;
extern const ResizeBuild kResizeSseBuild;
