// The mail page's rules: the recipient text forms, and the page's values loaded from and stored
// into the SMTP block and the block holding the sender's rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "net/sys_cfg_fields.h"

inline constexpr size_t kMailRecipientCount = 4;

// The most characters the sender field takes: 42 with an overflow place, else 15.
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
  uint8_t auth = 0;                     // 2 "Yes", 0 "No"
  std::vector<std::string> recipients;  // shown forms, list order
};

struct MailBlocks {
  std::span<uint8_t> smtp;      // 440 bytes
  std::span<uint8_t> overflow;  // the whole block of the overflow place, or empty
};

MailValues LoadMail(std::span<const uint8_t> smtp, std::span<const uint8_t> overflow,
                    const MailOverflowPlace& place);
inline MailValues LoadMail(const MailBlocks& blocks, const MailOverflowPlace& place) {
  return LoadMail(blocks.smtp, blocks.overflow, place);
}
// Writes what differs from the snapshot (the recipients when listChanged) and gives the changed
// blocks as bits 1 << option. A short sender rest on SYSTEM leaves the device title alone.
uint32_t StoreMail(const MailValues& now, const MailValues& snapshot, bool listChanged,
                   const MailBlocks& blocks, const MailOverflowPlace& place);
