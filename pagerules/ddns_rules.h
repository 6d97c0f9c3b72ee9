// The DDNS page's rules: the provider list and the two brand variants, and its values in the
// DNS and SMTP blocks.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

enum class DdnsBrand { kNone, kTambro, kCorvanti };

// Mask bit 0x200 first, then 0x80.
DdnsBrand DdnsBrandOf(uint32_t deviceMask);
// The label shown in place of the list ("TAMBRO", "CORVANTI"), or null.
const char* DdnsBrandLabel(DdnsBrand brand);
// "custom" 0, "dyndns" 1, "statdns" 2, anything else 0.
int DdnsProviderIndex(std::string_view provider);
// The text written when the provider changed: the brand's own, else the list's.
const char* DdnsProviderText(DdnsBrand brand, int index);

struct DdnsValues {
  uint32_t dnsServer = 0;  // first octet in the high byte
  int autoDns = 0;
  int enable = 0;
  int provider = 0;
  std::string user;      // at most 15
  std::string password;  // at most 15
  std::string host;      // at most 47
};

DdnsValues LoadDdns(std::span<const uint8_t> dns, std::span<const uint8_t> smtp);

struct DdnsStore {
  bool dns = false;
  bool smtp = false;
};
DdnsStore StoreDdns(const DdnsValues& now, const DdnsValues& snapshot, DdnsBrand brand,
                    std::span<uint8_t> dns, std::span<uint8_t> smtp);

// Whether "AUTO" is shown: DVR family with the network page's address mode DHCP (2).
bool DdnsAutoShown(std::string_view productId, uint8_t ipType);
