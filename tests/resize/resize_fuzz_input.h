// Decoding of a fuzz input into one resize call, shared by the fuzz targets of every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "tests/resize/resize_call.h"

namespace resize_test {

namespace fuzz_input {

class Bytes {
 public:
  Bytes(const uint8_t* d, size_t n) : d_(d), n_(n) {}
  uint8_t U8() { return i_ < n_ ? d_[i_++] : 0; }
  int32_t Small(int32_t lo, int32_t span) { return lo + static_cast<int32_t>(U8() % span); }
  double Factor() {
    const uint8_t mode = U8();
    if (mode < 96) {  // raw bits
      uint64_t bits = 0;
      for (int k = 0; k < 8; ++k) bits |= static_cast<uint64_t>(U8()) << (8 * k);
      double f;
      std::memcpy(&f, &bits, sizeof f);
      return f;
    }
    if (mode < 176) return (U8() + 1) / 64.0;                              // 1/64 .. 4
    if (mode < 216) return 1.0 / (U8() + 1);                               // reductions
    return static_cast<double>(static_cast<float>(1.0 / (U8() % 9 + 1)));  // single precision
  }
  const uint8_t* rest() const { return d_ + (i_ < n_ ? i_ : n_); }
  size_t restSize() const { return i_ < n_ ? n_ - i_ : 0; }

 private:
  const uint8_t* d_;
  size_t n_;
  size_t i_ = 0;
};

struct LayoutChoice {
  int32_t channels, layout, planar;
};
constexpr LayoutChoice kLayouts[] = {{1, 1, 0}, {3, 3, 0}, {4, 4, 0}, {4, 3, 0},
                                     {1, 3, 1}, {1, 4, 1}, {1, 1, 1}, {3, 3, 0}};
constexpr int32_t kInterp[] = {1, 2, 4, 8, 16, 0, 3, 32};

}  // namespace fuzz_input

// Any region, steps, sizes, factors (from raw bits: tiny, huge, NaN, infinite), interpolation,
// element type and layout; the bytes left over fill the source.
inline ResizeCall DecodeFuzzCall(const uint8_t* data, size_t size, const uint8_t** rest,
                                 size_t* restSize) {
  using fuzz_input::Bytes;
  using fuzz_input::kInterp;
  using fuzz_input::kLayouts;
  using fuzz_input::LayoutChoice;
  Bytes b(data, size);
  ResizeCall c;
  const uint8_t shape = b.U8();
  c.publicEntry = (shape & 1) != 0;
  const LayoutChoice& l = kLayouts[(shape >> 1) & 7];
  if (!c.publicEntry) {
    c.channels = l.channels, c.layout = l.layout, c.planar = l.planar;
    c.type = (shape >> 4) % 3;
    c.factorMode = (shape & 0x40) ? 0 : 1;
  }
  c.nullSrc = (shape & 0x80) && (b.U8() & 1);
  c.srcSize = {b.Small(-1, 48), b.Small(-1, 48)};
  const int32_t pixelElems = c.planar ? 1 : c.channels;
  const int32_t rowElems = (c.srcSize.width > 0 ? c.srcSize.width : 1) * pixelElems;
  const uint8_t stepMode = b.U8();
  // Steps of 16-bit and float images are whole elements.
  c.srcStep = (stepMode < 8 ? static_cast<int32_t>(stepMode) - 4 : rowElems + stepMode % 16)
              << c.type;
  c.roi = {b.Small(-2, 56), b.Small(-2, 56), b.Small(-1, 64), b.Small(-1, 64)};
  c.dstRoi = {b.Small(-1, 66), b.Small(-1, 66)};
  const int32_t dstRowElems = (c.dstRoi.width > 0 ? c.dstRoi.width : 1) * pixelElems;
  const uint8_t dstStepMode = b.U8();
  c.dstStep =
      (dstStepMode < 8 ? static_cast<int32_t>(dstStepMode) - 4 : dstRowElems + dstStepMode % 16)
      << c.type;
  c.xf = b.Factor();
  c.yf = (b.U8() & 3) == 0 ? c.xf : b.Factor();
  c.interp = kInterp[b.U8() & 7];
  *rest = b.rest();
  *restSize = b.restSize();
  return c;
}

}  // namespace resize_test
