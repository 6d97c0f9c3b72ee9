#include "net/device_family.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/string_pair.h"

namespace {

struct FamilyCase {
  const char* productId;
  bool k, twoK, eightP, m;
};

TEST(DeviceFamily, ExactlyOnePredicatePerAcceptedIdAndNoneOtherwise) {
  const FamilyCase cases[] = {
      {"RZ1K", true, false, false, false},   {"RZ2K", false, true, false, false},
      {"RZ3K", true, false, false, false},   {"RZ4K", true, false, false, false},
      {"RZ5M", false, false, false, true},   {"RZ6M", false, false, false, true},
      {"RZ7M", false, false, false, true},   {"RZ8P", false, false, true, false},
      {"rz3k", false, false, false, false},  {"RZ3", false, false, false, false},
      {"RZ3K ", false, false, false, false}, {"", false, false, false, false},
      {"ABCD", false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.productId);
    EXPECT_EQ(IsRZKSeriesProduct(c.productId), c.k);
    EXPECT_EQ(IsRZ2KProduct(c.productId), c.twoK);
    EXPECT_EQ(IsRZ8PProduct(c.productId), c.eightP);
    EXPECT_EQ(IsRZMSeriesProduct(c.productId), c.m);
  }
  for (auto id : ProductIdTable) {
    const std::string s(id);
    EXPECT_EQ(IsRZKSeriesProduct(s) + IsRZ2KProduct(s) + IsRZ8PProduct(s) + IsRZMSeriesProduct(s),
              1)
        << s;
  }
}

TEST(DeviceFamily, CompareVersionStringAgainstThreshold) {
  struct Case {
    const char* threshold;
    std::string version;
    int expected;
  } const cases[] = {
      {"1035", "1034", 2},
      {"1035", "1035", 0},
      {"1035", "1036", 1},
      {"1035", "103", -1},
      {"1035", "10350", -1},
      {"103", "1035", -1},
      {"1035", "", -1},
      {"1035", "0999", 2},  // decided at the first position
      {"1035", "2000", 1},  // decided at the first position though later characters are smaller
      {"1039", "103A", 1},  // compared by code, not as numbers
      {"1035", std::string("103") + '\x80', 2},  // a code of 128 or more is below ASCII
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareVersionString(c.threshold, c.version), c.expected)
        << c.threshold << " vs " << c.version;
  }
}

TEST(DeviceFamily, CodeTableBothWays) {
  EXPECT_EQ(CodeTableIndexOf(25), 10);
  EXPECT_EQ(CodeTableIndexOf(9), 9);
  EXPECT_EQ(CodeTableIndexOf(0), 0);
  EXPECT_EQ(CodeTableIndexOf(10), 0);
  EXPECT_EQ(CodeTableIndexOf(255), 0);
  EXPECT_EQ(CodeTableValueAt(10), 25);
  EXPECT_EQ(CodeTableValueAt(3), 3);
  EXPECT_EQ(CodeTableValueAt(11), 0);
  EXPECT_EQ(CodeTableValueAt(255), 0);
}

TEST(DeviceFamily, CapabilityMaskAndMultiChannel) {
  EXPECT_EQ(TestDeviceMaskBit(0, 0xFFFFFFFFu), 0);
  EXPECT_EQ(TestDeviceMaskBit(0x80, 0x80), 1);
  EXPECT_EQ(TestDeviceMaskBit(0x80, 0xFFFFFF7Fu), 0);
  EXPECT_EQ(TestDeviceMaskBit(0x201, 0x200), 1);
  EXPECT_EQ(IsMultiChannelDevice(0), 0);
  EXPECT_EQ(IsMultiChannelDevice(7), 7);
}

TEST(StringPair, SplitsAtFirstDollarAndStaysInsideBuffers) {
  struct Case {
    std::string text, first, second;
  } const cases[] = {
      {"R.E.T.R.(Enable)$R.E.T.R.(Disable)", "R.E.T.R.(Enable)", "R.E.T.R.(Disable)"},
      {"RECORD$RECORDING", "RECORD", "RECORDING"},
      {"Server Log$Cancel", "Server Log", "Cancel"},
      {"ACTION$PRESET", "ACTION", "PRESET"},
      {"A$B$C", "A", "B$C"},
      {"$", "", ""},
      {"NoDollar", "NoDollar", ""},
      {"", "", ""},
      {std::string(60, 'x') + "$" + std::string(70, 'y'), std::string(49, 'x'),
       std::string(49, 'y')},
      {std::string(80, 'z'), std::string(49, 'z'), ""},
  };
  for (const auto& c : cases) {
    // Guard bytes around each 50-byte buffer catch any write past it.
    char area[2][52];
    std::memset(area, '#', sizeof area);
    char* first = area[0] + 1;
    char* second = area[1] + 1;
    EXPECT_EQ(SplitStringPair(c.text, first, second), 1);
    EXPECT_EQ(std::string(first), c.first) << c.text;
    EXPECT_EQ(std::string(second), c.second) << c.text;
    for (auto& a : area) {
      EXPECT_EQ(a[0], '#');
      EXPECT_EQ(a[51], '#');
    }
  }
}

}  // namespace
