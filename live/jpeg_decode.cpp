#include "live/jpeg_decode.h"

#include <cstddef>

#include "platform/jpegcodec/jpeg_codec.h"

namespace {
// Releases the codec state on every path.
class CodecSession {
 public:
  CodecSession() : m_props{} {}
  ~CodecSession() {
    if (!m_freed) JpegCodecFree(&m_props);
  }
  CodecSession(const CodecSession&) = delete;
  CodecSession& operator=(const CodecSession&) = delete;

  JpegCodecProperties& Properties() { return m_props; }
  int Free() {
    m_freed = true;
    return JpegCodecFree(&m_props);
  }

 private:
  JpegCodecProperties m_props;
  bool m_freed = false;
};
}  // namespace

int DecodeJpegToDib(const uint8_t* jpeg, uint32_t length, uint8_t* destination,
                    uint32_t destinationBytes, uint16_t* width, uint16_t* height) {
  CodecSession codec;
  JpegCodecProperties& p = codec.Properties();
  if (!JpegCodecInit(&p)) return 0;
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
  if (!JpegCodecRead(&p, kJpegCodecReadImageFromBuffer)) return 0;
  if (!codec.Free()) return 0;
  return 1;
}
