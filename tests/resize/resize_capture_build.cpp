#include "tests/resize/resize_capture_build.h"

#include "resize/resize_worker.h"

namespace resize_test {

std::vector<KernelCall>& CapturedCalls() {
  static std::vector<KernelCall> calls;
  return calls;
}

namespace {

template <typename W>
std::vector<double> Copy(const W* p, int64_t n) {
  return std::vector<double>(p, p + n);
}

template <int kMember>
void Nearest(const void* src, void* dst, int32_t dstStep, int32_t dstW, int32_t dstH,
             const int32_t* rowOfs, const int32_t* colOfs, int32_t channels) {
  KernelCall c;
  c.group = 'n', c.member = kMember, c.src = src, c.dst = dst, c.dstStep = dstStep;
  c.dstW = dstW, c.dstH = dstH, c.channels = channels;
  c.rowOfs.assign(rowOfs, rowOfs + dstH);
  c.colOfs.assign(colOfs, colOfs + dstW);
  CapturedCalls().push_back(c);
}

template <int kMember>
void Linear(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
            int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const void* rowWeights,
            const void* colWeights, void*, void*, int32_t channels, int32_t layout) {
  KernelCall c;
  c.group = 'l', c.member = kMember, c.src = src, c.dst = dst, c.srcStep = srcStep;
  c.dstStep = dstStep, c.dstW = dstW, c.dstH = dstH, c.channels = channels, c.layout = layout;
  c.rowOfs.assign(rowOfs, rowOfs + dstH);
  c.colOfs.assign(colOfs, colOfs + dstW);
  if (kMember % 3 == 2) {  // float weights
    c.rowW = Copy(static_cast<const float*>(rowWeights), dstH);
    c.colW = Copy(static_cast<const float*>(colWeights), dstW);
  } else {
    c.rowW = Copy(static_cast<const uint16_t*>(rowWeights), dstH);
    c.colW = Copy(static_cast<const uint16_t*>(colWeights), 2 * int64_t{dstW});
  }
  CapturedCalls().push_back(c);
}

template <int kMember>
void Cubic(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW, int32_t dstH,
           const int32_t* rowOfs, const int32_t* colOfs, const float* rowPos, const float* colPos,
           float*, float*, float*, float*, int32_t channels, int32_t layout) {
  KernelCall c;
  c.group = 'c', c.member = kMember, c.src = src, c.dst = dst, c.srcStep = srcStep;
  c.dstStep = dstStep, c.dstW = dstW, c.dstH = dstH, c.channels = channels, c.layout = layout;
  c.rowOfs.assign(rowOfs, rowOfs + dstH);
  c.colOfs.assign(colOfs, colOfs + dstW);
  c.rowW = Copy(rowPos, dstH);
  c.colW = Copy(colPos, dstW);
  CapturedCalls().push_back(c);
}

template <int kMember>
void Lanczos(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t dstW,
             int32_t dstH, const int32_t* rowOfs, const int32_t* colOfs, const float* rowW6,
             const float* colW6, float*, float*, float*, float*, float*, float*, int32_t roiX,
             int32_t roiY, int32_t restW, int32_t restH, int32_t yEnlarge, int32_t channels,
             int32_t layout) {
  KernelCall c;
  c.group = 'z', c.member = kMember, c.src = src, c.dst = dst, c.srcStep = srcStep;
  c.dstStep = dstStep, c.dstW = dstW, c.dstH = dstH, c.channels = channels, c.layout = layout;
  c.rowOfs.assign(rowOfs, rowOfs + dstH);
  c.colOfs.assign(colOfs, colOfs + dstW);
  c.rowW = Copy(rowW6, 6 * int64_t{dstH});
  c.colW = Copy(colW6, 6 * int64_t{dstW});
  c.roiX = roiX, c.roiY = roiY, c.restW = restW, c.restH = restH, c.yEnlarge = yEnlarge;
  CapturedCalls().push_back(c);
}

template <int kMember>
void Super(const void* src, void* dst, int32_t srcStep, int32_t dstStep, int32_t srcCols,
           int32_t srcRows, int32_t dstW, int32_t dstH, double hStep, double vStep, double norm,
           int32_t channels, int32_t fractionCode, void*) {
  KernelCall c;
  c.group = 's', c.member = kMember, c.src = src, c.dst = dst, c.srcStep = srcStep;
  c.dstStep = dstStep, c.dstW = dstW, c.dstH = dstH, c.channels = channels;
  c.srcCols = srcCols, c.srcRows = srcRows, c.hStep = hStep, c.vStep = vStep, c.norm = norm;
  c.code = fractionCode;
  CapturedCalls().push_back(c);
}

const ResizeKernelTable kTable = {
    {Lanczos<0>, Lanczos<1>, Lanczos<2>, Lanczos<3>, Lanczos<4>, Lanczos<5>},
    {Cubic<0>, Cubic<1>, Cubic<2>, Cubic<3>, Cubic<4>, Cubic<5>},
    {Linear<0>, Linear<1>, Linear<2>, Linear<3>, Linear<4>, Linear<5>},
    {Nearest<0>, Nearest<1>, Nearest<2>, Nearest<3>, Nearest<4>, Nearest<5>, Nearest<6>, Nearest<7>,
     Nearest<8>},
};

const ResizeSuperKernelTable kSuperTable = {{
    {Super<0>, Super<1>, Super<2>},
    {Super<3>, Super<4>, Super<5>},
    {Super<6>, Super<7>, Super<8>},
}};

}  // namespace

const ResizeBuild kCaptureBuild = {&kTable, ResizeLanczosWeights, &kSuperTable};

}  // namespace resize_test
