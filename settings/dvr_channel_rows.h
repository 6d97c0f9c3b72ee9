// The recorder's per-channel rows: the RS-485 device of each channel (RS485 block, recorder
// layout), motion detection and alarm-input type (DVRLIVE, ALARM), camera title, picture
// adjustments, covert and record switches (DVRLIVE, DVRREC). Each row is read from and written to
// the block bytes at its channel's offsets; a write touches exactly that channel's fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr int kDvrChannels = 16;
inline constexpr size_t kRs485BlockBytes = 124;
inline constexpr size_t kAlarmBlockBytes = 24;
inline constexpr size_t kDvrLiveBlockBytes = 772;
inline constexpr size_t kDvrRecBlockBytes = 132;
inline constexpr size_t kMotionMaskBytes = 24;
inline constexpr size_t kCameraTitleBytes = 6;

// Rows a recorder's pages show: 16 for "RZ1K", 8 for "RZ3K", 4 for "RZ4K", 0 for any other device.
int DvrChannelRowCount(std::string_view productId);

// ---- Device page: RS485 block -------------------------------------------------------------------

struct DeviceRow {
  uint8_t byType = 0;      // 0 camera, 1 PTZ
  uint8_t byId = 0;        // address on the RS-485 line
  uint8_t byProtocol = 0;  // 0 "NORMAL", 1 "P-D"
  uint32_t dwBaudRate = 0;
  bool operator==(const DeviceRow&) const = default;
};

DeviceRow ReadDeviceRow(std::span<const uint8_t> rs485, int channel);
void WriteDeviceRow(std::span<uint8_t> rs485, int channel, const DeviceRow& row);

// "PTZ" for 1, "CAMERA" for any other type.
const char* ChannelDeviceTypeText(uint8_t type);
// "P-D" for 1, "NORMAL" otherwise.
const char* DeviceProtocolText(uint8_t protocol);

inline constexpr std::array<uint32_t, 7> kDeviceBaudRates = {2400,  4800,  9600,  19200,
                                                             38400, 57600, 115200};
// The rate list's texts, as the edit dialog lists them.
extern const std::array<const char*, 7> kDeviceBaudRateTexts;
// Position of the rate in kDeviceBaudRates, or -1 when it is not listed.
int DeviceBaudRateIndex(uint32_t rate);

// What the edit dialog gives back: combo positions (-1: nothing chosen) and the ID edit's number.
struct DeviceEdit {
  int nType = -1;
  int nProtocol = -1;
  int nRateIndex = -1;
  int nId = 0;
};
DeviceEdit DeviceEditOf(const DeviceRow& row);
// Stores into row each value that differs; a combo without a choice and an ID outside 0-255 leave
// their value as it was. True when something changed.
bool ApplyDeviceEdit(DeviceRow& row, const DeviceEdit& edit);

// ---- Detection page: DVRLIVE and ALARM ----------------------------------------------------------

struct DetectionRow {
  uint8_t byDetect = 0;                  // 0 "OFF", 1 "ON"
  uint8_t byLS = 0, bySS = 0, byTS = 0;  // 0..15
  uint8_t byRE = 0;                      // 0..61
  std::array<uint8_t, kMotionMaskBytes> area{};
  uint8_t byAlarmType = 0;  // 0, 1, 2
  bool operator==(const DetectionRow&) const = default;
};

DetectionRow ReadDetectionRow(std::span<const uint8_t> live, std::span<const uint8_t> alarm,
                              int channel);
// The motion values and the area into DVRLIVE.
void WriteDetectionLive(std::span<uint8_t> live, int channel, const DetectionRow& row);
// The alarm-input type into ALARM.
void WriteDetectionAlarm(std::span<uint8_t> alarm, int channel, const DetectionRow& row);

const char* DetectText(uint8_t detect);  // "ON" for 1, "OFF" otherwise
// The alarm-input type's text: "N.O.", "N.C.", "OFF" when the device reports normally-open/closed
// inputs (mask bit 0x80), else "LOW", "HIGH", "OFF"; any other value reads "OFF".
const char* AlarmInputText(uint8_t type, bool normallyOpenClosed);
// A stored type other than 0-2 is listed as "OFF" and kept as 0.
uint8_t ListedAlarmInputType(uint8_t type);

struct DetectionEdit {
  int nDetect = -1;
  int nAlarmType = -1;
  int nLS = 0, nSS = 0, nTS = 0, nRE = 0;
  std::array<uint8_t, kMotionMaskBytes> area{};
};
DetectionEdit DetectionEditOf(const DetectionRow& row);
struct DetectionChanges {
  bool live = false;
  bool alarm = false;
};
// Stores the values that differ (a combo without a choice leaves its value); the area is always
// taken and always marks DVRLIVE changed, as confirming the editor always resends it.
DetectionChanges ApplyDetectionEdit(DetectionRow& row, const DetectionEdit& edit);

// ---- Camera page: DVRLIVE and DVRREC ------------------------------------------------------------

struct CameraRow {
  std::array<uint8_t, kCameraTitleBytes> title{};  // zero-filled, not necessarily zero-ended
  uint8_t byBR = 0, byCT = 0, bySU = 0, byHU = 0;
  uint8_t byCovert = 0;  // 0 "NO", 1 "YES"
  uint8_t byRecord = 0;  // 0 "NO", 1 "YES"
  bool operator==(const CameraRow&) const = default;
};

CameraRow ReadCameraRow(std::span<const uint8_t> live, std::span<const uint8_t> rec, int channel);
// Title, adjustments and covert into DVRLIVE.
void WriteCameraLive(std::span<uint8_t> live, int channel, const CameraRow& row);
// The record switch into DVRREC.
void WriteCameraRecord(std::span<uint8_t> rec, int channel, const CameraRow& row);

std::string CameraTitleText(const CameraRow& row);  // the 6 bytes up to the first zero
const char* YesNoText(uint8_t value);               // "YES" for 1, "NO" otherwise

// The title edit's filter: up to 6 characters keep only letters (made capitals) and digits; a
// longer text is cut to its first 6 characters as they are and cut is set.
struct TitleFilterResult {
  std::string text;
  bool cut = false;
};
TitleFilterResult FilterCameraTitle(std::string_view typed);

struct CameraEdit {
  std::string title;
  int nBR = 0, nCT = 0, nST = 0, nHUE = 0;
  int nCovert = -1, nRecord = -1;
};
// The dialog's opening values; the title as the title filter leaves it.
CameraEdit CameraEditOf(const CameraRow& row);
struct CameraChanges {
  bool live = false;
  bool record = false;
};
// Stores what differs: adjustments (low byte), the title (when content or length differ: the 6
// bytes zeroed, then the new title, at most 6 characters), covert, record. A combo without a
// choice leaves its value.
CameraChanges ApplyCameraEdit(CameraRow& row, const CameraEdit& edit);

// ---- Numeric edits --------------------------------------------------------------------------

// A numeric edit's text as its filter leaves it: its digits read as a decimal number, limited to
// lo..hi; -1 when the text holds no digit (the edit is then left alone).
int ClampDigits(std::string_view text, int lo, int hi);
