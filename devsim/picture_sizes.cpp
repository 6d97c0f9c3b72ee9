#include "devsim/picture_sizes.h"

namespace devsim {

PictureFamily PictureFamilyOf(std::string_view product_id) {
  if (product_id == "RZ8P") return PictureFamily::kCamera;
  if (product_id == "RZ2K" || product_id == "RZ5M" || product_id == "RZ6M" ||
      product_id == "RZ7M") {
    return PictureFamily::kVideoServer;
  }
  return PictureFamily::kRecorder;
}

VideoStandard VideoStandardOf(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return (value & 0xFF) == 0 ? VideoStandard::kNtsc : VideoStandard::kPal;
}

PictureSize PictureSizeFor(PictureFamily family, VideoStandard standard, Resolution resolution) {
  bool pal = standard == VideoStandard::kPal;
  switch (family) {
    case PictureFamily::kCamera:
      if (resolution == Resolution::kFull) return {640, 480};
      if (resolution == Resolution::kSmall) return {160, 120};
      return {320, 240};
    case PictureFamily::kVideoServer: {
      uint16_t height = pal ? 288 : 240;
      return {static_cast<uint16_t>(resolution == Resolution::kFull ? 704 : 352), height};
    }
    case PictureFamily::kRecorder:
    default: {
      uint16_t height = pal ? 276 : 228;
      return {static_cast<uint16_t>(resolution == Resolution::kFull ? 640 : 320), height};
    }
  }
}

bool IsHalfWidth(PictureFamily family, PictureSize size) {
  switch (family) {
    case PictureFamily::kCamera:
      return size.width < 640;
    case PictureFamily::kVideoServer:
      return size.width < 704;
    case PictureFamily::kRecorder:
    default:
      return size.width < 640;
  }
}

}  // namespace devsim
