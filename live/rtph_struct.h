// The parsed frame header kept beside each socket-buffer slot, and the device clock it carries.
#pragma once

#include <cstddef>
#include <cstdint>

// A date and time in the order and sizes of the Win32 SYSTEMTIME record.
struct DeviceTime {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};
static_assert(sizeof(DeviceTime) == 16);

// One frame's header, filled with zeros before each parse. 72 bytes: the fields, then reserved
// bytes up to the size of a header slot.
struct RTPH_Struct {
  uint32_t dwPayloadLength;  // JPEG bytes after the header
  uint8_t byChannel;
  uint8_t byHalfWidth;  // a frame without picture is 320 pixels wide instead of 640
  uint8_t byExtra;
  char szTitle[16];  // as received, not necessarily terminated
  uint8_t byReserved0;
  uint32_t dwPresenceMask;  // second layout only
  uint32_t dwHeaderLength;
  uint32_t dwTimeStamp;  // milliseconds
  uint16_t wEventWordA;
  uint16_t wMotionDetect;
  uint16_t wEventWordB;
  uint8_t byDisplayChannel;  // 0-15, or 16
  uint8_t byNoPicture;
  DeviceTime stDeviceTime;  // day of week and milliseconds 0
  uint8_t byReserved1[12];
};
static_assert(sizeof(RTPH_Struct) == 72);
static_assert(offsetof(RTPH_Struct, dwPresenceMask) == 24);
static_assert(offsetof(RTPH_Struct, stDeviceTime) == 44);
