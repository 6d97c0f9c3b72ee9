// Configuration blocks read and written against the simulator.
#include "tests/net/protocol_fixture.h"

#include <cstring>

#include "app/sys_cfg_items.h"
#include "mainwnd/main_window_commands.h"
#include "net/sys_cfg_blocks.h"
#include "net/sys_cfg_fields.h"
#include "tests/support/hex_text.h"

namespace nettest {
namespace {

using SysCfgWireTest = ProtocolTest;

// The application data's copy of each option.
uint8_t* CopyOf(int option, bool olderPppoe = false) {
  APP_DATA& a = *g_lpApp;
  switch (option) {
    case kSysCfgInf:
      return a.cfg_INF;
    case kSysCfgIp:
      return a.cfg_IP;
    case kSysCfgSecure:
      return a.cfg_SECURE;
    case kSysCfgDns:
      return a.cfg_DNS;
    case kSysCfgSmtp:
      return a.cfg_SMTP;
    case kSysCfgFtp:
      return a.cfg_FTP;
    case kSysCfgPppoe:
      return olderPppoe ? a.cfg_PPPOE_Old : a.cfg_PPPOE;
    case kSysCfgSystem:
      return a.cfg_SYSTEM;
    case kSysCfgSntp:
      return a.cfg_SNTP;
    case kSysCfgImg:
      return a.cfg_IMG;
    case kSysCfgRs485:
      return a.cfg_RS485;
    case kSysCfgAlarm:
      return a.cfg_ALARM;
    case kSysCfgOnline:
      return a.cfg_ONLINE;
    case kSysCfgDvrLive:
      return a.cfg_DVRLIVE;
    case kSysCfgDvrOsd:
      return a.cfg_DVROSD;
    case kSysCfgDvrRec:
      return a.cfg_DVRREC;
    case kSysCfgPeri:
      return a.cfg_PERI;
  }
  return nullptr;
}

uint8_t SysCfgOptionOf(const std::string& name) {
  for (uint8_t o = 0; o < kSysCfgOptionCount; ++o)
    if (name == SysCfgOptionNames[o]) return o;
  return kSysCfgAll;
}

std::string CopyText(int option, bool olderPppoe = false) {
  return std::string(reinterpret_cast<const char*>(CopyOf(option, olderPppoe)),
                     SysCfgBlockSizes[option]);
}

void FillCopies() {
  for (int o = 0; o < kSysCfgAll; ++o) std::memset(CopyOf(o), 0xEE, SysCfgBlockSizes[o]);
  std::memset(CopyOf(kSysCfgPppoe, true), 0xEE, SysCfgBlockSizes[kSysCfgPppoe]);
}

std::vector<std::string> BlockSettings(bool videoServer) {
  std::vector<std::string> args;
  for (int o = 0; o < kSysCfgAll; ++o) {
    const bool dvrOnly = o == kSysCfgDvrLive || o == kSysCfgDvrOsd || o == kSysCfgDvrRec;
    if (o == kSysCfgOnline || (videoServer ? dvrOnly : o == kSysCfgPeri)) continue;
    args.push_back("--set");
    args.push_back(std::string("block.") + SysCfgOptionNames[o] + "=" +
                   testsupport::CompactHex(Pattern(SysCfgBlockSizes[o], o + 1)));
  }
  args.push_back("--set");
  args.push_back("block.ONLINE=" + testsupport::CompactHex(Pattern(240, 99)));
  return args;
}

TEST_F(SysCfgWireTest, AllInBothLayoutsAndThePppoeThresholds) {
  struct Case {
    const char* product;
    const char* firmware;
    bool videoServer;
    bool olderPppoe;
    int onlineLength;
  };
  const Case cases[] = {
      {"RZ1K", "1051", false, true, 240},
      {"RZ3K", "1052", false, false, 24},
      {"RZ2K", "1006", true, true, 100},
      {"RZ8P", "1007", true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + c.firmware);
    devsim.Stop();
    std::vector<std::string> args = {"--product",       c.product,
                                     "--firmware",      c.firmware,
                                     "--online-length", std::to_string(c.onlineLength)};
    for (const std::string& a : BlockSettings(c.videoServer)) args.push_back(a);
    StartDevice(args);
    const std::string cookie = Login();
    FillCopies();
    ASSERT_EQ(GetSysCfgItem(kSysCfgAll, nullptr, 0), 1);
    EXPECT_EQ(Requests().back().target, "/GetSysCfg.cgi?Option=ALL&Size=0&Cookie=" + cookie);

    for (int o = 0; o < kSysCfgAll; ++o) {
      const bool dvrOnly = o == kSysCfgDvrLive || o == kSysCfgDvrOsd || o == kSysCfgDvrRec;
      const bool carried = c.videoServer ? !dvrOnly : o != kSysCfgPeri;
      if (o == kSysCfgOnline || o == kSysCfgPppoe) continue;
      const std::string expected =
          carried ? StoredBlock(SysCfgOptionNames[o]) : std::string(SysCfgBlockSizes[o], '\xEE');
      EXPECT_EQ(CopyText(o), expected) << SysCfgOptionNames[o];
    }
    EXPECT_EQ(CopyText(kSysCfgPppoe, c.olderPppoe), StoredBlock("PPPOE"));
    EXPECT_EQ(CopyText(kSysCfgPppoe, !c.olderPppoe), std::string(68, '\xEE'));
    EXPECT_EQ(CopyText(kSysCfgOnline),
              Pattern(240, 99).substr(0, c.onlineLength) + std::string(240 - c.onlineLength, '\0'));
  }
}

TEST_F(SysCfgWireTest, RefusedRepliesChangeNothing) {
  StartDevice({"--set", "block.SYSTEM=" + testsupport::CompactHex(Pattern(36, 5))});
  Login();
  FillCopies();
  AddFault("name=short-all&length=2043&count=1");
  EXPECT_EQ(GetSysCfgItem(kSysCfgAll, nullptr, 0), 0);
  AddFault("name=cut-body&bytes=2000&path=/GetSysCfg.cgi&count=1");
  EXPECT_EQ(GetSysCfgItem(kSysCfgAll, nullptr, 0), 0);
  AddFault("name=long-block&count=1");
  EXPECT_EQ(GetSysCfgItem(kSysCfgSystem, CopyOf(kSysCfgSystem), 36), 0);
  AddFault("name=cut-body&bytes=20&path=/GetSysCfg.cgi&count=1");
  EXPECT_EQ(GetSysCfgItem(kSysCfgSystem, CopyOf(kSysCfgSystem), 36), 0);
  AddFault("name=status&code=500&path=/GetSysCfg.cgi&count=1");
  EXPECT_EQ(GetSysCfgItem(kSysCfgSystem, CopyOf(kSysCfgSystem), 36), 0);
  for (int o = 0; o < kSysCfgAll; ++o)
    EXPECT_EQ(CopyText(o), std::string(SysCfgBlockSizes[o], '\xEE')) << SysCfgOptionNames[o];
  EXPECT_EQ(CopyText(kSysCfgPppoe, true), std::string(68, '\xEE'));

  // The same reads succeed without the faults.
  EXPECT_EQ(GetSysCfgItem(kSysCfgSystem, CopyOf(kSysCfgSystem), 36), 1);
  EXPECT_EQ(CopyText(kSysCfgSystem), Pattern(36, 5));
  EXPECT_EQ(GetSysCfgItem(kSysCfgAll, nullptr, 0), 1);
}

TEST_F(SysCfgWireTest, SingleBlocks) {
  StartDevice({"--set", "block.SYSTEM=" + testsupport::CompactHex(Pattern(36, 5)),
               "--online-length", "24", "--set",
               "block.ONLINE=" + testsupport::CompactHex(Pattern(240, 6))});
  const std::string cookie = Login();
  FillCopies();
  ASSERT_EQ(GetSysCfgItem(kSysCfgSystem, CopyOf(kSysCfgSystem), 36), 1);
  EXPECT_EQ(CopyText(kSysCfgSystem), Pattern(36, 5));
  EXPECT_EQ(Requests().back().target, "/GetSysCfg.cgi?Option=SYSTEM&Size=36&Cookie=" + cookie);

  // A complete reply shorter than the block is zero-filled.
  AddFault("name=oversize&length=20&path=/GetSysCfg.cgi&count=1");
  ASSERT_EQ(GetSysCfgItem(kSysCfgSystem, CopyOf(kSysCfgSystem), 36), 1);
  EXPECT_EQ(CopyText(kSysCfgSystem), Pattern(36, 5).substr(0, 20) + std::string(16, '\0'));

  // ONLINE takes what came and leaves the rest.
  ASSERT_EQ(GetSysCfgItem(kSysCfgOnline, CopyOf(kSysCfgOnline), 240), 1);
  EXPECT_EQ(CopyText(kSysCfgOnline), Pattern(240, 6).substr(0, 24) + std::string(216, '\xEE'));
}

TEST_F(SysCfgWireTest, Writes) {
  StartDevice();
  const std::string cookie = Login();
  const std::string dns = Pattern(12, 7), ip = Pattern(24, 8), live = Pattern(772, 9);
  EXPECT_EQ(SetSysCfgItem(kSysCfgDns, dns.data(), 12, 0), 1);
  EXPECT_EQ(SetSysCfgItem(kSysCfgDns, dns.data(), 12, 1), 1);
  EXPECT_EQ(SetSysCfgItem(kSysCfgIp, ip.data(), 24, 1), 1);
  EXPECT_EQ(SetSysCfgItem(kSysCfgDvrLive, live.data(), 772, 0), 1);
  AddFault("name=status&code=500&path=/SetSysCfg.cgi&count=1");
  EXPECT_EQ(SetSysCfgItem(kSysCfgIp, Pattern(24, 1).data(), 24, 0), 0);

  const auto log = Requests();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[1].target, "/SetSysCfg.cgi?Option=DNS&Refresh=False&Cookie=" + cookie);
  EXPECT_EQ(log[2].target, "/SetSysCfg.cgi?Option=DNS&Refresh=True&Cookie=" + cookie);
  EXPECT_EQ(log[3].target, "/SetSysCfg.cgi?Option=IP&Cookie=" + cookie);
  EXPECT_EQ(log[4].target, "/SetSysCfg.cgi?Option=DVRLIVE&Cookie=" + cookie);
  EXPECT_NE(log[4].head.find("\r\nContent-Length: 772\r\n"), std::string::npos);
  EXPECT_EQ(log[1].body, dns);
  EXPECT_EQ(log[4].body, live);
  EXPECT_EQ(StoredBlock("DNS"), dns);
  EXPECT_EQ(StoredBlock("IP"), ip);
  EXPECT_EQ(StoredBlock("DVRLIVE"), live);
}

// Changes an entry to a value it does not hold; returns the bytes it may have changed.
std::pair<size_t, size_t> EditEntry(std::span<uint8_t> block, const CfgField& f, unsigned index) {
  const size_t at = f.offset + size_t{index} * f.stride;
  switch (f.kind) {
    case CfgFieldKind::kText: {
      std::string text = CfgGetText(block, f, index);
      text = text.empty() ? "Q" : text.substr(0, text.size() - 1);
      EXPECT_TRUE(CfgSetText(block, f, text, index));
      break;
    }
    case CfgFieldKind::kIpv4:
    case CfgFieldKind::kIpv4Word: {
      Ipv4Octets o = CfgGetIpv4(block, f, index);
      o[3] ^= 1;
      EXPECT_TRUE(CfgSetIpv4(block, f, o, index));
      break;
    }
    case CfgFieldKind::kBytes:
      block[at] ^= 0x81;
      break;
    default:
      EXPECT_TRUE(CfgSetUint(block, f, CfgGetUint(block, f, index) + 1, index));
  }
  return {at, at + f.width};
}

// Every block the client writes goes through the codec and back: fetched, one field of each
// edited, sent, and stored by the device exactly as the copy holds it, every other byte as it
// was fetched.
TEST_F(SysCfgWireTest, EveryWrittenBlockRoundTripsByteExact) {
  struct Case {
    const char* product;
    const char* firmware;
    std::vector<uint8_t> options;
  };
  const Case cases[] = {
      {"RZ1K",
       "1060",
       {kSysCfgInf, kSysCfgIp, kSysCfgSecure, kSysCfgDns, kSysCfgSmtp, kSysCfgFtp, kSysCfgPppoe,
        kSysCfgSystem, kSysCfgSntp, kSysCfgRs485, kSysCfgAlarm, kSysCfgDvrLive, kSysCfgDvrRec}},
      {"RZ2K", "1006", {kSysCfgPppoe, kSysCfgSystem, kSysCfgAlarm, kSysCfgPeri}},
  };
  for (const Case& c : cases) {
    devsim.Stop();
    StartDevice({"--product", c.product, "--firmware", c.firmware});
    Login();
    g_lpApp->str_ProductID = c.product;
    g_lpApp->str_FWVersion = c.firmware;
    for (uint8_t option : c.options) {
      const std::string name = SysCfgOptionNames[option];
      SCOPED_TRACE(std::string(c.product) + " " + name);
      const std::string stored = StoredBlock(name);
      ASSERT_NE(stored, std::string(stored.size(), '\0')) << "the device starts with settings";
      std::span<uint8_t> copy = SysCfgCopy(*g_lpApp, option);
      ASSERT_EQ(copy.size(), SysCfgBlockSizes[option]);
      ASSERT_EQ(GetSysCfgItem(option, copy.data(), static_cast<uint32_t>(copy.size())), 1);
      ASSERT_EQ(std::string(copy.begin(), copy.end()), stored);

      // The first field of the block in the field table, at its first and last entry.
      const CfgField* field = nullptr;
      for (const CfgField& f : AllCfgFields())
        if (f.option == option && !field) field = &f;
      ASSERT_NE(field, nullptr);
      const auto first = EditEntry(copy, *field, 0);
      const auto last = field->count > 1 ? EditEntry(copy, *field, field->count - 1u) : first;
      const std::string edited(copy.begin(), copy.end());
      ASSERT_NE(edited, stored);

      ASSERT_EQ(SetSysCfgItem(option, copy.data(), static_cast<uint32_t>(copy.size()), 0), 1);
      const std::string after = StoredBlock(name);
      EXPECT_EQ(after, edited);
      EXPECT_EQ(Requests().back().body, edited);
      for (size_t i = 0; i < after.size(); ++i) {
        const bool inField =
            (i >= first.first && i < first.second) || (i >= last.first && i < last.second);
        if (!inField) {
          ASSERT_EQ(after[i], stored[i]) << "byte " << i << " outside " << field->name;
        }
      }
    }
  }
}

// Older firmware fetches block by block in the fixed order, each block into its copy as stored.
TEST_F(SysCfgWireTest, BlockByBlockFetchOnOlderFirmware) {
  struct Case {
    const char* product;
    const char* firmware;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"RZ1K",
       "1023",
       {"IP", "ONLINE", "ALARM", "SECURE", "SMTP", "FTP", "RS485", "DVRLIVE", "DVRREC", "PPPOE",
        "DNS"}},
      {"RZ2K",
       "0002",
       {"IP", "ONLINE", "ALARM", "SECURE", "SMTP", "FTP", "RS485", "PERI", "SNTP", "PPPOE", "DNS"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + c.firmware);
    devsim.Stop();
    StartDevice({"--product", c.product, "--firmware", c.firmware, "--online-length", "48"});
    const std::string cookie = Login();
    APP_DATA& a = *g_lpApp;
    a.str_ProductID = c.product;
    a.str_FWVersion = c.firmware;
    FillCopies();
    const size_t before = Requests().size();
    for (const FetchStep& step : SystemConfigFetchPlan(c.product, c.firmware)) {
      std::span<uint8_t> copy = SysCfgCopy(a, step.option);
      if (step.option == kSysCfgOnline) std::fill(copy.begin(), copy.end(), 0);
      ASSERT_EQ(GetSysCfgItem(step.option, copy.data(), step.size), 1) << int{step.option};
    }
    const auto log = Requests();
    ASSERT_EQ(log.size() - before, c.order.size());
    for (size_t i = 0; i < c.order.size(); ++i) {
      const std::string& name = c.order[i];
      const uint32_t size = SysCfgBlockSizes[SysCfgOptionOf(name)];
      EXPECT_EQ(log[before + i].target, "/GetSysCfg.cgi?Option=" + name +
                                            "&Size=" + std::to_string(size) + "&Cookie=" + cookie);
      const std::span<uint8_t> copy = SysCfgCopy(a, SysCfgOptionOf(name));
      const std::string stored = StoredBlock(name);
      EXPECT_EQ(std::string(copy.begin(), copy.end()),
                name == "ONLINE" ? stored.substr(0, 48) + std::string(192, '\0') : stored)
          << name;
    }
    // Blocks outside the order keep their copies.
    EXPECT_EQ(CopyText(kSysCfgInf), std::string(44, '\xEE'));
    EXPECT_EQ(CopyText(kSysCfgSystem), std::string(36, '\xEE'));
    // The PPPoE copy of the firmware's layout was filled, the other one not.
    EXPECT_EQ(CopyText(kSysCfgPppoe, false), std::string(68, '\xEE'));
  }
}

}  // namespace
}  // namespace nettest
