#include "bench/resize_peers.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
#include <stb/stb_image_resize.h>
}

namespace {

class OpenCvPeer : public ResizePeer {
 public:
  explicit OpenCvPeer(int interp) : interp_(interp) { cv::setNumThreads(1); }
  void Resize(const BenchFrame& s, const BenchTarget& d) override {
    const cv::Mat src(s.height, s.width, CV_8UC3, const_cast<uint8_t*>(s.data), s.step);
    cv::Mat dst(d.height, d.width, CV_8UC3, d.data, d.step);
    cv::resize(src, dst, dst.size(), 0, 0, interp_);
  }

 private:
  int interp_;
};

class SwscalePeer : public ResizePeer {
 public:
  explicit SwscalePeer(SwsContext* ctx) : ctx_(ctx) {}
  ~SwscalePeer() override { sws_freeContext(ctx_); }
  void Resize(const BenchFrame& s, const BenchTarget& d) override {
    const uint8_t* srcSlice[4] = {s.data, nullptr, nullptr, nullptr};
    const int srcStride[4] = {s.step, 0, 0, 0};
    uint8_t* dstSlice[4] = {d.data, nullptr, nullptr, nullptr};
    const int dstStride[4] = {d.step, 0, 0, 0};
    sws_scale(ctx_, srcSlice, srcStride, 0, s.height, dstSlice, dstStride);
  }

 private:
  SwsContext* ctx_;
};

class StbPeer : public ResizePeer {
 public:
  explicit StbPeer(stbir_filter filter) : filter_(filter) {}
  void Resize(const BenchFrame& s, const BenchTarget& d) override {
    stbir_resize_uint8_generic(s.data, s.width, s.height, s.step, d.data, d.width, d.height, d.step,
                               3, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP, filter_,
                               STBIR_COLORSPACE_LINEAR, nullptr);
  }

 private:
  stbir_filter filter_;
};

}  // namespace

std::unique_ptr<ResizePeer> MakeOpenCvPeer(BenchInterp interp) {
  switch (interp) {
    case BenchInterp::kNearest:
      return std::make_unique<OpenCvPeer>(cv::INTER_NEAREST);
    case BenchInterp::kLinear:
      return std::make_unique<OpenCvPeer>(cv::INTER_LINEAR);
    case BenchInterp::kCubic:
      return std::make_unique<OpenCvPeer>(cv::INTER_CUBIC);
    case BenchInterp::kLanczos:
      return std::make_unique<OpenCvPeer>(cv::INTER_LANCZOS4);
    case BenchInterp::kArea:
      return std::make_unique<OpenCvPeer>(cv::INTER_AREA);
  }
  return nullptr;
}

std::unique_ptr<ResizePeer> MakeSwscalePeer(BenchInterp interp, const BenchFrame& s,
                                            const BenchTarget& d) {
  int flags = 0;
  switch (interp) {
    case BenchInterp::kNearest:
      flags = SWS_POINT;
      break;
    case BenchInterp::kLinear:
      flags = SWS_BILINEAR;
      break;
    case BenchInterp::kCubic:
      flags = SWS_BICUBIC;
      break;
    case BenchInterp::kLanczos:
      flags = SWS_LANCZOS;
      break;
    case BenchInterp::kArea:
      flags = SWS_AREA;
      break;
  }
  SwsContext* ctx = sws_getContext(s.width, s.height, AV_PIX_FMT_BGR24, d.width, d.height,
                                   AV_PIX_FMT_BGR24, flags, nullptr, nullptr, nullptr);
  if (!ctx) return nullptr;
  return std::make_unique<SwscalePeer>(ctx);
}

std::unique_ptr<ResizePeer> MakeStbPeer(BenchInterp interp) {
  switch (interp) {
    case BenchInterp::kLinear:
      return std::make_unique<StbPeer>(STBIR_FILTER_TRIANGLE);
    case BenchInterp::kCubic:
      return std::make_unique<StbPeer>(STBIR_FILTER_CATMULLROM);
    case BenchInterp::kArea:
      return std::make_unique<StbPeer>(STBIR_FILTER_BOX);
    default:
      return nullptr;  // no point sampling and no lanczos in this version
  }
}
