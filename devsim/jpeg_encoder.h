// JPEG pictures in the device's form: start-of-image directly followed by the quantisation
// tables (FF D8 FF DB), no application segment.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "devsim/scene_renderer.h"

namespace devsim {

// Encodes the picture with libturbojpeg (4:2:0) at `quality` (1-100), lowering the quality in
// steps until the JPEG has at most max_bytes; the application segments the library writes are
// removed.  False with *error set when the library fails or the picture cannot be made small
// enough.
bool EncodeDevicePicture(const RgbImage& image, int quality, size_t max_bytes, std::string* out,
                         std::string* error);

// The JPEG without the application (FF E0-FF EF) and comment (FF FE) segments between its
// start-of-image and its first other segment; nullopt when it is not a JPEG or a segment runs
// past its end.
std::optional<std::string> StripApplicationSegments(std::string_view jpeg);

// The JPEG with a JFIF segment (FF E0) right after its start-of-image.
std::string WithJfifSegment(std::string_view jpeg);

}  // namespace devsim
