// A small reader of the live stream, written for the tests from the wire formats: frame headers
// in both layouts, and the JPEG pictures' markers and size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace devsim_test {

struct StreamHeader {
  int layout = 0;
  size_t length = 0;           // bytes of the header
  uint64_t payload_field = 0;  // the length field as sent (0 when absent)
  uint64_t payload = 0;        // picture bytes after the header
  uint16_t version = 0;        // layout 1
  uint32_t mask = 0;
  uint16_t ext_mask = 0;  // layout 1 extension block
  uint8_t channel = 0;
  uint8_t display_channel = 0;
  std::optional<uint16_t> motion, event_a, event_b;
  std::optional<uint32_t> time_stamp, packed_date;
  std::optional<std::string> title;  // 16 bytes as sent
  std::optional<uint8_t> extra, retr, sensor, half_width;
  bool no_picture = false;
  bool network_backup = false;
};

enum class ParseResult { kOk, kNeedMore };

// Parses the header at the start of `bytes`.  Layout 1 with counts_header (the camera): the
// length field includes the header.
ParseResult ParseStreamHeader(std::string_view bytes, int layout, bool counts_header,
                              StreamHeader* out);

struct UnpackedDate {
  int year, month, day, hour, minute, second;
};
UnpackedDate UnpackDate(uint32_t packed);

struct JpegSize {
  int width = 0;
  int height = 0;
};
// The size in the JPEG's start-of-frame segment; nullopt when there is none before the scan.
std::optional<JpegSize> JpegFrameSize(std::string_view jpeg);
// Decodes the whole picture with libturbojpeg; the decoded size, or nullopt when it fails.
std::optional<JpegSize> DecodeJpeg(std::string_view jpeg);

// True when the picture starts FF D8 FF DB and ends FF D9.
bool IsDevicePicture(std::string_view jpeg);

}  // namespace devsim_test
