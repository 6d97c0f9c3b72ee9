#include "pagerules/ftp_rules.h"

#include "pagerules/field_text.h"

namespace {

struct FtpText {
  std::string FtpValues::*member;
  size_t offset, width;
};
constexpr FtpText kTexts[] = {
    {&FtpValues::server, 4, 32},
    {&FtpValues::user, 36, 16},
    {&FtpValues::password, 52, 16},
    {&FtpValues::path, 68, 32},
};
constexpr size_t kPortOffset = 100;

}  // namespace

FtpValues LoadFtp(std::span<const uint8_t> ftp) {
  FtpValues v;
  for (const auto& t : kTexts) {
    std::string text = FieldText(BlockField(ftp, t.offset, t.width));
    v.*t.member = text.size() < t.width ? text : std::string();
  }
  v.port = ReadU16(ftp, kPortOffset);
  return v;
}

bool StoreFtp(const FtpValues& now, const FtpValues& snapshot, std::span<uint8_t> ftp) {
  bool changed = false;
  for (const auto& t : kTexts) {
    const std::string& text = now.*t.member;
    if (text == snapshot.*t.member || text.size() >= t.width) continue;
    WriteFieldText(BlockField(ftp, t.offset, t.width), text);
    changed = true;
  }
  if (now.port != snapshot.port) {
    WriteU16(ftp, kPortOffset, static_cast<uint16_t>(now.port));
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
