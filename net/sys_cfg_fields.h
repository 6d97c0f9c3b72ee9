// The fields of the device's configuration blocks, their codec over a block's bytes, and the
// layout variants by device family and firmware.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/sys_cfg_blocks.h"

enum class CfgFieldKind : uint8_t {
  kU8,
  kS8,
  kU16,       // little-endian
  kU32,       // little-endian
  kText,      // zero-filled characters; maxChars says how many a write keeps
  kIpv4,      // four octets, the first at the lowest offset
  kIpv4Word,  // a 32-bit little-endian word whose low byte is the first octet (same bytes)
  kBytes,     // raw bytes (motion areas)
};

// One field of a block: entry n (0 <= n < count) is width bytes at offset + n * stride.
struct CfgField {
  uint8_t option;  // SysCfgOption
  uint16_t offset;
  uint16_t width;
  uint8_t count;
  uint16_t stride;
  CfgFieldKind kind;
  uint16_t maxChars;  // texts only
  std::string_view name;
};

namespace cfg_field_detail {
constexpr uint16_t WidthOf(CfgFieldKind kind) {
  switch (kind) {
    case CfgFieldKind::kU16:
      return 2;
    case CfgFieldKind::kU32:
    case CfgFieldKind::kIpv4:
    case CfgFieldKind::kIpv4Word:
      return 4;
    default:
      return 1;
  }
}
}  // namespace cfg_field_detail

constexpr CfgField CfgNumber(uint8_t option, uint16_t offset, CfgFieldKind kind,
                             std::string_view name, uint8_t count = 1, uint16_t stride = 0) {
  const uint16_t width = cfg_field_detail::WidthOf(kind);
  return {option, offset, width, count, stride ? stride : width, kind, 0, name};
}
constexpr CfgField CfgText(uint8_t option, uint16_t offset, uint16_t width, uint16_t maxChars,
                           std::string_view name, uint8_t count = 1, uint16_t stride = 0) {
  return {option,   offset, width, count, stride ? stride : width, CfgFieldKind::kText,
          maxChars, name};
}

