#include "net/sys_cfg_fields.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "net/device_family.h"

namespace {

constexpr CfgField kAllFields[] = {
    cfg::inf::kDeviceMask,        cfg::inf::kModelName,        cfg::ip::kIPAddress,
    cfg::ip::kSubnetMask,         cfg::ip::kGateway,           cfg::ip::kWebPort,
    cfg::ip::kAddressType,        cfg::ip::kBitRate,           cfg::pppoe::kOldUserName,
    cfg::pppoe::kOldPassword,     cfg::pppoe::kUserName,       cfg::pppoe::kPassword,
    cfg::secure::kMaxUsers,       cfg::secure::kUserName,      cfg::secure::kUserPassword,
    cfg::secure::kUserLevel,      cfg::secure::kUserLifeTime,  cfg::dns::kDNSAuto,
    cfg::dns::kDNSServer,         cfg::smtp::kSMTPAuth,        cfg::smtp::kDDNSEnable,
    cfg::smtp::kSMTPServer,       cfg::smtp::kMailAccount,     cfg::smtp::kDDNSProvider,
    cfg::smtp::kDDNSUser,         cfg::smtp::kDDNSPassword,    cfg::smtp::kMailRecipient,
    cfg::smtp::kDDNSHostName,     cfg::smtp::kSMTPUser,        cfg::smtp::kSMTPPassword,
    cfg::ftp::kFTPServer,         cfg::ftp::kFTPUser,          cfg::ftp::kFTPPassword,
    cfg::ftp::kFTPPath,           cfg::ftp::kFTPPort,          cfg::sys::kMailOverflow,
    cfg::sys::kDeviceTitle,       cfg::sntp::kTimeZoneHour,    cfg::sntp::kTimeZoneMinute,
    cfg::sntp::kTimeZoneIndex,    cfg::sntp::kSNTPMode,        cfg::sntp::kSNTPServer,
    cfg::sntp::kMailOverflow,     cfg::rs485::kDeviceID,       cfg::rs485::kDeviceType,
    cfg::rs485::kProtocol,        cfg::rs485::kBaudRate,       cfg::rs485::kTitleA,
    cfg::rs485::kTitleB,          cfg::alarm::kPostNumber,     cfg::alarm::kAlarmMethod,
    cfg::alarm::kAlarmResolution, cfg::alarm::kAlarmDuration,  cfg::alarm::kAlarmInputType,
    cfg::alarm::kAlarmSource,     cfg::online::kUserName,      cfg::online::kIPAddress,
    cfg::online::kUserLevel,      cfg::online::kChannel,       cfg::online::kResolution,
    cfg::online::kQuality,        cfg::dvrlive::kBrightness,   cfg::dvrlive::kContrast,
    cfg::dvrlive::kHue,           cfg::dvrlive::kSaturation,   cfg::dvrlive::kCovert,
    cfg::dvrlive::kCameraTitle,   cfg::dvrlive::kMotionDetect, cfg::dvrlive::kMotionLS,
    cfg::dvrlive::kMotionSS,      cfg::dvrlive::kMotionTS,     cfg::dvrlive::kMotionRE,
    cfg::dvrlive::kMotionArea,    cfg::dvrrec::kRecordEnable,  cfg::dvrrec::kTimerDay,
    cfg::dvrrec::kTimerStart,     cfg::dvrrec::kTimerEnd,      cfg::peri::kPeri1Model,
    cfg::peri::kPeri2Model,       cfg::peri::kPeri1Baud,       cfg::peri::kPeri2Baud,
    cfg::peri::kPeri1ID,          cfg::peri::kPeri2ID,
};

// Every field's last entry ends inside its block.
constexpr bool AllFieldsFit() {
  for (const CfgField& f : kAllFields)
    if (f.count == 0 || f.offset + (f.count - 1u) * f.stride + f.width > SysCfgBlockSizes[f.option])
      return false;
  return true;
}
static_assert(AllFieldsFit());

size_t EntryOffset(const CfgField& f, unsigned index) {
  return f.offset + static_cast<size_t>(index) * f.stride;
}

bool IsInteger(CfgFieldKind kind) {
  return kind == CfgFieldKind::kU8 || kind == CfgFieldKind::kS8 || kind == CfgFieldKind::kU16 ||
         kind == CfgFieldKind::kU32 || kind == CfgFieldKind::kIpv4Word;
}

bool IsAddress(CfgFieldKind kind) {
  return kind == CfgFieldKind::kIpv4 || kind == CfgFieldKind::kIpv4Word;
}

}  // namespace

std::span<const CfgField> AllCfgFields() {
  return kAllFields;
}

bool CfgEntryFits(const CfgField& field, unsigned index, size_t size) {
  return index < field.count && EntryOffset(field, index) + field.width <= size;
}

