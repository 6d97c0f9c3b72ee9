#include "live/header_reactions.h"

#include "net/device_family.h"

namespace {
bool SameClock(const DeviceTime& a, const DeviceTime& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
}  // namespace

void CHeaderReactions::React(const StreamFrameHeader& h) {
  Alarms r;
  if (h.layout == HeaderLayout::kVersionWord) {
    OnEventWord(h.fMotion, h.rtph.wMotionDetect, kEventKindMotion, r);
    OnMotionWord(h);
    OnEventWord(h.fEventA, h.rtph.wEventWordA, kEventKindA, r);
    OnEventWord(h.fEventB, h.rtph.wEventWordB, kEventKindB, r);
    if (h.fDeviceTime) OnDeviceTime(h.rtph.stDeviceTime);
    OnRetrState(h);
    OnNetworkBackup(h);
    OnCmosState(h);
  } else {
    OnRetrState(h);
    OnEventWord(h.fEventA, h.rtph.wEventWordA, kEventKindA, r);
    OnEventWord(h.fMotion, h.rtph.wMotionDetect, kEventKindMotion, r);
    OnMotionWord(h);
    OnEventWord(h.fEventB, h.rtph.wEventWordB, kEventKindB, r);
    OnNetworkBackup(h);
    if (h.fDeviceTime) OnDeviceTime(h.rtph.stDeviceTime);
  }
  ReactToAlarms(r);
}

void CHeaderReactions::OnEventWord(bool present, uint16_t value, uint32_t kind, Alarms& r) {
  if (!present) {
    if (m_Parser.m_dwEventKind == kind) {
      m_Parser.m_dwEventKind = 0;
      r.stopSound = true;
    }
    return;
  }
  const bool playing = m_pHost && m_pHost->IsAlarmSoundPlaying();
  const uint8_t trigger = m_pHost ? m_pHost->AlarmTriggerFlag() : 0;
  // The word's presence alone starts the sound, whatever its value.
  if (!playing && trigger) r.startSound = true;
  m_Parser.m_wAlarmData = value;
  m_Parser.m_dwEventKind = kind;
  if (value && trigger) r.alarmRecord = true;
}

void CHeaderReactions::OnMotionWord(const StreamFrameHeader& h) {
  if (!h.fMotion || !m_pHost || !h.rtph.wMotionDetect) return;
  if (!IsRZKSeriesProduct(m_pHost->ProductId()) || !m_pHost->MultiChannel() ||
      !m_pHost->AlarmAutoSwitchVideo())
    return;
  for (int bit = 0; bit < 16; ++bit) {
    if (h.rtph.wMotionDetect & (1u << bit)) {
      m_pHost->SwitchChannel(bit + 1);
      return;
    }
  }
}

void CHeaderReactions::OnDeviceTime(const DeviceTime& t) {
  if (!m_pHost || SameClock(t, m_pHost->LastDeviceTime())) return;
  m_pHost->StoreDeviceTime(t);
  const std::string_view product = m_pHost->ProductId();
  // The RZ1K family's title text is repainted by the renderer; every other family shows this
  // clock and is told of each change.
  if (IsRZ2KProduct(product) || IsRZ8PProduct(product) || IsRZMSeriesProduct(product))
    m_pHost->PostDeviceClockChanged();
}

void CHeaderReactions::OnRetrState(const StreamFrameHeader& h) {
  if (h.fRetrState && m_pHost) m_pHost->SetRETRState(h.byRetrState);
}

void CHeaderReactions::OnNetworkBackup(const StreamFrameHeader& h) {
  if (h.fNetworkBackup && m_pHost) m_pHost->SetStatusText(kNetworkBackupStatusText);
}

void CHeaderReactions::OnCmosState(const StreamFrameHeader& h) {
  if (h.fCmosState && m_pHost && IsRZ8PProduct(m_pHost->ProductId()))
    m_pHost->PostCmosState(h.byCmosState);
}

void CHeaderReactions::ReactToAlarms(const Alarms& r) {
  if (!m_pHost) return;
  const std::string_view product = m_pHost->ProductId();
  if (!m_pHost->HasModel19_22_23() && !IsRZ2KProduct(product) && !IsRZMSeriesProduct(product))
    return;
  if (!m_pHost->IsAlarmSoundPlaying() && r.startSound)
    m_pHost->PostAlarmAudio(kPostAlarmAudioStart);
  else if (r.stopSound)
    m_pHost->PostAlarmAudio(kPostAlarmAudioStop);
  // The alarm recording's hook points.
  const bool recording = m_pHost->IsAlarmRecording();
  if (r.alarmRecord && !recording)
    m_pHost->CreateAlarmRecordFile();
  else if (!r.alarmRecord && recording)
    m_pHost->CloseAlarmRecordFile();
}
