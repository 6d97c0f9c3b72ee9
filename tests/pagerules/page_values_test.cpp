// The pages' values in their blocks: what loads, what an edit writes, and that an untouched
// page writes nothing.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "pagerules/account_rules.h"
#include "pagerules/alarm_rules.h"
#include "pagerules/ddns_rules.h"
#include "pagerules/ftp_rules.h"
#include "pagerules/general_rules.h"
#include "pagerules/online_rules.h"
#include "pagerules/peripheral_rules.h"

namespace {

template <size_t N>
std::array<uint8_t, N> Pattern() {
  std::array<uint8_t, N> a{};
  for (size_t i = 0; i < N; ++i) a[i] = static_cast<uint8_t>(0x30 + i % 40);
  return a;
}

// Offsets where two blocks differ.
template <size_t N>
std::vector<size_t> Diff(const std::array<uint8_t, N>& a, const std::array<uint8_t, N>& b) {
  std::vector<size_t> d;
  for (size_t i = 0; i < N; ++i)
    if (a[i] != b[i]) d.push_back(i);
  return d;
}

TEST(FtpValues, LoadStoreAndPort) {
  auto ftp = Pattern<104>();
  std::memcpy(&ftp[4], "ftp.example\0", 12);
  std::memcpy(&ftp[68], "up\0", 3);
  ftp[100] = 0x15;
  ftp[101] = 0;
  const auto original = ftp;
  const FtpValues before = LoadFtp(ftp);
  EXPECT_EQ(before.server, "ftp.example");
  EXPECT_EQ(before.user, "");  // 16 characters without a zero: shown empty
  EXPECT_EQ(before.port, 21u);
  EXPECT_FALSE(StoreFtp(before, before, ftp));
  EXPECT_EQ(ftp, original);

  FtpValues now = before;
  now.path = "pics";
  EXPECT_TRUE(StoreFtp(now, before, ftp));
  const auto d = Diff(original, ftp);
  ASSERT_FALSE(d.empty());
  EXPECT_GE(d.front(), 68u);
  EXPECT_LT(d.back(), 100u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&ftp[68])), "pics");

  now.server = std::string(32, 's');  // does not fit: not written
  const auto kept = ftp;
  StoreFtp(now, LoadFtp(ftp), ftp);
  EXPECT_EQ(ftp, kept);

  struct PortCase {
    const char* text;
    bool valid;
    uint32_t port;
  };
  for (const PortCase& c :
       {PortCase{"8021", true, 8021}, PortCase{"70000", false, 21}, PortCase{"0", false, 21},
        PortCase{"a1b2", true, 12}, PortCase{"x", false, 21},
        PortCase{"99999999999999999999", false, 21}}) {
    const FtpPortFilter f = FilterFtpPort(c.text);
    EXPECT_EQ(f.valid, c.valid) << c.text;
    EXPECT_EQ(f.port, c.port) << c.text;
  }
  EXPECT_TRUE(FilterFtpPort("").empty);
}

TEST(AccountValues, DeleteSecondOfFourWritesThreeAndClearsTheRest) {
  std::array<uint8_t, 196> secure{};
  secure[2] = 5;
  const char* names[] = {"admin", "bob", "carol", "dave"};
  for (size_t i = 0; i < 4; ++i) {
    std::strcpy(reinterpret_cast<char*>(&secure[8 + 16 * i]), names[i]);
    std::strcpy(reinterpret_cast<char*>(&secure[88 + 16 * i]), "pw");
    secure[168 + i] = 10;
    secure[176 + 4 * i] = 30;
  }
  AccountTable t = LoadAccounts(secure);
  ASSERT_EQ(t.count, 4);
  EXPECT_EQ(IndexOfLifeTime(t.entries[0].nLifeTime), 5);  // 30 minutes opens as INFINITY
  const auto untouched = secure;
  EXPECT_FALSE(StoreAccounts(t, false, secure));
  EXPECT_EQ(secure, untouched);

  for (size_t i = 1; i + 1 < kAccountSlots; ++i) t.entries[i] = t.entries[i + 1];
  t.entries[kAccountSlots - 1] = {};
  --t.count;
  EXPECT_TRUE(StoreAccounts(t, true, secure));
  EXPECT_STREQ(reinterpret_cast<char*>(&secure[8 + 16]), "carol");
  EXPECT_STREQ(reinterpret_cast<char*>(&secure[8 + 32]), "dave");
  for (size_t i = 3; i < 5; ++i) {
    for (size_t b = 0; b < 16; ++b) {
      EXPECT_EQ(secure[8 + 16 * i + b], 0);
      EXPECT_EQ(secure[88 + 16 * i + b], 0);
    }
  }
  EXPECT_EQ(secure[168 + 3], 10);  // a free entry's level stays
}

