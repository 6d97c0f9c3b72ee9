// The JPEG codec library through its four functions (the DLL under Windows), and the picture
// decoding and snapshot naming over it.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "live/jpeg_decode.h"
#include "live/snapshot.h"
#include "platform/jpegcodec/jpeg_codec.h"
#include "tests/live/test_pictures.h"

using namespace livetest;

namespace {

// Quadrants of solid colours, 8 x 8 blocks each, so the JPEG keeps them nearly exact.
Bgr Quadrants(int x, int y, int w, int h) {
  const bool right = x >= w / 2, bottom = y >= h / 2;
  if (!right && !bottom) return {0, 0, 255};  // red
  if (right && !bottom) return {0, 255, 0};   // green
  if (!right && bottom) return {255, 0, 0};   // blue
  return {255, 255, 255};                     // white
}

std::vector<uint8_t> QuadrantPicture(int w, int h) {
  return TopDownPicture(w, h, [w, h](int x, int y) { return Quadrants(x, y, w, h); });
}

// The rows of a top-down picture in bottom-up order.
std::vector<uint8_t> Flipped(const std::vector<uint8_t>& p, int w, int h) {
  std::vector<uint8_t> out(p.size());
  for (int y = 0; y < h; ++y)
    std::memcpy(&out[size_t(h - 1 - y) * w * 3], &p[size_t(y) * w * 3], size_t(w) * 3);
  return out;
}

TEST(JpegCodec, InitSetsDefaultsAndFreeReleases) {
  JpegCodecProperties p{};
  ASSERT_EQ(JpegCodecInit(&p), 1);
  EXPECT_EQ(p.DIBChannels, 3);
  EXPECT_EQ(p.DIBColor, kJpegCodecDibBGR);
  EXPECT_EQ(p.DIBPadBytes, 0);
  EXPECT_NE(p.Internal, nullptr);
  EXPECT_EQ(JpegCodecFree(&p), 1);
  EXPECT_EQ(p.Internal, nullptr);
  EXPECT_EQ(JpegCodecFree(&p), 1);  // a second free finds nothing to do
  EXPECT_EQ(JpegCodecRead(&p, kJpegCodecReadParamsFromBuffer), 0);  // not initialised
  EXPECT_EQ(JpegCodecInit(nullptr), 0);
}

TEST(JpegCodec, ReadsParametersAndPictureInEitherRowOrderWithPadding) {
  const int w = 16, h = 16;
  const std::vector<uint8_t> picture = QuadrantPicture(w, h);
  const std::vector<uint8_t> jpeg = DeviceJpeg(picture, w, h, 100);
  JpegCodecProperties p{};
  ASSERT_EQ(JpegCodecInit(&p), 1);
  p.JPGBytes = jpeg.data();
  p.JPGSizeBytes = static_cast<uint32_t>(jpeg.size());
  ASSERT_EQ(JpegCodecRead(&p, kJpegCodecReadParamsFromBuffer), 1);
  EXPECT_EQ(p.JPGWidth, w);
  EXPECT_EQ(p.JPGHeight, h);
  EXPECT_EQ(p.JPGChannels, 3);
  EXPECT_EQ(p.JPGColor, kJpegCodecJpgYCbCr);

  // Top row first, packed.
  std::vector<uint8_t> topDown(picture.size());
  p.DIBWidth = w;
  p.DIBHeight = h;
  p.DIBBytes = topDown.data();
  ASSERT_EQ(JpegCodecRead(&p, kJpegCodecReadImageFromBuffer), 1);
  EXPECT_LE(MaxDifference(topDown.data(), picture.data(), picture.size()), 8);

  // Bottom row first, rows padded by 4 bytes.
  const int pad = 4, pitch = w * 3 + pad;
  std::vector<uint8_t> bottomUp(size_t(pitch) * h, 0xEE);
  p.DIBHeight = -h;
  p.DIBPadBytes = pad;
  p.DIBBytes = bottomUp.data();
  ASSERT_EQ(JpegCodecRead(&p, kJpegCodecReadImageFromBuffer), 1);
  for (int row = 0; row < h; ++row)
    EXPECT_EQ(std::memcmp(&bottomUp[size_t(row) * pitch], &topDown[size_t(h - 1 - row) * w * 3],
                          size_t(w) * 3),
              0)
        << "row " << row;
  EXPECT_EQ(JpegCodecFree(&p), 1);
}

TEST(JpegCodec, RefusesWhatItCannotDo) {
  const std::vector<uint8_t> jpeg = DeviceJpeg(QuadrantPicture(16, 8), 16, 8);
  std::vector<uint8_t> out(16 * 8 * 3);
  struct Case {
    const char* name;
    void (*change)(JpegCodecProperties&);
  };
  const Case cases[] = {
      {"other width", [](JpegCodecProperties& p) { p.DIBWidth = 15; }},
      {"other height", [](JpegCodecProperties& p) { p.DIBHeight = 9; }},
      {"no buffer", [](JpegCodecProperties& p) { p.DIBBytes = nullptr; }},
      {"four channels", [](JpegCodecProperties& p) { p.DIBChannels = 4; }},
      {"gray colour with three channels",
       [](JpegCodecProperties& p) { p.DIBColor = kJpegCodecDibGray; }},
      {"no JPEG", [](JpegCodecProperties& p) { p.JPGSizeBytes = 0; }},
      {"cut JPEG", [](JpegCodecProperties& p) { p.JPGSizeBytes /= 2; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JpegCodecProperties p{};
    ASSERT_EQ(JpegCodecInit(&p), 1);
    p.JPGBytes = jpeg.data();
    p.JPGSizeBytes = static_cast<uint32_t>(jpeg.size());
    p.DIBWidth = 16;
    p.DIBHeight = 8;
    p.DIBBytes = out.data();
    c.change(p);
    EXPECT_EQ(JpegCodecRead(&p, kJpegCodecReadImageFromBuffer), 0);
    EXPECT_EQ(JpegCodecRead(&p, 2), 0);  // no such mode
    EXPECT_EQ(JpegCodecWrite(&p, 7), 0);
    EXPECT_EQ(JpegCodecFree(&p), 1);
  }
}

TEST(DecodeJpegToDib, TwoByTwoPictureComesBottomRowFirst) {
  // Top row black, bottom row white.
  const auto picture = TopDownPicture(2, 2, [](int, int y) {
    return y == 0 ? Bgr{0, 0, 0} : Bgr{255, 255, 255};
  });
  const std::vector<uint8_t> jpeg = DeviceJpeg(picture, 2, 2, 100);
  ASSERT_EQ(jpeg[3], 0xDB);
  std::vector<uint8_t> dib(12 + 4, 0x55);
  uint16_t w = 0, h = 0;
  ASSERT_EQ(
      DecodeJpegToDib(jpeg.data(), static_cast<uint32_t>(jpeg.size()), dib.data(), 12, &w, &h), 1);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 2);
  for (int i = 0; i < 6; ++i) EXPECT_GT(dib[i], 200) << i;     // bottom row: white
  for (int i = 6; i < 12; ++i) EXPECT_LT(dib[i], 55) << i;     // top row: black
  for (int i = 12; i < 16; ++i) EXPECT_EQ(dib[i], 0x55) << i;  // nothing beyond 12 bytes
}

TEST(DecodeJpegToDib, PackedRowsOfAnyWidthAndGrayPictures) {
  for (const auto& [w, h, gray] : {std::tuple{16, 16, false}, std::tuple{6, 3, false},
                                   std::tuple{33, 17, false}, std::tuple{16, 8, true}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + (gray ? " gray" : ""));
    const std::vector<uint8_t> picture = QuadrantPicture(w, h);
    const std::vector<uint8_t> jpeg = DeviceJpeg(picture, w, h, 100, gray);
    std::vector<uint8_t> dib(picture.size());
    uint16_t ow = 0, oh = 0;
    ASSERT_EQ(DecodeJpegToDib(jpeg.data(), static_cast<uint32_t>(jpeg.size()), dib.data(),
                              static_cast<uint32_t>(dib.size()), &ow, &oh),
              1);
    EXPECT_EQ(ow, w);
    EXPECT_EQ(oh, h);
    if (gray) {
      for (size_t i = 0; i < dib.size(); i += 3) {
        EXPECT_EQ(dib[i], dib[i + 1]);
        EXPECT_EQ(dib[i], dib[i + 2]);
      }
    } else if (w % 8 == 0 && h % 8 == 0) {
      EXPECT_LE(MaxDifference(dib.data(), Flipped(picture, w, h).data(), dib.size()), 8);
    }
  }
}

TEST(DecodeJpegToDib, PictureLargerThanTheDestinationIsRefusedUntouched) {
  const std::vector<uint8_t> jpeg = DeviceJpeg(QuadrantPicture(32, 16), 32, 16);
  std::vector<uint8_t> dib(32 * 16 * 3 - 1, 0x77);
  uint16_t w = 0, h = 0;
  EXPECT_EQ(DecodeJpegToDib(jpeg.data(), static_cast<uint32_t>(jpeg.size()), dib.data(),
                            static_cast<uint32_t>(dib.size()), &w, &h),
            0);
  EXPECT_EQ(w, 32);  // the size is told as soon as the header is read
  EXPECT_EQ(h, 16);
  for (uint8_t b : dib) ASSERT_EQ(b, 0x77);
}

TEST(DecodeJpegToDib, DamagedPicturesFail) {
  const std::vector<uint8_t> jpeg = DeviceJpeg(QuadrantPicture(64, 64), 64, 64);
  std::vector<uint8_t> dib(64 * 64 * 3);
  uint16_t w = 0, h = 0;
  const uint8_t garbage[] = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02};
  EXPECT_EQ(DecodeJpegToDib(garbage, sizeof garbage, dib.data(), 12288, &w, &h), 0);
  EXPECT_EQ(DecodeJpegToDib(jpeg.data(), static_cast<uint32_t>(jpeg.size() / 2), dib.data(),
                            static_cast<uint32_t>(dib.size()), &w, &h),
            0);
  EXPECT_EQ(DecodeJpegToDib(jpeg.data(), 0, dib.data(), static_cast<uint32_t>(dib.size()), &w, &h),
            0);
}

// One decoder kept across pictures (the compose thread's) gives what a fresh one gives, also
// after a damaged picture, a picture too large for its destination and a change of size.
TEST(DecodeJpegToDib, KeptDecoderMatchesAFreshOneAfterFailures) {
  const std::vector<uint8_t> big = DeviceJpeg(QuadrantPicture(64, 32), 64, 32);
  const std::vector<uint8_t> small = DeviceJpeg(QuadrantPicture(16, 8), 16, 8, 90, true);
  const uint8_t garbage[] = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x01, 0x02};
  struct Step {
    const uint8_t* jpeg;
    size_t length;
    uint32_t room;
    int result;
  };
  const Step steps[] = {
      {big.data(), big.size(), 64 * 32 * 3, 1},     {garbage, sizeof garbage, 64 * 32 * 3, 0},
      {big.data(), big.size() / 2, 64 * 32 * 3, 0}, {big.data(), big.size(), 100, 0},
      {small.data(), small.size(), 64 * 32 * 3, 1}, {big.data(), big.size(), 64 * 32 * 3, 1}};
  CJpegDecoder kept;
  for (size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    std::vector<uint8_t> a(64 * 32 * 3, 0x11), b(64 * 32 * 3, 0x11);
    uint16_t aw = 0, ah = 0, bw = 0, bh = 0;
    EXPECT_EQ(kept.Decode(s.jpeg, static_cast<uint32_t>(s.length), a.data(), s.room, &aw, &ah),
              s.result)
        << i;
    EXPECT_EQ(DecodeJpegToDib(s.jpeg, static_cast<uint32_t>(s.length), b.data(), s.room, &bw, &bh),
              s.result)
        << i;
    if (s.result == 1) {
      EXPECT_EQ(aw, bw) << i;
      EXPECT_EQ(ah, bh) << i;
      EXPECT_EQ(a, b) << i;
    }
  }
}

TEST(Snapshot, FileNameFromTheLocalTime) {
  EXPECT_EQ(SnapshotFileStem({2006, 2, 3, 9, 5, 7}), "060203T090507");
  EXPECT_EQ(SnapshotFileStem({2006, 3, 15, 14, 25, 30}), "060315T142530");
  EXPECT_EQ(SnapshotFileStem({2100, 12, 31, 23, 59, 59}), "001231T235959");
  EXPECT_EQ(SnapshotFilePath("C:\\Snap", "060203T090507.jpg"), "C:\\Snap\\060203T090507.jpg");
  EXPECT_EQ(SnapshotFilePath("C:\\Snap\\", "060203T090507.jpg"), "C:\\Snap\\060203T090507.jpg");
}

}  // namespace
