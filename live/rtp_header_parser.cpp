#include "live/rtp_header_parser.h"

#include <cstring>

#include "net/device_family.h"

namespace {
bool SameClock(const DeviceTime& a, const DeviceTime& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
}  // namespace

HeaderParse CRTPHeaderParser::Parse(const uint8_t* chunk, uint32_t size, uint32_t* headerLength,
                                    RTPH_Struct* slot) {
  m_RTPH_Struct = RTPH_Struct{};
  const HeaderLayout layout =
      m_fNewHeader ? HeaderLayout::kVersionWord : HeaderLayout::kPresenceMask;
  StreamFrameHeader h;
  const HeaderParse result = DecodeStreamFrameHeader(chunk, size, layout, &h);
  if (result != HeaderParse::kParsed) return result;
  const uint32_t length = h.rtph.dwHeaderLength;
  if (layout == HeaderLayout::kVersionWord && m_pHost && IsRZ8PProduct(m_pHost->ProductId())) {
    // The payload length of these devices counts the header too.
    if (h.rtph.dwPayloadLength < length) return HeaderParse::kRejected;
    h.rtph.dwPayloadLength -= length;
  }
  m_RTPH_Struct = h.rtph;

  // Reactions to the fields, in the order the layout carries them.
  Reactions r;
  if (layout == HeaderLayout::kVersionWord) {
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

  *headerLength = length;
  std::memcpy(slot, &m_RTPH_Struct, sizeof m_RTPH_Struct);
  ReactToAlarms(r);
  return HeaderParse::kParsed;
}

int CRTPHeaderParser::TestAndClearAlarm() {
  if (m_wAlarmData == 0) return 0;
  m_wAlarmData = 0;
  return 1;
}

void CRTPHeaderParser::OnEventWord(bool present, uint16_t value, uint32_t kind, Reactions& r) {
  if (!present) {
    if (m_dwEventKind == kind) {
      m_dwEventKind = 0;
      r.stopSound = true;
    }
    return;
  }
  const bool playing = m_pHost && m_pHost->IsAlarmSoundPlaying();
  const uint8_t trigger = m_pHost ? m_pHost->AlarmTriggerFlag() : 0;
  // The word's presence alone starts the sound, whatever its value.
  if (!playing && trigger) r.startSound = true;
  m_wAlarmData = value;
  m_dwEventKind = kind;
  if (value && trigger) r.alarmRecord = true;
}

void CRTPHeaderParser::OnMotionWord(const StreamFrameHeader& h) {
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

void CRTPHeaderParser::OnDeviceTime(const DeviceTime& t) {
  if (!m_pHost || SameClock(t, m_pHost->LastDeviceTime())) return;
  m_pHost->StoreDeviceTime(t);
  const std::string_view product = m_pHost->ProductId();
  if (IsRZ2KProduct(product) || IsRZ8PProduct(product)) m_pHost->PostDeviceClockChanged();
}

void CRTPHeaderParser::OnRetrState(const StreamFrameHeader& h) {
  if (h.fRetrState && m_pHost) m_pHost->SetRETRState(h.byRetrState);
}

void CRTPHeaderParser::OnNetworkBackup(const StreamFrameHeader& h) {
  if (h.fNetworkBackup && m_pHost) m_pHost->SetStatusText(kNetworkBackupStatusText);
}

void CRTPHeaderParser::OnCmosState(const StreamFrameHeader& h) {
  if (h.fCmosState && m_pHost && IsRZ8PProduct(m_pHost->ProductId()))
    m_pHost->PostCmosState(h.byCmosState);
}

void CRTPHeaderParser::ReactToAlarms(const Reactions& r) {
  if (!m_pHost) return;
  const std::string_view product = m_pHost->ProductId();
  if (!m_pHost->HasModel19_22_23() && !IsRZ2KProduct(product) && !IsRZMSeriesProduct(product))
    return;
  if (!m_pHost->IsAlarmSoundPlaying() && r.startSound)
    m_pHost->PostAlarmAudio(kPostAlarmAudioStart);
  else if (r.stopSound)
    m_pHost->PostAlarmAudio(kPostAlarmAudioStop);
  const bool recording = m_pHost->IsAlarmRecording();
  if (r.alarmRecord && !recording)
    m_pHost->CreateAlarmRecordFile();
  else if (!r.alarmRecord && recording)
    m_pHost->CloseAlarmRecordFile();
}
