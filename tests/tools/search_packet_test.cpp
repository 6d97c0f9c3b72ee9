// The search datagram against known bytes, the field texts, the tables and the address checks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "text/text_bytes.h"
#include "tools/search_packet.h"

namespace {

std::vector<uint8_t> Bytes(const SEARCH_PACKET& p) {
  const auto a = EncodeSearchPacket(p);
  return {a.begin(), a.end()};
}

std::vector<uint8_t> Hex(const char* text) {
  std::vector<uint8_t> out;
  unsigned v;
  int n;
  while (std::sscanf(text, "%2x%n", &v, &n) == 1) {
    out.push_back(static_cast<uint8_t>(v));
    text += n;
    while (*text == ' ') ++text;
  }
  return out;
}

TEST(SearchPacket, RequestsMatchTheirBytes) {
  EXPECT_EQ(Bytes(MakeSearchRequest({192, 168, 1, 5})),
            Hex("51 58 5F 53 45 41 52 43 48 00 00 00 00 00 00 00 "
                "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                "00 00 00 00 00 00 00 00 C0 A8 01 05 00 00 00 00 "
                "00 00 00 00 00 00 00 00 05 0D 00 00"));
  SetupFields f;
  f.mac = *ParseMacText("02:1a:2b:3c:4d:5e");
  f.user = "admin";
  f.password = "1234";
  f.ip = *ParseStrictAddress("192.168.1.20");
  f.netMask = *ParseStrictAddress("255.255.255.0");
  f.gateway = f.dns = *ParseStrictAddress("192.168.1.1");
  f.port = 8080;
  EXPECT_EQ(Bytes(MakeSetupRequest(SetupCommand::kSetIp, f)),
            Hex("51 58 5F 53 45 54 5F 49 50 00 00 00 00 00 00 00 "
                "02 00 02 1A 2B 3C 4D 5E 61 64 6D 69 6E 00 00 00 "
                "00 00 00 00 00 00 00 00 31 32 33 34 00 00 00 00 "
                "00 00 00 00 00 00 00 00 C0 A8 01 14 FF FF FF 00 "
                "C0 A8 01 01 C0 A8 01 01 90 1F 00 00"));
  const std::vector<uint8_t> reset = Bytes(MakeSetupRequest(SetupCommand::kReset, f));
  EXPECT_EQ(std::vector<uint8_t>(reset.begin(), reset.begin() + 9),
            Hex("51 58 5F 52 45 53 45 54 00"));
  EXPECT_EQ(reset[16], 3);
}

TEST(SearchPacket, RepliesDecodeOnlyAtTheirExactSize) {
  SEARCH_PACKET p = MakeSearchRequest({10, 0, 0, 7});
  p.byTypeOrResult = 200;
  const uint8_t mac[6] = {0x02, 0x1A, 0x2B, 0x3C, 0xff, 0xff};
  std::memcpy(p.byMac, mac, 6);
  p.byPortLo = 0x90, p.byPortHi = 0x1F;
  const auto bytes = EncodeSearchPacket(p);
  const SearchReplyTexts t = SearchReplyToTexts(*DecodeSearchPacket(bytes.data(), 76));
  EXPECT_EQ(t.mac, "02:1a:2b:3c:ff:ff");
  EXPECT_EQ(t.ip, "10.0.0.7");
  EXPECT_EQ(t.netMask, "0.0.0.0");
  EXPECT_EQ(t.port, 8080u);
  EXPECT_EQ(t.type, 50);  // outside the table: a video server
  EXPECT_FALSE(DecodeSearchPacket(bytes.data(), 75));
  const std::vector<uint8_t> longer(77, 0);
  EXPECT_FALSE(DecodeSearchPacket(longer.data(), longer.size()));
}

TEST(SearchPacket, TypeAndResultTables) {
  const struct {
    uint8_t code;
    const char* text;
    bool setup;
  } types[] = {{50, "Video Server", true},
               {83, "4CH MPEG4 DVR", true},
               {85, "8CH MPEG4 DVR", true},
               {87, "16CH MPEG4 DVR", true},
               {113, "4CH NETWORK DVR", false},
               {115, "4CH NETWORK DVR", false},
               {118, "9CH NETWORK DMR", false},
               {119, "16CH NETWORK DMR", false},
               {132, "4CH NETWORK MPEG2 DVR", false},
               {200, "Video Server", true}};
  for (const auto& t : types) {
    EXPECT_STREQ(DeviceTypeText(t.code), t.text) << int(t.code);
    EXPECT_EQ(DeviceTypeAllowsSetup(StoredDeviceType(t.code)), t.setup) << int(t.code);
  }
  const struct {
    SetupCommand command;
    uint8_t result;
    int message;
  } results[] = {{SetupCommand::kSetIp, 0, 4081}, {SetupCommand::kSetIp, 1, 4005},
                 {SetupCommand::kSetIp, 2, 4102}, {SetupCommand::kSetIp, 7, 4004},
                 {SetupCommand::kReset, 0, 4081}, {SetupCommand::kReset, 1, 4062},
                 {SetupCommand::kReset, 2, 4102}, {SetupCommand::kReset, 7, 4061}};
  for (const auto& r : results)
    EXPECT_EQ(SetupResultMessageId(r.command, r.result), r.message) << int(r.result);
}

TEST(SearchPacket, OnlyWholeValidAddressesAreSentToADevice) {
  // The loose split keeps the low bits; the set-up check refuses what it would mangle.
  uint8_t loose[4];
  SplitToNumbers("192.168.1.300", loose, 4, ".");
  EXPECT_EQ(loose[3], 0x2C);
  for (const char* bad : {"192.168.1.300", "10.0.0", "1..2.3", "1.2.3.4.5", "", "a.b.c.d",
                          "1.2.3.4 ", " 1.2.3.4", "1.2.3.-4", "1.2.3.1000", "256.0.0.1"})
    EXPECT_FALSE(ParseStrictAddress(bad)) << bad;
  EXPECT_EQ(ParseStrictAddress("192.168.1.10"), (std::array<uint8_t, 4>{0xC0, 0xA8, 1, 0x0A}));
  EXPECT_EQ(ParseStrictAddress("0.0.0.0"), (std::array<uint8_t, 4>{0, 0, 0, 0}));
  EXPECT_FALSE(ParseMacText("02:1a:2b:3c:4d"));
  EXPECT_FALSE(ParseMacText("02:1a:2b:3c:4d:5g"));
  EXPECT_FALSE(ParseMacText("02-1a-2b-3c-4d-5e"));
}

}  // namespace
