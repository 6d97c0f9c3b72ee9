// The request log: one JSON object per request, with the raw head byte for byte.
#include <chrono>

#include "tests/devsim/devsim_fixture.h"
#include "tests/support/hex_text.h"

namespace devsim_test {
namespace {

TEST_F(DevsimTest, LogRecordsEveryDeviceRequestExactly) {
  StartDevsim();
  auto now_ms = [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  };
  int64_t before = now_ms();
  std::string cookie = Login();
  std::string body("\x00\x01\"\\\xff", 5);
  body.resize(12, 'z');
  std::string request =
      ClientRequest("/SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=" + cookie, body);
  EXPECT_EQ(ParseReply(Raw(request).bytes).status, 200);
  Control("/_devsim/faults");  // control requests are not logged
  Control("/_devsim/fault?name=cut-body&bytes=1&count=1");
  Raw(ClientRequest("/Getdeviceinfo.cgi?Cookie=" + cookie + "&RES=1&QUA=0&CH=2&NEWHR=1"));
  Control("/_devsim/fault?name=drop&count=1");
  Raw(ClientRequest("/Reboot.cgi?Cookie=" + cookie));
  Raw("GARBAGE\r\n\r\n");
  int64_t after = now_ms();

  std::vector<Json> lines = LogLines();
  ASSERT_EQ(lines.size(), 5u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i]["seq"].number, static_cast<double>(i + 1));
    EXPECT_GE(lines[i]["t_ms"].number, static_cast<double>(before));
    EXPECT_LE(lines[i]["t_ms"].number, static_cast<double>(after));
  }

  const Json& set = lines[1];
  EXPECT_EQ(set["method"].text, "GET");
  EXPECT_EQ(set["path"].text, "/SetSysCfg.cgi");
  EXPECT_EQ(set["target"].text, "/SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=" + cookie);
  ASSERT_EQ(set["params"].items.size(), 3u);
  const char* names[] = {"Option", "Refresh", "Cookie"};
  std::string values[] = {"DNS", "False", cookie};
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_EQ(set["params"].items[i].items.size(), 2u);
    EXPECT_EQ(set["params"].items[i].items[0].text, names[i]);
    EXPECT_EQ(set["params"].items[i].items[1].text, values[i]);
  }
  EXPECT_EQ(set["body_len"].number, 12);
  EXPECT_EQ(set["body_hex"].text, testsupport::CompactHex(body));
  EXPECT_EQ(set["head"].text, request.substr(0, request.size() - body.size()));
  EXPECT_EQ(set["status"].number, 200);
  EXPECT_EQ(set["reply_len"].number, 0);
  EXPECT_TRUE(set["faults"].items.empty());
  EXPECT_FALSE(set.Has("error"));
  EXPECT_EQ(set.field_order.front(), "seq");

  const Json& info = lines[2];
  EXPECT_EQ(info["status"].number, 200);
  EXPECT_GT(info["reply_len"].number, 0);
  ASSERT_EQ(info["faults"].items.size(), 1u);
  EXPECT_EQ(info["faults"].items[0].text, "cut-body");

  const Json& dropped = lines[3];
  EXPECT_EQ(dropped["path"].text, "/Reboot.cgi");
  EXPECT_EQ(dropped["status"].type, Json::Type::kNull);
  EXPECT_EQ(dropped["faults"].items[0].text, "drop");

  const Json& garbage = lines[4];
  EXPECT_FALSE(garbage.Has("path"));
  EXPECT_EQ(garbage["head"].text, "GARBAGE\r\n\r\n");
  EXPECT_EQ(garbage["status"].number, 400);
  EXPECT_EQ(garbage["error"].text, "malformed request line");
}

TEST_F(DevsimTest, LogRecordsRequestsThatNeverComplete) {
  StartDevsim({"--read-timeout", "200"});
  Raw("GET /Login.cgi HTTP/1.1\r\nHost: ", 1000);  // head never ends
  Raw("GET /SetSysCfg.cgi?Option=IP HTTP/1.1\r\nContent-Length: 24\r\n\r\nshort",
      1000);  // body never completes
  std::vector<Json> lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["head"].text, "GET /Login.cgi HTTP/1.1\r\nHost: ");
  EXPECT_EQ(lines[0]["error"].text, "request head incomplete: timed out");
  EXPECT_EQ(lines[0]["status"].type, Json::Type::kNull);
  EXPECT_EQ(lines[1]["path"].text, "/SetSysCfg.cgi");
  EXPECT_EQ(lines[1]["body_hex"].text, testsupport::CompactHex("short"));
  EXPECT_EQ(lines[1]["error"].text, "request body incomplete: timed out");
}

}  // namespace
}  // namespace devsim_test
