#include "pagerules/field_text.h"

#include <algorithm>
#include <cstring>

#include "net/device_family.h"

std::string FieldText(std::span<const uint8_t> field) {
  const auto end = std::find(field.begin(), field.end(), uint8_t{0});
  return std::string(field.begin(), end);
}

bool WriteFieldText(std::span<uint8_t> field, std::string_view text) {
  if (field.empty()) return text.empty();
  std::fill(field.begin(), field.end(), uint8_t{0});
  const size_t n = std::min(text.size(), field.size() - 1);
  std::memcpy(field.data(), text.data(), n);
  return n == text.size();
}

std::span<uint8_t> BlockField(std::span<uint8_t> block, size_t offset, size_t width) {
  if (offset > block.size() || width > block.size() - offset) return {};
  return block.subspan(offset, width);
}

std::span<const uint8_t> BlockField(std::span<const uint8_t> block, size_t offset, size_t width) {
  if (offset > block.size() || width > block.size() - offset) return {};
  return block.subspan(offset, width);
}

uint16_t ReadU16(std::span<const uint8_t> block, size_t offset) {
  auto f = BlockField(block, offset, 2);
  return f.empty() ? 0 : static_cast<uint16_t>(f[0] | f[1] << 8);
}

uint32_t ReadU32(std::span<const uint8_t> block, size_t offset) {
  auto f = BlockField(block, offset, 4);
  if (f.empty()) return 0;
  return static_cast<uint32_t>(f[0]) | static_cast<uint32_t>(f[1]) << 8 |
         static_cast<uint32_t>(f[2]) << 16 | static_cast<uint32_t>(f[3]) << 24;
}

void WriteU16(std::span<uint8_t> block, size_t offset, uint16_t value) {
  auto f = BlockField(block, offset, 2);
  if (f.empty()) return;
  f[0] = static_cast<uint8_t>(value);
  f[1] = static_cast<uint8_t>(value >> 8);
}

void WriteU32(std::span<uint8_t> block, size_t offset, uint32_t value) {
  auto f = BlockField(block, offset, 4);
  if (f.empty()) return;
  for (int i = 0; i < 4; ++i) f[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool FirmwareOlderThan(std::string_view firmware, std::string_view threshold) {
  return CompareVersionString(threshold, firmware) == 2;
}

bool QuerySafeText(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u > 0x20 && u < 0x7F && c != '&' && c != '=' && c != '?' && c != '#' && c != '%';
  });
}