uint32_t CfgGetUint(std::span<const uint8_t> block, const CfgField& field, unsigned index) {
  if (!IsInteger(field.kind) || !CfgEntryFits(field, index, block.size())) return 0;
  const uint8_t* p = block.data() + EntryOffset(field, index);
  uint32_t value = 0;
  for (unsigned i = field.width; i-- > 0;) value = (value << 8) | p[i];
  if (field.kind == CfgFieldKind::kS8) value = static_cast<uint32_t>(static_cast<int8_t>(p[0]));
  return value;
}

int32_t CfgGetInt(std::span<const uint8_t> block, const CfgField& field, unsigned index) {
  return static_cast<int32_t>(CfgGetUint(block, field, index));
}

bool CfgSetUint(std::span<uint8_t> block, const CfgField& field, uint32_t value, unsigned index) {
  if (!IsInteger(field.kind) || !CfgEntryFits(field, index, block.size())) return false;
  uint8_t* p = block.data() + EntryOffset(field, index);
  for (unsigned i = 0; i < field.width; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
  return true;
}

std::string CfgGetText(std::span<const uint8_t> block, const CfgField& field, unsigned index) {
  if (field.kind != CfgFieldKind::kText || !CfgEntryFits(field, index, block.size())) return {};
  const char* p = reinterpret_cast<const char*>(block.data() + EntryOffset(field, index));
  return std::string(p, strnlen(p, field.width));
}

bool CfgSetText(std::span<uint8_t> block, const CfgField& field, std::string_view text,
                unsigned index) {
  if (field.kind != CfgFieldKind::kText || !CfgEntryFits(field, index, block.size())) return false;
  text = text.substr(0, std::min<size_t>(field.maxChars, field.width));
  // A text ends at its first zero byte; what follows one would never be read back.
  text = text.substr(0, std::min(text.size(), text.find('\0')));
  if (CfgGetText(block, field, index) == text) return true;
  uint8_t* p = block.data() + EntryOffset(field, index);
  std::memset(p, 0, field.width);
  std::memcpy(p, text.data(), text.size());
  return true;
}

bool CfgClear(std::span<uint8_t> block, const CfgField& field, unsigned index) {
  if (!CfgEntryFits(field, index, block.size())) return false;
  std::memset(block.data() + EntryOffset(field, index), 0, field.width);
  return true;
}

Ipv4Octets CfgGetIpv4(std::span<const uint8_t> block, const CfgField& field, unsigned index) {
  Ipv4Octets octets{};
  if (IsAddress(field.kind) && CfgEntryFits(field, index, block.size()))
    std::memcpy(octets.data(), block.data() + EntryOffset(field, index), 4);
  return octets;
}

bool CfgSetIpv4(std::span<uint8_t> block, const CfgField& field, const Ipv4Octets& octets,
                unsigned index) {
  if (!IsAddress(field.kind) || !CfgEntryFits(field, index, block.size())) return false;
  std::memcpy(block.data() + EntryOffset(field, index), octets.data(), 4);
  return true;
}

std::string Ipv4Text(const Ipv4Octets& o) {
  return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
         std::to_string(o[3]);
}

bool ParseIpv4Text(std::string_view text, Ipv4Octets& octets) {
  Ipv4Octets parsed{};
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != '.') return false;
      text.remove_prefix(1);
    }
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == 0 || digits > 3) return false;
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + digits, value);
    if (value > 255) return false;
    parsed[i] = static_cast<uint8_t>(value);
    text.remove_prefix(digits);
  }
  if (!text.empty()) return false;
  octets = parsed;
  return true;
}

std::vector<uint8_t> CfgGetBytes(std::span<const uint8_t> block, const CfgField& field,
                                 unsigned index) {
  if (!CfgEntryFits(field, index, block.size())) return {};
  const uint8_t* p = block.data() + EntryOffset(field, index);
  return std::vector<uint8_t>(p, p + field.width);
}

bool CfgSetBytes(std::span<uint8_t> block, const CfgField& field, std::span<const uint8_t> bytes,
                 unsigned index) {
  if (bytes.size() != field.width || !CfgEntryFits(field, index, block.size())) return false;
  std::memcpy(block.data() + EntryOffset(field, index), bytes.data(), bytes.size());
  return true;
}

namespace {
// The byte and bit of a motion cell, or false when outside the grid.
bool MotionCellPlace(size_t size, unsigned channel, unsigned row, unsigned column, size_t& byte,
                     uint8_t& bit) {
  const CfgField& f = cfg::dvrlive::kMotionArea;
  if (row >= cfg::dvrlive::kMotionRows || column >= cfg::dvrlive::kMotionColumns ||
      !CfgEntryFits(f, channel, size))
    return false;
  // Big-endian word: columns 8-15 in the first byte, 0-7 in the second.
  byte = EntryOffset(f, channel) + 2 * row + (column < 8 ? 1 : 0);
  bit = static_cast<uint8_t>(1u << (column % 8));
  return true;
}
}  // namespace

