// The login window's port box rule and the port text the settings take.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/port_text.h"

namespace {

TEST(PortBox, KeepsDigitsAndClampsToFourDigits) {
  struct Case {
    std::string typed;
    bool hasNumber;
    int32_t value;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {"80", true, 80, "80"},
      {"12345", true, 9999, "9999"},
      {"9999", true, 9999, "9999"},
      {"10000", true, 9999, "9999"},
      {"0", true, 0, "0"},
      {"08", true, 8, "8"},
      {"000", true, 0, "0"},
      {"8a0", true, 80, "80"},
      {"-12", true, 12, "12"},
      {" 4 2 ", true, 42, "42"},
      {"abc", false, 0, ""},
      {"-", false, 0, ""},
      // Far more digits than any number: still clamped, no overflow.
      {std::string(300, '9'), true, 9999, "9999"},
      {std::string(300, 'x') + "7", true, 7, "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const PortBoxText port = NormalisePortText(c.typed);
    EXPECT_EQ(port.hasNumber, c.hasNumber);
    EXPECT_EQ(port.value, c.value);
    EXPECT_EQ(port.text, c.shown);
  }
}

TEST(PortBox, SettingsTakeTheLowSixteenBits) {
  EXPECT_EQ(PortNumberOfText("8080"), 8080);
  EXPECT_EQ(PortNumberOfText("0"), 0);
  EXPECT_EQ(PortNumberOfText(""), 0);
  EXPECT_EQ(PortNumberOfText("70000"), 4464);
  EXPECT_EQ(PortNumberOfText("80x"), 80);
}

}  // namespace
