// "IPRecord.dat" records: 400 bytes each, three markers, NUL-ended texts of at most 127
// characters and a little-endian port.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/ip_record.h"

namespace {

TEST(IpRecord, EncodesTheFixedLayout) {
  const std::vector<AddressBookRow> rows = {{"admin", "192.168.1.10", "office", 8080},
                                            {"guest", "dvr.example", "", 80}};
  const std::vector<uint8_t> image = EncodeIpRecords(rows);
  ASSERT_EQ(image.size(), 800u);
  const uint8_t* r = image.data();
  EXPECT_EQ(std::vector<uint8_t>(r, r + 4), (std::vector<uint8_t>{0x12, 0x12, 0x12, 0x12}));
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 4), "admin");
  EXPECT_EQ(std::vector<uint8_t>(r + 132, r + 136), (std::vector<uint8_t>{0x4C, 0x4C, 0x4C, 0x4C}));
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 136), "192.168.1.10");
  EXPECT_EQ(std::vector<uint8_t>(r + 264, r + 268), (std::vector<uint8_t>{0x8A, 0x8A, 0x8A, 0x8A}));
  EXPECT_STREQ(reinterpret_cast<const char*>(r + 268), "office");
  EXPECT_EQ(std::vector<uint8_t>(r + 396, r + 400), (std::vector<uint8_t>{0x90, 0x1F, 0x00, 0x00}));
  // Every byte after a text's NUL is zero.
  for (size_t i = 4 + 5; i < 132; ++i) EXPECT_EQ(r[i], 0) << i;

  std::vector<AddressBookRow> back;
  ASSERT_TRUE(DecodeIpRecords(image.data(), image.size(), back));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[1].strUser, "guest");
  EXPECT_EQ(back[1].strIpAddress, "dvr.example");
  EXPECT_EQ(back[1].wMajorPort, 80);
}

TEST(IpRecord, TextsKeepAtMost127Characters) {
  for (size_t length : {126u, 127u, 128u, 200u}) {
    SCOPED_TRACE(length);
    std::vector<AddressBookRow> back;
    const std::vector<uint8_t> image =
        EncodeIpRecords({{std::string(length, 'u'), "a", std::string(length, 'c'), 1}});
    ASSERT_TRUE(DecodeIpRecords(image.data(), image.size(), back));
    EXPECT_EQ(back[0].strUser, std::string(length < 127 ? length : 127, 'u'));
    EXPECT_EQ(back[0].strComment, std::string(length < 127 ? length : 127, 'c'));
  }
}

TEST(IpRecord, PartialRecordsAreIgnoredAndABadMarkerRefusesTheFile) {
  std::vector<uint8_t> image = EncodeIpRecords({{"a", "1.2.3.4", "", 1}, {"b", "5.6.7.8", "", 2}});
  image.resize(1000, 0x55);
  std::vector<AddressBookRow> rows;
  ASSERT_TRUE(DecodeIpRecords(image.data(), image.size(), rows));
  EXPECT_EQ(rows.size(), 2u);
  ASSERT_TRUE(DecodeIpRecords(image.data(), 399, rows));
  EXPECT_TRUE(rows.empty());

  image[400 + 132] = 0;  // the second record's address marker
  rows = {{"kept", "", "", 0}};
  EXPECT_FALSE(DecodeIpRecords(image.data(), image.size(), rows));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].strUser, "kept");
}

TEST(IpRecord, AFieldWithoutNulYieldsItsWholeText) {
  std::vector<uint8_t> image = EncodeIpRecords({{"", "", "", 0}});
  std::memset(image.data() + 4, 'x', 128);
  std::vector<AddressBookRow> rows;
  ASSERT_TRUE(DecodeIpRecords(image.data(), image.size(), rows));
  EXPECT_EQ(rows[0].strUser, std::string(128, 'x'));
}

}  // namespace
