// The network page's values and what an apply makes of them: read from the IP and PPPOE
// blocks, compared with the snapshot, written back field by field, and the address the client
// moves to. Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Address mode (IP block AddressType).
inline constexpr uint8_t kAddressStatic = 0, kAddressPppoe = 1, kAddressDhcp = 2;

struct NetworkValues {
  uint32_t address = 0;  // first octet in the top byte
  uint32_t mask = 0;
  uint32_t gateway = 0;
  int port = 0;
  uint8_t addressType = 0;
  int bitRate = -1;  // combo index; -1 none
  std::string userName;
  std::string password;
};

// The values of the IP block and of the PPPOE copy of the device's layout.
NetworkValues ReadNetworkValues(std::span<const uint8_t> ip, std::span<const uint8_t> pppoe,
                                std::string_view productId, std::string_view fwVersion);

// PPPoE texts hold 15 characters in the older layout, 31 in the newer.
size_t PppoeTextLimit(std::string_view productId, std::string_view fwVersion);
// The bit-rate list is shown to RZ1K, RZ3K, RZ4K with firmware "3000" or newer and to the RZM
// series and RZ8P (where it is never sent); hidden on RZ2K and on older DVR firmware.
bool BitRateShown(std::string_view productId, std::string_view fwVersion);
// A stored bit rate as the list shows it: above 4 the last entry.
int BitRateIndexOf(uint8_t stored);
// Which rows the address mode enables: the address rows for static IP only, the PPPoE group
// for PPPoE and any unknown mode.
struct NetworkRows {
  bool addressEnabled;
  bool pppoeShown;
};
NetworkRows NetworkRowsFor(uint8_t addressType);
// "%d.%d.%d.%d" of an address with its first octet in the top byte.
std::string DottedAddress(uint32_t address);

// What the apply writes and sends.
struct NetworkStore {
  bool sendPppoe = false;
  bool sendIp = false;
  bool addressChanged = false;  // address, mask, gateway, port or mode
  std::optional<uint16_t> pendingPort;
  std::optional<std::string> pendingServer;
};

// Compares now with the snapshot and writes what changed into the IP block and the PPPOE copy
// (the other bytes stay as they are). ddnsHostName: the SMTP block's DDNSHostName, the address
// a PPPoE or DHCP device is reached by. A port outside 1..65535 sends nothing at all.
NetworkStore StoreNetworkValues(const NetworkValues& now, const NetworkValues& snapshot,
                                std::string_view productId, std::string_view fwVersion,
                                std::string_view ddnsHostName, std::span<uint8_t> ip,
                                std::span<uint8_t> pppoe);
