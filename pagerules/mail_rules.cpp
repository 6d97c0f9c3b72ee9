#include "pagerules/mail_rules.h"

#include <algorithm>

size_t MailSenderLimit(const MailOverflowPlace& place) {
  return place.present() ? kMailAccountMaxChars : cfg::smtp::kMailAccount.maxChars;
}

std::optional<std::string> StoredRecipient(std::string_view address) {
  const size_t at = address.find('@');
  std::string stored;
  if (at != std::string_view::npos && at != 0) {
    stored.append(address.substr(0, at));
    stored.push_back(' ');
  }
  stored.push_back('<');
  stored.append(address);
  stored.push_back('>');
  if (stored.size() > cfg::smtp::kMailRecipient.maxChars) return std::nullopt;
  return stored;
}

std::string ShownRecipient(std::string_view stored) {
  const size_t open = stored.find('<');
  const size_t close = stored.rfind('>');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return std::string(stored);
  return std::string(stored.substr(open + 1, close - open - 1));
}

MailValues LoadMail(std::span<const uint8_t> smtp, std::span<const uint8_t> overflow,
                    const MailOverflowPlace& place) {
  using namespace cfg::smtp;
  MailValues v;
  v.sender = ReadMailAccount(smtp, overflow, place);
  // A text that fills its field is shown (and compared) as far as the field may hold it.
  v.server = CfgGetText(smtp, kSMTPServer).substr(0, kSMTPServer.maxChars);
  v.password = CfgGetText(smtp, kSMTPPassword).substr(0, kSMTPPassword.maxChars);
  v.user = CfgGetText(smtp, kSMTPUser).substr(0, kSMTPUser.maxChars);
  v.auth = static_cast<uint8_t>(CfgGetUint(smtp, kSMTPAuth));
  for (unsigned i = 0; i < kMailRecipientCount; ++i) {
    const std::string stored = CfgGetText(smtp, kMailRecipient, i);
    if (!stored.empty()) v.recipients.push_back(ShownRecipient(stored));
  }
  return v;
}

uint32_t StoreMail(const MailValues& now, const MailValues& snapshot, bool listChanged,
                   const MailBlocks& blocks, const MailOverflowPlace& place) {
  using namespace cfg::smtp;
  uint32_t changed = 0;
  const uint32_t smtpBit = 1u << kSysCfgSmtp;
  if (now.sender != snapshot.sender) {
    WriteMailAccount(blocks.smtp, blocks.overflow, place, now.sender);
    changed |= smtpBit;
    // The rest's block goes out with SMTP whatever the sender's length.
    if (place.present()) changed |= 1u << place.option;
  }
  const struct {
    const std::string& text;
    const std::string& was;
    const CfgField& field;
  } texts[] = {
      {now.server, snapshot.server, kSMTPServer},
      {now.password, snapshot.password, kSMTPPassword},
      {now.user, snapshot.user, kSMTPUser},
  };
  for (const auto& t : texts) {
    if (t.text == t.was) continue;
    CfgClear(blocks.smtp, t.field);
    CfgSetText(blocks.smtp, t.field, t.text);
    changed |= smtpBit;
  }
  if (now.auth != snapshot.auth) {
    CfgSetUint(blocks.smtp, kSMTPAuth, now.auth);
    changed |= smtpBit;
  }
  if (listChanged) {
    for (unsigned i = 0; i < kMailRecipientCount; ++i) CfgClear(blocks.smtp, kMailRecipient, i);
    const size_t n = std::min(now.recipients.size(), kMailRecipientCount);
    for (size_t i = 0; i < n; ++i) {
      // Refused when entered; a device text whose stored form grew too long stays cut.
      const std::string stored = StoredRecipient(now.recipients[i]).value_or(now.recipients[i]);
      CfgSetText(blocks.smtp, kMailRecipient, stored, static_cast<unsigned>(i));
    }
    changed |= smtpBit;
  }
  return changed;
}
