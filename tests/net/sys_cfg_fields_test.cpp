// The configuration blocks' fields: every field at its offset, the text and number encodings,
// the layout variants by family and firmware, and the sender account's overflow.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/sys_cfg_fields.h"

namespace {

constexpr uint8_t kFill = 0xA5;

std::vector<uint8_t> Filled(uint8_t option, uint8_t value = kFill) {
  return std::vector<uint8_t>(SysCfgBlockSizes[option], value);
}

// What a write of the kind's probe value puts into an entry of the given width.
std::vector<uint8_t> ProbeBytes(CfgFieldKind kind, uint16_t width) {
  switch (kind) {
    case CfgFieldKind::kU8:
    case CfgFieldKind::kS8:
      return {0x3C};
    case CfgFieldKind::kU16:
      return {0x34, 0x12};
    case CfgFieldKind::kU32:
      return {0x78, 0x56, 0x34, 0x12};
    case CfgFieldKind::kIpv4:
    case CfgFieldKind::kIpv4Word:
      return {192, 168, 1, 20};
    case CfgFieldKind::kText: {
      std::vector<uint8_t> bytes(width, 0);
      bytes[0] = 'A';
      bytes[1] = 'B';
      return bytes;
    }
    case CfgFieldKind::kBytes:
      return std::vector<uint8_t>(width, 0x11);
  }
  return {};
}

void WriteProbe(std::span<uint8_t> block, const CfgField& f, unsigned index) {
  switch (f.kind) {
    case CfgFieldKind::kU8:
    case CfgFieldKind::kS8:
      ASSERT_TRUE(CfgSetUint(block, f, 0xFFFFFF3C, index));  // low 8 bits
      EXPECT_EQ(CfgGetUint(block, f, index) & 0xFF, 0x3Cu);
      break;
    case CfgFieldKind::kU16:
      ASSERT_TRUE(CfgSetUint(block, f, 0xABCD1234, index));  // low 16 bits
      EXPECT_EQ(CfgGetUint(block, f, index), 0x1234u);
      break;
    case CfgFieldKind::kU32:
      ASSERT_TRUE(CfgSetUint(block, f, 0x12345678, index));
      EXPECT_EQ(CfgGetUint(block, f, index), 0x12345678u);
      break;
    case CfgFieldKind::kIpv4:
    case CfgFieldKind::kIpv4Word:
      ASSERT_TRUE(CfgSetIpv4(block, f, {192, 168, 1, 20}, index));
      EXPECT_EQ(Ipv4Text(CfgGetIpv4(block, f, index)), "192.168.1.20");
      break;
    case CfgFieldKind::kText:
      ASSERT_TRUE(CfgSetText(block, f, "AB", index));
      EXPECT_EQ(CfgGetText(block, f, index), "AB");
      break;
    case CfgFieldKind::kBytes:
      ASSERT_TRUE(CfgSetBytes(block, f, std::vector<uint8_t>(f.width, 0x11), index));
      break;
  }
}

struct Place {
  const CfgField& field;
  unsigned index;
  uint32_t offset;  // of this entry in its block
  uint32_t width;
};

// Every field of every block and variant, at its first and last entry.
const Place kPlaces[] = {
    {cfg::inf::kDeviceMask, 0, 20, 4},
    {cfg::inf::kModelName, 0, 24, 8},
    {cfg::ip::kIPAddress, 0, 4, 4},
    {cfg::ip::kSubnetMask, 0, 8, 4},
    {cfg::ip::kGateway, 0, 12, 4},
    {cfg::ip::kWebPort, 0, 16, 2},
    {cfg::ip::kAddressType, 0, 22, 1},
    {cfg::ip::kBitRate, 0, 23, 1},
    {cfg::pppoe::kOldUserName, 0, 36, 16},
    {cfg::pppoe::kOldPassword, 0, 52, 16},
    {cfg::pppoe::kUserName, 0, 4, 32},
    {cfg::pppoe::kPassword, 0, 36, 32},
    {cfg::secure::kMaxUsers, 0, 2, 1},
    {cfg::secure::kUserName, 0, 8, 16},
    {cfg::secure::kUserName, 4, 72, 16},
    {cfg::secure::kUserPassword, 0, 88, 16},
    {cfg::secure::kUserPassword, 4, 152, 16},
    {cfg::secure::kUserLevel, 0, 168, 1},
    {cfg::secure::kUserLevel, 4, 172, 1},
    {cfg::secure::kUserLifeTime, 0, 176, 4},
    {cfg::secure::kUserLifeTime, 4, 192, 4},
    {cfg::dns::kDNSAuto, 0, 3, 1},
    {cfg::dns::kDNSServer, 0, 4, 4},
    {cfg::smtp::kSMTPAuth, 0, 4, 1},
    {cfg::smtp::kDDNSEnable, 0, 5, 1},
    {cfg::smtp::kSMTPServer, 0, 8, 64},
    {cfg::smtp::kMailAccount, 0, 72, 16},
    {cfg::smtp::kDDNSProvider, 0, 88, 16},
    {cfg::smtp::kDDNSUser, 0, 104, 16},
    {cfg::smtp::kDDNSPassword, 0, 120, 16},
    {cfg::smtp::kMailRecipient, 0, 136, 48},
    {cfg::smtp::kMailRecipient, 3, 280, 48},
    {cfg::smtp::kDDNSHostName, 0, 328, 48},
    {cfg::smtp::kSMTPUser, 0, 376, 32},
    {cfg::smtp::kSMTPPassword, 0, 408, 32},
    {cfg::ftp::kFTPServer, 0, 4, 32},
    {cfg::ftp::kFTPUser, 0, 36, 16},
    {cfg::ftp::kFTPPassword, 0, 52, 16},
    {cfg::ftp::kFTPPath, 0, 68, 32},
    {cfg::ftp::kFTPPort, 0, 100, 2},
    {cfg::sys::kMailOverflow, 0, 4, 32},
    {cfg::sys::kDeviceTitle, 0, 20, 16},
    {cfg::sntp::kTimeZoneHour, 0, 2, 1},
    {cfg::sntp::kTimeZoneMinute, 0, 3, 1},
    {cfg::sntp::kTimeZoneIndex, 0, 5, 1},
    {cfg::sntp::kSNTPMode, 0, 6, 1},
    {cfg::sntp::kSNTPServer, 0, 8, 28},
    {cfg::sntp::kMailOverflow, 0, 8, 28},
    {cfg::rs485::kDeviceID, 0, 12, 1},
    {cfg::rs485::kDeviceID, 15, 27, 1},
    {cfg::rs485::kDeviceType, 0, 28, 1},
    {cfg::rs485::kDeviceType, 15, 43, 1},
    {cfg::rs485::kProtocol, 0, 44, 1},
    {cfg::rs485::kProtocol, 15, 59, 1},
    {cfg::rs485::kBaudRate, 0, 60, 4},
    {cfg::rs485::kBaudRate, 15, 120, 4},
    {cfg::rs485::kTitleA, 0, 44, 8},
    {cfg::rs485::kTitleB, 0, 52, 8},
    {cfg::alarm::kPostNumber, 0, 2, 1},
    {cfg::alarm::kAlarmMethod, 0, 3, 1},
    {cfg::alarm::kAlarmResolution, 0, 5, 1},
    {cfg::alarm::kAlarmDuration, 0, 6, 2},
    {cfg::alarm::kAlarmInputType, 0, 8, 1},
    {cfg::alarm::kAlarmInputType, 15, 23, 1},
    {cfg::alarm::kAlarmSource, 0, 9, 1},
    {cfg::online::kUserName, 0, 0, 16},
    {cfg::online::kUserName, 9, 216, 16},
    {cfg::online::kIPAddress, 0, 16, 4},
    {cfg::online::kIPAddress, 1, 40, 4},
    {cfg::online::kUserLevel, 0, 20, 1},
    {cfg::online::kChannel, 0, 21, 1},
    {cfg::online::kResolution, 0, 22, 1},
    {cfg::online::kQuality, 0, 23, 1},
    {cfg::online::kQuality, 9, 239, 1},
    {cfg::dvrlive::kBrightness, 0, 4, 1},
    {cfg::dvrlive::kBrightness, 15, 19, 1},
    {cfg::dvrlive::kContrast, 0, 20, 1},
    {cfg::dvrlive::kHue, 0, 36, 1},
    {cfg::dvrlive::kSaturation, 0, 52, 1},
    {cfg::dvrlive::kSaturation, 15, 67, 1},
    {cfg::dvrlive::kCovert, 0, 84, 1},
    {cfg::dvrlive::kCovert, 15, 99, 1},
    {cfg::dvrlive::kCameraTitle, 0, 116, 6},
    {cfg::dvrlive::kCameraTitle, 15, 206, 6},
    {cfg::dvrlive::kMotionDetect, 0, 308, 1},
    {cfg::dvrlive::kMotionLS, 0, 324, 1},
    {cfg::dvrlive::kMotionSS, 0, 340, 1},
    {cfg::dvrlive::kMotionTS, 0, 356, 1},
    {cfg::dvrlive::kMotionRE, 0, 372, 1},
    {cfg::dvrlive::kMotionRE, 15, 387, 1},
    {cfg::dvrlive::kMotionArea, 0, 388, 24},
    {cfg::dvrlive::kMotionArea, 15, 748, 24},
    {cfg::dvrrec::kRecordEnable, 0, 20, 1},
    {cfg::dvrrec::kRecordEnable, 15, 35, 1},
    {cfg::dvrrec::kTimerDay, 0, 87, 1},
    {cfg::dvrrec::kTimerDay, 6, 93, 1},
    {cfg::dvrrec::kTimerStart, 0, 94, 2},
    {cfg::dvrrec::kTimerStart, 6, 106, 2},
    {cfg::dvrrec::kTimerEnd, 0, 108, 2},
    {cfg::dvrrec::kTimerEnd, 6, 120, 2},
    {cfg::peri::kPeri1Model, 0, 2, 1},
    {cfg::peri::kPeri2Model, 0, 3, 1},
    {cfg::peri::kPeri1Baud, 0, 4, 4},
    {cfg::peri::kPeri2Baud, 0, 8, 4},
    {cfg::peri::kPeri1ID, 0, 12, 1},
    {cfg::peri::kPeri2ID, 0, 13, 1},
};

TEST(CfgFields, EveryFieldWritesExactlyItsBytes) {
  for (const Place& p : kPlaces) {
    SCOPED_TRACE(std::string(SysCfgOptionName(p.field.option)) + "." + std::string(p.field.name) +
                 "[" + std::to_string(p.index) + "]");
    std::vector<uint8_t> block = Filled(p.field.option);
    WriteProbe(block, p.field, p.index);
    const std::vector<uint8_t> probe = ProbeBytes(p.field.kind, static_cast<uint16_t>(p.width));
    ASSERT_EQ(probe.size(), p.width);
    for (uint32_t i = 0; i < block.size(); ++i) {
      if (i >= p.offset && i < p.offset + p.width)
        ASSERT_EQ(block[i], probe[i - p.offset]) << "byte " << i;
      else
        ASSERT_EQ(block[i], kFill) << "byte " << i << " outside the field";
    }
  }
}

TEST(CfgFields, EveryFieldIsInTheOffsetTable) {
  for (const CfgField& f : AllCfgFields()) {
    bool found = false;
    for (const Place& p : kPlaces)
      found |= p.field.option == f.option && p.field.offset == f.offset && p.field.name == f.name &&
               p.index == 0 && p.width == f.width;
    EXPECT_TRUE(found) << SysCfgOptionName(f.option) << "." << f.name;
  }
}

TEST(CfgFields, EntriesOutsideTheBlockAreRefused) {
  std::vector<uint8_t> block = Filled(kSysCfgDvrLive);
  EXPECT_FALSE(CfgSetUint(block, cfg::dvrlive::kBrightness, 1, 16));
  EXPECT_FALSE(CfgSetText(block, cfg::dvrlive::kCameraTitle, "A", 16));
  EXPECT_EQ(CfgGetText(block, cfg::dvrlive::kCameraTitle, 16), "");
  // A copy shorter than the block: the entries past its end are refused, not read.
  std::vector<uint8_t> shortCopy(100, kFill);
  EXPECT_FALSE(CfgSetUint(shortCopy, cfg::dvrlive::kMotionDetect, 1));
  EXPECT_EQ(CfgGetUint(shortCopy, cfg::dvrlive::kMotionRE, 3), 0u);
  EXPECT_FALSE(CfgSetBytes(shortCopy, cfg::dvrlive::kMotionArea, std::vector<uint8_t>(24)));
  // Wrong kinds.
  EXPECT_FALSE(CfgSetUint(block, cfg::dvrlive::kCameraTitle, 1));
  EXPECT_FALSE(CfgSetText(block, cfg::dvrlive::kHue, "1"));
  for (uint8_t b : block) ASSERT_EQ(b, kFill);
  for (uint8_t b : shortCopy) ASSERT_EQ(b, kFill);
}

TEST(CfgFields, Texts) {
  struct Case {
    const char* what;
    const CfgField& field;
    std::string written;
    std::string stored;
  };
  const Case cases[] = {
      {"new PPPoE name cut to 31", cfg::pppoe::kUserName, std::string(40, 'n'),
       std::string(31, 'n')},
      {"old PPPoE name cut to 15", cfg::pppoe::kOldUserName, std::string(20, 'o'),
       std::string(15, 'o')},
      {"camera title may fill its field", cfg::dvrlive::kCameraTitle, "ABCDEFG", "ABCDEF"},
      {"RZ2K title cut to 3", cfg::rs485::kTitleA, "ABCDE", "ABC"},
      {"a zero byte ends the text", cfg::ftp::kFTPUser, std::string("ab\0cd", 5), "ab"},
      {"empty", cfg::smtp::kSMTPServer, "", ""},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> block = Filled(c.field.option);
    ASSERT_TRUE(CfgSetText(block, c.field, c.written)) << c.what;
    EXPECT_EQ(CfgGetText(block, c.field), c.stored) << c.what;
    for (uint32_t i = c.stored.size(); i < c.field.width; ++i)
      ASSERT_EQ(block[c.field.offset + i], 0) << c.what << " byte " << i;
  }

  // A full text is read up to its field's end, not into the next field.
  std::vector<uint8_t> live = Filled(kSysCfgDvrLive, 'X');
  EXPECT_EQ(CfgGetText(live, cfg::dvrlive::kCameraTitle, 3), "XXXXXX");
  std::vector<uint8_t> smtp = Filled(kSysCfgSmtp, 'M');
  EXPECT_EQ(CfgGetText(smtp, cfg::smtp::kMailAccount).size(), 16u);

  // Writing the text a field already holds leaves its bytes as the device sent them.
  std::vector<uint8_t> ftp = Filled(kSysCfgFtp, 0);
  const uint8_t stored[] = {'h', 'o', 's', 't', 0, 'o', 'l', 'd'};
  std::copy(std::begin(stored), std::end(stored), ftp.begin() + 4);
  const std::vector<uint8_t> before = ftp;
  ASSERT_TRUE(CfgSetText(ftp, cfg::ftp::kFTPServer, "host"));
  EXPECT_EQ(ftp, before);
  ASSERT_TRUE(CfgSetText(ftp, cfg::ftp::kFTPServer, "hos"));
  EXPECT_EQ(ftp[9], 0);  // a changed text zero-fills its whole field
}

TEST(CfgFields, Numbers) {
  std::vector<uint8_t> sntp = Filled(kSysCfgSntp, 0);
  ASSERT_TRUE(CfgSetUint(sntp, cfg::sntp::kTimeZoneHour, static_cast<uint32_t>(-3)));
  ASSERT_TRUE(CfgSetUint(sntp, cfg::sntp::kTimeZoneMinute, static_cast<uint32_t>(-30)));
  EXPECT_EQ(sntp[2], 0xFD);
  EXPECT_EQ(sntp[3], 0xE2);
  EXPECT_EQ(CfgGetInt(sntp, cfg::sntp::kTimeZoneHour), -3);
  EXPECT_EQ(CfgGetInt(sntp, cfg::sntp::kTimeZoneMinute), -30);

  std::vector<uint8_t> alarm = Filled(kSysCfgAlarm, 0);
  ASSERT_TRUE(CfgSetUint(alarm, cfg::alarm::kAlarmDuration, cfg::alarm::kAutomaticDuration));
  EXPECT_EQ(alarm[6], 0xFF);
  EXPECT_EQ(alarm[7], 0xFF);

  std::vector<uint8_t> rec = Filled(kSysCfgDvrRec, 0);
  ASSERT_TRUE(CfgSetUint(rec, cfg::dvrrec::kTimerEnd, 23 * 256 + 59, 0));
  EXPECT_EQ(rec[108], 0x3B);
  EXPECT_EQ(rec[109], 0x17);

  std::vector<uint8_t> secure = Filled(kSysCfgSecure, 0);
  ASSERT_TRUE(CfgSetUint(secure, cfg::secure::kUserLifeTime, cfg::secure::kNoLifeTimeLimit, 2));
  EXPECT_EQ(CfgGetUint(secure, cfg::secure::kUserLifeTime, 2), 0xFFFFFFFFu);

  // ONLINE's address word: low byte = first octet.
  std::vector<uint8_t> online = Filled(kSysCfgOnline, 0);
  ASSERT_TRUE(CfgSetUint(online, cfg::online::kIPAddress, 0x0401A8C0, 1));
  EXPECT_EQ(Ipv4Text(CfgGetIpv4(online, cfg::online::kIPAddress, 1)), "192.168.1.4");
}

TEST(CfgFields, Ipv4Texts) {
  struct Case {
    const char* text;
    bool ok;
    Ipv4Octets octets;
  };
  const Case cases[] = {
      {"192.168.1.20", true, {192, 168, 1, 20}},
      {"0.0.0.0", true, {0, 0, 0, 0}},
      {"255.255.255.255", true, {255, 255, 255, 255}},
      {"256.1.1.1", false, {}},
      {"1.2.3", false, {}},
      {"1.2.3.4.5", false, {}},
      {"1..3.4", false, {}},
      {"1.2.3.4 ", false, {}},
      {"0001.2.3.4", false, {}},
      {"", false, {}},
  };
  for (const Case& c : cases) {
    Ipv4Octets octets{9, 9, 9, 9};
    EXPECT_EQ(ParseIpv4Text(c.text, octets), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(octets, c.octets) << c.text;
    }
  }
}

TEST(CfgFields, MotionAreaCells) {
  std::vector<uint8_t> live = Filled(kSysCfgDvrLive, 0);
  live[388] = 0x80;
  live[389] = 0x01;
  for (unsigned c = 0; c < 16; ++c)
    EXPECT_EQ(MotionAreaCell(live, 0, 0, c), c == 0 || c == 15) << c;
  ASSERT_TRUE(SetMotionAreaCell(live, 15, 11, 8, true));
  EXPECT_EQ(live[748 + 22], 0x01);  // channel 16, row 12, column 8: first byte's bit 0
  ASSERT_TRUE(SetMotionAreaCell(live, 0, 0, 15, false));
  EXPECT_EQ(live[388], 0x00);
  EXPECT_FALSE(SetMotionAreaCell(live, 16, 0, 0, true));
  EXPECT_FALSE(SetMotionAreaCell(live, 0, 12, 0, true));
  EXPECT_FALSE(MotionAreaCell(live, 0, 0, 16));
}

TEST(CfgVariants, ByFamilyAndFirmware) {
  struct Case {
    const char* id;
    const char* fw;
    PppoeLayout pppoe;
    Rs485Layout rs485;
    AlarmLayout alarm;
    bool bitRate;
    uint8_t overflow;  // option of the sender account's overflow, kSysCfgAll for none
  };
  using P = PppoeLayout;
  using R = Rs485Layout;
  using A = AlarmLayout;
  const Case cases[] = {
      {"RZ1K", "1051", P::kOld, R::kChannels, A::kInputTypes, false, kSysCfgSntp},
      {"RZ1K", "1052", P::kNew, R::kChannels, A::kInputTypes, false, kSysCfgSntp},
      {"RZ4K", "1026", P::kOld, R::kChannels, A::kInputTypes, false, kSysCfgAll},
      {"RZ4K", "1027", P::kOld, R::kChannels, A::kInputTypes, false, kSysCfgSntp},
      {"RZ3K", "3000", P::kNew, R::kChannels, A::kInputTypes, true, kSysCfgSntp},
      {"RZ3K", "2999", P::kNew, R::kChannels, A::kInputTypes, false, kSysCfgSntp},
      {"RZ2K", "1006", P::kOld, R::kNone, A::kSource, false, kSysCfgSystem},
      {"RZ2K", "1007", P::kNew, R::kNone, A::kSource, false, kSysCfgSystem},
      {"RZ2K", "1010", P::kNew, R::kTitles, A::kSource, false, kSysCfgSystem},
      {"RZ2K", "1002", P::kOld, R::kNone, A::kSource, false, kSysCfgAll},
      {"RZ5M", "1003", P::kOld, R::kNone, A::kCommon, false, kSysCfgSystem},
      {"RZ8P", "1035", P::kNew, R::kNone, A::kCommon, false, kSysCfgSystem},
      // A version text that is not four characters long counts as new for every rule.
      {"RZ1K", "10", P::kNew, R::kChannels, A::kInputTypes, true, kSysCfgSntp},
      {"RZ2K", "10100", P::kNew, R::kTitles, A::kSource, false, kSysCfgSystem},
      {"ABCD", "1060", P::kNew, R::kNone, A::kCommon, false, kSysCfgAll},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + c.fw);
    EXPECT_EQ(PppoeLayoutFor(c.id, c.fw), c.pppoe);
    EXPECT_EQ(Rs485LayoutFor(c.id, c.fw), c.rs485);
    EXPECT_EQ(AlarmLayoutFor(c.id), c.alarm);
    EXPECT_EQ(IpBitRateWritable(c.id, c.fw), c.bitRate);
    EXPECT_EQ(MailOverflowFor(c.id, c.fw).option, c.overflow);
  }
  EXPECT_EQ(PppoeFieldsOf(P::kOld).userName.offset, 36);
  EXPECT_EQ(PppoeFieldsOf(P::kNew).password.offset, 36);
  EXPECT_EQ(PppoeFieldsOf(P::kNew).userName.width, 32);
}

