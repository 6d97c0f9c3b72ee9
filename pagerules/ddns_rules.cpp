#include "pagerules/ddns_rules.h"

#include "net/device_family.h"
#include "pagerules/field_text.h"

namespace {

constexpr size_t kDnsAuto = 3, kDnsServer = 4;
constexpr size_t kEnable = 5, kProvider = 88, kUser = 104, kPassword = 120, kHost = 328;
constexpr const char* kProviders[] = {"custom", "dyndns", "statdns"};

}  // namespace

DdnsBrand DdnsBrandOf(uint32_t deviceMask) {
  if (TestDeviceMaskBit(0x200, deviceMask)) return DdnsBrand::kTambro;
  if (TestDeviceMaskBit(0x80, deviceMask)) return DdnsBrand::kCorvanti;
  return DdnsBrand::kNone;
}

const char* DdnsBrandLabel(DdnsBrand brand) {
  switch (brand) {
    case DdnsBrand::kTambro: return "TAMBRO";
    case DdnsBrand::kCorvanti: return "CORVANTI";
    default: return nullptr;
  }
}

int DdnsProviderIndex(std::string_view provider) {
  for (int i = 0; i < 3; ++i)
    if (provider == kProviders[i]) return i;
  return 0;
}

const char* DdnsProviderText(DdnsBrand brand, int index) {
  switch (brand) {
    case DdnsBrand::kTambro: return "halvenpoint";
    case DdnsBrand::kCorvanti: return "corvanti";
    default: return kProviders[index >= 0 && index < 3 ? index : 0];
  }
}

DdnsValues LoadDdns(std::span<const uint8_t> dns, std::span<const uint8_t> smtp) {
  DdnsValues v;
  if (dns.size() >= kDnsBlockSize) {
    v.autoDns = dns[kDnsAuto];
    v.dnsServer = static_cast<uint32_t>(dns[kDnsServer]) << 24 |
                  static_cast<uint32_t>(dns[kDnsServer + 1]) << 16 |
                  static_cast<uint32_t>(dns[kDnsServer + 2]) << 8 | dns[kDnsServer + 3];
  }
  if (smtp.size() > kEnable) v.enable = smtp[kEnable];
  v.provider = DdnsProviderIndex(FieldText(BlockField(smtp, kProvider, 16)));
  v.user = FieldText(BlockField(smtp, kUser, 16));
  v.password = FieldText(BlockField(smtp, kPassword, 16));
  v.host = FieldText(BlockField(smtp, kHost, 48));
  return v;
}

DdnsStore StoreDdns(const DdnsValues& now, const DdnsValues& snapshot, DdnsBrand brand,
                    std::span<uint8_t> dns, std::span<uint8_t> smtp) {
  DdnsStore s;
  if (dns.size() >= kDnsBlockSize) {
    if (now.dnsServer != snapshot.dnsServer) {
      for (int i = 0; i < 4; ++i)
        dns[kDnsServer + static_cast<size_t>(i)] = static_cast<uint8_t>(now.dnsServer >> (24 - 8 * i));
      s.dns = true;
    }
    if (now.autoDns != snapshot.autoDns) {
      dns[kDnsAuto] = static_cast<uint8_t>(now.autoDns);
      s.dns = true;
    }
  }
  if (smtp.size() <= kEnable) return s;
  if (now.enable != snapshot.enable) {
    smtp[kEnable] = static_cast<uint8_t>(now.enable);
    s.smtp = true;
  }
  const struct {
    const std::string& text;
    const std::string& was;
    size_t offset, width;
  } texts[] = {{now.user, snapshot.user, kUser, 16},
               {now.password, snapshot.password, kPassword, 16},
               {now.host, snapshot.host, kHost, 48}};
  for (const auto& t : texts) {
    if (t.text == t.was) continue;
    WriteFieldText(BlockField(smtp, t.offset, t.width), t.text);
    s.smtp = true;
  }
  if (now.provider != snapshot.provider) {
    WriteFieldText(BlockField(smtp, kProvider, 16), DdnsProviderText(brand, now.provider));
    s.smtp = true;
  }
  return s;
}

bool DdnsAutoShown(std::string_view productId, uint8_t ipType) {
  return IsRZKSeriesProduct(productId) && ipType == 2;
}
