#include "devsim/jpeg_encoder.h"

#include <turbojpeg.h>

#include <cstdint>
#include <vector>

namespace devsim {
namespace {

constexpr int kQualityStep = 10;
constexpr int kLowestQuality = 5;

class Compressor {
 public:
  Compressor() : handle_(tjInitCompress()) {}
  ~Compressor() {
    if (handle_) tjDestroy(handle_);
  }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  bool Encode(const RgbImage& image, int quality, std::string* out, std::string* error) {
    if (!handle_) {
      *error = "tjInitCompress failed";
      return false;
    }
    unsigned long capacity = tjBufSize(image.width, image.height, TJSAMP_420);
    std::vector<unsigned char> buffer(capacity);
    unsigned char* data = buffer.data();
    unsigned long size = capacity;
    int rc =
        tjCompress2(handle_, image.pixels.data(), image.width, image.width * 3, image.height,
                    TJPF_RGB, &data, &size, TJSAMP_420, quality, TJFLAG_NOREALLOC | TJFLAG_FASTDCT);
    if (rc != 0) {
      *error = std::string("tjCompress2: ") + tjGetErrorStr2(handle_);
      return false;
    }
    auto stripped = StripApplicationSegments(
        std::string_view(reinterpret_cast<const char*>(data), static_cast<size_t>(size)));
    if (!stripped || stripped->size() < 4 || static_cast<uint8_t>((*stripped)[2]) != 0xFF ||
        static_cast<uint8_t>((*stripped)[3]) != 0xDB) {
      *error = "the encoded JPEG does not continue with its quantisation tables";
      return false;
    }
    *out = std::move(*stripped);
    return true;
  }

 private:
  tjhandle handle_;
};

}  // namespace

bool EncodeDevicePicture(const RgbImage& image, int quality, size_t max_bytes, std::string* out,
                         std::string* error) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height * 3) {
    *error = "bad picture size";
    return false;
  }
  Compressor compressor;
  for (int q = quality; q >= kLowestQuality; q -= kQualityStep) {
    if (!compressor.Encode(image, q, out, error)) return false;
    if (out->size() <= max_bytes) return true;
  }
  *error = "the picture does not fit in " + std::to_string(max_bytes) + " bytes";
  return false;
}

std::optional<std::string> StripApplicationSegments(std::string_view jpeg) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(jpeg[i]); };
  if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return std::nullopt;
  size_t pos = 2;
  while (pos + 4 <= jpeg.size() && byte(pos) == 0xFF &&
         ((byte(pos + 1) >= 0xE0 && byte(pos + 1) <= 0xEF) || byte(pos + 1) == 0xFE)) {
    size_t length = (static_cast<size_t>(byte(pos + 2)) << 8) | byte(pos + 3);
    if (length < 2 || pos + 2 + length > jpeg.size()) return std::nullopt;
    pos += 2 + length;
  }
  std::string out = "\xFF\xD8";
  out.append(jpeg.substr(pos));
  return out;
}

std::string WithJfifSegment(std::string_view jpeg) {
  static constexpr unsigned char kJfif[] = {0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00,
                                            0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00};
  std::string out(jpeg.substr(0, 2));
  out.append(reinterpret_cast<const char*>(kJfif), sizeof kJfif);
  if (jpeg.size() > 2) out.append(jpeg.substr(2));
  return out;
}

}  // namespace devsim
