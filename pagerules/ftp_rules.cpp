#include "pagerules/ftp_rules.h"

#include "net/sys_cfg_fields.h"

namespace {

struct FtpText {
  std::string FtpValues::*member;
  const CfgField& field;
};
const FtpText kTexts[] = {
    {&FtpValues::server, cfg::ftp::kFTPServer},
    {&FtpValues::user, cfg::ftp::kFTPUser},
    {&FtpValues::password, cfg::ftp::kFTPPassword},
    {&FtpValues::path, cfg::ftp::kFTPPath},
};

}  // namespace

FtpValues LoadFtp(std::span<const uint8_t> ftp) {
  FtpValues v;
  for (const auto& t : kTexts) {
    std::string text = CfgGetText(ftp, t.field);
    v.*t.member = text.size() < t.field.width ? text : std::string();
  }
  v.port = CfgGetUint(ftp, cfg::ftp::kFTPPort);
  return v;
}

bool StoreFtp(const FtpValues& now, const FtpValues& snapshot, std::span<uint8_t> ftp) {
  bool changed = false;
  for (const auto& t : kTexts) {
    const std::string& text = now.*t.member;
    if (text == snapshot.*t.member || text.size() >= t.field.width) continue;
    CfgClear(ftp, t.field);
    CfgSetText(ftp, t.field, text);
    changed = true;
  }
  if (now.port != snapshot.port) {
    CfgSetUint(ftp, cfg::ftp::kFTPPort, now.port);
    changed = true;
  }
  return changed;
}

FtpPortFilter FilterFtpPort(std::string_view text) {
  FtpPortFilter f;
  if (text.empty()) {
    f.empty = true;
    return f;
  }
  uint64_t n = 0;
  bool digits = false;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    digits = true;
    n = n * 10 + static_cast<uint64_t>(c - '0');
    if (n > 65535) n = 65536;  // stays out of range, never overflows
  }
  if (digits && n >= 1 && n <= 65535) {
    f.valid = true;
    f.port = static_cast<uint32_t>(n);
  }
  return f;
}
