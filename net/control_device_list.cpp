#include "net/control_device_list.h"

#include <cstring>

void C_ControlD::Clear() {
  std::memset(m_Entries, 0, sizeof m_Entries);
  m_nCount = 0;
  m_nCurrent = -1;
  m_nSecondary = -1;
}

int C_ControlD::Add(uint32_t value, uint8_t address, uint8_t modelRow, uint16_t kindFlags) {
  if (m_nCount >= kMaxEntries) return 0;
  m_Entries[m_nCount++] = Entry{value, address, modelRow, static_cast<uint16_t>(kindFlags | kInUse)};
  return 1;
}

int C_ControlD::MakeCurrent(uint16_t kindMask, int n) {
  int seen = 0;
  for (int i = 0; i < m_nCount; ++i) {
    const Entry& e = m_Entries[i];
    if (!(e.wFlags & kInUse) || !(e.wFlags & kindMask)) continue;
    if (seen++ == n) {
      m_nSecondary = m_nCurrent;
      m_nCurrent = i;
      return 0;
    }
  }
  return -1;
}

int C_ControlD::IsCurrentChannelDevice() const {
  if (m_nCurrent < 0) return 0;
  return (m_Entries[m_nCurrent].wFlags & kChannelDevice) ? 1 : 0;
}

void C_ControlD::SetRETRState(uint8_t state) {
  const bool changed = state != m_byRETRState || m_strRETRToolTip.empty();
  m_byRETRState = state;
  if (changed) m_strRETRToolTip = state ? "R.E.T.R.(Enable)" : "R.E.T.R.(Disable)";
  if (m_pAlarmRecord) *m_pAlarmRecord = (m_pRetrAlarmRecord && *m_pRetrAlarmRecord && state) ? 1 : 0;
}

void C_ControlD::BindAlarmRecordSettings(const uint8_t* retrAlarmRecord, uint8_t* alarmRecord) {
  m_pRetrAlarmRecord = retrAlarmRecord;
  m_pAlarmRecord = alarmRecord;
}
