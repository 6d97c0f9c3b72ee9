#include "settings/dvr_channel_rows.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "net/sys_cfg_fields.h"

namespace {

namespace live = cfg::dvrlive;

static_assert(SysCfgBlockSizes[kSysCfgRs485] == kRs485BlockBytes);
static_assert(SysCfgBlockSizes[kSysCfgAlarm] == kAlarmBlockBytes);
static_assert(SysCfgBlockSizes[kSysCfgDvrLive] == kDvrLiveBlockBytes);
static_assert(SysCfgBlockSizes[kSysCfgDvrRec] == kDvrRecBlockBytes);
static_assert(live::kMotionArea.width == kMotionMaskBytes);
static_assert(live::kCameraTitle.width == kCameraTitleBytes);

unsigned Channel(int channel) {
  return channel < 0               ? 0u
         : channel >= kDvrChannels ? kDvrChannels - 1u
                                   : static_cast<unsigned>(channel);
}

uint8_t U8(std::span<const uint8_t> block, const CfgField& field, unsigned i) {
  return static_cast<uint8_t>(CfgGetUint(block, field, i));
}

// Stores a combo position into a byte unless nothing is chosen; true when the byte changed.
bool StoreChoice(uint8_t& value, int choice) {
  if (choice < 0 || choice > 255 || value == choice) return false;
  value = static_cast<uint8_t>(choice);
  return true;
}
// Stores the low byte of an edit's number; true when the byte changed.
bool StoreLowByte(uint8_t& value, int number) {
  const auto b = static_cast<uint8_t>(number);
  if (value == b) return false;
  value = b;
  return true;
}

}  // namespace

int DvrChannelRowCount(std::string_view productId) {
  if (productId == "RZ1K") return 16;
  if (productId == "RZ3K") return 8;
  if (productId == "RZ4K") return 4;
  return 0;
}

// ---- Device ----------------------------------------------------------------------------------

DeviceRow ReadDeviceRow(std::span<const uint8_t> b, int channel) {
  const unsigned i = Channel(channel);
  return {U8(b, cfg::rs485::kDeviceType, i), U8(b, cfg::rs485::kDeviceID, i),
          U8(b, cfg::rs485::kProtocol, i), CfgGetUint(b, cfg::rs485::kBaudRate, i)};
}

void WriteDeviceRow(std::span<uint8_t> b, int channel, const DeviceRow& row) {
  const unsigned i = Channel(channel);
  CfgSetUint(b, cfg::rs485::kDeviceType, row.byType, i);
  CfgSetUint(b, cfg::rs485::kDeviceID, row.byId, i);
  CfgSetUint(b, cfg::rs485::kProtocol, row.byProtocol, i);
  CfgSetUint(b, cfg::rs485::kBaudRate, row.dwBaudRate, i);
}

const char* ChannelDeviceTypeText(uint8_t type) {
  return type == 1 ? "PTZ" : "CAMERA";
}
const char* DeviceProtocolText(uint8_t protocol) {
  return protocol == 1 ? "P-D" : "NORMAL";
}

const std::array<const char*, 7> kDeviceBaudRateTexts = {
    "    2400", "    4800", "    9600", "  19200", "  38400", "  57600", "115200"};

int DeviceBaudRateIndex(uint32_t rate) {
  for (size_t i = 0; i < kDeviceBaudRates.size(); ++i)
    if (kDeviceBaudRates[i] == rate) return static_cast<int>(i);
  return -1;
}

DeviceEdit DeviceEditOf(const DeviceRow& row) {
  DeviceEdit e;
  e.nType = row.byType <= 1 ? row.byType : -1;
  e.nProtocol = row.byProtocol <= 1 ? row.byProtocol : -1;
  e.nRateIndex = DeviceBaudRateIndex(row.dwBaudRate);
  e.nId = row.byId;
  return e;
}

