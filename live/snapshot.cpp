#include "live/snapshot.h"

#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/jpegcodec/jpeg_codec.h"

namespace {

constexpr int kMaxSameSecondFiles = 99;

bool FileExists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The 14-byte file header and 40-byte information header of a 24-bit bottom-up bitmap.
std::vector<uint8_t> BitmapHeaders(uint16_t width, uint16_t height) {
  const uint32_t pixelBytes = uint32_t{width} * height * 3;
  std::vector<uint8_t> h;
  Put16(h, 19778);  // "BM"
  Put32(h, pixelBytes + 54);
  Put16(h, 0);
  Put16(h, 0);
  Put32(h, 54);
  Put32(h, 40);
  Put32(h, width);
  Put32(h, height);  // positive: bottom row first
  Put16(h, 1);
  Put16(h, 24);
  for (int i = 0; i < 6; ++i) Put32(h, 0);  // no compression, image size and the rest 0
  return h;
}

int WriteBitmap(const std::string& path, const uint8_t* picture, uint16_t width, uint16_t height) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  const std::vector<uint8_t> headers = BitmapHeaders(width, height);
  const size_t pixelBytes = size_t{width} * height * 3;
  bool ok = std::fwrite(headers.data(), 1, headers.size(), f) == headers.size() &&
            std::fwrite(picture, 1, pixelBytes, f) == pixelBytes;
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok ? 1 : 0;
}

int WriteJpeg(const std::string& path, const uint8_t* picture, uint16_t width, uint16_t height) {
  JpegCodecProperties p{};
  if (!JpegCodecInit(&p)) {
    JpegCodecFree(&p);
    return 0;
  }
  p.DIBChannels = 3;
  p.DIBColor = kJpegCodecDibBGR;
  p.DIBWidth = width;
  p.DIBHeight = -static_cast<int32_t>(height);  // bottom row first
  p.DIBPadBytes = 0;                            // the rows are packed
  p.JPGWidth = width;
  p.JPGHeight = height;
  p.JPGFile = path.c_str();
  p.DIBBytes = const_cast<uint8_t*>(picture);  // only read by a write
  const int written = JpegCodecWrite(&p, kJpegCodecWriteImageToFile);
  JpegCodecFree(&p);
  return written ? 1 : 0;
}

}  // namespace

LocalClock CurrentLocalClock() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
#if defined(_WIN32)
  localtime_s(&tm, &now);
#else
  localtime_r(&now, &tm);
#endif
  return LocalClock{static_cast<uint16_t>(tm.tm_year + 1900), static_cast<uint16_t>(tm.tm_mon + 1),
                    static_cast<uint16_t>(tm.tm_mday),        static_cast<uint16_t>(tm.tm_hour),
                    static_cast<uint16_t>(tm.tm_min),         static_cast<uint16_t>(tm.tm_sec)};
}

std::string SnapshotFileStem(const LocalClock& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u%02u%02uT%02u%02u%02u", unsigned{t.wYear % 100u},
                unsigned{t.wMonth % 100u}, unsigned{t.wDay % 100u}, unsigned{t.wHour % 100u},
                unsigned{t.wMinute % 100u}, unsigned{t.wSecond % 100u});
  return text;
}

std::string SnapshotFilePath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + name;
}

int SaveSnapshotAt(const char* folder, const uint8_t* picture, uint16_t width, uint16_t height,
                   int jpegFlag, const LocalClock& t) {
  if (!folder || !picture || width == 0 || height == 0) return 0;
  const std::string stem = SnapshotFileStem(t);
  const char* extension = jpegFlag ? ".jpg" : ".bmp";
  std::string path = SnapshotFilePath(folder, stem + extension);
  for (int n = 2; FileExists(path); ++n) {
    if (n > kMaxSameSecondFiles) return 0;
    path = SnapshotFilePath(folder, stem + "_" + std::to_string(n) + extension);
  }
  return jpegFlag ? WriteJpeg(path, picture, width, height)
                  : WriteBitmap(path, picture, width, height);
}

int SaveSnapshot(const char* folder, const uint8_t* picture, uint16_t width, uint16_t height,
                 int jpegFlag) {
  return SaveSnapshotAt(folder, picture, width, height, jpegFlag, CurrentLocalClock());
}
