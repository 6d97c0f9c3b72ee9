// Fixed-width zero-filled text fields of the configuration blocks: read bounded, written bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The text of a field: its bytes up to the first zero or the field's end.
std::string FieldText(std::span<const uint8_t> field);
// Zero-fills the field and copies at most field.size() - 1 characters of text into it, so the
// field always ends with a zero byte. Returns false when the text had to be cut.
bool WriteFieldText(std::span<uint8_t> field, std::string_view text);

// A sub-range of a block; the range must lie inside it (checked: an outside range is empty).
std::span<uint8_t> BlockField(std::span<uint8_t> block, size_t offset, size_t width);
std::span<const uint8_t> BlockField(std::span<const uint8_t> block, size_t offset, size_t width);

// Little-endian fields.
uint16_t ReadU16(std::span<const uint8_t> block, size_t offset);
uint32_t ReadU32(std::span<const uint8_t> block, size_t offset);
void WriteU16(std::span<uint8_t> block, size_t offset, uint16_t value);
void WriteU32(std::span<uint8_t> block, size_t offset, uint32_t value);

// Whether the device's firmware is older than the threshold (a version text that is not four
// characters long counts as new).
bool FirmwareOlderThan(std::string_view firmware, std::string_view threshold);

// Whether text may stand as a raw query value: printable ASCII without blank, "&", "=", "?",
// "#" or "%".
bool QuerySafeText(std::string_view text);
