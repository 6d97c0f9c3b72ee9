// The icon button's colour and placement arithmetic.
#include "tools/icon_button_math.h"

#include <gtest/gtest.h>

namespace {

TEST(IconButtonMath, Colours) {
  const ButtonColour c = MakeButtonColour(200, 100, 50);
  EXPECT_EQ(DarkenColour(c, 0.25), MakeButtonColour(150, 75, 37));
  EXPECT_EQ(DarkenColour(c, 0.0), c);
  EXPECT_EQ(DarkenColour(c, 1.5), c);
  EXPECT_EQ(DarkenColour(c, 1.0), MakeButtonColour(0, 0, 0));
  EXPECT_EQ(GreyColour(MakeButtonColour(255, 0, 0)), MakeButtonColour(76, 76, 76));
  EXPECT_EQ(GreyColour(MakeButtonColour(255, 255, 255)), MakeButtonColour(255, 255, 255));

  const std::pair<int, ButtonColour> shifts[] = {{100, MakeButtonColour(255, 155, 105)},
                                                 {-100, MakeButtonColour(150, 50, 0)},
                                                 {0, c},
                                                 {255, MakeButtonColour(255, 155, 105)},
                                                 {-255, MakeButtonColour(150, 50, 0)}};
  for (const auto& [shade, expected] : shifts) {
    ButtonColour shifted = c;
    EXPECT_TRUE(ShiftColour(shifted, shade));
    EXPECT_EQ(shifted, expected) << shade;
  }
  ButtonColour unchanged = c;
  EXPECT_FALSE(ShiftColour(unchanged, 256));
  EXPECT_FALSE(ShiftColour(unchanged, -256));
  EXPECT_EQ(unchanged, c);
}

TEST(IconButtonMath, ImagePlacement) {
  struct Case {
    int alignment;
    bool caption, pressed;
    int x, y;
  } cases[] = {
      {0, false, false, 12, 4}, {1, false, false, 12, 4}, {2, false, false, 12, 4},
      {3, false, false, 0, 0},  {0, false, true, 13, 5},  {0, true, false, 3, 4},
      {1, true, false, 12, 3},  {2, true, false, 21, 4},
  };
  for (const Case& c : cases) {
    ImagePlacementInput in;
    in.item = {0, 0, 40, 24};
    in.imageWidth = 16;
    in.imageHeight = 16;
    in.alignment = c.alignment;
    in.hasCaption = c.caption;
    in.pressedShift = c.pressed;
    in.clientRight = 40;
    ButtonRect caption = in.item;
    const ButtonRect image = PlaceButtonImage(in, caption);
    EXPECT_EQ(image.left, c.x) << c.alignment << c.caption << c.pressed;
    EXPECT_EQ(image.top, c.y) << c.alignment << c.caption << c.pressed;
    if (c.caption && c.alignment == 0) {
      EXPECT_EQ(caption, (ButtonRect{19, 0, 40, 24}));
    }
    if (c.caption && c.alignment == 1) {
      EXPECT_EQ(caption, (ButtonRect{0, 16, 40, 24}));
    }
    if (c.caption && c.alignment == 2) {
      EXPECT_EQ(caption, (ButtonRect{3, 0, 21, 24}));
    }
  }
  ImagePlacementInput shifted;
  shifted.item = {0, 0, 40, 24};
  shifted.imageWidth = shifted.imageHeight = 16;
  shifted.pressedShift = true;
  shifted.shiftX = 0;
  shifted.shiftY = 2;
  ButtonRect caption = shifted.item;
  EXPECT_EQ(PlaceButtonImage(shifted, caption).top, 6);
}

}  // namespace
