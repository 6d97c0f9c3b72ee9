// Command table, query builder and the request text.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"
#include "net/device_http_request.h"

namespace {

TEST(CgiCommandTable, RowsAreNumberedAndSpotPathsMatch) {
  std::set<std::string> paths;
  for (int i = 0; i < kCgiCommandCount; ++i) {
    EXPECT_EQ(CgiCommandTable[i].id, static_cast<uint32_t>(i));
    paths.insert(CgiCommandTable[i].path);
  }
  EXPECT_EQ(paths.size(), 39u);  // 24 and 26 share their path
  EXPECT_STREQ(CgiCommandPath(0), "/Login.cgi");
  EXPECT_STREQ(CgiCommandPath(14), "/Getdeviceinfo.cgi");
  EXPECT_STREQ(CgiCommandPath(28), "/getDefaultLang.cgi");
  EXPECT_STREQ(CgiCommandPath(39), "/SearchPlayBack.cgi");
  EXPECT_STREQ(CgiCommandPath(40), "");
}

TEST(CGIParamList, BuildsQueries) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  CGIParamList reboot(kCgiReboot);
  CGIParamList channel(kCgiSetChannel);
  channel.AddParamInt("CH", 3);
  channel.AddParam("Cookie", "a1b2c3");
  CGIParamList negative(kCgiSetColor);
  negative.AddParam("A", "x y&z=");
  negative.AddParamInt("X", -1);
  CGIParamList reset(kCgiSetChannel);
  reset.AddParamInt("CH", 1);
  reset.Reset();
  reset.AddParamInt("CH", 2);
  CGIParamList v24(kCgiGetVersion), v26(kCgiGetVersion2);
  CGIParamList outside(45);
  outside.AddParam("A", "1");

  const Case cases[] = {
      {"bare path", reboot.GetBuffer(), "/Reboot.cgi"},
      {"? then &", channel.GetBuffer(), "/SetChannel.cgi?CH=3&Cookie=a1b2c3"},
      {"raw value, negative number", negative.GetBuffer(), "/SetColor.cgi?A=x y&z=&X=-1"},
      {"? again after Reset", reset.GetBuffer(), "/SetChannel.cgi?CH=2"},
      {"24 and 26", v24.GetBuffer(), v26.GetBuffer()},
      {"id outside the table", outside.GetBuffer(), "?A=1"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, c.expected) << c.name;
  EXPECT_EQ(channel.GetLength(), static_cast<int32_t>(channel.m_strQuery.size()));
  EXPECT_EQ(channel.m_wParamCount, 2);
  EXPECT_EQ(reset.m_wParamCount, 1);
}

const std::string kHeadTail =
    "Accept-Encoding: gzip, deflate\r\n"
    "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322)\r\n"
    "Host: 10.0.0.7\r\n"
    "Connection: Keep-Alive\r\n\r\n";

TEST(DeviceHttpRequest, ExactBytesWithoutAndWithBody) {
  std::string out;
  ASSERT_TRUE(BuildDeviceHttpRequest("/Reboot.cgi", nullptr, 0, "10.0.0.7", out));
  EXPECT_EQ(out,
            "GET /Reboot.cgi HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\n" + kHeadTail);

  const uint8_t body[5] = {0, 1, 0xFF, '\r', '\n'};
  ASSERT_TRUE(BuildDeviceHttpRequest("/SetSysCfg.cgi?Option=DNS", body, 5, "10.0.0.7", out));
  EXPECT_EQ(out,
            "GET /SetSysCfg.cgi?Option=DNS HTTP/1.1\r\nAccept: */* \r\nAccept-Language: zh-tw\r\n"
            "Content-Length: 5\r\n" +
                kHeadTail + std::string(reinterpret_cast<const char*>(body), 5));

  // A body pointer with length 0 still announces its length.
  ASSERT_TRUE(BuildDeviceHttpRequest("/A.cgi", body, 0, "", out));
  EXPECT_NE(out.find("Content-Length: 0\r\n"), std::string::npos);
  EXPECT_NE(out.find("Host: \r\n"), std::string::npos);
}

TEST(DeviceHttpRequest, WholeRequestMustFitTheBuffer) {
  std::string probe;
  ASSERT_TRUE(
      BuildDeviceHttpRequest("/A.cgi", reinterpret_cast<const uint8_t*>(""), 0, "h", probe));
  const size_t head = probe.size() + 3;  // the bodies below have a four-digit length
  std::vector<uint8_t> body(kDeviceRequestBufferSize);
  std::string out;
  const uint32_t fits = static_cast<uint32_t>(kDeviceRequestBufferSize - head);
  EXPECT_TRUE(BuildDeviceHttpRequest("/A.cgi", body.data(), fits, "h", out));
  EXPECT_EQ(out.size(), kDeviceRequestBufferSize);
  EXPECT_FALSE(BuildDeviceHttpRequest("/A.cgi", body.data(), fits + 1, "h", out));
  EXPECT_TRUE(out.empty());
}

}  // namespace
