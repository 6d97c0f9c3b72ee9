// The device predicates applied to the logged-in device kept in the application data.
#pragma once

#include "app/app_data.h"
#include "net/device_family.h"
#include "net/firmware_header.h"

inline bool IsRZKSeriesProduct() {
  return IsRZKSeriesProduct(g_lpApp->str_ProductID);
}
inline bool IsRZ2KProduct() {
  return IsRZ2KProduct(g_lpApp->str_ProductID);
}
inline bool IsRZ8PProduct() {
  return IsRZ8PProduct(g_lpApp->str_ProductID);
}
inline bool IsRZMSeriesProduct() {
  return IsRZMSeriesProduct(g_lpApp->str_ProductID);
}
inline uint8_t IsMultiChannelDevice() {
  return IsMultiChannelDevice(g_lpApp->byMultiChannel);
}
inline int TestDeviceMaskBit(uint32_t mask) {
  return TestDeviceMaskBit(mask, g_lpApp->dwDeviceCapabilityMask);
}
inline int CheckFirmwareFileHeader(const uint8_t* data, size_t size, int unused,
                                   uint32_t* headerLength) {
  return CheckFirmwareFileHeader(data, size, unused, headerLength, g_lpApp->str_FWVersion);
}
