// Per-frame values of the compose step, and the stream request.
#include <gtest/gtest.h>

#include "live/compose_frame.h"
#include "live/jpeg_frame.h"
#include "live/stream_request.h"

namespace {

TEST(ComposeFrame, IntervalBetweenTimeStamps) {
  struct Case {
    uint32_t previous, current, interval;
  };
  for (const Case& c : {Case{0, 1000, 0}, Case{1000, 1200, 200}, Case{1200, 1000, 200},
                        Case{5, 0, 5}, Case{0xFFFFFFFF, 1, 0xFFFFFFFE}}) {
    EXPECT_EQ(FrameInterval(c.previous, c.current), c.interval) << c.previous << " " << c.current;
  }
}

TEST(ComposeFrame, BlankPictureSize) {
  struct Case {
    uint8_t halfWidth, videoMode;
    uint16_t w, h;
  };
  for (const Case& c :
       {Case{0, 0, 640, 228}, Case{1, 0, 320, 228}, Case{0, 1, 640, 276}, Case{2, 44, 320, 276}}) {
    const BlankFrameSize s = BlankFrameSizeOf(c.halfWidth, c.videoMode);
    EXPECT_EQ(s.wWidth, c.w);
    EXPECT_EQ(s.wHeight, c.h);
  }
}

TEST(JpegFrame, OnlyStartOfImageWithQuantisationTableIsADevicePicture) {
  struct Case {
    uint8_t b[4];
    int expected;
  };
  for (const Case& c : {Case{{0xFF, 0xD8, 0xFF, 0xDB}, 1}, Case{{0xFF, 0xD8, 0xFF, 0xE0}, 0},
                        Case{{0xFF, 0xD8, 0xFF, 0xC0}, 0}, Case{{0xD8, 0xFF, 0xDB, 0xFF}, 0}}) {
    EXPECT_EQ(IsJpegFrame(c.b, 4), c.expected);
  }
}

TEST(StreamRequest, FixedLinesWithCookieAndLocalAddress) {
  const std::string r = BuildStreamRequest("0A1B2C", "127.0.0.1");
  EXPECT_EQ(r,
            "GET /Getvideo.cgi?Cookie=0A1B2C HTTP/1.1\r\n"
            "Accept: */* \r\n"
            "Accept-Language: zh-tw\r\n"
            "Accept-Encoding: gzip, deflate\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR "
            "1.1.4322)\r\n"
            "Host: 127.0.0.1\r\n"
            "Connection: Keep-Alive\r\n"
            "\r\n");
  // An empty cookie is still sent as "Cookie=".
  EXPECT_EQ(BuildStreamRequest("", "10.0.0.2").rfind("GET /Getvideo.cgi?Cookie= HTTP/1.1\r\n", 0),
            0u);
  // More than one block of 512 bytes is refused.
  EXPECT_TRUE(BuildStreamRequest(std::string(400, 'A'), "127.0.0.1").empty());
}

}  // namespace
