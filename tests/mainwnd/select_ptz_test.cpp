// The select-PTZ dialog's start: the number shown for the current unit, and CANCEL's place for a
// channel device.
#include "mainwnd/select_ptz.h"

#include <gtest/gtest.h>

namespace {

TEST(SelectPtz, StartsFromTheCurrentUnitsPlaceInItsGroup) {
  C_ControlD list;
  list.Add(0, 0, 19, CDS_CHANNEL);  // the recorder
  list.Add(2400, 3, 11, CDS_PTZ);
  list.Add(2400, 1, 11, CDS_CHANNEL);
  list.Add(2400, 4, 18, CDS_PTZ);
  list.Add(2400, 5, 8, CDS_PTZ);
  struct Case {
    uint16_t group;
    uint8_t n;
    bool channelDevice;
    int selectNo;
  };
  const Case cases[] = {
      {CDS_CHANNEL, 0, true, 1}, {CDS_CHANNEL, 1, true, 2}, {CDS_PTZ, 0, false, 1},
      {CDS_PTZ, 1, false, 2},  // the second member of its group, though the fourth slot
      {CDS_PTZ, 2, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.group << "/" << int(c.n));
    ASSERT_EQ(list.MakeCurrent(static_cast<uint8_t>(c.group), c.n), 0);
    const SelectPtzStart start = SelectPtzStartOf(list);
    EXPECT_EQ(start.channelDevice, c.channelDevice);
    EXPECT_EQ(start.selectNo, c.selectNo);
  }
}

TEST(SelectPtz, CancelPlaceScalesAndTruncates) {
  struct Case {
    float scale;
    PixelRect place;
  };
  const Case cases[] = {
      {1.0f, {172, 42, 98, 37}},
      {1.25f, {215, 52, 122, 46}},
      {1.5f, {258, 63, 147, 55}},
  };
  for (const Case& c : cases) {
    const PixelRect r = SelectPtzCancelPlace(c.scale);
    EXPECT_EQ(r.x, c.place.x) << c.scale;
    EXPECT_EQ(r.y, c.place.y) << c.scale;
    EXPECT_EQ(r.width, c.place.width) << c.scale;
    EXPECT_EQ(r.height, c.place.height) << c.scale;
  }
}

}  // namespace