bool MotionAreaCell(std::span<const uint8_t> dvrLive, unsigned channel, unsigned row,
                    unsigned column) {
  size_t byte = 0;
  uint8_t bit = 0;
  return MotionCellPlace(dvrLive.size(), channel, row, column, byte, bit) &&
         (dvrLive[byte] & bit) != 0;
}

bool SetMotionAreaCell(std::span<uint8_t> dvrLive, unsigned channel, unsigned row, unsigned column,
                       bool on) {
  size_t byte = 0;
  uint8_t bit = 0;
  if (!MotionCellPlace(dvrLive.size(), channel, row, column, byte, bit)) return false;
  dvrLive[byte] = static_cast<uint8_t>(on ? dvrLive[byte] | bit : dvrLive[byte] & ~bit);
  return true;
}

// ---- Variants --------------------------------------------------------------------------------

bool FirmwareOlderThan(std::string_view threshold, std::string_view fwVersion) {
  return CompareVersionString(threshold, fwVersion) == 2;
}

PppoeLayout PppoeLayoutFor(std::string_view productId, std::string_view fwVersion) {
  return PppoeUsesOlderCopy(productId, fwVersion) ? PppoeLayout::kOld : PppoeLayout::kNew;
}

PppoeFields PppoeFieldsOf(PppoeLayout layout) {
  if (layout == PppoeLayout::kOld) return {cfg::pppoe::kOldUserName, cfg::pppoe::kOldPassword};
  return {cfg::pppoe::kUserName, cfg::pppoe::kPassword};
}

Rs485Layout Rs485LayoutFor(std::string_view productId, std::string_view fwVersion) {
  if (IsRZKSeriesProduct(productId)) return Rs485Layout::kChannels;
  if (IsRZ2KProduct(productId) && !FirmwareOlderThan("1010", fwVersion))
    return Rs485Layout::kTitles;
  return Rs485Layout::kNone;
}

AlarmLayout AlarmLayoutFor(std::string_view productId) {
  if (IsRZKSeriesProduct(productId)) return AlarmLayout::kInputTypes;
  if (IsRZ2KProduct(productId)) return AlarmLayout::kSource;
  return AlarmLayout::kCommon;
}

bool IpBitRateWritable(std::string_view productId, std::string_view fwVersion) {
  return IsRZKSeriesProduct(productId) && !FirmwareOlderThan("3000", fwVersion);
}

MailOverflowPlace MailOverflowFor(std::string_view productId, std::string_view fwVersion) {
  if (IsRZKSeriesProduct(productId)) {
    if (!FirmwareOlderThan("1027", fwVersion)) return {kSysCfgSntp, cfg::sntp::kMailOverflow};
  } else if (IsRZ2KProduct(productId) || IsRZMSeriesProduct(productId) ||
             IsRZ8PProduct(productId)) {
    if (!FirmwareOlderThan("1003", fwVersion)) return {kSysCfgSystem, cfg::sys::kMailOverflow};
  }
  return {};
}

std::string ReadMailAccount(std::span<const uint8_t> smtp, std::span<const uint8_t> overflowBlock,
                            const MailOverflowPlace& place) {
  std::string account = CfgGetText(smtp, cfg::smtp::kMailAccount);
  if (!place.present() || account.size() != cfg::smtp::kMailAccount.maxChars) return account;
  return account + CfgGetText(overflowBlock, place.field);
}

bool WriteMailAccount(std::span<uint8_t> smtp, std::span<uint8_t> overflowBlock,
                      const MailOverflowPlace& place, std::string_view account) {
  const size_t head = cfg::smtp::kMailAccount.maxChars;
  if (!place.present() || !CfgEntryFits(place.field, 0, overflowBlock.size())) {
    CfgSetText(smtp, cfg::smtp::kMailAccount, account.substr(0, head));
    return false;
  }
  account = account.substr(0, kMailAccountMaxChars);
  const std::string_view rest = account.size() > head ? account.substr(head) : std::string_view{};
  CfgField overflow = place.field;
  // On SYSTEM a short overflow leaves DeviceTitle (offset 20) alone.
  if (place.option == kSysCfgSystem && rest.size() <= head) {
    overflow.width = static_cast<uint16_t>(cfg::sys::kDeviceTitle.offset - overflow.offset);
    overflow.maxChars = static_cast<uint16_t>(overflow.width - 1);
  }
  CfgClear(smtp, cfg::smtp::kMailAccount);
  CfgClear(overflowBlock, overflow);
  CfgSetText(smtp, cfg::smtp::kMailAccount, account.substr(0, head));
  CfgSetText(overflowBlock, overflow, rest);
  return true;
}

void TerminateSmtpTexts(std::span<uint8_t> smtp) {
  for (const CfgField* f : {&cfg::smtp::kSMTPServer, &cfg::smtp::kMailAccount,
                            &cfg::smtp::kSMTPUser, &cfg::smtp::kSMTPPassword})
    if (CfgEntryFits(*f, 0, smtp.size())) smtp[f->offset + f->width - 1] = 0;
}