// Fields by block, named as the device's block layouts name them.
namespace cfg {
namespace inf {
inline constexpr CfgField kDeviceMask = CfgNumber(kSysCfgInf, 20, CfgFieldKind::kU32, "DeviceMask");
inline constexpr CfgField kModelName = CfgText(kSysCfgInf, 24, 8, 7, "ModelName");
}  // namespace inf
namespace ip {
inline constexpr CfgField kIPAddress = CfgNumber(kSysCfgIp, 4, CfgFieldKind::kIpv4, "IPAddress");
inline constexpr CfgField kSubnetMask = CfgNumber(kSysCfgIp, 8, CfgFieldKind::kIpv4, "SubnetMask");
inline constexpr CfgField kGateway = CfgNumber(kSysCfgIp, 12, CfgFieldKind::kIpv4, "Gateway");
inline constexpr CfgField kWebPort = CfgNumber(kSysCfgIp, 16, CfgFieldKind::kU16, "WebPort");
inline constexpr CfgField kAddressType = CfgNumber(kSysCfgIp, 22, CfgFieldKind::kU8, "AddressType");
inline constexpr CfgField kBitRate = CfgNumber(kSysCfgIp, 23, CfgFieldKind::kU8, "BitRate");
inline constexpr uint8_t kStaticIp = 0, kPppoe = 1, kDhcp = 2;
}  // namespace ip
namespace pppoe {
inline constexpr CfgField kOldUserName = CfgText(kSysCfgPppoe, 36, 16, 15, "UserName");
inline constexpr CfgField kOldPassword = CfgText(kSysCfgPppoe, 52, 16, 15, "Password");
inline constexpr CfgField kUserName = CfgText(kSysCfgPppoe, 4, 32, 31, "UserName");
inline constexpr CfgField kPassword = CfgText(kSysCfgPppoe, 36, 32, 31, "Password");
}  // namespace pppoe
namespace secure {
inline constexpr int kAccounts = 5;
inline constexpr CfgField kMaxUsers = CfgNumber(kSysCfgSecure, 2, CfgFieldKind::kU8, "MaxUsers");
inline constexpr CfgField kUserName = CfgText(kSysCfgSecure, 8, 16, 15, "UserName", kAccounts);
inline constexpr CfgField kUserPassword =
    CfgText(kSysCfgSecure, 88, 16, 15, "UserPassword", kAccounts);
inline constexpr CfgField kUserLevel =
    CfgNumber(kSysCfgSecure, 168, CfgFieldKind::kU8, "UserLevel", kAccounts);
inline constexpr CfgField kUserLifeTime =
    CfgNumber(kSysCfgSecure, 176, CfgFieldKind::kU32, "UserLifeTime", kAccounts);
inline constexpr uint32_t kNoLifeTimeLimit = 0xFFFFFFFFu;
}  // namespace secure
namespace dns {
inline constexpr CfgField kDNSAuto = CfgNumber(kSysCfgDns, 3, CfgFieldKind::kU8, "DNSAuto");
inline constexpr CfgField kDNSServer = CfgNumber(kSysCfgDns, 4, CfgFieldKind::kIpv4, "DNSServer");
}  // namespace dns
namespace smtp {
inline constexpr CfgField kSMTPAuth = CfgNumber(kSysCfgSmtp, 4, CfgFieldKind::kU8, "SMTPAuth");
inline constexpr CfgField kDDNSEnable = CfgNumber(kSysCfgSmtp, 5, CfgFieldKind::kU8, "DDNSEnable");
inline constexpr CfgField kSMTPServer = CfgText(kSysCfgSmtp, 8, 64, 63, "SMTPServer");
inline constexpr CfgField kMailAccount = CfgText(kSysCfgSmtp, 72, 16, 15, "MailAccount");
inline constexpr CfgField kDDNSProvider = CfgText(kSysCfgSmtp, 88, 16, 15, "DDNSProvider");
inline constexpr CfgField kDDNSUser = CfgText(kSysCfgSmtp, 104, 16, 15, "DDNSUser");
inline constexpr CfgField kDDNSPassword = CfgText(kSysCfgSmtp, 120, 16, 15, "DDNSPassword");
inline constexpr CfgField kMailRecipient = CfgText(kSysCfgSmtp, 136, 48, 47, "MailRecipient", 4);
inline constexpr CfgField kDDNSHostName = CfgText(kSysCfgSmtp, 328, 48, 47, "DDNSHostName");
inline constexpr CfgField kSMTPUser = CfgText(kSysCfgSmtp, 376, 32, 31, "SMTPUser");
inline constexpr CfgField kSMTPPassword = CfgText(kSysCfgSmtp, 408, 32, 31, "SMTPPassword");
}  // namespace smtp
namespace ftp {
inline constexpr CfgField kFTPServer = CfgText(kSysCfgFtp, 4, 32, 31, "FTPServer");
inline constexpr CfgField kFTPUser = CfgText(kSysCfgFtp, 36, 16, 15, "FTPUser");
inline constexpr CfgField kFTPPassword = CfgText(kSysCfgFtp, 52, 16, 15, "FTPPassword");
inline constexpr CfgField kFTPPath = CfgText(kSysCfgFtp, 68, 32, 31, "FTPPath");
inline constexpr CfgField kFTPPort = CfgNumber(kSysCfgFtp, 100, CfgFieldKind::kU16, "FTPPort");
}  // namespace ftp
namespace sys {
// The sender account's overflow on video servers (see MailOverflowFor); covers DeviceTitle.
inline constexpr CfgField kMailOverflow = CfgText(kSysCfgSystem, 4, 32, 27, "MailOverflow");
inline constexpr CfgField kDeviceTitle = CfgText(kSysCfgSystem, 20, 16, 15, "DeviceTitle");
}  // namespace sys
namespace sntp {
inline constexpr CfgField kTimeZoneHour =
    CfgNumber(kSysCfgSntp, 2, CfgFieldKind::kS8, "TimeZoneHour");
inline constexpr CfgField kTimeZoneMinute =
    CfgNumber(kSysCfgSntp, 3, CfgFieldKind::kS8, "TimeZoneMinute");
inline constexpr CfgField kTimeZoneIndex =
    CfgNumber(kSysCfgSntp, 5, CfgFieldKind::kU8, "TimeZoneIndex");
inline constexpr CfgField kSNTPMode = CfgNumber(kSysCfgSntp, 6, CfgFieldKind::kU8, "SNTPMode");
inline constexpr CfgField kSNTPServer = CfgText(kSysCfgSntp, 8, 28, 27, "SNTPServer");
// The sender account's overflow on DVRs (see MailOverflowFor), in SNTPServer's place.
inline constexpr CfgField kMailOverflow = CfgText(kSysCfgSntp, 8, 28, 27, "MailOverflow");
}  // namespace sntp
namespace rs485 {
// RZ1K, RZ3K, RZ4K: one entry per channel.
inline constexpr CfgField kDeviceID =
    CfgNumber(kSysCfgRs485, 12, CfgFieldKind::kU8, "DeviceID", 16);
inline constexpr CfgField kDeviceType =
    CfgNumber(kSysCfgRs485, 28, CfgFieldKind::kU8, "DeviceType", 16);
inline constexpr CfgField kProtocol =
    CfgNumber(kSysCfgRs485, 44, CfgFieldKind::kU8, "Protocol", 16);
inline constexpr CfgField kBaudRate =
    CfgNumber(kSysCfgRs485, 60, CfgFieldKind::kU32, "BaudRate", 16);
// RZ2K with firmware "1010" or newer.
inline constexpr CfgField kTitleA = CfgText(kSysCfgRs485, 44, 8, 3, "TitleA");
inline constexpr CfgField kTitleB = CfgText(kSysCfgRs485, 52, 8, 3, "TitleB");
}  // namespace rs485
namespace alarm {
inline constexpr CfgField kPostNumber = CfgNumber(kSysCfgAlarm, 2, CfgFieldKind::kU8, "PostNumber");
inline constexpr CfgField kAlarmMethod =
    CfgNumber(kSysCfgAlarm, 3, CfgFieldKind::kU8, "AlarmMethod");
inline constexpr CfgField kAlarmResolution =
    CfgNumber(kSysCfgAlarm, 5, CfgFieldKind::kU8, "AlarmResolution");
inline constexpr CfgField kAlarmDuration =
    CfgNumber(kSysCfgAlarm, 6, CfgFieldKind::kU16, "AlarmDuration");
// RZ1K, RZ3K, RZ4K: one entry per channel.
inline constexpr CfgField kAlarmInputType =
    CfgNumber(kSysCfgAlarm, 8, CfgFieldKind::kU8, "AlarmInputType", 16);
// RZ2K: bit k set = alarm input k + 1 belongs to CH2.
inline constexpr CfgField kAlarmSource =
    CfgNumber(kSysCfgAlarm, 9, CfgFieldKind::kU8, "AlarmSource");
inline constexpr uint16_t kAutomaticDuration = 65535;
}  // namespace alarm
namespace online {
inline constexpr int kEntries = 10;  // 24-byte entries in 240 bytes; the client lists 0 to 4
inline constexpr CfgField kUserName = CfgText(kSysCfgOnline, 0, 16, 15, "UserName", kEntries, 24);
inline constexpr CfgField kIPAddress =
    CfgNumber(kSysCfgOnline, 16, CfgFieldKind::kIpv4Word, "IPAddress", kEntries, 24);
inline constexpr CfgField kUserLevel =
    CfgNumber(kSysCfgOnline, 20, CfgFieldKind::kU8, "UserLevel", kEntries, 24);
inline constexpr CfgField kChannel =
    CfgNumber(kSysCfgOnline, 21, CfgFieldKind::kU8, "Channel", kEntries, 24);
inline constexpr CfgField kResolution =
    CfgNumber(kSysCfgOnline, 22, CfgFieldKind::kU8, "Resolution", kEntries, 24);
inline constexpr CfgField kQuality =
    CfgNumber(kSysCfgOnline, 23, CfgFieldKind::kU8, "Quality", kEntries, 24);
}  // namespace online
namespace dvrlive {
inline constexpr CfgField kBrightness =
    CfgNumber(kSysCfgDvrLive, 4, CfgFieldKind::kU8, "Brightness", 16);
inline constexpr CfgField kContrast =
    CfgNumber(kSysCfgDvrLive, 20, CfgFieldKind::kU8, "Contrast", 16);
inline constexpr CfgField kHue = CfgNumber(kSysCfgDvrLive, 36, CfgFieldKind::kU8, "Hue", 16);
inline constexpr CfgField kSaturation =
    CfgNumber(kSysCfgDvrLive, 52, CfgFieldKind::kU8, "Saturation", 16);
inline constexpr CfgField kCovert = CfgNumber(kSysCfgDvrLive, 84, CfgFieldKind::kU8, "Covert", 16);
// All six characters may be used (no terminator then).
inline constexpr CfgField kCameraTitle = CfgText(kSysCfgDvrLive, 116, 6, 6, "CameraTitle", 16);
inline constexpr CfgField kMotionDetect =
    CfgNumber(kSysCfgDvrLive, 308, CfgFieldKind::kU8, "MotionDetect", 16);
inline constexpr CfgField kMotionLS =
    CfgNumber(kSysCfgDvrLive, 324, CfgFieldKind::kU8, "MotionLS", 16);
inline constexpr CfgField kMotionSS =
    CfgNumber(kSysCfgDvrLive, 340, CfgFieldKind::kU8, "MotionSS", 16);
inline constexpr CfgField kMotionTS =
    CfgNumber(kSysCfgDvrLive, 356, CfgFieldKind::kU8, "MotionTS", 16);
inline constexpr CfgField kMotionRE =
    CfgNumber(kSysCfgDvrLive, 372, CfgFieldKind::kU8, "MotionRE", 16);
inline constexpr CfgField kMotionArea = {kSysCfgDvrLive,       388, 24,          16, 24,
                                         CfgFieldKind::kBytes, 0,   "MotionArea"};
inline constexpr int kMotionColumns = 16, kMotionRows = 12;
}  // namespace dvrlive
namespace dvrrec {
inline constexpr CfgField kRecordEnable =
    CfgNumber(kSysCfgDvrRec, 20, CfgFieldKind::kU8, "RecordEnable", 16);
inline constexpr int kTimers = 7;
inline constexpr CfgField kTimerDay =
    CfgNumber(kSysCfgDvrRec, 87, CfgFieldKind::kU8, "TimerDay", kTimers);
inline constexpr CfgField kTimerStart =
    CfgNumber(kSysCfgDvrRec, 94, CfgFieldKind::kU16, "TimerStart", kTimers);
inline constexpr CfgField kTimerEnd =
    CfgNumber(kSysCfgDvrRec, 108, CfgFieldKind::kU16, "TimerEnd", kTimers);
}  // namespace dvrrec
namespace peri {
inline constexpr CfgField kPeri1Model = CfgNumber(kSysCfgPeri, 2, CfgFieldKind::kU8, "Peri1Model");
inline constexpr CfgField kPeri2Model = CfgNumber(kSysCfgPeri, 3, CfgFieldKind::kU8, "Peri2Model");
inline constexpr CfgField kPeri1Baud = CfgNumber(kSysCfgPeri, 4, CfgFieldKind::kU32, "Peri1Baud");
inline constexpr CfgField kPeri2Baud = CfgNumber(kSysCfgPeri, 8, CfgFieldKind::kU32, "Peri2Baud");
inline constexpr CfgField kPeri1ID = CfgNumber(kSysCfgPeri, 12, CfgFieldKind::kU8, "Peri1ID");
inline constexpr CfgField kPeri2ID = CfgNumber(kSysCfgPeri, 13, CfgFieldKind::kU8, "Peri2ID");
}  // namespace peri
}  // namespace cfg