TEST(AccountChecks, Refusals) {
  AccountTable t;
  t.maxUsers = 3;
  t.entries[0] = {1, 30, 1, "admin", "pw"};
  t.entries[1] = {1, 10, 1, "bob", "pw"};
  t.count = 2;
  struct Case {
    int edit;
    AccountEdit e;
    AccountCheck expected;
  };
  const Case cases[] = {
      {-1, {"Admin", "x", 0, 0}, AccountCheck::kOk},  // other case: accepted
      {-1, {"admin", "x", 0, 0}, AccountCheck::kNameExists},
      {-1, {"", "x", 0, 0}, AccountCheck::kIncomplete},
      {-1, {"new", "x", -1, 0}, AccountCheck::kIncomplete},
      {-1, {std::string(16, 'n'), "x", 0, 0}, AccountCheck::kTooLong},
      {-1, {"new", std::string(16, 'p'), 0, 0}, AccountCheck::kTooLong},
      {-1, {std::string(15, 'n'), std::string(15, 'p'), 0, 0}, AccountCheck::kOk},
      {1, {"bob", "other", 5, 2}, AccountCheck::kOk},  // its own name
      {1, {"admin", "other", 5, 2}, AccountCheck::kNameExists},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CheckAccount(t, c.edit, c.e), c.expected) << c.e.name << "/" << c.e.password;
  t.entries[2] = {1, 0, 1, "carol", "pw"};
  t.count = 3;
  EXPECT_EQ(CheckAccount(t, -1, {"dave", "x", 0, 0}), AccountCheck::kOverMaxUsers);
  t.maxUsers = 0;
  for (size_t i = 3; i < 5; ++i) t.entries[i] = {1, 0, 1, "u" + std::to_string(i), "pw"};
  t.count = 5;
  EXPECT_EQ(CheckAccount(t, -1, {"eve", "x", 0, 0}), AccountCheck::kTableFull);

  EXPECT_TRUE(SameLoginName("ReVuv", "revuv"));
  EXPECT_FALSE(SameLoginName("revuv", "revu"));
  EXPECT_EQ(RemoveBlanks(" a b  c "), "abc");
}

TEST(AccountChecks, ChoiceMapsAndMaxUsers) {
  EXPECT_EQ(LifeTimeOfIndex(5), 0xFFFFFFFFu);
  EXPECT_EQ(LifeTimeOfIndex(9), 1u);
  EXPECT_EQ(LevelOfIndex(-1), 0);
  EXPECT_EQ(IndexOfLevel(20), 1);
  EXPECT_EQ(IndexOfLevel(7), 3);
  EXPECT_EQ(IndexOfLifeTime(1440), 4);
  EXPECT_EQ(IndexOfLifeTime(0xFFFFFFFFu), 5);
  struct Case {
    const char* text;
    bool changed, message;
    uint32_t value;
  };
  for (const Case& c :
       {Case{"8", true, true, 5}, Case{"0", true, true, 3}, Case{"4", true, false, 4},
        Case{"", false, false, 0}, Case{"x9", true, true, 5}}) {
    const MaxUsersFilter f = FilterMaxUsers(c.text);
    EXPECT_EQ(f.changed, c.changed) << c.text;
    EXPECT_EQ(f.message, c.message) << c.text;
    if (c.changed) {
      EXPECT_EQ(f.value, c.value) << c.text;
    }
  }
}

TEST(PeripheralValues, UnknownCodesAndRatesStayUntilChanged) {
  std::array<uint8_t, 16> peri{};
  peri[2] = 17;  // not in the code table
  peri[3] = 25;
  peri[4] = 0xB0;  // 1200
  peri[5] = 0x04;
  peri[8] = 0x80;  // 9600
  peri[9] = 0x25;
  peri[12] = 7;
  peri[13] = 200;
  const auto original = peri;
  const PeripheralValues before = LoadPeripheral(peri);
  EXPECT_EQ(before.model1, 0);
  EXPECT_EQ(before.model2, 10);
  EXPECT_EQ(before.baud1, 0);
  EXPECT_EQ(before.baud2, 2);
  EXPECT_FALSE(StorePeripheral(before, before, peri).written);
  EXPECT_EQ(peri, original);

  PeripheralValues now = before;
  now.baud2 = 6;
  PeripheralStore s = StorePeripheral(now, before, peri);
  EXPECT_TRUE(s.written);
  EXPECT_FALSE(s.devicesChanged);
  EXPECT_EQ(Diff(original, peri), (std::vector<size_t>{8, 9, 10}));  // 115200 = 0x01C200

  now.id1 = 300;  // refused: the byte stays
  s = StorePeripheral(now, before, peri);
  EXPECT_EQ(peri[12], 7);
  now.id1 = 9;
  now.model1 = 10;
  s = StorePeripheral(now, before, peri);
  EXPECT_TRUE(s.devicesChanged);
  EXPECT_EQ(peri[12], 9);
  EXPECT_EQ(peri[2], 25);
}

