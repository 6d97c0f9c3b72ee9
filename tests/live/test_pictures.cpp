#include "tests/live/test_pictures.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace livetest {

std::vector<uint8_t> TopDownPicture(int width, int height,
                                    const std::function<Bgr(int x, int y)>& colour) {
  std::vector<uint8_t> p(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Bgr c = colour(x, y);
      uint8_t* px = &p[(size_t(y) * width + x) * 3];
      px[0] = c.b;
      px[1] = c.g;
      px[2] = c.r;
    }
  return p;
}

std::vector<uint8_t> DeviceJpeg(const std::vector<uint8_t>& topDownBgr, int width, int height,
                                int quality, bool gray) {
  tjhandle h = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  std::vector<uint8_t> grayRows;
  const unsigned char* src = topDownBgr.data();
  int format = TJPF_BGR;
  if (gray) {
    grayRows.resize(size_t(width) * height);
    for (size_t i = 0; i < grayRows.size(); ++i) grayRows[i] = topDownBgr[i * 3 + 1];
    src = grayRows.data();
    format = TJPF_GRAY;
  }
  if (tjCompress2(h, src, width, 0, height, format, &jpeg, &size, gray ? TJSAMP_GRAY : TJSAMP_444,
                  quality, 0) != 0)
    throw std::runtime_error("tjCompress2 failed");
  std::vector<uint8_t> all(jpeg, jpeg + size);
  tjFree(jpeg);
  tjDestroy(h);
  // Drop APPn segments (FF E0 - FF EF) that follow the start of image.
  size_t pos = 2;
  while (pos + 4 <= all.size() && all[pos] == 0xFF && all[pos + 1] >= 0xE0 && all[pos + 1] <= 0xEF)
    pos += 2 + (size_t(all[pos + 2]) << 8 | all[pos + 3]);
  all.erase(all.begin() + 2, all.begin() + static_cast<std::ptrdiff_t>(pos));
  return all;
}

int MaxDifference(const uint8_t* a, const uint8_t* b, size_t n) {
  int worst = 0;
  for (size_t i = 0; i < n; ++i) worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
  return worst;
}

}  // namespace livetest
