// Picture sizes of the device families by video standard and resolution choice.
#pragma once

#include <cstdint>
#include <string_view>

namespace devsim {

// Recorders (RZ1K, RZ3K, RZ4K and any unknown Product-ID), video servers (RZ2K, RZ5M, RZ6M,
// RZ7M) and the camera (RZ8P).
enum class PictureFamily { kRecorder, kVideoServer, kCamera };
PictureFamily PictureFamilyOf(std::string_view product_id);

enum class VideoStandard { kNtsc, kPal };
// The VIDEOMODE text read as the client reads it (decimal, low 8 bits): 0 is NTSC, else PAL.
VideoStandard VideoStandardOf(std::string_view videomode);

// RES: 0 full width, 1 half width, 2 small picture.
enum class Resolution { kFull = 0, kHalf = 1, kSmall = 2 };

struct PictureSize {
  uint16_t width = 0;
  uint16_t height = 0;
  auto operator<=>(const PictureSize&) const = default;
};

// Recorders: 640 or 320 x 228 (NTSC) or 276 (PAL); video servers: 704 or 352 x 240 or 288;
// the camera: 640 x 480, 320 x 240, 160 x 120 in either standard.  Only the camera has a small
// picture; the others send the half-width one.
PictureSize PictureSizeFor(PictureFamily family, VideoStandard standard, Resolution resolution);

// True for the narrower pictures (the header's half-width flag).
bool IsHalfWidth(PictureFamily family, PictureSize size);

}  // namespace devsim
