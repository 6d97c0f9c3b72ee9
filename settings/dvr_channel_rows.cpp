#include "settings/dvr_channel_rows.h"

#include <cctype>
#include <cstring>

namespace {

// RS485, recorder layout.
constexpr size_t kRs485Id = 12, kRs485Type = 28, kRs485Protocol = 44, kRs485Baud = 60;
// DVRLIVE.
constexpr size_t kLiveBR = 4, kLiveCT = 20, kLiveHU = 36, kLiveSU = 52, kLiveCovert = 84,
                 kLiveTitle = 116, kLiveDetect = 308, kLiveLS = 324, kLiveSS = 340, kLiveTS = 356,
                 kLiveRE = 372, kLiveArea = 388;
// ALARM, recorder layout.
constexpr size_t kAlarmInputType = 8;
// DVRREC.
constexpr size_t kRecEnable = 20;

static_assert(kRs485Baud + 4 * kDvrChannels == kRs485BlockBytes);
static_assert(kLiveArea + kMotionMaskBytes * kDvrChannels == kDvrLiveBlockBytes);
static_assert(kAlarmInputType + kDvrChannels == kAlarmBlockBytes);
static_assert(kLiveTitle + kCameraTitleBytes * kDvrChannels <= kLiveDetect);

size_t Channel(int channel) {
  return channel < 0               ? 0
         : channel >= kDvrChannels ? kDvrChannels - 1
                                   : static_cast<size_t>(channel);
}

uint32_t GetU32(const uint8_t* p) {
  return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
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

DeviceRow ReadDeviceRow(const uint8_t (&b)[kRs485BlockBytes], int channel) {
  const size_t i = Channel(channel);
  return {b[kRs485Type + i], b[kRs485Id + i], b[kRs485Protocol + i],
          GetU32(b + kRs485Baud + 4 * i)};
}

void WriteDeviceRow(uint8_t (&b)[kRs485BlockBytes], int channel, const DeviceRow& row) {
  const size_t i = Channel(channel);
  b[kRs485Type + i] = row.byType;
  b[kRs485Id + i] = row.byId;
  b[kRs485Protocol + i] = row.byProtocol;
  PutU32(b + kRs485Baud + 4 * i, row.dwBaudRate);
}

const char* DeviceTypeText(uint8_t type) {
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

DetectionRow ReadDetectionRow(const uint8_t (&live)[kDvrLiveBlockBytes],
                              const uint8_t (&alarm)[kAlarmBlockBytes], int channel) {
  const size_t i = Channel(channel);
  DetectionRow r;
  r.byDetect = live[kLiveDetect + i];
  r.byLS = live[kLiveLS + i];
  r.bySS = live[kLiveSS + i];
  r.byTS = live[kLiveTS + i];
  r.byRE = live[kLiveRE + i];
  std::memcpy(r.area.data(), live + kLiveArea + kMotionMaskBytes * i, kMotionMaskBytes);
  r.byAlarmType = alarm[kAlarmInputType + i];
  return r;
}

void WriteDetectionLive(uint8_t (&live)[kDvrLiveBlockBytes], int channel, const DetectionRow& r) {
  const size_t i = Channel(channel);
  live[kLiveDetect + i] = r.byDetect;
  live[kLiveLS + i] = r.byLS;
  live[kLiveSS + i] = r.bySS;
  live[kLiveTS + i] = r.byTS;
  live[kLiveRE + i] = r.byRE;
  std::memcpy(live + kLiveArea + kMotionMaskBytes * i, r.area.data(), kMotionMaskBytes);
}

void WriteDetectionAlarm(uint8_t (&alarm)[kAlarmBlockBytes], int channel, const DetectionRow& r) {
  alarm[kAlarmInputType + Channel(channel)] = r.byAlarmType;
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

CameraRow ReadCameraRow(const uint8_t (&live)[kDvrLiveBlockBytes],
                        const uint8_t (&rec)[kDvrRecBlockBytes], int channel) {
  const size_t i = Channel(channel);
  CameraRow r;
  std::memcpy(r.title.data(), live + kLiveTitle + kCameraTitleBytes * i, kCameraTitleBytes);
  r.byBR = live[kLiveBR + i];
  r.byCT = live[kLiveCT + i];
  r.bySU = live[kLiveSU + i];
  r.byHU = live[kLiveHU + i];
  r.byCovert = live[kLiveCovert + i];
  r.byRecord = rec[kRecEnable + i];
  return r;
}

void WriteCameraLive(uint8_t (&live)[kDvrLiveBlockBytes], int channel, const CameraRow& r) {
  const size_t i = Channel(channel);
  std::memcpy(live + kLiveTitle + kCameraTitleBytes * i, r.title.data(), kCameraTitleBytes);
  live[kLiveBR + i] = r.byBR;
  live[kLiveCT + i] = r.byCT;
  live[kLiveSU + i] = r.bySU;
  live[kLiveHU + i] = r.byHU;
  live[kLiveCovert + i] = r.byCovert;
}

void WriteCameraRecord(uint8_t (&rec)[kDvrRecBlockBytes], int channel, const CameraRow& r) {
  rec[kRecEnable + Channel(channel)] = r.byRecord;
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
