#include "net/control_device_list.h"

#include <cstring>

int C_ControlD::Add(uint32_t baud, uint8_t address, uint8_t modelRow, uint16_t groupFlags) {
  if (m_bySlotCount >= kMaxEntries) return -1;
  m_Slots[m_bySlotCount++] =
      ControlDeviceSlot{baud, address, modelRow, static_cast<uint16_t>(groupFlags | CDS_USED)};
  return 0;
}

void C_ControlD::Clear() {
  m_byCurrent = m_byPrevious = m_bySlotCount = m_byLastChannel = m_byLastPtz = 0;
  m_byRetrState = 0;
  std::memset(m_Slots, 0, sizeof m_Slots);
}

int C_ControlD::FindNth(uint16_t mask, uint8_t n) const {
  int seen = 0;
  for (int i = 0; i < kMaxEntries; ++i) {
    const uint16_t f = m_Slots[i].wSlotFlags;
    if (!(f & CDS_USED) || !(f & mask)) continue;
    if (seen++ == n) return i;
  }
  return -1;
}

uint8_t C_ControlD::PositionInGroup(int index, uint16_t mask) const {
  uint8_t p = 0;
  for (int i = 0; i < index; ++i) {
    const uint16_t f = m_Slots[i].wSlotFlags;
    if ((f & CDS_USED) && (f & mask)) ++p;
  }
  return p;
}

void C_ControlD::Compact() {
  const bool wasChannel = (m_Slots[m_byCurrent].wSlotFlags & CDS_CHANNEL) != 0;
  const uint8_t p = GetCurrentChannelIndex();
  ControlDeviceSlot kept[kMaxEntries] = {};
  uint8_t n = 0;
  for (const ControlDeviceSlot& s : m_Slots) {
    if ((s.wSlotFlags & CDS_USED) && (s.wSlotFlags & CDS_CHANNEL)) kept[n++] = s;
  }
  std::memcpy(m_Slots, kept, sizeof m_Slots);
  m_bySlotCount = n;
  if (wasChannel) {
    m_byCurrent = m_byLastChannel = p;
  } else {
    m_byCurrent = m_byLastChannel = 0;
  }
  m_byPrevious = m_byLastPtz = 0;
}

int C_ControlD::MakeCurrent(uint8_t mask, uint8_t n) {
  const int i = FindNth(mask, n);
  if (i < 0) return -1;
  if (i != m_byCurrent) {
    m_byPrevious = m_byCurrent;
    m_byCurrent = static_cast<uint8_t>(i);
  }
  if (m_Slots[i].wSlotFlags & CDS_CHANNEL) m_byLastChannel = static_cast<uint8_t>(i);
  if (m_Slots[i].wSlotFlags & CDS_PTZ) m_byLastPtz = static_cast<uint8_t>(i);
  return 0;
}

uint8_t C_ControlD::GetNthKind2ModelIndex(uint8_t n) const {
  const int i = FindNth(CDS_CHANNEL, n);
  return i < 0 ? 0 : m_Slots[i].byModelRow;
}

uint8_t C_ControlD::GetNthKind4ModelIndex(uint8_t n) const {
  const int i = FindNth(CDS_PTZ, n);
  return i < 0 ? 0 : m_Slots[i].byModelRow;
}

int C_ControlD::SetNthKind4Device(uint8_t n, uint8_t modelRow, uint8_t address) {
  const int i = FindNth(CDS_PTZ, n);
  if (i >= 0) {
    m_Slots[i].byModelRow = modelRow;
    m_Slots[i].byAddress = address;
  }
  return 1;
}

int C_ControlD::IsCurrentChannelDevice() const {
  return (m_Slots[m_byCurrent].wSlotFlags & CDS_CHANNEL) ? 1 : 0;
}

uint8_t C_ControlD::GetCurrentChannelIndex() const {
  const uint16_t group = IsCurrentChannelDevice() ? CDS_CHANNEL : CDS_PTZ;
  return PositionInGroup(m_byCurrent, group);
}

int C_ControlD::HasModel19_22_23() const {
  for (int i = 0; i < m_bySlotCount; ++i) {
    const ControlDeviceSlot& s = m_Slots[i];
    if (!(s.wSlotFlags & CDS_USED) || !(s.wSlotFlags & CDS_CHANNEL)) continue;
    if (s.byModelRow == 19 || s.byModelRow == 22 || s.byModelRow == 23) return 1;
  }
  return 0;
}

int C_ControlD::SetRETRState(uint8_t state) {
  const uint8_t old = m_byRetrState;
  if (m_pAlarmRecord) *m_pAlarmRecord = (m_pRetrAlarmRecord && *m_pRetrAlarmRecord && old) ? 1 : 0;
  if (state == old) return 1;
  if (m_pRetrNotifier) m_pRetrNotifier(m_pRetrNotifierContext, old ? 0 : 1);
  m_byRetrState = state;
  return 1;
}

void C_ControlD::BindAlarmRecordSettings(const uint8_t* retrAlarmRecord, uint8_t* alarmRecord) {
  m_pRetrAlarmRecord = retrAlarmRecord;
  m_pAlarmRecord = alarmRecord;
}

void C_ControlD::SetRetrButtonNotifier(RetrButtonNotifier notifier, void* context) {
  m_pRetrNotifier = notifier;
  m_pRetrNotifierContext = context;
}
