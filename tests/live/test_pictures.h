// Test pictures: 24-bit BGR rows made from a colour function, and device-style JPEGs of them
// (start-of-image directly followed by the quantisation tables, no application segment).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace livetest {

struct Bgr {
  uint8_t b, g, r;
};

// Rows top row first, packed, width x 3 bytes each.
std::vector<uint8_t> TopDownPicture(int width, int height,
                                    const std::function<Bgr(int x, int y)>& colour);

// A JPEG of the picture (quality 1-100, 4:4:4 sampling) with its application segments removed.
std::vector<uint8_t> DeviceJpeg(const std::vector<uint8_t>& topDownBgr, int width, int height,
                                int quality = 95, bool gray = false);

// The largest difference of any byte.
int MaxDifference(const uint8_t* a, const uint8_t* b, size_t n);

}  // namespace livetest