// Every field of every block and variant (for tests, fuzzing and dumps).
std::span<const CfgField> AllCfgFields();

// Whether entry index of field lies inside a block of size bytes.
bool CfgEntryFits(const CfgField& field, unsigned index, size_t size);

// Integer fields (kU8, kS8 sign-extended, kU16, kU32, kIpv4Word): the entry's value, 0 when it
// does not fit the block. Setting stores the value's low 8, 16 or 32 bits; false when the entry
// does not fit or the field is not an integer.
uint32_t CfgGetUint(std::span<const uint8_t> block, const CfgField& field, unsigned index = 0);
int32_t CfgGetInt(std::span<const uint8_t> block, const CfgField& field, unsigned index = 0);
bool CfgSetUint(std::span<uint8_t> block, const CfgField& field, uint32_t value,
                unsigned index = 0);

// Texts: the characters up to the first zero byte, at most the field's width. Setting keeps at
// most maxChars characters; when the stored text already equals them the bytes are left as
// they are, else the entry is zero-filled and the characters copied without a terminator of
// their own.
std::string CfgGetText(std::span<const uint8_t> block, const CfgField& field, unsigned index = 0);
bool CfgSetText(std::span<uint8_t> block, const CfgField& field, std::string_view text,
                unsigned index = 0);
