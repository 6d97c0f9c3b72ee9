#include "settings/network_rules.h"

#include <cstdio>

#include "net/sys_cfg_fields.h"

namespace {

uint32_t Packed(const Ipv4Octets& o) {
  return static_cast<uint32_t>(o[0]) << 24 | static_cast<uint32_t>(o[1]) << 16 |
         static_cast<uint32_t>(o[2]) << 8 | o[3];
}

Ipv4Octets Octets(uint32_t address) {
  return {static_cast<uint8_t>(address >> 24), static_cast<uint8_t>(address >> 16),
          static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address)};
}

bool IsDvr(std::string_view id) {
  return id == "RZ1K" || id == "RZ3K" || id == "RZ4K";
}

}  // namespace

size_t PppoeTextLimit(std::string_view productId, std::string_view fwVersion) {
  return PppoeLayoutFor(productId, fwVersion) == PppoeLayout::kOld ? 15 : 31;
}

NetworkValues ReadNetworkValues(std::span<const uint8_t> ip, std::span<const uint8_t> pppoe,
                                std::string_view productId, std::string_view fwVersion) {
  NetworkValues v;
  v.address = Packed(CfgGetIpv4(ip, cfg::ip::kIPAddress));
  v.mask = Packed(CfgGetIpv4(ip, cfg::ip::kSubnetMask));
  v.gateway = Packed(CfgGetIpv4(ip, cfg::ip::kGateway));
  v.port = static_cast<int>(CfgGetUint(ip, cfg::ip::kWebPort));
  v.addressType = static_cast<uint8_t>(CfgGetUint(ip, cfg::ip::kAddressType));
  v.bitRate = BitRateIndexOf(static_cast<uint8_t>(CfgGetUint(ip, cfg::ip::kBitRate)));
  const PppoeFields fields = PppoeFieldsOf(PppoeLayoutFor(productId, fwVersion));
  v.userName = CfgGetText(pppoe, fields.userName);
  v.password = CfgGetText(pppoe, fields.password);
  return v;
}

bool BitRateShown(std::string_view productId, std::string_view fwVersion) {
  if (productId == "RZ2K") return false;
  if (IsDvr(productId)) return !FirmwareOlderThan("3000", fwVersion);
  return true;
}

int BitRateIndexOf(uint8_t stored) {
  return stored > 4 ? 4 : stored;
}

NetworkRows NetworkRowsFor(uint8_t addressType) {
  switch (addressType) {
    case kAddressStatic:
      return {true, false};
    case kAddressDhcp:
      return {false, false};
    default:
      return {false, true};
  }
}

std::string DottedAddress(uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                (address >> 8) & 0xFF, address & 0xFF);
  return text;
}

NetworkStore StoreNetworkValues(const NetworkValues& now, const NetworkValues& snapshot,
                                std::string_view productId, std::string_view fwVersion,
                                std::string_view ddnsHostName, std::span<uint8_t> ip,
                                std::span<uint8_t> pppoe) {
  NetworkStore s;
  if (now.port < 1 || now.port > 65535) return s;
  const PppoeFields fields = PppoeFieldsOf(PppoeLayoutFor(productId, fwVersion));
  if (now.userName != snapshot.userName) {
    CfgClear(pppoe, fields.userName);
    CfgSetText(pppoe, fields.userName, now.userName);
    s.sendPppoe = true;
  }
  if (now.password != snapshot.password) {
    CfgClear(pppoe, fields.password);
    CfgSetText(pppoe, fields.password, now.password);
    s.sendPppoe = true;
  }
  if (now.address != snapshot.address) {
    CfgSetIpv4(ip, cfg::ip::kIPAddress, Octets(now.address));
    s.pendingServer = DottedAddress(now.address);
    s.addressChanged = true;
  }
  if (now.gateway != snapshot.gateway) {
    CfgSetIpv4(ip, cfg::ip::kGateway, Octets(now.gateway));
    s.addressChanged = true;
  }
  if (now.mask != snapshot.mask) {
    CfgSetIpv4(ip, cfg::ip::kSubnetMask, Octets(now.mask));
    s.addressChanged = true;
  }
  if (now.port != snapshot.port) {
    CfgSetUint(ip, cfg::ip::kWebPort, static_cast<uint32_t>(now.port));
    s.pendingPort = static_cast<uint16_t>(now.port);
    s.addressChanged = true;
  }
  if (now.addressType != snapshot.addressType) {
    CfgSetUint(ip, cfg::ip::kAddressType, now.addressType);
    s.addressChanged = true;
    if (now.addressType == kAddressStatic) {
      s.pendingServer = DottedAddress(Packed(CfgGetIpv4(ip, cfg::ip::kIPAddress)));
    } else if (!ddnsHostName.empty()) {
      // A PPPoE or DHCP device is reached by its host name, when it has one.
      s.pendingServer = std::string(ddnsHostName);
    } else {
      s.pendingServer.reset();
    }
  }
  s.sendIp = s.addressChanged;
  if (IpBitRateWritable(productId, fwVersion)) {
    if (now.bitRate != snapshot.bitRate && now.bitRate >= 0)
      CfgSetUint(ip, cfg::ip::kBitRate, static_cast<uint32_t>(now.bitRate));
    s.sendIp = true;
  }
  return s;
}