bool ApplyDeviceEdit(DeviceRow& row, const DeviceEdit& edit) {
  bool changed = false;
  if (edit.nType >= 0 && edit.nType <= 1) changed |= StoreChoice(row.byType, edit.nType);
  if (edit.nProtocol >= 0 && edit.nProtocol <= 1)
    changed |= StoreChoice(row.byProtocol, edit.nProtocol);
  if (edit.nId >= 0 && edit.nId <= 255) changed |= StoreLowByte(row.byId, edit.nId);
  if (edit.nRateIndex >= 0 && edit.nRateIndex < static_cast<int>(kDeviceBaudRates.size())) {
    const uint32_t rate = kDeviceBaudRates[static_cast<size_t>(edit.nRateIndex)];
    if (row.dwBaudRate != rate) {
      row.dwBaudRate = rate;
      changed = true;
    }
  }
  return changed;
}

// ---- Detection -------------------------------------------------------------------------------

DetectionRow ReadDetectionRow(std::span<const uint8_t> l, std::span<const uint8_t> alarm,
                              int channel) {
  const unsigned i = Channel(channel);
  DetectionRow r;
  r.byDetect = U8(l, live::kMotionDetect, i);
  r.byLS = U8(l, live::kMotionLS, i);
  r.bySS = U8(l, live::kMotionSS, i);
  r.byTS = U8(l, live::kMotionTS, i);
  r.byRE = U8(l, live::kMotionRE, i);
  const std::vector<uint8_t> area = CfgGetBytes(l, live::kMotionArea, i);
  std::memcpy(r.area.data(), area.data(), std::min(area.size(), r.area.size()));
  r.byAlarmType = U8(alarm, cfg::alarm::kAlarmInputType, i);
  return r;
}

void WriteDetectionLive(std::span<uint8_t> l, int channel, const DetectionRow& r) {
  const unsigned i = Channel(channel);
  CfgSetUint(l, live::kMotionDetect, r.byDetect, i);
  CfgSetUint(l, live::kMotionLS, r.byLS, i);
  CfgSetUint(l, live::kMotionSS, r.bySS, i);
  CfgSetUint(l, live::kMotionTS, r.byTS, i);
  CfgSetUint(l, live::kMotionRE, r.byRE, i);
  CfgSetBytes(l, live::kMotionArea, r.area, i);
}

void WriteDetectionAlarm(std::span<uint8_t> alarm, int channel, const DetectionRow& r) {
  CfgSetUint(alarm, cfg::alarm::kAlarmInputType, r.byAlarmType, Channel(channel));
}

const char* DetectText(uint8_t detect) {
  return detect == 1 ? "ON" : "OFF";
}

const char* AlarmInputText(uint8_t type, bool normallyOpenClosed) {
  if (type == 0) return normallyOpenClosed ? "N.O." : "LOW";
  if (type == 1) return normallyOpenClosed ? "N.C." : "HIGH";
  return "OFF";
}

uint8_t ListedAlarmInputType(uint8_t type) {
  return type <= 2 ? type : 0;
}

DetectionEdit DetectionEditOf(const DetectionRow& row) {
  DetectionEdit e;
  e.nDetect = row.byDetect <= 1 ? row.byDetect : -1;
  e.nAlarmType = row.byAlarmType <= 2 ? row.byAlarmType : -1;
  e.nLS = row.byLS;
  e.nSS = row.bySS;
  e.nTS = row.byTS;
  e.nRE = row.byRE;
  e.area = row.area;
  return e;
}

DetectionChanges ApplyDetectionEdit(DetectionRow& row, const DetectionEdit& edit) {
  DetectionChanges c;
  if (edit.nAlarmType >= 0 && edit.nAlarmType <= 2)
    c.alarm = StoreChoice(row.byAlarmType, edit.nAlarmType);
  if (edit.nDetect >= 0 && edit.nDetect <= 1) StoreChoice(row.byDetect, edit.nDetect);
  StoreLowByte(row.byLS, edit.nLS);
  StoreLowByte(row.bySS, edit.nSS);
  StoreLowByte(row.byTS, edit.nTS);
  StoreLowByte(row.byRE, edit.nRE);
  row.area = edit.area;
  c.live = true;
  return c;
}

// ---- Camera ----------------------------------------------------------------------------------

