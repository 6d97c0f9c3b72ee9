#include "pagerules/mail_rules.h"

#include <algorithm>

#include "net/device_family.h"
#include "pagerules/field_text.h"

namespace {

constexpr size_t kSmtpServerOffset = 8, kSmtpServerWidth = 64;
constexpr size_t kSmtpUserOffset = 376, kSmtpUserWidth = 32;
constexpr size_t kSmtpPasswordOffset = 408, kSmtpPasswordWidth = 32;
constexpr size_t kSmtpAuthOffset = 4;
// The SYSTEM block's device title starts here; a short overflow stays in front of it.
constexpr size_t kSystemTitleOffset = 20;

}  // namespace

MailOverflowPlace MailOverflowFor(std::string_view productId, std::string_view firmware) {
  if (IsRZKSeriesProduct(productId) && !FirmwareOlderThan(firmware, "1027"))
    return {kSysCfgSntp, 8, 28};
  if ((IsRZ2KProduct(productId) || IsRZMSeriesProduct(productId) || IsRZ8PProduct(productId)) &&
      !FirmwareOlderThan(firmware, "1003"))
    return {kSysCfgSystem, 4, 32};
  return {};
}

size_t MailSenderLimit(const MailOverflowPlace& place) {
  return place.present() ? kMailAccountChars + kMailOverflowChars : kMailAccountChars;
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
  if (stored.size() > kMailRecipientWidth - 1) return std::nullopt;
  return stored;
}

std::string ShownRecipient(std::string_view stored) {
  const size_t open = stored.find('<');
  const size_t close = stored.rfind('>');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return std::string(stored);
  return std::string(stored.substr(open + 1, close - open - 1));
}

MailValues LoadMail(const MailBlocks& blocks, const MailOverflowPlace& place) {
  std::span<const uint8_t> smtp = blocks.smtp;
  MailValues v;
  v.sender = FieldText(BlockField(smtp, kMailAccountOffset, kMailAccountWidth));
  if (place.present()) {
    const std::string rest =
        FieldText(BlockField(std::span<const uint8_t>(blocks.overflow), place.offset, place.width));
    if (!rest.empty() && v.sender.size() == kMailAccountChars)
      v.sender += rest.substr(0, kMailOverflowChars);
  }
  v.server = FieldText(BlockField(smtp, kSmtpServerOffset, kSmtpServerWidth));
  v.password = FieldText(BlockField(smtp, kSmtpPasswordOffset, kSmtpPasswordWidth));
  v.user = FieldText(BlockField(smtp, kSmtpUserOffset, kSmtpUserWidth));
  v.auth = smtp.size() > kSmtpAuthOffset ? smtp[kSmtpAuthOffset] : 0;
  for (size_t i = 0; i < kMailRecipientCount; ++i) {
    auto entry = BlockField(smtp, kMailRecipientOffset + i * kMailRecipientWidth,
                            kMailRecipientWidth);
    if (entry.empty() || entry[0] == 0) continue;
    v.recipients.push_back(ShownRecipient(FieldText(entry)));
  }
  return v;
}

uint32_t StoreMail(const MailValues& now, const MailValues& snapshot, bool listChanged,
                   const MailBlocks& blocks, const MailOverflowPlace& place) {
  uint32_t changed = 0;
  const uint32_t smtpBit = 1u << kSysCfgSmtp;
  if (now.sender != snapshot.sender) {
    const std::string sender = now.sender.substr(0, MailSenderLimit(place));
    const std::string head = sender.substr(0, kMailAccountChars);
    WriteFieldText(BlockField(blocks.smtp, kMailAccountOffset, kMailAccountWidth), head);
    changed |= smtpBit;
    if (place.present()) {
      const std::string rest = sender.size() > kMailAccountChars
                                   ? sender.substr(kMailAccountChars, kMailOverflowChars)
                                   : std::string();
      size_t width = place.width;
      // Keep the device title behind a short rest untouched.
      if (place.option == kSysCfgSystem && rest.size() < kSystemTitleOffset - place.offset)
        width = kSystemTitleOffset - place.offset;
      WriteFieldText(BlockField(blocks.overflow, place.offset, width), rest);
      changed |= 1u << place.option;
    }
  }
  const struct {
    const std::string& text;
    const std::string& was;
    size_t offset, width;
  } texts[] = {
      {now.server, snapshot.server, kSmtpServerOffset, kSmtpServerWidth},
      {now.password, snapshot.password, kSmtpPasswordOffset, kSmtpPasswordWidth},
      {now.user, snapshot.user, kSmtpUserOffset, kSmtpUserWidth},
  };
  for (const auto& t : texts) {
    if (t.text == t.was) continue;
    WriteFieldText(BlockField(blocks.smtp, t.offset, t.width), t.text);
    changed |= smtpBit;
  }
  if (now.auth != snapshot.auth && blocks.smtp.size() > kSmtpAuthOffset) {
    blocks.smtp[kSmtpAuthOffset] = now.auth;
    changed |= smtpBit;
  }
  if (listChanged) {
    auto all = BlockField(blocks.smtp, kMailRecipientOffset,
                          kMailRecipientWidth * kMailRecipientCount);
    std::fill(all.begin(), all.end(), uint8_t{0});
    const size_t n = std::min(now.recipients.size(), kMailRecipientCount);
    for (size_t i = 0; i < n; ++i) {
      auto stored = StoredRecipient(now.recipients[i]);
      if (!stored) continue;  // refused when entered; a device text too long is dropped
      WriteFieldText(BlockField(blocks.smtp, kMailRecipientOffset + i * kMailRecipientWidth,
                                kMailRecipientWidth),
                     *stored);
    }
    changed |= smtpBit;
  }
  return changed;
}
