// Key-value replies and the login reply.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "net/cgi_param_list.h"
#include "net/cgi_command_table.h"
#include "net/key_value_reply.h"
#include "net/login_reply.h"

namespace {

TEST(KeyValueReply, FindsValuesBySubstring) {
  const KeyValueReply reply(std::string_view("A=1;LIFETIMEX=5;B=;C=x\0D=hidden;", 32));
  struct Case {
    const char* key;
    size_t skip;
    bool found;
    std::string value;
  };
  const Case cases[] = {
      {"A=", 0, true, "1"},        {"A", 1, true, "1"},
      {"LIFETIME", 1, true, "=5"},                       // the skipped character is not checked
      {"B=", 0, true, ""},         {"B", 2, false, ""},  // the ";" comes before the value's start
      {"C=", 0, false, ""},                              // no ";" after it
      {"D=", 0, false, ""},                              // after the first zero byte
      {"a=", 0, false, ""},                              // keys have case
  };
  for (const Case& c : cases) {
    const auto item = reply.Find(c.key, c.skip);
    ASSERT_EQ(item.has_value(), c.found) << c.key;
    if (item) {
      EXPECT_EQ(item->value, c.value) << c.key;
    }
  }
  EXPECT_EQ(reply.Number("LIFETIME", 1), 0);
  EXPECT_FALSE(reply.Find("A=", 0, 4).has_value());  // searched from a position
}

TEST(KeyValueReply, LongValuesAreCut) {
  const std::string text = "K=" + std::string(300, 'v') + ";";
  const KeyValueReply reply(text);
  EXPECT_EQ(reply.Text("K=", 0)->size(), KeyValueReply::kMaxValueLength);
}

TEST(ReplyDecimal, ReadsAsAtoiKeepingTheLowBits) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case cases[] = {{"300", 300},
                        {"  \t-12x", -12},
                        {"+7", 7},
                        {"", 0},
                        {"abc", 0},
                        {"=5", 0},
                        {"4294967340", 44},
                        {"-", 0},
                        {"2147483648", INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(ReplyDecimal(c.text), c.value) << c.text;
  EXPECT_EQ(static_cast<uint8_t>(ReplyDecimal("300")), 44);
}

TEST(LoginRequest, UserAndPasswordAsTyped) {
  CGIParamList request(kCgiLogin);
  BuildLoginRequest(request, "revuv", "p&ss word");
  EXPECT_STREQ(request.GetBuffer(), "/Login.cgi?Username=revuv&Password=p&ss word");
}

constexpr const char* kFullReply =
    "Session-ID=7f3a9c21e0b45d18;Firmware-Version=1035;Product-ID=RZ1K;MAC-Address=0011223344AA;"
    "Host-Name=dvr;";

LoginReplyRecord Stale() {
  LoginReplyRecord r;
  std::strcpy(r.szCookie, "stale");
  r.str_FWVersion = "0000";
  r.str_ProductID = "OLD1";
  std::memcpy(r.str_MACAddress, "FFFFFFFFFFFF", 12);
  r.str_HostName = "old";
  r.m_wLastMac1 = 1;
  r.m_wLastMac2 = 2;
  return r;
}

TEST(ApplyLoginReply, WorkedReplies) {
  struct Case {
    const char* name;
    std::string reply;
    LoginReplyOptions options;
    LoginReplyResult result;
    std::string cookie, fw, pid, mac, host;
    uint16_t mac1, mac2;
  };
  const LoginReplyOptions window{true, true}, worker{false, false}, relogin{false, true};
  const std::string noSession =
      "Firmware-Version=1035;Product-ID=RZ1K;MAC-Address=0011223344AA;Host-Name=dvr;";
  const Case cases[] = {
      {"full reply, login window", kFullReply, window, LoginReplyResult::kAccepted,
       "7f3a9c21e0b45d18", "1035", "RZ1K", "0011223344AA", "dvr", 68, 170},
      {"full reply, worker: no MAC bytes", kFullReply, worker, LoginReplyResult::kAccepted,
       "7f3a9c21e0b45d18", "1035", "RZ1K", "0011223344AA", "dvr", 1, 2},
      {"no Session-ID stores nothing", noSession, window, LoginReplyResult::kNoSession, "stale",
       "0000", "OLD1", "FFFFFFFFFFFF", "old", 1, 2},
      {"Session-ID of 64 characters", "Session-ID=" + std::string(64, 's') + ";" + noSession,
       relogin, LoginReplyResult::kNoSession, "stale", "0000", "OLD1", "FFFFFFFFFFFF", "old", 1, 2},
      {"unknown Product-ID, login window",
       "Session-ID=s1;Product-ID=ABCD;MAC-Address=0011223344AA;Host-Name=x;", window,
       LoginReplyResult::kUnsupportedDevice, "s1", "0000", "ABCD", "FFFFFFFFFFFF", "old", 1, 2},
      {"unknown Product-ID, relogin", "Session-ID=s1;Product-ID=ABCD;MAC-Address=0011223344AA;",
       relogin, LoginReplyResult::kAccepted, "s1", "0000", "ABCD", "0011223344AA", "old", 68, 170},
      {"Product-ID in other case is refused", "Session-ID=s1;Product-ID=rz1k;", window,
       LoginReplyResult::kUnsupportedDevice, "s1", "0000", "rz1k", "FFFFFFFFFFFF", "old", 1, 2},
      {"no Product-ID passes the check", "Session-ID=s1;Host-Name=h;", window,
       LoginReplyResult::kAccepted, "s1", "0000", "OLD1", "FFFFFFFFFFFF", "h", 1, 2},
      {"short MAC: zero bytes, no MAC bytes", "Session-ID=s1;MAC-Address=00AB;", window,
       LoginReplyResult::kAccepted, "s1", "0000", "OLD1", std::string("00AB\0\0\0\0\0\0\0\0", 12),
       "old", 1, 2},
      {"lower-case MAC digits", "Session-ID=s1;MAC-Address=0011223344ab;", window,
       LoginReplyResult::kAccepted, "s1", "0000", "OLD1", "0011223344ab", "old", 68, 171},
      {"bad MAC digit leaves the bytes", "Session-ID=s1;MAC-Address=0011223344AG;", window,
       LoginReplyResult::kAccepted, "s1", "0000", "OLD1", "0011223344AG", "old", 1, 2},
      {"long MAC: first 12 characters, no bytes", "Session-ID=s1;MAC-Address=0011223344AABB;",
       window, LoginReplyResult::kAccepted, "s1", "0000", "OLD1", "0011223344AA", "old", 1, 2},
      {"Host-Name without ; is missing", "Session-ID=s1;Host-Name=abc", window,
       LoginReplyResult::kAccepted, "s1", "0000", "OLD1", "FFFFFFFFFFFF", "old", 1, 2},
  };
  for (const Case& c : cases) {
    LoginReplyRecord r = Stale();
    EXPECT_EQ(ApplyLoginReply(KeyValueReply(c.reply), c.options, r), c.result) << c.name;
    EXPECT_STREQ(r.szCookie, c.cookie.c_str()) << c.name;
    EXPECT_EQ(r.str_FWVersion, c.fw) << c.name;
    EXPECT_EQ(r.str_ProductID, c.pid) << c.name;
    EXPECT_EQ(std::string(r.str_MACAddress, 12), c.mac) << c.name;
    EXPECT_EQ(r.str_HostName, c.host) << c.name;
    EXPECT_EQ(r.m_wLastMac1, c.mac1) << c.name;
    EXPECT_EQ(r.m_wLastMac2, c.mac2) << c.name;
  }
}

TEST(ApplyLoginReply, ShorterCookieLeavesNoTraceOfTheLonger) {
  LoginReplyRecord r;
  ApplyLoginReply(KeyValueReply("Session-ID=" + std::string(63, 'L') + ";"), {}, r);
  EXPECT_EQ(std::strlen(r.szCookie), 63u);
  ApplyLoginReply(KeyValueReply("Session-ID=ab;"), {}, r);
  EXPECT_STREQ(r.szCookie, "ab");
  for (size_t i = 2; i < sizeof r.szCookie; ++i) EXPECT_EQ(r.szCookie[i], 0) << i;
}

TEST(ProductIds, AcceptedEightOnly) {
  for (const char* id : {"RZ1K", "RZ2K", "RZ3K", "RZ4K", "RZ5M", "RZ6M", "RZ7M", "RZ8P"})
    EXPECT_TRUE(IsAcceptedProductId(id)) << id;
  for (const char* id : {"rz3k", "RZ3", "RZ3K ", "", "ABCD"})
    EXPECT_FALSE(IsAcceptedProductId(id)) << id;
}

}  // namespace
