// The peers the resize benchmark runs beside our entry: OpenCV, libswscale, stb_image_resize.
// Each resizes a packed 8-bit BGR frame into a preallocated destination, single-threaded.
#pragma once

#include <cstdint>
#include <memory>

enum class BenchInterp { kNearest, kLinear, kCubic, kLanczos, kArea };

struct BenchFrame {
  const uint8_t* data;
  int32_t width, height, step;
};

struct BenchTarget {
  uint8_t* data;
  int32_t width, height, step;
};

class ResizePeer {
 public:
  virtual ~ResizePeer() = default;
  virtual void Resize(const BenchFrame& src, const BenchTarget& dst) = 0;
};

// Null when the peer has no such interpolation.  The peer may keep state built for the sizes
// (a scaler context), as a video pipeline would.
std::unique_ptr<ResizePeer> MakeOpenCvPeer(BenchInterp interp);
std::unique_ptr<ResizePeer> MakeSwscalePeer(BenchInterp interp, const BenchFrame& src,
                                            const BenchTarget& dst);
std::unique_ptr<ResizePeer> MakeStbPeer(BenchInterp interp);