CameraRow ReadCameraRow(std::span<const uint8_t> l, std::span<const uint8_t> rec, int channel) {
  const unsigned i = Channel(channel);
  CameraRow r;
  const std::vector<uint8_t> title = CfgGetBytes(l, live::kCameraTitle, i);
  std::memcpy(r.title.data(), title.data(), std::min(title.size(), r.title.size()));
  r.byBR = U8(l, live::kBrightness, i);
  r.byCT = U8(l, live::kContrast, i);
  r.bySU = U8(l, live::kSaturation, i);
  r.byHU = U8(l, live::kHue, i);
  r.byCovert = U8(l, live::kCovert, i);
  r.byRecord = U8(rec, cfg::dvrrec::kRecordEnable, i);
  return r;
}

void WriteCameraLive(std::span<uint8_t> l, int channel, const CameraRow& r) {
  const unsigned i = Channel(channel);
  CfgSetBytes(l, live::kCameraTitle, r.title, i);
  CfgSetUint(l, live::kBrightness, r.byBR, i);
  CfgSetUint(l, live::kContrast, r.byCT, i);
  CfgSetUint(l, live::kSaturation, r.bySU, i);
  CfgSetUint(l, live::kHue, r.byHU, i);
  CfgSetUint(l, live::kCovert, r.byCovert, i);
}

void WriteCameraRecord(std::span<uint8_t> rec, int channel, const CameraRow& r) {
  CfgSetUint(rec, cfg::dvrrec::kRecordEnable, r.byRecord, Channel(channel));
}

std::string CameraTitleText(const CameraRow& row) {
  const auto* p = reinterpret_cast<const char*>(row.title.data());
  return std::string(p, strnlen(p, kCameraTitleBytes));
}

const char* YesNoText(uint8_t value) {
  return value == 1 ? "YES" : "NO";
}

TitleFilterResult FilterCameraTitle(std::string_view typed) {
  TitleFilterResult r;
  if (typed.size() > kCameraTitleBytes) {
    r.text = std::string(typed.substr(0, kCameraTitleBytes));
    r.cut = true;
    return r;
  }
  for (const char ch : typed) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= '0' && c <= '9')
      r.text += ch;
    else if (c >= 'A' && c <= 'Z')
      r.text += ch;
    else if (c >= 'a' && c <= 'z')
      r.text += static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

CameraEdit CameraEditOf(const CameraRow& row) {
  CameraEdit e;
  e.title = FilterCameraTitle(CameraTitleText(row)).text;  // the title edit filters it on open
  e.nBR = row.byBR;
  e.nCT = row.byCT;
  e.nST = row.bySU;
  e.nHUE = row.byHU;
  e.nCovert = row.byCovert <= 1 ? row.byCovert : -1;
  e.nRecord = row.byRecord <= 1 ? row.byRecord : -1;
  return e;
}

CameraChanges ApplyCameraEdit(CameraRow& row, const CameraEdit& edit) {
  CameraChanges c;
  c.live |= StoreLowByte(row.byBR, edit.nBR);
  c.live |= StoreLowByte(row.byCT, edit.nCT);
  c.live |= StoreLowByte(row.bySU, edit.nST);
  c.live |= StoreLowByte(row.byHU, edit.nHUE);
  const std::string_view title = std::string_view(edit.title).substr(0, kCameraTitleBytes);
  if (title != CameraTitleText(row)) {
    row.title.fill(0);
    std::memcpy(row.title.data(), title.data(), title.size());
    c.live = true;
  }
  if (edit.nCovert >= 0 && edit.nCovert <= 1) c.live |= StoreChoice(row.byCovert, edit.nCovert);
  if (edit.nRecord >= 0 && edit.nRecord <= 1) c.record = StoreChoice(row.byRecord, edit.nRecord);
  return c;
}

int ClampDigits(std::string_view text, int lo, int hi) {
  if (text.empty()) return -1;
  long long v = 0;
  bool any = false;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') continue;
    any = true;
    v = v * 10 + (ch - '0');
    if (v > hi) v = hi;  // keeps the number small; any larger number clamps alike
  }
  if (!any) return -1;
  return static_cast<int>(v < lo ? lo : v > hi ? hi : v);
}