TEST(CfgVariants, SenderAccountOverflow) {
  struct Case {
    const char* what;
    const char* id;
    const char* fw;
    std::string account;
    bool overflowWritten;
    std::string mailAccount;  // SMTP offset 72
    std::string overflow;     // text at the overflow place
    bool titleKept;           // SYSTEM's DeviceTitle as it was
  };
  const std::string s20 = "abcdefghijklmnopqrst";
  const std::string s30 = "abcdefghijklmnopqrstuvwxyz0123";
  const std::string s50(50, 'z');
  const Case cases[] = {
      {"20 on a DVR 1027", "RZ4K", "1027", s20, true, s20.substr(0, 15), s20.substr(15), true},
      {"15 on a DVR 1027", "RZ4K", "1027", s20.substr(0, 15), true, s20.substr(0, 15), "", true},
      {"20 on a DVR 1026", "RZ4K", "1026", s20, false, s20.substr(0, 15), "", true},
      {"30 on a video server 1003", "RZ2K", "1003", s30, true, s30.substr(0, 15), s30.substr(15),
       true},
      {"50 on a video server 1003", "RZ2K", "1003", s50, true, std::string(15, 'z'),
       std::string(27, 'z'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MailOverflowPlace place = MailOverflowFor(c.id, c.fw);
    std::vector<uint8_t> smtp = Filled(kSysCfgSmtp, 'S');
    std::vector<uint8_t> sntp = Filled(kSysCfgSntp, 'N');
    std::vector<uint8_t> system = Filled(kSysCfgSystem, 0);
    CfgSetText(system, cfg::sys::kDeviceTitle, "TITLE");
    const std::vector<uint8_t> sntpBefore = sntp;
    std::vector<uint8_t>& overflowBlock = place.option == kSysCfgSystem ? system : sntp;

    EXPECT_EQ(WriteMailAccount(smtp, overflowBlock, place, c.account), c.overflowWritten);
    EXPECT_EQ(CfgGetText(smtp, cfg::smtp::kMailAccount), c.mailAccount);
    EXPECT_EQ(smtp[87], 0);
    EXPECT_EQ(smtp[71], 'S');  // the server field before it
    EXPECT_EQ(smtp[88], 'S');  // the provider field after it
    if (place.present()) {
      EXPECT_EQ(CfgGetText(overflowBlock, place.field), c.overflow);
    }
    if (!c.overflowWritten) {
      EXPECT_EQ(sntp, sntpBefore);
    }
    if (place.option == kSysCfgSntp) {
      for (int i = 8 + static_cast<int>(c.overflow.size()); i < 36; ++i) ASSERT_EQ(sntp[i], 0);
      EXPECT_EQ(sntp[7], 'N');
    }
    EXPECT_EQ(CfgGetText(system, cfg::sys::kDeviceTitle) == "TITLE", c.titleKept);

    const std::string joined = std::string(c.account.substr(0, kMailAccountMaxChars));
    EXPECT_EQ(ReadMailAccount(smtp, overflowBlock, place),
              place.present() ? joined : joined.substr(0, 15));
  }

  // The overflow is joined only when MailAccount holds exactly 15 characters.
  const MailOverflowPlace sntpPlace = MailOverflowFor("RZ1K", "1027");
  std::vector<uint8_t> smtp = Filled(kSysCfgSmtp, 0);
  std::vector<uint8_t> sntp = Filled(kSysCfgSntp, 0);
  CfgSetText(smtp, cfg::smtp::kMailAccount, "short");
  CfgSetText(sntp, cfg::sntp::kSNTPServer, "pool.example");
  EXPECT_EQ(ReadMailAccount(smtp, sntp, sntpPlace), "short");
}

TEST(CfgVariants, SmtpTextsTerminated) {
  std::vector<uint8_t> smtp = Filled(kSysCfgSmtp, 'x');
  TerminateSmtpTexts(smtp);
  for (int i = 0; i < 440; ++i) {
    const bool last = i == 71 || i == 87 || i == 407 || i == 439;
    ASSERT_EQ(smtp[i], last ? 0 : 'x') << i;
  }
  EXPECT_EQ(CfgGetText(smtp, cfg::smtp::kSMTPServer).size(), 63u);
}

}  // namespace
