#include "pagerules/ddns_rules.h"

#include "net/device_family.h"
#include "net/sys_cfg_fields.h"

namespace {

constexpr const char* kProviders[] = {"custom", "dyndns", "statdns"};

}  // namespace

DdnsBrand DdnsBrandOf(uint32_t deviceMask) {
  if (TestDeviceMaskBit(0x200, deviceMask)) return DdnsBrand::kTambro;
  if (TestDeviceMaskBit(0x80, deviceMask)) return DdnsBrand::kCorvanti;
  return DdnsBrand::kNone;
}

const char* DdnsBrandLabel(DdnsBrand brand) {
  switch (brand) {
    case DdnsBrand::kTambro:
      return "TAMBRO";
    case DdnsBrand::kCorvanti:
      return "CORVANTI";
    default:
      return nullptr;
  }
}

int DdnsProviderIndex(std::string_view provider) {
  for (int i = 0; i < 3; ++i)
    if (provider == kProviders[i]) return i;
  return 0;
}

const char* DdnsProviderText(DdnsBrand brand, int index) {
  switch (brand) {
    case DdnsBrand::kTambro:
      return "halvenpoint";
    case DdnsBrand::kCorvanti:
      return "corvanti";
    default:
      return kProviders[index >= 0 && index < 3 ? index : 0];
  }
}

DdnsValues LoadDdns(std::span<const uint8_t> dns, std::span<const uint8_t> smtp) {
  using namespace cfg;
  DdnsValues v;
  v.autoDns = static_cast<int>(CfgGetUint(dns, dns::kDNSAuto));
  const Ipv4Octets o = CfgGetIpv4(dns, dns::kDNSServer);
  v.dnsServer = static_cast<uint32_t>(o[0]) << 24 | static_cast<uint32_t>(o[1]) << 16 |
                static_cast<uint32_t>(o[2]) << 8 | o[3];
  v.enable = static_cast<int>(CfgGetUint(smtp, smtp::kDDNSEnable));
  v.provider = DdnsProviderIndex(CfgGetText(smtp, smtp::kDDNSProvider));
  // A text that fills its field is shown (and compared) as far as the field may hold it.
  v.user = CfgGetText(smtp, smtp::kDDNSUser).substr(0, smtp::kDDNSUser.maxChars);
  v.password = CfgGetText(smtp, smtp::kDDNSPassword).substr(0, smtp::kDDNSPassword.maxChars);
  v.host = CfgGetText(smtp, smtp::kDDNSHostName).substr(0, smtp::kDDNSHostName.maxChars);
  return v;
}

DdnsStore StoreDdns(const DdnsValues& now, const DdnsValues& snapshot, DdnsBrand brand,
                    std::span<uint8_t> dns, std::span<uint8_t> smtp) {
  using namespace cfg;
  DdnsStore s;
  if (now.dnsServer != snapshot.dnsServer) {
    const uint32_t a = now.dnsServer;
    s.dns |= CfgSetIpv4(dns, dns::kDNSServer,
                        {static_cast<uint8_t>(a >> 24), static_cast<uint8_t>(a >> 16),
                         static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a)});
  }
  if (now.autoDns != snapshot.autoDns)
    s.dns |= CfgSetUint(dns, dns::kDNSAuto, static_cast<uint32_t>(now.autoDns));
  if (now.enable != snapshot.enable)
    s.smtp |= CfgSetUint(smtp, smtp::kDDNSEnable, static_cast<uint32_t>(now.enable));
  const struct {
    const std::string& text;
    const std::string& was;
    const CfgField& field;
  } texts[] = {{now.user, snapshot.user, smtp::kDDNSUser},
               {now.password, snapshot.password, smtp::kDDNSPassword},
               {now.host, snapshot.host, smtp::kDDNSHostName}};
  for (const auto& t : texts) {
    if (t.text == t.was) continue;
    CfgClear(smtp, t.field);
    s.smtp |= CfgSetText(smtp, t.field, t.text);
  }
  if (now.provider != snapshot.provider) {
    CfgClear(smtp, smtp::kDDNSProvider);
    s.smtp |= CfgSetText(smtp, smtp::kDDNSProvider, DdnsProviderText(brand, now.provider));
  }
  return s;
}

bool DdnsAutoShown(std::string_view productId, uint8_t ipType) {
  return IsRZKSeriesProduct(productId) && ipType == 2;
}
