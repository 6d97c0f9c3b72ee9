// The program's string table and the text helpers.
#include <gtest/gtest.h>

#include <string>

#include "platform/strings.h"
#include "res/resource.h"
#include "tests/platform/test_resource.h"

namespace {

TEST(StringTable, HoldsTheProgramTextsExactly) {
  struct Entry {
    UINT id;
    const char* text;
  };
  const Entry entries[] = {
      {4009, "Can't read or create a CtrlFile.ini!!"},
      {4040, "Login error !!"},
      {4056, "Read DeskTop Path Error!!"},
      {4081, "Username or password is not correct"},
      {4098, "Execuate player program is failed"},
      {1005, "RECORD$RECORDING"},
      {1304, "Server Log$Cancel"},
      {8310, "TURBO_ON$TURBO_OFF"},
      {8312, "PTZ_CONTROL_ON$PTZ_CONTROL_OFF"},
      {8331, "R.E.T.R.(Enable)$R.E.T.R.(Disable)"},
      {8352, "Hot_Point_ON$Hot_Point_OFF"},
      {8356, "ACTION$PRESET"},
      {8440, "Address"},
      {8441, "Search"},
      {8442, "Player"},
      {8443, "Copy"},
      {8444, "Connect"},
      {8445, "Cancel"},
      {8527, "Upgrade Firmware"},
      {8528, "User Name"},
      {8529, "Password"},
      {8530, "IP"},
      {8531, "Port"},
  };
  for (const Entry& e : entries) {
    EXPECT_EQ(ost::LoadResString(e.id), e.text) << "string " << e.id;
  }
  EXPECT_EQ(IDS_LOGIN_CREDENTIALS_WRONG, 4081);
  EXPECT_EQ(IDS_TIP_PORT, 8531);
}

TEST(StringTable, MissingTextIsEmptyAndLongTextIsWhole) {
  std::string text = "stale";
  EXPECT_FALSE(ost::TryLoadResString(4999, text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(ost::LoadResString(4999), "");

  ASSERT_TRUE(ost::TryLoadResString(IDS_TEST_LONG, text));
  ASSERT_EQ(text.size(), 600u);
  EXPECT_EQ(text.substr(0, 3), "abc");
  EXPECT_EQ(text.back(), static_cast<char>('a' + 599 % 26));
}

TEST(Format, FormatsShortAndLongTexts) {
  EXPECT_EQ(ost::Format("%d.%d.%d.%d", 192, 168, 1, 10), "192.168.1.10");
  EXPECT_EQ(ost::Format("%u", 65535u), "65535");
  EXPECT_EQ(ost::Format("%s", ""), "");
  std::string longText(1000, 'x');
  EXPECT_EQ(ost::Format("<%s>%d", longText.c_str(), 7), "<" + longText + ">7");
  EXPECT_EQ(ost::Format("%lld", -9000000000LL), "-9000000000");
}

}  // namespace
