#include "settings/dvr_list_pages.h"

#include "app/app_data.h"
#include "mainwnd/device_control_win32.h"
#include "net/device_family.h"
#include "settings/detection_edit_dlg.h"
#include "settings/dvr_edit_dialogs.h"

namespace {

std::string Unsigned(unsigned v) {
  return std::to_string(v);
}

// Before the motion-area editor opens, the live picture shows the channel being edited.
void ShowChannelLive(const SheetDevice& device, int channel) {
  APP_DATA* a = g_lpApp;
  if (!a || !IsRZKSeriesProduct(device.productId) || !a->m_ControlD.IsCurrentChannelDevice())
    return;
  if (!IsMultiChannelDevice(device.multiChannel))
    SendControlKey(0, static_cast<uint16_t>(channel));
  else
    TheDeviceControl().SwitchChannel(static_cast<uint8_t>(channel + 1));
}

}  // namespace

// ---- Device ----------------------------------------------------------------------------------

DevicePage::DevicePage() : ChannelListPage(320, "Device", 1404, 1119) {}

std::vector<ChannelListPage::Column> DevicePage::Columns() const {
  return {{"DEVICE", 70}, {"ID", 30}, {"PROCOTOL", 80}, {"RATE", 50}};
}

std::vector<std::string> DevicePage::RowTexts(int ch) const {
  const DeviceRow& r = m_rows[static_cast<size_t>(ch)];
  return {ChannelDeviceTypeText(r.byType), Unsigned(r.byId), DeviceProtocolText(r.byProtocol),
          Unsigned(r.dwBaudRate)};
}

void DevicePage::LoadChannels() {
  for (int ch = 0; ch < ChannelCount(); ++ch)
    m_rows[static_cast<size_t>(ch)] = ReadDeviceRow(Block(kSysCfgRs485), ch);
}

bool DevicePage::EditChannel(int ch) {
  DeviceRow& row = m_rows[static_cast<size_t>(ch)];
  CDeviceEditDlg dialog(m_hWnd, ch + 1, DeviceEditOf(row));
  if (RunModal(dialog) != IDOK) return false;
  return ApplyDeviceEdit(row, dialog.Result());
}

bool DevicePage::Store(PageChanges& changes) {
  if (!Changed()) return false;
  for (int ch = 0; ch < ChannelCount(); ++ch)
    WriteDeviceRow(Block(kSysCfgRs485), ch, m_rows[static_cast<size_t>(ch)]);
  changes.sends.push_back({kSysCfgRs485, {}});
  changes.controlListChanged = true;
  return true;
}

// ---- Detection -------------------------------------------------------------------------------

DetectionPage::DetectionPage() : ChannelListPage(323, "Detection", 1413, 1068) {}

std::vector<ChannelListPage::Column> DetectionPage::Columns() const {
  return {{"DETECT", 60}, {"LS", 30}, {"SS", 30}, {"TS", 30}, {"RE", 30}, {"ALARM", 60}};
}

std::vector<std::string> DetectionPage::RowTexts(int ch) const {
  const DetectionRow& r = m_rows[static_cast<size_t>(ch)];
  const bool nonc = TestDeviceMaskBit(0x80, Device().deviceMask) != 0;
  return {DetectText(r.byDetect), Unsigned(r.byLS), Unsigned(r.bySS),
          Unsigned(r.byTS),       Unsigned(r.byRE), AlarmInputText(r.byAlarmType, nonc)};
}

void DetectionPage::LoadChannels() {
  for (int ch = 0; ch < ChannelCount(); ++ch) {
    DetectionRow r = ReadDetectionRow(Block(kSysCfgDvrLive), Block(kSysCfgAlarm), ch);
    r.byAlarmType = ListedAlarmInputType(r.byAlarmType);
    m_rows[static_cast<size_t>(ch)] = r;
  }
}

bool DetectionPage::EditChannel(int ch) {
  ShowChannelLive(Device(), ch);
  DetectionRow& row = m_rows[static_cast<size_t>(ch)];
  CDetectionEditDlg::Start start;
  start.rowNumber = ch + 1;
  start.values = DetectionEditOf(row);
  start.normallyOpenClosed = TestDeviceMaskBit(0x80, Device().deviceMask) != 0;
  start.videoMode = g_lpApp ? g_lpApp->byVideoMode : 0;
  start.scale = Context().scale;
  CDetectionEditDlg dialog(m_hWnd, start, ProgramMotionFrameSource());
  if (RunModal(dialog) != IDOK) return false;
  const DetectionChanges c = ApplyDetectionEdit(row, dialog.Result());
  if (c.live) {
    WriteDetectionLive(Block(kSysCfgDvrLive), ch, row);
    m_bLiveChanged = true;
  }
  if (c.alarm) {
    WriteDetectionAlarm(Block(kSysCfgAlarm), ch, row);
    m_bAlarmChanged = true;
  }
  return c.live || c.alarm;
}

bool DetectionPage::Store(PageChanges& changes) {
  if (m_bLiveChanged) changes.sends.push_back({kSysCfgDvrLive, {}});
  if (m_bAlarmChanged) changes.sends.push_back({kSysCfgAlarm, {}});
  return !changes.sends.empty();
}

// ---- Camera ----------------------------------------------------------------------------------

CameraPage::CameraPage() : ChannelListPage(326, "DVR", 1425, 1068) {}

std::vector<ChannelListPage::Column> CameraPage::Columns() const {
  return {{"TITLE", 65}, {"BR", 30}, {"CT", 30}, {"SU", 30}, {"HU", 30}, {"COV", 40}, {"REC", 35}};
}

std::vector<std::string> CameraPage::RowTexts(int ch) const {
  const CameraRow& r = m_rows[static_cast<size_t>(ch)];
  return {CameraTitleText(r), Unsigned(r.byBR),      Unsigned(r.byCT),     Unsigned(r.bySU),
          Unsigned(r.byHU),   YesNoText(r.byCovert), YesNoText(r.byRecord)};
}

void CameraPage::LoadChannels() {
  for (int ch = 0; ch < ChannelCount(); ++ch)
    m_rows[static_cast<size_t>(ch)] =
        ReadCameraRow(Block(kSysCfgDvrLive), Block(kSysCfgDvrRec), ch);
}

bool CameraPage::EditChannel(int ch) {
  CameraRow& row = m_rows[static_cast<size_t>(ch)];
  CCameraEditDlg dialog(m_hWnd, ch + 1, CameraEditOf(row));
  if (RunModal(dialog) != IDOK) return false;
  const CameraChanges c = ApplyCameraEdit(row, dialog.Result());
  if (!c.live && !c.record) return false;
  WriteCameraLive(Block(kSysCfgDvrLive), ch, row);
  WriteCameraRecord(Block(kSysCfgDvrRec), ch, row);
  m_bLiveChanged |= c.live;
  m_bRecChanged |= c.record;
  return true;
}

bool CameraPage::Store(PageChanges& changes) {
  if (m_bLiveChanged) changes.sends.push_back({kSysCfgDvrLive, {}});
  if (m_bRecChanged) changes.sends.push_back({kSysCfgDvrRec, {}});
  return !changes.sends.empty();
}
