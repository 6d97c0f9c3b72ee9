// Decoding one device picture into the 24-bit picture format the renderer draws: blue, green,
// red per pixel, bottom row first, rows of exactly width x 3 bytes.
#pragma once

#include <cstdint>

#include "platform/jpegcodec/jpeg_codec.h"

// A decoder kept from one picture to the next (the codec's state is made once, not per
// picture). One thread uses it at a time.
class CJpegDecoder {
 public:
  CJpegDecoder() = default;
  ~CJpegDecoder();
  CJpegDecoder(const CJpegDecoder&) = delete;
  CJpegDecoder& operator=(const CJpegDecoder&) = delete;

  // As DecodeJpegToDib below.
  int Decode(const uint8_t* jpeg, uint32_t length, uint8_t* destination, uint32_t destinationBytes,
             uint16_t* width, uint16_t* height);

 private:
  JpegCodecProperties m_props{};
  bool m_ready = false;
};

// Decodes length bytes of JPEG into destination, which holds destinationBytes. Writes the
// picture's width and height as soon as the JPEG header is read. Returns 1, or 0 on any failure
// of the codec and when the picture is empty or does not fit the destination (which is then
// left as it was). A failure part-way through the picture may leave the destination written.
int DecodeJpegToDib(const uint8_t* jpeg, uint32_t length, uint8_t* destination,
                    uint32_t destinationBytes, uint16_t* width, uint16_t* height);
