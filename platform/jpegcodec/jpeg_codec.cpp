#include "platform/jpegcodec/jpeg_codec.h"

#include <turbojpeg.h>

#include <cstdio>
#include <limits>
#include <new>

namespace {

struct CodecState {
  tjhandle decompressor = nullptr;
  tjhandle compressor = nullptr;
};

CodecState* StateOf(JpegCodecProperties* p) {
  return static_cast<CodecState*>(p->Internal);
}

int32_t JpgColorOf(int colorspace) {
  switch (colorspace) {
    case TJCS_GRAY:
      return kJpegCodecJpgGray;
    case TJCS_YCbCr:
      return kJpegCodecJpgYCbCr;
    case TJCS_RGB:
      return kJpegCodecJpgRGB;
    case TJCS_CMYK:
      return kJpegCodecJpgCMYK;
    case TJCS_YCCK:
      return kJpegCodecJpgYCCK;
    default:
      return 0;
  }
}

int32_t JpgChannelsOf(int colorspace) {
  if (colorspace == TJCS_GRAY) return 1;
  if (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) return 4;
  return 3;
}

// Pixel format of the bitmap side, or -1 when the channels and colour do not go together.
int PixelFormatOf(const JpegCodecProperties& p) {
  if (p.DIBChannels == 3 && p.DIBColor == kJpegCodecDibBGR) return TJPF_BGR;
  if (p.DIBChannels == 3 && p.DIBColor == kJpegCodecDibRGB) return TJPF_RGB;
  if (p.DIBChannels == 1 && p.DIBColor == kJpegCodecDibGray) return TJPF_GRAY;
  return -1;
}

// Bytes per bitmap row, or 0 when the row does not fit an int.
int RowPitchOf(const JpegCodecProperties& p) {
  if (p.DIBWidth <= 0 || p.DIBPadBytes < 0) return 0;
  const int64_t pitch = int64_t{p.DIBWidth} * p.DIBChannels + p.DIBPadBytes;
  return pitch > std::numeric_limits<int>::max() ? 0 : static_cast<int>(pitch);
}

int32_t AbsoluteHeight(int32_t h) {
  return h < 0 ? -h : h;
}

bool ReadHeader(JpegCodecProperties* p, CodecState* s) {
  if (!p->JPGBytes || p->JPGSizeBytes == 0) return false;
  if (!s->decompressor) s->decompressor = tjInitDecompress();
  if (!s->decompressor) return false;
  int width = 0, height = 0, subsampling = 0, colorspace = 0;
  if (tjDecompressHeader3(s->decompressor, p->JPGBytes, p->JPGSizeBytes, &width, &height,
                          &subsampling, &colorspace) != 0)
    return false;
  if (width <= 0 || height <= 0) return false;
  p->JPGWidth = width;
  p->JPGHeight = height;
  p->JPGChannels = JpgChannelsOf(colorspace);
  p->JPGColor = JpgColorOf(colorspace);
  return true;
}

bool ReadImage(JpegCodecProperties* p, CodecState* s) {
  if (!ReadHeader(p, s)) return false;
  // The bitmap takes the picture at its own size: no scaling.
  if (!p->DIBBytes || p->DIBWidth != p->JPGWidth || AbsoluteHeight(p->DIBHeight) != p->JPGHeight ||
      p->DIBHeight == std::numeric_limits<int32_t>::min())
    return false;
  const int format = PixelFormatOf(*p);
  const int pitch = RowPitchOf(*p);
  if (format < 0 || pitch == 0) return false;
  const int flags = p->DIBHeight < 0 ? TJFLAG_BOTTOMUP : 0;
  // A warning (a damaged or cut picture) counts as a failure as well.
  return tjDecompress2(s->decompressor, p->JPGBytes, p->JPGSizeBytes, p->DIBBytes, p->DIBWidth,
                       pitch, p->JPGHeight, format, flags) == 0;
}

int SamplingOf(int32_t s) {
  switch (s) {
    case kJpegCodecSampling444:
      return TJSAMP_444;
    case kJpegCodecSampling422:
      return TJSAMP_422;
    case kJpegCodecSampling420:
      return TJSAMP_420;
    default:
      return -1;
  }
}

bool WriteFile(const char* path, const unsigned char* bytes, unsigned long size) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes, 1, size, f) == size;
  const bool closed = std::fclose(f) == 0;
  if (written && closed) return true;
  std::remove(path);
  return false;
}

bool WriteImage(JpegCodecProperties* p, CodecState* s) {
  if (!p->DIBBytes || !p->JPGFile || !p->JPGFile[0] || p->DIBHeight == 0 ||
      p->DIBHeight == std::numeric_limits<int32_t>::min())
    return false;
  const int format = PixelFormatOf(*p);
  const int pitch = RowPitchOf(*p);
  int sampling = SamplingOf(p->JPGSubsampling);
  if (format < 0 || pitch == 0 || sampling < 0) return false;
  if (format == TJPF_GRAY) sampling = TJSAMP_GRAY;
  const int quality = p->JPGQuality < 1 ? 1 : p->JPGQuality > 100 ? 100 : p->JPGQuality;
  if (!s->compressor) s->compressor = tjInitCompress();
  if (!s->compressor) return false;
  unsigned char* jpeg = nullptr;
  unsigned long jpegSize = 0;
  const int flags = p->DIBHeight < 0 ? TJFLAG_BOTTOMUP : 0;
  const bool compressed =
      tjCompress2(s->compressor, p->DIBBytes, p->DIBWidth, pitch, AbsoluteHeight(p->DIBHeight),
                  format, &jpeg, &jpegSize, sampling, quality, flags) == 0;
  const bool written = compressed && WriteFile(p->JPGFile, jpeg, jpegSize);
  tjFree(jpeg);
  if (written) {
    p->JPGWidth = p->DIBWidth;
    p->JPGHeight = AbsoluteHeight(p->DIBHeight);
  }
  return written;
}

}  // namespace

extern "C" int JpegCodecInit(JpegCodecProperties* properties) {
  if (!properties) return 0;
  // The caller zeroes the record or has freed it: Internal is not looked at.
  properties->DIBChannels = 3;
  properties->DIBColor = kJpegCodecDibBGR;
  properties->DIBPadBytes = 0;
  properties->JPGQuality = 75;
  properties->JPGSubsampling = kJpegCodecSampling420;
  properties->Internal = new (std::nothrow) CodecState;
  return properties->Internal ? 1 : 0;
}

extern "C" int JpegCodecFree(JpegCodecProperties* properties) {
  if (!properties) return 0;
  CodecState* s = StateOf(properties);
  if (!s) return 1;
  int ok = 1;
  if (s->decompressor && tjDestroy(s->decompressor) != 0) ok = 0;
  if (s->compressor && tjDestroy(s->compressor) != 0) ok = 0;
  delete s;
  properties->Internal = nullptr;
  return ok;
}

extern "C" int JpegCodecRead(JpegCodecProperties* properties, int32_t mode) {
  if (!properties || !StateOf(properties)) return 0;
  switch (mode) {
    case kJpegCodecReadParamsFromBuffer:
      return ReadHeader(properties, StateOf(properties)) ? 1 : 0;
    case kJpegCodecReadImageFromBuffer:
      return ReadImage(properties, StateOf(properties)) ? 1 : 0;
    default:
      return 0;
  }
}

extern "C" int JpegCodecWrite(JpegCodecProperties* properties, int32_t mode) {
  if (!properties || !StateOf(properties)) return 0;
  if (mode != kJpegCodecWriteImageToFile) return 0;
  return WriteImage(properties, StateOf(properties)) ? 1 : 0;
}
