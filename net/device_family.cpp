#include "net/device_family.h"

#include <initializer_list>

namespace {
bool EqualsAny(std::string_view productId, std::initializer_list<std::string_view> ids) {
  for (std::string_view id : ids) {
    if (productId == id) return true;
  }
  return false;
}
}  // namespace

bool IsRZKSeriesProduct(std::string_view productId) {
  return EqualsAny(productId, {"RZ1K", "RZ3K", "RZ4K"});
}

bool IsRZ2KProduct(std::string_view productId) {
  return productId == "RZ2K";
}

bool IsRZ8PProduct(std::string_view productId) {
  return productId == "RZ8P";
}

bool IsRZMSeriesProduct(std::string_view productId) {
  return EqualsAny(productId, {"RZ5M", "RZ6M", "RZ7M"});
}

uint8_t IsMultiChannelDevice(uint8_t byMultiChannel) {
  return byMultiChannel;
}

int TestDeviceMaskBit(uint32_t mask, uint32_t dwDeviceCapabilityMask) {
  return (mask & dwDeviceCapabilityMask) != 0 ? 1 : 0;
}

uint8_t CodeTableIndexOf(uint8_t code) {
  for (size_t i = 0; i < CodeTable.size(); ++i) {
    if (CodeTable[i] == code) return static_cast<uint8_t>(i);
  }
  return 0;
}

uint8_t CodeTableValueAt(uint8_t position) {
  return position < CodeTable.size() ? CodeTable[position] : 0;
}

int CompareVersionString(std::string_view threshold, std::string_view version) {
  if (threshold.size() != 4 || version.size() != 4) return -1;
  for (size_t i = 0; i < 4; ++i) {
    const auto a = static_cast<int8_t>(threshold[i]);
    const auto b = static_cast<int8_t>(version[i]);
    if (b > a) return 1;
    if (b < a) return 2;
  }
  return 0;
}
