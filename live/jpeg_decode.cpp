#include "live/jpeg_decode.h"

#include <cstddef>

CJpegDecoder::~CJpegDecoder() {
  if (m_ready) JpegCodecFree(&m_props);
}

int CJpegDecoder::Decode(const uint8_t* jpeg, uint32_t length, uint8_t* destination,
                         uint32_t destinationBytes, uint16_t* width, uint16_t* height) {
  if (!m_ready) {
    m_props = JpegCodecProperties{};
    if (!JpegCodecInit(&m_props)) return 0;
    m_ready = true;
  }
  JpegCodecProperties& p = m_props;
  p.JPGBytes = jpeg;
  p.JPGSizeBytes = length;
  if (!JpegCodecRead(&p, kJpegCodecReadParamsFromBuffer)) return 0;
  if (p.JPGWidth <= 0 || p.JPGHeight <= 0 || p.JPGWidth > UINT16_MAX || p.JPGHeight > UINT16_MAX)
    return 0;
  *width = static_cast<uint16_t>(p.JPGWidth);
  *height = static_cast<uint16_t>(p.JPGHeight);
  const size_t pictureBytes = size_t{*width} * 3 * *height;
  if (pictureBytes > destinationBytes) return 0;
  // Bottom row first, straight into the destination (3 channels: a gray picture is widened to
  // BGR as well).
  p.DIBWidth = p.JPGWidth;
  p.DIBHeight = -p.JPGHeight;
  p.DIBChannels = 3;
  p.DIBBytes = destination;
  return JpegCodecRead(&p, kJpegCodecReadImageFromBuffer) ? 1 : 0;
}

int DecodeJpegToDib(const uint8_t* jpeg, uint32_t length, uint8_t* destination,
                    uint32_t destinationBytes, uint16_t* width, uint16_t* height) {
  CJpegDecoder decoder;
  return decoder.Decode(jpeg, length, destination, destinationBytes, width, height);
}
