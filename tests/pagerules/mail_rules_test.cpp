// The mail page's sender split and join, the recipient forms and the SMTP block it writes.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "net/sys_cfg_blocks.h"
#include "pagerules/mail_rules.h"

namespace {

TEST(MailRecipient, StoredAndShownForms) {
  struct Case {
    const char* address;
    const char* stored;  // null: refused
  };
  const Case cases[] = {
      {"abc@x.com", "abc <abc@x.com>"},
      {"nohost", "<nohost>"},
      {"@lead.org", "<@lead.org>"},
      {"", "<>"},
      // 18 + 2 + 27 = 47 characters fits; one more does not.
      {"abcdefghijklmnopqr@example-host.org",
       "abcdefghijklmnopqr <abcdefghijklmnopqr@example-host.org>"},
  };
  for (const Case& c : cases) {
    auto stored = StoredRecipient(c.address);
    const std::string expected = c.stored;
    if (expected.size() > 47) {
      EXPECT_FALSE(stored) << c.address;
      continue;
    }
    ASSERT_TRUE(stored) << c.address;
    EXPECT_EQ(*stored, expected);
    EXPECT_EQ(ShownRecipient(*stored), c.address);
  }
  EXPECT_EQ(ShownRecipient("Jo <a@b> x>"), "a@b> x");
  EXPECT_EQ(ShownRecipient("plain text"), "plain text");
  EXPECT_EQ(ShownRecipient("a>b<"), "a>b<");
}

TEST(MailRecipient, LongestStoredFormIs47) {
  const std::string local(10, 'l');
  for (size_t host = 1; host < 40; ++host) {
    const std::string address = local + "@" + std::string(host, 'h');
    const size_t form = local.size() + 2 + address.size() + 1;
    EXPECT_EQ(StoredRecipient(address).has_value(), form <= 47) << address;
  }
}

TEST(MailOverflow, PlaceByFamilyAndFirmware) {
  struct Case {
    const char* product;
    const char* firmware;
    uint8_t option;
    size_t limit;
  };
  const Case cases[] = {
      {"RZ4K", "1026", kSysCfgAll, 15},    {"RZ4K", "1027", kSysCfgSntp, 42},
      {"RZ1K", "10270", kSysCfgSntp, 42},  {"RZ2K", "1002", kSysCfgAll, 15},
      {"RZ2K", "1003", kSysCfgSystem, 42}, {"RZ6M", "1003", kSysCfgSystem, 42},
      {"RZ8P", "2000", kSysCfgSystem, 42}, {"XXXX", "9999", kSysCfgAll, 15},
  };
  for (const Case& c : cases) {
    const MailOverflowPlace p = MailOverflowFor(c.product, c.firmware);
    EXPECT_EQ(p.option, c.option) << c.product << " " << c.firmware;
    EXPECT_EQ(MailSenderLimit(p), c.limit) << c.product << " " << c.firmware;
  }
}

struct MailFixture {
  std::array<uint8_t, 440> smtp{};
  std::array<uint8_t, 36> other{};
  MailOverflowPlace place;
  MailBlocks blocks() { return {smtp, other}; }
  std::string Text(const uint8_t* p, size_t n) {
    return std::string(reinterpret_cast<const char*>(p),
                       strnlen(reinterpret_cast<const char*>(p), n));
  }
};

TEST(MailSender, SplitOverDvrSntpBlock) {
  MailFixture f;
  f.place = MailOverflowFor("RZ4K", "1027");
  const MailValues before = LoadMail(f.blocks(), f.place);
  MailValues now = before;
  now.sender = "abcdefghijklmnopqrst";  // 20 characters
  EXPECT_EQ(StoreMail(now, before, false, f.blocks(), f.place),
            (1u << kSysCfgSmtp) | (1u << kSysCfgSntp));
  EXPECT_EQ(f.Text(&f.smtp[72], 16), "abcdefghijklmno");
  EXPECT_EQ(f.smtp[87], 0);
  EXPECT_EQ(f.Text(&f.other[8], 28), "pqrst");
  EXPECT_EQ(LoadMail(f.blocks(), f.place).sender, now.sender);

  // Exactly 15 characters: the SNTP rest is emptied and the block still goes out.
  const MailValues second = LoadMail(f.blocks(), f.place);
  now.sender = "ABCDEFGHIJKLMNO";
  EXPECT_EQ(StoreMail(now, second, false, f.blocks(), f.place),
            (1u << kSysCfgSmtp) | (1u << kSysCfgSntp));
  EXPECT_EQ(f.other[8], 0);
  EXPECT_EQ(LoadMail(f.blocks(), f.place).sender, "ABCDEFGHIJKLMNO");
}

TEST(MailSender, VideoServerRestKeepsTheTitleWhenShort) {
  MailFixture f;
  f.place = MailOverflowFor("RZ2K", "1003");
  std::memcpy(&f.other[20], "GATE-7", 6);
  const MailValues before = LoadMail(f.blocks(), f.place);
  MailValues now = before;
  now.sender = "sender.account.the-rest@x";  // 25: a rest of 10 stays in front of the title
  StoreMail(now, before, false, f.blocks(), f.place);
  EXPECT_EQ(f.Text(&f.other[4], 16), "the-rest@x");
  EXPECT_EQ(f.Text(&f.other[20], 16), "GATE-7");

  now.sender = std::string(15, 's') + std::string(15, 'r');  // a rest of 15 still fits
  StoreMail(now, LoadMail(f.blocks(), f.place), false, f.blocks(), f.place);
  EXPECT_EQ(f.Text(&f.other[4], 32), std::string(15, 'r'));
  EXPECT_EQ(f.Text(&f.other[20], 16), "GATE-7");

  now.sender = std::string(15, 's') + std::string(27, 'r');  // a long rest takes the title's bytes
  StoreMail(now, LoadMail(f.blocks(), f.place), false, f.blocks(), f.place);
  EXPECT_EQ(f.Text(&f.other[4], 32), std::string(27, 'r'));
  EXPECT_EQ(LoadMail(f.blocks(), f.place).sender, now.sender);
}

TEST(MailSender, WithoutOverflowCutAt15AndOtherBlockUntouched) {
  MailFixture f;
  f.place = MailOverflowFor("RZ2K", "1002");
  f.other.fill(0xAB);
  const MailValues before = LoadMail(f.blocks(), f.place);
  MailValues now = before;
  now.sender = std::string(20, 'q');
  EXPECT_EQ(StoreMail(now, before, false, f.blocks(), f.place), 1u << kSysCfgSmtp);
  EXPECT_EQ(f.Text(&f.smtp[72], 16), std::string(15, 'q'));
  for (uint8_t b : f.other) EXPECT_EQ(b, 0xAB);
}

TEST(MailStore, UntouchedSendsNothingAndListRewritesOnlyTheArray) {
  MailFixture f;
  f.place = MailOverflowFor("RZ8P", "1003");
  for (size_t i = 0; i < f.smtp.size(); ++i) f.smtp[i] = static_cast<uint8_t>(i * 7 + 1);
  f.smtp[4] = 1;  // neither radio
  std::memcpy(&f.smtp[136], "x <x@y>", 8);
  const auto original = f.smtp;
  const MailValues before = LoadMail(f.blocks(), f.place);
  EXPECT_EQ(StoreMail(before, before, false, f.blocks(), f.place), 0u);
  EXPECT_EQ(f.smtp, original);

  MailValues now = before;
  now.recipients = {"abc@x.com", ""};
  EXPECT_EQ(StoreMail(now, before, true, f.blocks(), f.place), 1u << kSysCfgSmtp);
  for (size_t i = 0; i < f.smtp.size(); ++i) {
    if (i >= 136 && i < 328) continue;
    EXPECT_EQ(f.smtp[i], original[i]) << i;
  }
  EXPECT_EQ(f.Text(&f.smtp[136], 48), "abc <abc@x.com>");
  EXPECT_EQ(f.Text(&f.smtp[184], 48), "<>");
  EXPECT_EQ(f.smtp[232], 0);
  EXPECT_EQ(f.smtp[327], 0);
}

}  // namespace
