#include "platform/load_string_pair.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The program's own string table is linked in.
TEST(LoadStringPair, SplitsTheStringTableText) {
  char first[50], second[50];
  EXPECT_EQ(LoadStringPair(8331, first, second), 1);
  EXPECT_EQ(std::string(first), "R.E.T.R.(Enable)");
  EXPECT_EQ(std::string(second), "R.E.T.R.(Disable)");
  EXPECT_EQ(LoadStringPair(1005, first, second), 1);
  EXPECT_EQ(std::string(first), "RECORD");
  EXPECT_EQ(std::string(second), "RECORDING");
  EXPECT_EQ(LoadStringPair(4056, first, second), 1);  // a text without "$"
  EXPECT_EQ(std::string(first), "Read DeskTop Path Error!!");
  EXPECT_EQ(std::string(second), "");
  EXPECT_EQ(LoadStringPair(65000, first, second), 1);  // no such string
  EXPECT_EQ(std::string(first), "");
  EXPECT_EQ(std::string(second), "");
}

}  // namespace
