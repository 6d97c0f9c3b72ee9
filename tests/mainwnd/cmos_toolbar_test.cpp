// The camera-sensor toolbar's decisions: the reported state byte, the faces it gives the
// buttons, the zoom and rotate requests and the tool window's place.
#include "mainwnd/cmos_toolbar.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The eight buttons' states as digits, views first.
std::string Faces(const CmosSensorState& s) {
  std::string out;
  for (int i = 0; i < kCmosButtonCount; ++i) out += char('0' + CmosButtonState(s, i));
  return out;
}

TEST(CmosToolBar, ReportedStatesAndTheFacesTheyGive) {
  struct Step {
    uint8_t reported;
    bool changed;
    const char* faces;
  };
  // From the start state (full frame, no flips).
  const Step steps[] = {
      {0x00, false, "10000000"},  // what the device starts with: nothing to redraw
      {0x03, true, "00010000"},  {0xC2, true, "00100011"},  // view 2, both flips on
      {0xC2, false, "00100011"}, {0x02, true, "00100000"},  // both flips off
      {0x45, true, "00000101"},                             // vertical flip alone
      {0x30, true, "10000000"},                             // bits 4 and 5 carry nothing
      {0x8F, true, "00000010"},                             // a view the toolbar has no button for
  };
  CmosSensorState s;
  EXPECT_EQ(Faces(s), "10000000");
  for (const Step& step : steps) {
    SCOPED_TRACE(static_cast<int>(step.reported));
    EXPECT_EQ(UpdateCmosState(s, step.reported), step.changed);
    EXPECT_EQ(Faces(s), step.faces);
  }
  EXPECT_EQ(s.byViewMode, 15);
  EXPECT_EQ(CmosButtonState(s, -1), 0);
  EXPECT_EQ(CmosButtonState(s, kCmosButtonCount), 0);
}

TEST(CmosToolBar, ZoomAndFlipRequests) {
  CmosSensorState off;
  CmosSensorState both;
  UpdateCmosState(both, 0xC2);
  struct Case {
    const char* name;
    std::string query, expected;
  };
  const Case cases[] = {
      {"zoom", CmosZoomQuery("C0FFEE", 3), "/OV9653Zoom.cgi?Cookie=C0FFEE&MODE=3"},
      {"zoom without a cookie", CmosZoomQuery("", 0), "/OV9653Zoom.cgi?MODE=0"},
      {"horizontal, flips off", CmosFlipQuery("C0FFEE", off, true),
       "/OV9653Rotate.cgi?Cookie=C0FFEE&HR=1&VR=0"},
      {"vertical, flips off", CmosFlipQuery("C0FFEE", off, false),
       "/OV9653Rotate.cgi?Cookie=C0FFEE&VR=1&HR=0"},
      {"horizontal, flips on", CmosFlipQuery("", both, true), "/OV9653Rotate.cgi?HR=0&VR=1"},
      {"vertical, flips on", CmosFlipQuery("", both, false), "/OV9653Rotate.cgi?VR=0&HR=1"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.query, c.expected) << c.name;
}

TEST(CmosToolBar, PlaceBesideTheMainWindow) {
  // A 1024 x 738 work area and a 730 x 600 main window centred in it at (147, 69).
  const ScreenPoint start = CmosToolBarStartPlace(1024, 738, 730, 600);
  EXPECT_EQ(start.x, 147 - 45 + 2);
  EXPECT_EQ(start.y, 69);
  const ScreenPoint moved = CmosToolBarFollowPlace(-20, 500, kCmosToolBarWidth);
  EXPECT_EQ(moved.x, -63);
  EXPECT_EQ(moved.y, 500);
}

TEST(CmosToolBar, ButtonTable) {
  for (int i = 0; i < kCmosButtonCount; ++i) {
    const CmosButton& b = kCmosButtons[i];
    EXPECT_EQ(b.id, 8600 + i);
    EXPECT_EQ(b.y, 10 + 34 * i);
    EXPECT_EQ(b.viewMode, i < 6 ? i : -1);
    EXPECT_LE(b.y + kCmosButtonSize, kCmosToolBarHeight);
  }
}

}  // namespace
