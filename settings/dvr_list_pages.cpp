#include "settings/dvr_list_pages.h"

#include "mainwnd/device_control_win32.h"
#include "net/device_family.h"
#include "settings/detection_edit_dlg.h"
#include "settings/dvr_edit_dialogs.h"
#include "settings/motion_frame_source.h"

namespace {

std::string Unsigned(unsigned v) {
  return std::to_string(v);
}

// Before the motion-area editor opens, the live picture shows the channel being edited.
void ShowChannelLive(const SheetDevice& device, const SheetProgram& program, int channel) {
  if (!IsRZKSeriesProduct(device.productId) || !program.ChannelDeviceCurrent()) return;
  if (!IsMultiChannelDevice(device.multiChannel))
    SendControlKey(0, static_cast<uint16_t>(channel));
  else
    TheDeviceControl().SwitchChannel(static_cast<uint8_t>(channel + 1));
}

}  // namespace

// ---- Device ----------------------------------------------------------------------------------

template <>
DevicePage::ChannelRowsPage() : ChannelListPage(320, "Device", 1404, 1119) {}

template <>
auto DevicePage::Columns() const -> std::vector<Column> {
  return {{"DEVICE", 70}, {"ID", 30}, {"PROCOTOL", 80}, {"RATE", 50}};
}

template <>
std::vector<std::string> DevicePage::RowTexts(int ch) const {
  const DeviceRow& r = RowOf(ch);
  return {ChannelDeviceTypeText(r.byType), Unsigned(r.byId), DeviceProtocolText(r.byProtocol),
          Unsigned(r.dwBaudRate)};
}

template <>
void DevicePage::LoadChannels() {
  for (int ch = 0; ch < ChannelCount(); ++ch) RowOf(ch) = ReadDeviceRow(Block(kSysCfgRs485), ch);
}

template <>
bool DevicePage::EditChannel(int ch) {
  DeviceRow& row = RowOf(ch);
  CDeviceEditDlg dialog(m_hWnd, ch + 1, DeviceEditOf(row));
  if (RunModal(dialog) != IDOK) return false;
  return ApplyDeviceEdit(row, dialog.Result());
}

template <>
bool DevicePage::Store(PageChanges& changes) {
  if (!Changed()) return false;
  for (int ch = 0; ch < ChannelCount(); ++ch) WriteDeviceRow(Block(kSysCfgRs485), ch, RowOf(ch));
  changes.sends.push_back({kSysCfgRs485, {}});
  changes.controlListChanged = true;
  return true;
}

// ---- Detection -------------------------------------------------------------------------------

template <>
DetectionPage::ChannelRowsPage() : ChannelListPage(323, "Detection", 1413, 1068) {}

template <>
auto DetectionPage::Columns() const -> std::vector<Column> {
  return {{"DETECT", 60}, {"LS", 30}, {"SS", 30}, {"TS", 30}, {"RE", 30}, {"ALARM", 60}};
}

template <>
std::vector<std::string> DetectionPage::RowTexts(int ch) const {
  const DetectionRow& r = RowOf(ch);
  const bool nonc = TestDeviceMaskBit(0x80, Device().deviceMask) != 0;
  return {DetectText(r.byDetect), Unsigned(r.byLS), Unsigned(r.bySS),
          Unsigned(r.byTS),       Unsigned(r.byRE), AlarmInputText(r.byAlarmType, nonc)};
}

template <>
void DetectionPage::LoadChannels() {
  for (int ch = 0; ch < ChannelCount(); ++ch) {
    DetectionRow r = ReadDetectionRow(Block(kSysCfgDvrLive), Block(kSysCfgAlarm), ch);
    r.byAlarmType = ListedAlarmInputType(r.byAlarmType);
    RowOf(ch) = r;
  }
}

template <>
bool DetectionPage::EditChannel(int ch) {
  ShowChannelLive(Device(), Program(), ch);
  DetectionRow& row = RowOf(ch);
  CDetectionEditDlg::Start start;
  start.rowNumber = ch + 1;
  start.values = DetectionEditOf(row);
  start.normallyOpenClosed = TestDeviceMaskBit(0x80, Device().deviceMask) != 0;
  start.videoMode = Program().VideoMode();
  start.scale = Context().scale;
  MotionFrameSource* frames = Program().MotionFrames();
  CDetectionEditDlg dialog(m_hWnd, start, frames ? *frames : NoMotionFrames());
  if (RunModal(dialog) != IDOK) return false;
  const DetectionChanges c = ApplyDetectionEdit(row, dialog.Result());
  if (c.live) {
    WriteDetectionLive(Block(kSysCfgDvrLive), ch, row);
    Mark(kSysCfgDvrLive);
  }
  if (c.alarm) {
    WriteDetectionAlarm(Block(kSysCfgAlarm), ch, row);
    Mark(kSysCfgAlarm);
  }
  return c.live || c.alarm;
}

template <>
bool DetectionPage::Store(PageChanges& changes) {
  if (Marked(kSysCfgDvrLive)) changes.sends.push_back({kSysCfgDvrLive, {}});
  if (Marked(kSysCfgAlarm)) changes.sends.push_back({kSysCfgAlarm, {}});
  return !changes.sends.empty();
}

// ---- Camera ----------------------------------------------------------------------------------

template <>
CameraPage::ChannelRowsPage() : ChannelListPage(326, "DVR", 1425, 1068) {}

template <>
auto CameraPage::Columns() const -> std::vector<Column> {
  return {{"TITLE", 65}, {"BR", 30}, {"CT", 30}, {"SU", 30}, {"HU", 30}, {"COV", 40}, {"REC", 35}};
}

template <>
std::vector<std::string> CameraPage::RowTexts(int ch) const {
  const CameraRow& r = RowOf(ch);
  return {CameraTitleText(r), Unsigned(r.byBR),      Unsigned(r.byCT),     Unsigned(r.bySU),
          Unsigned(r.byHU),   YesNoText(r.byCovert), YesNoText(r.byRecord)};
}

template <>
void CameraPage::LoadChannels() {
  for (int ch = 0; ch < ChannelCount(); ++ch)
    RowOf(ch) = ReadCameraRow(Block(kSysCfgDvrLive), Block(kSysCfgDvrRec), ch);
}

template <>
bool CameraPage::EditChannel(int ch) {
  CameraRow& row = RowOf(ch);
  CCameraEditDlg dialog(m_hWnd, ch + 1, CameraEditOf(row));
  if (RunModal(dialog) != IDOK) return false;
  const CameraChanges c = ApplyCameraEdit(row, dialog.Result());
  if (!c.live && !c.record) return false;
  WriteCameraLive(Block(kSysCfgDvrLive), ch, row);
  WriteCameraRecord(Block(kSysCfgDvrRec), ch, row);
  if (c.live) Mark(kSysCfgDvrLive);
  if (c.record) Mark(kSysCfgDvrRec);
  return true;
}

template <>
bool CameraPage::Store(PageChanges& changes) {
  if (Marked(kSysCfgDvrLive)) changes.sends.push_back({kSysCfgDvrLive, {}});
  if (Marked(kSysCfgDvrRec)) changes.sends.push_back({kSysCfgDvrRec, {}});
  return !changes.sends.empty();
}
