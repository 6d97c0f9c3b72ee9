// Configuration-block queries and the cutting of "ALL".
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "net/cgi_command_table.h"
#include "net/sys_cfg_blocks.h"

namespace {

TEST(SysCfgRequests, Queries) {
  struct Case {
    const char* name;
    bool set;
    uint8_t option;
    uint32_t size;
    bool refresh;
    const char* cookie;
    const char* expected;
  };
  const Case cases[] = {
      {"get SYSTEM", false, kSysCfgSystem, 36, false, "c1",
       "/GetSysCfg.cgi?Option=SYSTEM&Size=36&Cookie=c1"},
      {"get ALL", false, kSysCfgAll, 0, false, "c1", "/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=c1"},
      {"get without cookie", false, kSysCfgInf, 44, false, "", "/GetSysCfg.cgi?Option=INF&Size=44"},
      {"set DNS", true, kSysCfgDns, 0, false, "c1",
       "/SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=c1"},
      {"set DNS refresh", true, kSysCfgDns, 0, true, "c1",
       "/SetSysCfg.cgi?Option=DNS&Refresh=True&Cookie=c1"},
      {"set IP: no Refresh", true, kSysCfgIp, 0, true, "c1", "/SetSysCfg.cgi?Option=IP&Cookie=c1"},
      {"set DVRLIVE", true, kSysCfgDvrLive, 0, false, "c1",
       "/SetSysCfg.cgi?Option=DVRLIVE&Cookie=c1"},
  };
  for (const Case& c : cases) {
    CGIParamList request(c.set ? kCgiSetSysCfg : kCgiGetSysCfg);
    if (c.set)
      BuildSetSysCfgRequest(request, c.option, c.refresh, c.cookie);
    else
      BuildGetSysCfgRequest(request, c.option, c.size, c.cookie);
    EXPECT_STREQ(request.GetBuffer(), c.expected) << c.name;
  }
}

TEST(SysCfgBlocks, NamesAndSizes) {
  EXPECT_STREQ(SysCfgOptionName(kSysCfgPppoe), "PPPOE");
  EXPECT_STREQ(SysCfgOptionName(kSysCfgAll), "ALL");
  EXPECT_STREQ(SysCfgOptionName(18), "");
  uint32_t common = 0;
  for (int o = kSysCfgInf; o <= kSysCfgAlarm; ++o) common += SysCfgBlockSizes[o];
  EXPECT_EQ(common + SysCfgBlockSizes[kSysCfgPeri],
            SysCfgAllFixedSize(SysCfgAllLayout::kVideoServer));
  EXPECT_EQ(common + SysCfgBlockSizes[kSysCfgDvrLive] + SysCfgBlockSizes[kSysCfgDvrOsd] +
                SysCfgBlockSizes[kSysCfgDvrRec],
            SysCfgAllFixedSize(SysCfgAllLayout::kDvr));
}

// Copies of every block, pre-filled with 0xEE.
struct Copies {
  std::map<int, std::vector<uint8_t>> block;
  SysCfgAllTargets targets;
  Copies() {
    for (int o = 0; o < kSysCfgAll; ++o) {
      block[o].assign(SysCfgBlockSizes[o], 0xEE);
      targets.block[o] = block[o].data();
    }
  }
};

// A reply whose every byte tells its offset's block: byte = offset % 251.
std::vector<uint8_t> NumberedReply(uint32_t length) {
  std::vector<uint8_t> body(length);
  for (uint32_t i = 0; i < length; ++i) body[i] = static_cast<uint8_t>(i % 251);
  return body;
}

void ExpectBlockAt(const Copies& c, int option, uint32_t offset) {
  const auto& b = c.block.at(option);
  for (uint32_t i = 0; i < b.size(); ++i)
    ASSERT_EQ(b[i], static_cast<uint8_t>((offset + i) % 251))
        << SysCfgOptionName(option) << " " << i;
}

void ExpectUntouched(const Copies& c, int option) {
  for (uint8_t v : c.block.at(option)) ASSERT_EQ(v, 0xEE) << SysCfgOptionName(option);
}

TEST(CutSysCfgAll, BothLayoutsAtTheirOffsets) {
  struct Place {
    int option;
    uint32_t offset;
  };
  const Place common[] = {{kSysCfgInf, 0},     {kSysCfgIp, 44},      {kSysCfgSecure, 68},
                          {kSysCfgDns, 264},   {kSysCfgSmtp, 276},   {kSysCfgFtp, 716},
                          {kSysCfgPppoe, 820}, {kSysCfgSystem, 888}, {kSysCfgSntp, 924},
                          {kSysCfgImg, 960},   {kSysCfgRs485, 972},  {kSysCfgAlarm, 1096}};

  Copies vs;
  const auto vsBody = NumberedReply(1136 + 100);
  ASSERT_TRUE(CutSysCfgAll(vsBody.data(), 1236, true, SysCfgAllLayout::kVideoServer, vs.targets));
  for (const Place& p : common) ExpectBlockAt(vs, p.option, p.offset);
  ExpectBlockAt(vs, kSysCfgPeri, 1120);
  for (int o : {kSysCfgDvrLive, kSysCfgDvrOsd, kSysCfgDvrRec}) ExpectUntouched(vs, o);
  const auto& online = vs.block[kSysCfgOnline];
  for (uint32_t i = 0; i < 100; ++i) ASSERT_EQ(online[i], (1136 + i) % 251) << i;
  for (uint32_t i = 100; i < 240; ++i) ASSERT_EQ(online[i], 0) << i;

  Copies dvr;
  const auto dvrBody = NumberedReply(2044 + 240);
  ASSERT_TRUE(CutSysCfgAll(dvrBody.data(), 2284, true, SysCfgAllLayout::kDvr, dvr.targets));
  for (const Place& p : common) ExpectBlockAt(dvr, p.option, p.offset);
  ExpectBlockAt(dvr, kSysCfgDvrLive, 1120);
  ExpectBlockAt(dvr, kSysCfgDvrOsd, 1892);
  ExpectBlockAt(dvr, kSysCfgDvrRec, 1912);
  ExpectBlockAt(dvr, kSysCfgOnline, 2044);
  ExpectUntouched(dvr, kSysCfgPeri);
}

TEST(CutSysCfgAll, OnlineRest) {
  struct Case {
    uint32_t rest;
    uint32_t filled;
  };
  for (const Case c : {Case{0, 0}, Case{240, 240}, Case{241, 0}}) {
    Copies copies;
    const auto body = NumberedReply(1136 + c.rest);
    ASSERT_TRUE(CutSysCfgAll(body.data(), 1136 + c.rest, true, SysCfgAllLayout::kVideoServer,
                             copies.targets));
    const auto& online = copies.block[kSysCfgOnline];
    for (uint32_t i = 0; i < 240; ++i)
      ASSERT_EQ(online[i], i < c.filled ? (1136 + i) % 251 : 0) << c.rest << " " << i;
  }
}

TEST(CutSysCfgAll, ShortOrIncompleteRepliesChangeNothing) {
  struct Case {
    SysCfgAllLayout layout;
    uint32_t length;
    bool complete;
  };
  const Case cases[] = {{SysCfgAllLayout::kVideoServer, 1135, true},
                        {SysCfgAllLayout::kDvr, 2043, true},
                        {SysCfgAllLayout::kDvr, 1136, true},
                        {SysCfgAllLayout::kVideoServer, 1200, false},
                        {SysCfgAllLayout::kDvr, 0, true}};
  for (const Case& c : cases) {
    Copies copies;
    const auto body = NumberedReply(c.length + 1);
    EXPECT_FALSE(CutSysCfgAll(body.data(), c.length, c.complete, c.layout, copies.targets))
        << c.length;
    for (int o = 0; o < kSysCfgAll; ++o) ExpectUntouched(copies, o);
  }
}

TEST(CutSysCfgAll, NullTargetsAreSkipped) {
  SysCfgAllTargets targets;
  uint8_t inf[44] = {};
  targets.block[kSysCfgInf] = inf;
  const auto body = NumberedReply(2044);
  EXPECT_TRUE(CutSysCfgAll(body.data(), 2044, true, SysCfgAllLayout::kDvr, targets));
  EXPECT_EQ(inf[43], 43);
}

}  // namespace

namespace {

TEST(SysCfgAllRules, LayoutAndPppoeCopyByFamilyAndFirmware) {
  struct Case {
    const char* id;
    const char* fw;
    SysCfgAllLayout layout;
    bool older;
  };
  const auto vs = SysCfgAllLayout::kVideoServer;
  const auto dvr = SysCfgAllLayout::kDvr;
  const Case cases[] = {
      {"RZ1K", "1051", dvr, true}, {"RZ1K", "1052", dvr, false}, {"RZ3K", "1053", dvr, false},
      {"RZ4K", "1006", dvr, true}, {"RZ2K", "1006", vs, true},   {"RZ2K", "1007", vs, false},
      {"RZ5M", "1051", vs, false}, {"RZ8P", "1000", vs, true},   {"ABCD", "1051", dvr, true},
      {"RZ1K", "105", dvr, false}, {"", "", dvr, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SysCfgAllLayoutFor(c.id), c.layout) << c.id;
    EXPECT_EQ(PppoeUsesOlderCopy(c.id, c.fw), c.older) << c.id << c.fw;
  }
}

}  // namespace
