// The device log: count, pages newest first with a cursor per session, clearing; and the
// time-sync keys.
#include <string>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

uint32_t EventOf(const std::string& body, size_t entry) {
  uint32_t v = 0;
  for (int b = 3; b >= 0; --b)
    v = v << 8 | static_cast<uint8_t>(body[entry * 32 + static_cast<size_t>(b)]);
  return v;
}

TEST_F(DevsimTest, LogPagesNewestFirstPerSession) {
  StartDevsim({"--product", "RZ2K", "--set", "log.length=65"});
  const std::string a = Login();
  const std::string b = Login();
  auto get = [&](const std::string& cookie, const std::string& state) {
    return Get("/Getlog.cgi?Cookie=" + cookie + "&STATE=" + state);
  };
  EXPECT_EQ(get(a, "COUNT").body, "COUNT=65;");
  const std::string first = get(a, "LAST").body;
  ASSERT_EQ(first.size(), 30u * 32);
  EXPECT_EQ(get(b, "LAST").body, first);  // b's cursor is its own
  EXPECT_EQ(get(a, "PRE").body.size(), 30u * 32);
  const std::string last = get(a, "PRE").body;
  ASSERT_EQ(last.size(), 5u * 32);
  EXPECT_EQ(EventOf(last, 4), 0x1u);  // the oldest entry is the first event kind
  EXPECT_EQ(get(a, "PRE").body, "");
  EXPECT_EQ(get(b, "PRE").body.size(), 30u * 32);
  EXPECT_EQ(get(a, "NEXT").status, 400);

  EXPECT_EQ(Get("/ClearLog.cgi?Cookie=" + a).status, 200);
  EXPECT_EQ(get(b, "COUNT").body, "COUNT=0;");
  EXPECT_EQ(get(b, "PRE").body, "");
}

TEST_F(DevsimTest, SyncTimeChecksItsKeys) {
  StartDevsim({"--product", "RZ2K"});
  const std::string c = "/SyncTime.cgi?Cookie=" + Login();
  struct Case {
    std::string query;
    int status;
  };
  const Case cases[] = {
      {"&Mode=1&ServerMode=0&Server=ntp.example&NationID=57&Hour=8&Minute=0", 200},
      {"&Mode=1&ServerMode=1&NationID=18&Hour=-3&Minute=-30", 200},
      {"&Mode=1&ServerMode=0&NationID=18&Hour=-3&Minute=-30", 400},
      {"&Mode=1&ServerMode=1&NationID=75&Hour=0&Minute=0", 400},
      {"&Mode=0&Year=2026&Month=12&Day=11&Hour=9&Minute=5&Second=7", 200},
      {"&Mode=0&Year=2026&Month=13&Day=11&Hour=9&Minute=5&Second=7", 400},
      {"&Mode=2", 400},
  };
  for (const Case& k : cases) EXPECT_EQ(Get(c + k.query).status, k.status) << k.query;
}

}  // namespace
}  // namespace devsim_test