// Zero-fills the entry.
bool CfgClear(std::span<uint8_t> block, const CfgField& field, unsigned index = 0);

// Addresses (kIpv4, kIpv4Word): octets in dotted order.
using Ipv4Octets = std::array<uint8_t, 4>;
Ipv4Octets CfgGetIpv4(std::span<const uint8_t> block, const CfgField& field, unsigned index = 0);
bool CfgSetIpv4(std::span<uint8_t> block, const CfgField& field, const Ipv4Octets& octets,
                unsigned index = 0);
std::string Ipv4Text(const Ipv4Octets& octets);
// "a.b.c.d" with four decimal numbers 0-255; false for anything else.
bool ParseIpv4Text(std::string_view text, Ipv4Octets& octets);

// Raw entries (kBytes and any other kind): width bytes.
std::vector<uint8_t> CfgGetBytes(std::span<const uint8_t> block, const CfgField& field,
                                 unsigned index = 0);
bool CfgSetBytes(std::span<uint8_t> block, const CfgField& field, std::span<const uint8_t> bytes,
                 unsigned index = 0);

// Motion area cell (column 0-15, row 0-11) of a channel (0-15): row r is bytes 2r and 2r + 1 as a
// big-endian word in which column c is bit c.
bool MotionAreaCell(std::span<const uint8_t> dvrLive, unsigned channel, unsigned row,
                    unsigned column);