TEST(GeneralValues, TextsGatesAndTitle) {
  EXPECT_EQ(DottedFirmware("1052"), "1.0.5.2");
  EXPECT_EQ(ColonMac("0011223344AA"), "00:11:22:33:44:AA");
  int v = 0;
  EXPECT_TRUE(FilterMaxLogList("5000", &v));
  EXPECT_EQ(v, 2048);
  EXPECT_FALSE(FilterMaxLogList("", &v));

  struct GateCase {
    const char* product;
    const char* fw;
    bool log, title, names;
  };
  for (const GateCase& c :
       {GateCase{"RZ2K", "1006", false, true, false}, GateCase{"RZ2K", "1009", true, true, false},
        GateCase{"RZ2K", "1010", true, true, true}, GateCase{"RZ5M", "1006", false, false, false},
        GateCase{"RZ1K", "1000", true, true, false},
        GateCase{"RZ8P", "1000", true, false, false}}) {
    const GeneralGates g = GeneralGatesFor(c.product, c.fw);
    EXPECT_EQ(g.serverLog, c.log) << c.product << c.fw;
    EXPECT_EQ(g.title, c.title) << c.product << c.fw;
    EXPECT_EQ(g.channelNames, c.names) << c.product << c.fw;
  }

  std::array<uint8_t, 36> system = Pattern<36>();
  std::memcpy(&system[20], "FRONT-GATE-1234\0", 16);
  std::array<uint8_t, 124> rs485 = Pattern<124>();
  std::memcpy(&rs485[44], "CH-ONE\0\0CH-TWO\0\0", 16);
  const GeneralGates g = GeneralGatesFor("RZ2K", "1010");
  const auto sys0 = system;
  const auto rs0 = rs485;
  const GeneralValues before = LoadGeneral(system, rs485, g);
  EXPECT_EQ(before.title, "FRONT-GA");
  EXPECT_EQ(before.ch1, "CH-");
  const GeneralStore none = StoreGeneral(before, before, g, system, rs485);
  EXPECT_FALSE(none.system || none.rs485);
  EXPECT_EQ(system, sys0);
  EXPECT_EQ(rs485, rs0);

  GeneralValues now = before;
  now.title = "YARD";
  now.ch2 = "B2";
  const GeneralStore s = StoreGeneral(now, before, g, system, rs485);
  EXPECT_TRUE(s.system && s.rs485);
  for (size_t i : Diff(sys0, system)) {
    EXPECT_GE(i, 20u);
    EXPECT_LT(i, 36u);
  }
  EXPECT_STREQ(reinterpret_cast<char*>(&system[20]), "YARD");
  EXPECT_STREQ(reinterpret_cast<char*>(&rs485[44]), "CH-");
  EXPECT_STREQ(reinterpret_cast<char*>(&rs485[52]), "B2");
}

TEST(AlarmValues, DurationsMethodsAndResolutionKept) {
  std::array<uint8_t, 24> alarm = Pattern<24>();
  alarm[2] = 0;
  alarm[3] = 3;
  alarm[5] = 1;
  alarm[6] = 0;
  alarm[7] = 0;  // not in any row
  const auto original = alarm;
  const AlarmDurationRow row = AlarmDurationsFor("RZ2K");
  ASSERT_EQ(row.count, 6);
  EXPECT_EQ(AlarmDurationsFor("RZ3K").count, 4);
  const AlarmValues before = LoadAlarm(alarm, row);
  EXPECT_EQ(before.duration, 0);
  EXPECT_EQ(before.postIndex, 0);
  EXPECT_EQ(before.resolution, 1);
  EXPECT_FALSE(StoreAlarm(before, before, row, alarm));
  EXPECT_EQ(alarm, original);

  AlarmValues now = before;
  now.duration = 5;  // AUTO
  EXPECT_TRUE(StoreAlarm(now, before, row, alarm));
  EXPECT_EQ(Diff(original, alarm), (std::vector<size_t>{6, 7}));
  EXPECT_EQ(alarm[6], 0xFF);
  EXPECT_EQ(alarm[7], 0xFF);

  // Email / FTP clicks: the last checked box stays.
  EXPECT_EQ(AlarmMethodAfterEmail(1), 1);
  EXPECT_EQ(AlarmMethodAfterEmail(3), 2);
  EXPECT_EQ(AlarmMethodAfterEmail(2), 3);
  EXPECT_EQ(AlarmMethodAfterFtp(3), 1);
  EXPECT_EQ(AlarmMethodAfterFtp(2), 2);
  EXPECT_EQ(AlarmMethodAfterFtp(0), 2);
}

