// The binary header in front of each picture of the live stream, in its two layouts.  All
// integers are little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "devsim/device_clock.h"
#include "devsim/scene_renderer.h"

namespace devsim {

enum class HeaderLayout {
  kVersioned = 1,  // u16 version, u16 payload, channel bytes, u16 presence mask, fields
  kMaskFirst = 2,  // u32 presence mask, fields
};

struct FrameHeaderFields {
  uint16_t version = 1;         // versioned layout only
  uint8_t channel = 0;          // versioned layout: low 4 bits only
  uint8_t display_channel = 0;  // 0-15, or 16 (versioned layout: an extension bit)
  std::optional<uint16_t> motion;
  std::optional<uint16_t> event_a;
  std::optional<uint16_t> event_b;
  uint32_t time_stamp = 0;  // units of 5 ms
  uint32_t packed_date = 0;
  TitleBytes title{};
  std::optional<uint8_t> extra;
  std::optional<uint8_t> retr;
  std::optional<uint8_t> sensor;  // camera-sensor state (versioned layout only)
  bool half_width = false;
  bool no_picture = false;
  bool network_backup = false;
};

// Presence bits of the versioned layout and of its extension block.
namespace versioned {
inline constexpr uint16_t kMotion = 0x0002;
inline constexpr uint16_t kEventA = 0x0004;
inline constexpr uint16_t kEventB = 0x0008;
inline constexpr uint16_t kTimeStamp = 0x0020;
inline constexpr uint16_t kDate = 0x0040;
inline constexpr uint16_t kTitle = 0x0080;
inline constexpr uint16_t kExtra = 0x0100;
inline constexpr uint16_t kExtension = 0x2000;
inline constexpr uint8_t kExtensionTag = 0x32;
inline constexpr uint16_t kExtHalfWidth = 0x01;
inline constexpr uint16_t kExtRetr = 0x02;
inline constexpr uint16_t kExtNoPicture = 0x04;
inline constexpr uint16_t kExtNetworkBackup = 0x08;
inline constexpr uint16_t kExtSensor = 0x10;
inline constexpr uint16_t kExtChannel16 = 0x20;
}  // namespace versioned

// Presence bits of the mask-first layout.
namespace mask_first {
inline constexpr uint32_t kPayload = 0x1;
inline constexpr uint32_t kTitle = 0x2;
inline constexpr uint32_t kRetr = 0x4;
inline constexpr uint32_t kHalfWidth = 0x8;
inline constexpr uint32_t kExtra = 0x10;
inline constexpr uint32_t kTimeStamp = 0x20;
inline constexpr uint32_t kChannel = 0x40;
inline constexpr uint32_t kEventA = 0x80;
inline constexpr uint32_t kMotion = 0x100;
inline constexpr uint32_t kEventB = 0x200;
inline constexpr uint32_t kNetworkBackup = 0x400;
inline constexpr uint32_t kDisplayChannel = 0x800;
inline constexpr uint32_t kNoPicture = 0x1000;
inline constexpr uint32_t kDate = 0x2000;
}  // namespace mask_first

// year - 2000 in bits 26-31 (clamped to 0-63), month 22-25, day 17-21, hour 12-16,
// minute 6-11, second 0-5.
uint32_t PackDeviceDate(const DeviceClock& clock);

// The header for `payload_bytes` bytes that follow it.  Versioned layout: the payload field is
// 16 bits (clamped to 65535) and, with counts_header (the camera), includes the header's own
// length.  Mask-first layout: a 32-bit field (clamped), always present.
std::string EncodeFrameHeader(HeaderLayout layout, const FrameHeaderFields& fields,
                              uint64_t payload_bytes, bool counts_header);

}  // namespace devsim