bool SetMotionAreaCell(std::span<uint8_t> dvrLive, unsigned channel, unsigned row, unsigned column,
                       bool on);

// ---- Variants by family and firmware -------------------------------------------------------

// Whether the firmware text is older than the four-character threshold: the compare reports
// the threshold as greater. A text that is not four characters long is never older.
bool FirmwareOlderThan(std::string_view threshold, std::string_view fwVersion);

enum class PppoeLayout { kOld, kNew };
// Old when PppoeUsesOlderCopy: the video-server families with firmware older than "1007", every
// other device older than "1052"; new otherwise.
PppoeLayout PppoeLayoutFor(std::string_view productId, std::string_view fwVersion);
struct PppoeFields {
  CfgField userName;
  CfgField password;
};
PppoeFields PppoeFieldsOf(PppoeLayout layout);

enum class Rs485Layout {
  kNone,      // nothing the client reads or writes
  kChannels,  // RZ1K, RZ3K, RZ4K: DeviceID, DeviceType, Protocol, BaudRate
  kTitles,    // RZ2K with firmware "1010" or newer: TitleA, TitleB
};
Rs485Layout Rs485LayoutFor(std::string_view productId, std::string_view fwVersion);

enum class AlarmLayout {
  kCommon,      // PostNumber, AlarmMethod, AlarmResolution, AlarmDuration only
  kInputTypes,  // RZ1K, RZ3K, RZ4K: and AlarmInputType per channel
  kSource,      // RZ2K: and AlarmSource
};
AlarmLayout AlarmLayoutFor(std::string_view productId);

// IP's BitRate is written only for RZ1K, RZ3K, RZ4K with firmware "3000" or newer.
bool IpBitRateWritable(std::string_view productId, std::string_view fwVersion);

// Where a sender account longer than 15 characters continues: SNTP offset 8 on RZ1K, RZ3K, RZ4K
// with firmware "1027" or newer, SYSTEM offset 4 on the video-server families with "1003" or
// newer; none (option kSysCfgAll) on older firmware.
struct MailOverflowPlace {
  uint8_t option = kSysCfgAll;
  CfgField field{};
  bool present() const { return option != kSysCfgAll; }
};
MailOverflowPlace MailOverflowFor(std::string_view productId, std::string_view fwVersion);

inline constexpr size_t kMailAccountMaxChars = 15 + 27;
// The sender account: MailAccount, joined with the overflow text when the overflow is not empty
// and MailAccount holds exactly 15 characters. overflowBlock is the place's block (ignored
// without a place).
std::string ReadMailAccount(std::span<const uint8_t> smtp, std::span<const uint8_t> overflowBlock,
                            const MailOverflowPlace& place);
// Writes the sender account. Without a place: MailAccount only, at most 15 characters. With a
// place: MailAccount and the overflow are zeroed and the account written, split after 15
// characters, at most kMailAccountMaxChars; on SYSTEM an overflow of at most 15 characters
// zeroes and fills only offsets 4-19, so DeviceTitle stays. Returns whether overflowBlock was
// written (its block must then be sent after SMTP).
bool WriteMailAccount(std::span<uint8_t> smtp, std::span<uint8_t> overflowBlock,
                      const MailOverflowPlace& place, std::string_view account);

// Sets the last byte of SMTPServer, MailAccount, SMTPUser and SMTPPassword to 0.
void TerminateSmtpTexts(std::span<uint8_t> smtp);
