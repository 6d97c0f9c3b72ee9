// The JPEG codec library ("JPEGCODEC.DLL"): reads JPEG pictures from memory into
// device-independent bitmap rows and writes bitmaps to JPEG files. Every use fills one
// properties record, calls JpegCodecInit, one or more reads or writes, then JpegCodecFree.
// All four functions return 1 on success and 0 on failure.
//
// The DLL exports the functions by ordinal only (jpegcodec.def); programs import them through
// its import library. The same code is linked statically into native builds.
#pragma once

#include <cstdint>

// Colour orders of the bitmap side (DIBColor).
inline constexpr int32_t kJpegCodecDibGray = 1;
inline constexpr int32_t kJpegCodecDibBGR = 2;
inline constexpr int32_t kJpegCodecDibRGB = 3;

// Colour spaces of the JPEG side (JPGColor), reported by a read.
inline constexpr int32_t kJpegCodecJpgGray = 1;
inline constexpr int32_t kJpegCodecJpgYCbCr = 2;
inline constexpr int32_t kJpegCodecJpgRGB = 3;
inline constexpr int32_t kJpegCodecJpgCMYK = 4;
inline constexpr int32_t kJpegCodecJpgYCCK = 5;

// Chroma subsampling of a write (JPGSubsampling).
inline constexpr int32_t kJpegCodecSampling444 = 0;
inline constexpr int32_t kJpegCodecSampling422 = 1;
inline constexpr int32_t kJpegCodecSampling420 = 2;

// Read modes.
inline constexpr int32_t kJpegCodecReadParamsFromBuffer = 1;  // JPG width, height, channels, colour
inline constexpr int32_t kJpegCodecReadImageFromBuffer = 3;   // the whole picture into DIBBytes
// Write modes.
inline constexpr int32_t kJpegCodecWriteImageToFile = 8;  // DIBBytes as a JPEG file at JPGFile

struct JpegCodecProperties {
  // Bitmap side. Rows are DIBWidth x DIBChannels bytes followed by DIBPadBytes bytes;
  // DIBHeight > 0 stores the top row first, DIBHeight < 0 the bottom row first.
  uint8_t* DIBBytes;
  int32_t DIBWidth;
  int32_t DIBHeight;
  int32_t DIBPadBytes;
  int32_t DIBChannels;  // 3 (with DIBColor BGR or RGB) or 1 (gray)
  int32_t DIBColor;
  // JPEG side.
  const char* JPGFile;      // file name of a write
  const uint8_t* JPGBytes;  // picture of a read
  uint32_t JPGSizeBytes;
  int32_t JPGWidth;
  int32_t JPGHeight;
  int32_t JPGChannels;
  int32_t JPGColor;
  int32_t JPGQuality;      // 1-100, for writes
  int32_t JPGSubsampling;  // for writes
  // Codec state; set by JpegCodecInit, released by JpegCodecFree.
  void* Internal;
};

extern "C" {
// Sets the defaults: DIB colour BGR with 3 channels and no row padding, quality 75, 4:2:0.
int JpegCodecInit(JpegCodecProperties* properties);
// Releases the codec state. A record without state is accepted.
int JpegCodecFree(JpegCodecProperties* properties);
int JpegCodecRead(JpegCodecProperties* properties, int32_t mode);
int JpegCodecWrite(JpegCodecProperties* properties, int32_t mode);
}
