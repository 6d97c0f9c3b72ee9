#include "live/rtp_header_parser.h"

HeaderParse CRTPHeaderParser::Parse(const uint8_t* chunk, uint32_t size, uint32_t* headerLength,
                                    StreamFrameHeader* header) {
  m_RTPH_Struct = RTPH_Struct{};
  const HeaderLayout layout =
      m_fNewHeader ? HeaderLayout::kVersionWord : HeaderLayout::kPresenceMask;
  StreamFrameHeader h;
  const HeaderParse result = DecodeStreamFrameHeader(chunk, size, layout, &h);
  if (result != HeaderParse::kParsed) return result;
  const uint32_t length = h.rtph.dwHeaderLength;
  if (layout == HeaderLayout::kVersionWord && m_fPayloadCountsHeader) {
    if (h.rtph.dwPayloadLength < length) return HeaderParse::kRejected;
    h.rtph.dwPayloadLength -= length;
  }
  m_RTPH_Struct = h.rtph;
  *headerLength = length;
  *header = h;
  return HeaderParse::kParsed;
}

int CRTPHeaderParser::TestAndClearAlarm() {
  if (m_wAlarmData == 0) return 0;
  m_wAlarmData = 0;
  return 1;
}
