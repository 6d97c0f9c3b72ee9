// The mail page's rules: where the sender text lives, the recipient text forms, and the page's
// values loaded from and stored into the SMTP block (and the block holding the sender's rest).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/sys_cfg_blocks.h"

inline constexpr size_t kSmtpBlockSize = 440;
inline constexpr size_t kMailAccountOffset = 72;
inline constexpr size_t kMailAccountWidth = 16;
inline constexpr size_t kMailRecipientOffset = 136;
inline constexpr size_t kMailRecipientWidth = 48;
inline constexpr size_t kMailRecipientCount = 4;
inline constexpr size_t kMailAccountChars = kMailAccountWidth - 1;  // 15
inline constexpr size_t kMailOverflowChars = 27;

// Where the sender's characters after the fifteenth are kept.
struct MailOverflowPlace {
  uint8_t option = kSysCfgAll;  // kSysCfgSntp, kSysCfgSystem, or kSysCfgAll for none
  size_t offset = 0;
  size_t width = 0;
  bool present() const { return option != kSysCfgAll; }
};

// The SNTP block at 8 (28 bytes) for DVRs from "1027"; the SYSTEM block at 4 (32 bytes) for the
// video-server families from "1003"; none otherwise.
MailOverflowPlace MailOverflowFor(std::string_view productId, std::string_view firmware);
// The most characters the sender field takes: 42 with an overflow, else 15.
size_t MailSenderLimit(const MailOverflowPlace& place);

// The stored form of an address: "local <address>", or "<address>" when it has no at sign or
// begins with one. Nothing when the form would not fit a 48-byte entry with its ending zero.
std::optional<std::string> StoredRecipient(std::string_view address);
// The characters between the first "<" and the last ">"; a text without that pair is shown whole.
std::string ShownRecipient(std::string_view stored);

struct MailValues {
  std::string sender;
  std::string server;
  std::string password;
  std::string user;
  uint8_t auth = 0;                      // 2 "Yes", 0 "No"
  std::vector<std::string> recipients;  // shown forms, list order
};

struct MailBlocks {
  std::span<uint8_t> smtp;      // 440 bytes
  std::span<uint8_t> overflow;  // the whole block of the overflow place (36 bytes), or empty
};

MailValues LoadMail(const MailBlocks& blocks, const MailOverflowPlace& place);
// Writes what differs from the snapshot (the recipients when listChanged) and gives the changed
// blocks as bits 1 << option. An overflow at the SYSTEM block's title bytes (20-35) is written
// there only when the sender's rest does not fit in front of them.
uint32_t StoreMail(const MailValues& now, const MailValues& snapshot, bool listChanged,
                   const MailBlocks& blocks, const MailOverflowPlace& place);
