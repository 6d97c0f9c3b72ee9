// The frame-header parser: decodes each frame's header into RTPH_Struct for the receive thread
// and reacts to what it carries (alarm sound, alarm recording, motion channel switch, device
// clock, R.E.T.R. state, network-backup status, camera-sensor state).
#pragma once

#include <cstdint>

#include "live/header_parser_host.h"
#include "live/rtph_struct.h"
#include "live/stream_frame_header.h"

inline constexpr uint32_t kPostAlarmAudioStart = 0;
inline constexpr uint32_t kPostAlarmAudioStop = 2;
inline constexpr const char* kNetworkBackupStatusText = "Network backup,stop video!!";

class CRTPHeaderParser {
 public:
  CRTPHeaderParser() = default;
  CRTPHeaderParser(const CRTPHeaderParser&) = delete;
  CRTPHeaderParser& operator=(const CRTPHeaderParser&) = delete;

  // The program's state and effects; without a host nothing reacts and the device counts as
  // none of the families.
  void SetHost(HeaderParserHost* host) { m_pHost = host; }

  // Parses the header at the start of chunk[0, size) in the layout m_fNewHeader selects. On
  // kParsed writes the header length and copies m_RTPH_Struct into the slot, then reacts. On
  // kIncomplete and kRejected nothing is written and nothing reacts (m_RTPH_Struct is zero): a
  // rejected header is a version-word header whose version is not 1, or, from an RZ8P device,
  // one whose payload length is below its own length.
  HeaderParse Parse(const uint8_t* chunk, uint32_t size, uint32_t* headerLength, RTPH_Struct* slot);

  // 1, clearing m_wAlarmData, when it was not 0; else 0.
  int TestAndClearAlarm();

  uint16_t m_wAlarmData = 0;    // value of the last event word that was present
  RTPH_Struct m_RTPH_Struct{};  // the latest parsed frame
  uint32_t m_dwEventKind = 0;   // kind of the last present event word, 0 after it went
  uint32_t m_fNewHeader = 0;    // 1 selects the version-word layout

 private:
  struct Reactions {
    bool startSound = false;
    bool stopSound = false;
    bool alarmRecord = false;
  };
  void OnEventWord(bool present, uint16_t value, uint32_t kind, Reactions& r);
  void OnMotionWord(const StreamFrameHeader& h);
  void OnDeviceTime(const DeviceTime& t);
  void OnRetrState(const StreamFrameHeader& h);
  void OnNetworkBackup(const StreamFrameHeader& h);
  void OnCmosState(const StreamFrameHeader& h);
  void ReactToAlarms(const Reactions& r);

  HeaderParserHost* m_pHost = nullptr;
};
