#include "settings/alarm_page.h"

#include "mainwnd/settings_sheet_slot.h"
#include "net/device_family.h"
#include "settings/page_controls.h"

namespace {

constexpr unsigned kAlarmPageTemplate = 286;

}  // namespace

AlarmPropertyPage::AlarmPropertyPage() : SettingsPage(kAlarmPageTemplate, "Alarm") {
  MapCommand(kEnable, [this] {
    SetTrigger(true);
    m_byAlarmMethod = 1;
    SetMethodBoxes();
  });
  MapCommand(kDisable, [this] {
    SetTrigger(false);
    m_byAlarmMethod = 0;
    SetMethodBoxes();
  });
  MapCommand(kEmail, [this] {
    m_byAlarmMethod = AlarmMethodAfterEmail(m_byAlarmMethod);
    SetMethodBoxes();
  });
  MapCommand(kFtp, [this] {
    m_byAlarmMethod = AlarmMethodAfterFtp(m_byAlarmMethod);
    SetMethodBoxes();
  });
  MapCommand(kRecordOn, [this] { SetRecord(1); });
  MapCommand(kRecordOff, [this] { SetRecord(0); });
  MapCommand(kAutoSwitch, [this] {
    m_byAutoSwitch = m_byAutoSwitch ? 0 : 1;
    page_controls::Check(m_hWnd, kAutoSwitch, m_byAutoSwitch != 0);
    PublishClientSettings();
  });
  for (int input = 0; input < 4; ++input) {
    const uint8_t bit = static_cast<uint8_t>(1u << input);
    MapCommand(kFirstSource + 2 * input, [this, bit] {
      m_byVideoSource = static_cast<uint8_t>(m_byVideoSource & ~bit);
      SetSources();
    });
    MapCommand(kFirstSource + 2 * input + 1, [this, bit] {
      m_byVideoSource = static_cast<uint8_t>(m_byVideoSource | bit);
      SetSources();
    });
  }
  // "Alarm Refresh" forgets the last alarm the stream reported.
  MapCommand(kRefresh, [this] { Program().ClearStreamAlarm(); });
}

void AlarmPropertyPage::DoDataExchange(ost::DataExchange& dx) {
  dx.ComboIndex(kDuration, m_nAlarmDuration);
  dx.ComboIndex(kPostNumber, m_nPostNumber);
}

void AlarmPropertyPage::SetTrigger(bool on) {
  page_controls::Check(m_hWnd, kEnable, on);
  page_controls::Check(m_hWnd, kDisable, !on);
  page_controls::Enable(m_hWnd, {kEmail, kFtp}, on);
}

void AlarmPropertyPage::SetMethodBoxes() {
  page_controls::Check(m_hWnd, kEmail, m_byAlarmMethod == 1 || m_byAlarmMethod == 3);
  page_controls::Check(m_hWnd, kFtp, m_byAlarmMethod == 2 || m_byAlarmMethod == 3);
}

void AlarmPropertyPage::SetSources() {
  for (int input = 0; input < 4; ++input) {
    const bool ch2 = (m_byVideoSource >> input) & 1;
    page_controls::Check(m_hWnd, kFirstSource + 2 * input, !ch2);
    page_controls::Check(m_hWnd, kFirstSource + 2 * input + 1, ch2);
  }
}

void AlarmPropertyPage::SetRecord(uint8_t on) {
  m_byAlarmRecord = on;
  page_controls::Check(m_hWnd, kRecordOn, on != 0);
  page_controls::Check(m_hWnd, kRecordOff, on == 0);
  PublishClientSettings();
}

void AlarmPropertyPage::PublishClientSettings() {
  if (!Context().client) return;
  Context().client->alarmRecord = m_byAlarmRecord;
  Context().client->alarmAutoSwitch = m_byAutoSwitch;
}

void AlarmPropertyPage::Load() {
  const SheetDevice& device = Device();
  const bool rz2k = IsRZ2KProduct(device.productId);
  const bool rzm = IsRZMSeriesProduct(device.productId);
  m_row = AlarmDurationsFor(device.productId);
  for (int i = 0; i < m_row.count; ++i)
    page_controls::AddComboText(m_hWnd, kDuration, m_row.texts[i]);
  for (int i = 1; i <= 10; ++i) page_controls::AddComboText(m_hWnd, kPostNumber, std::to_string(i));
  m_snapshot = LoadAlarm(Snapshot(kSysCfgAlarm), m_row);
  const AlarmValues now = LoadAlarm(Block(kSysCfgAlarm), m_row);
  m_nAlarmDuration = now.duration;
  m_nPostNumber = now.postIndex;
  m_byAlarmMethod = now.method;
  // The hidden resolution keeps the device's value.
  m_byImageResolution = now.resolution;
  SetMethodBoxes();
  SetTrigger(m_byAlarmMethod != 0);
  if (Context().start) m_byAlarmRecord = Context().start->byAlarmRecord;
  SetRecord(m_byAlarmRecord);
  page_controls::Show(m_hWnd, {kRecordLabel, kRecordOn, kRecordOff}, rz2k || rzm);
  m_byVideoSource = now.source;
  SetSources();
  std::initializer_list<int> sources = {kSourceGroup, kCh1Label, kCh2Label, 1478, 1479, 1480,
                                        1481,         1482,      1483,      1484, 1485};
  page_controls::Show(m_hWnd, sources, rz2k);
  const bool autoSwitch = IsRZKSeriesProduct(device.productId) && device.multiChannel != 0;
  if (const std::optional<uint8_t> chosen = Program().AlarmSwitchVideo(); autoSwitch && chosen)
    m_byAutoSwitch = *chosen;
  page_controls::Check(m_hWnd, kAutoSwitch, m_byAutoSwitch != 0);
  page_controls::Show(m_hWnd, {kAutoSwitch}, autoSwitch);
  PublishClientSettings();
  UpdateData(false);
}

bool AlarmPropertyPage::Store(PageChanges& changes) {
  if (!SaveControls()) return false;
  PublishClientSettings();
  AlarmValues now;
  now.duration = m_nAlarmDuration;
  now.postIndex = m_nPostNumber;
  now.method = m_byAlarmMethod;
  now.resolution = m_byImageResolution;
  now.source = m_byVideoSource;
  if (StoreAlarm(now, m_snapshot, m_row, Block(kSysCfgAlarm)))
    changes.sends.push_back({kSysCfgAlarm, {}});
  return true;
}
