// What a frame header makes the program do: the alarm sound, alarm recording, the switch to the
// channel with motion, the device clock, the R.E.T.R. state, the network-backup status and the
// camera-sensor state. One place for all of them, apart from the decoding; the receive thread
// runs them for every parsed header (session/receive_thread.cpp).
#pragma once

#include <cstdint>

#include "live/header_reaction_host.h"
#include "live/rtp_header_parser.h"
#include "live/stream_frame_header.h"

inline constexpr uint32_t kPostAlarmAudioStart = 0;
inline constexpr uint32_t kPostAlarmAudioStop = 2;
inline constexpr const char* kNetworkBackupStatusText = "Network backup,stop video!!";

class CHeaderReactions : public ParsedHeaderObserver {
 public:
  // The event memory (m_wAlarmData, m_dwEventKind) is the parser's.
  explicit CHeaderReactions(CRTPHeaderParser& parser) : m_Parser(parser) {}
  CHeaderReactions(const CHeaderReactions&) = delete;
  CHeaderReactions& operator=(const CHeaderReactions&) = delete;

  // The program's state and effects; without a host nothing reacts beyond the event memory and
  // the device counts as none of the families.
  void SetHost(HeaderReactionHost* host) { m_pHost = host; }

  // Reacts to the fields in the order the header's layout carries them, then to its alarms.
  void React(const StreamFrameHeader& h);
  void OnHeaderParsed(const StreamFrameHeader& h) override { React(h); }

 private:
  struct Alarms {
    bool startSound = false;
    bool stopSound = false;
    bool alarmRecord = false;
  };
  void OnEventWord(bool present, uint16_t value, uint32_t kind, Alarms& r);
  void OnMotionWord(const StreamFrameHeader& h);
  void OnDeviceTime(const DeviceTime& t);
  void OnRetrState(const StreamFrameHeader& h);
  void OnNetworkBackup(const StreamFrameHeader& h);
  void OnCmosState(const StreamFrameHeader& h);
  void ReactToAlarms(const Alarms& r);

  CRTPHeaderParser& m_Parser;
  HeaderReactionHost* m_pHost = nullptr;
};