TEST(DdnsValues, BrandsProvidersAndBlocks) {
  EXPECT_EQ(DdnsBrandOf(0x280), DdnsBrand::kTambro);
  EXPECT_EQ(DdnsBrandOf(0x80), DdnsBrand::kCorvanti);
  EXPECT_EQ(DdnsProviderIndex("dyndns"), 1);
  EXPECT_EQ(DdnsProviderIndex("corvanti"), 0);
  EXPECT_TRUE(DdnsAutoShown("RZ1K", 2));
  EXPECT_FALSE(DdnsAutoShown("RZ2K", 2));
  EXPECT_FALSE(DdnsAutoShown("RZ1K", 1));

  std::array<uint8_t, 12> dns = Pattern<12>();
  std::array<uint8_t, 440> smtp = Pattern<440>();
  std::memcpy(&smtp[88], "corvanti\0", 9);
  std::memcpy(&smtp[328], "cam.example\0", 12);
  const auto dns0 = dns;
  const auto smtp0 = smtp;
  const DdnsValues before = LoadDdns(dns, smtp);
  EXPECT_EQ(before.dnsServer, 0x34353637u);
  const DdnsStore none = StoreDdns(before, before, DdnsBrand::kCorvanti, dns, smtp);
  EXPECT_FALSE(none.dns || none.smtp);

  DdnsValues now = before;
  now.host = "yard.example";
  const DdnsStore s = StoreDdns(now, before, DdnsBrand::kCorvanti, dns, smtp);
  EXPECT_FALSE(s.dns);
  EXPECT_TRUE(s.smtp);
  EXPECT_EQ(dns, dns0);
  for (size_t i : Diff(smtp0, smtp)) {
    EXPECT_GE(i, 328u);
    EXPECT_LT(i, 376u);
  }
  EXPECT_STREQ(reinterpret_cast<char*>(&smtp[88]), "corvanti");

  now.dnsServer = 0x0A000001;
  now.provider = 2;
  const DdnsStore t = StoreDdns(now, before, DdnsBrand::kNone, dns, smtp);
  EXPECT_TRUE(t.dns && t.smtp);
  EXPECT_EQ(Diff(dns0, dns), (std::vector<size_t>{4, 5, 6, 7}));
  EXPECT_EQ(dns[4], 10);
  EXPECT_STREQ(reinterpret_cast<char*>(&smtp[88]), "statdns");
}

TEST(OnlineRows, FamilyResolutionAndCells) {
  std::array<uint8_t, 240> online{};
  std::memcpy(&online[0], "revuv", 5);
  online[16] = 127;
  online[19] = 1;
  online[20] = 30;
  online[21] = 0;
  online[22] = 0;
  online[23] = 1;
  std::memcpy(&online[48], "guest", 5);  // entry 2; entry 1 empty
  online[48 + 20] = 5;
  online[48 + 21] = 3;
  online[48 + 22] = 7;
  online[48 + 23] = 9;
  std::memcpy(&online[120], "late", 4);  // entry 5: never shown
  const auto rows = OnlineUserRows(online, "RZ2K", true);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].address, "127.0.0.1");
  EXPECT_EQ(rows[0].resolution, "704*576");
  EXPECT_EQ(rows[0].channel, "DVR");
  EXPECT_EQ(rows[0].levelTextId, 3011u);
  EXPECT_EQ(rows[0].qualityTextId, 2108u);
  EXPECT_EQ(rows[1].levelTextId, 0u);
  EXPECT_EQ(rows[1].resolution, "");
  EXPECT_EQ(rows[1].qualityTextId, 0u);
  EXPECT_EQ(rows[1].channel, " 3");
  EXPECT_EQ(OnlineUserRows(online, "RZ1K", false)[0].resolution, "640*456");
  EXPECT_EQ(OnlineUserRows(online, "RZ8P", false)[0].resolution, "640*480");
}

}  // namespace
