// The picture's colour: reported by "/GetColor.cgi", changed by "/SetColor.cgi" for every later
// reader, odd values ignored, items left out by the settings.
#include <string>

#include "tests/devsim/devsim_fixture.h"

namespace devsim_test {
namespace {

TEST_F(DevsimTest, ColourIsReportedAndStored) {
  StartDevsim({"--product", "RZ2K"});
  const std::string cookie = Login();
  const auto color = [&] { return Get("/GetColor.cgi?Cookie=" + cookie).body; };
  EXPECT_EQ(color(), "CON=128;BRI=0;HUE=0;");
  struct Case {
    std::string query;  // after "/SetColor.cgi?Cookie=..."
    std::string after;
  };
  const Case cases[] = {
      {"&CON=150&BRI=47&HUE=2", "CON=150;BRI=47;HUE=2;"},
      {"&HUE=255", "CON=150;BRI=47;HUE=255;"},             // the others stay
      {"&BRI=0&CON=0", "CON=0;BRI=0;HUE=255;"},            // any order
      {"&CON=256&BRI=-1&HUE=1a", "CON=0;BRI=0;HUE=255;"},  // ignored
      {"&CON=&BRI=0012&HUE=007", "CON=0;BRI=0;HUE=7;"},    // empty, four digits, zeros
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Get("/SetColor.cgi?Cookie=" + cookie + c.query).status, 200) << c.query;
    EXPECT_EQ(color(), c.after) << c.query;
  }
  EXPECT_EQ(Get("/SetColor.cgi?CON=1").status, 401);
  EXPECT_EQ(color(), "CON=0;BRI=0;HUE=7;");
  // Another login sees the device's values; the settings set them or leave items out.
  Control("/_devsim/set?color_con=&color_hue=300");
  EXPECT_EQ(Get("/GetColor.cgi?Cookie=" + Login()).body, "BRI=0;HUE=300;");
}

}  // namespace
}  // namespace devsim_test
