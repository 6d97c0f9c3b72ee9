// The frame-header parser: decodes each frame's header into RTPH_Struct in the layout chosen at
// login, and keeps the event memory that the header's reactions (live/header_reactions.h) and
// the alarm page read and clear.
#pragma once

#include <cstdint>

#include "live/rtph_struct.h"
#include "live/stream_frame_header.h"

class CRTPHeaderParser {
 public:
  CRTPHeaderParser() = default;
  CRTPHeaderParser(const CRTPHeaderParser&) = delete;
  CRTPHeaderParser& operator=(const CRTPHeaderParser&) = delete;

  // Decodes the header at the start of chunk[0, size) in the layout m_fNewHeader selects; no
  // reaction. On kParsed writes the header length and the header (its RTPH_Struct also into
  // m_RTPH_Struct). On kIncomplete and kRejected nothing is written (m_RTPH_Struct is zero): a
  // rejected header is a version-word header whose version is not 1, or, when the payload length
  // counts the header, one whose payload length is below its own length.
  HeaderParse Parse(const uint8_t* chunk, uint32_t size, uint32_t* headerLength,
                    StreamFrameHeader* header);

  // 1, clearing m_wAlarmData, when it was not 0; else 0.
  int TestAndClearAlarm();

  uint16_t m_wAlarmData = 0;    // value of the last event word that was present
  RTPH_Struct m_RTPH_Struct{};  // the latest parsed frame
  uint32_t m_dwEventKind = 0;   // kind of the last present event word, 0 after it went
  uint32_t m_fNewHeader = 0;    // 1 selects the version-word layout
  // 1 when the version-word layout's payload length counts the header too (RZ8P devices).
  uint32_t m_fPayloadCountsHeader = 0;
};
