// Colour dialog values: family, shift, shown and sent values, defaults, slider and typed steps.
#include "mainwnd/color_adjust.h"

#include <gtest/gtest.h>

namespace {

bool Same(const ColorValues& a, const ColorValues& b) {
  return a.brightness == b.brightness && a.contrast == b.contrast && a.hue == b.hue;
}

TEST(ColorAdjust, FamiliesShownAndSentValues) {
  EXPECT_EQ(ColorFamilyOf("RZ2K", 0), ColorFamily::Shift);
  EXPECT_EQ(ColorFamilyOf("RZ6M", 0), ColorFamily::Shift);
  EXPECT_EQ(ColorFamilyOf("RZ8P", 0), ColorFamily::Shift);
  EXPECT_EQ(ColorFamilyOf("RZ1K", 1), ColorFamily::Plain);
  EXPECT_EQ(ColorFamilyOf("RZ1K", 0), ColorFamily::Other);
  EXPECT_EQ(ColorFamilyOf("rz2k", 0), ColorFamily::Other);

  struct Case {
    const char* name;
    ColorFamily family;
    ColorValues device, shown;
  };
  const ColorValues before{0, 96, 0};  // the dialog's values before the device's are applied
  const Case cases[] = {
      {"RZ2K 0/2 shows 128/130", ColorFamily::Shift, {0, 80, 2}, {128, 80, 130}},
      {"shift of 200", ColorFamily::Shift, {200, 96, 255}, {72, 96, 127}},
      {"RZ1K with MULTICH unchanged", ColorFamily::Plain, {128, 96, 128}, {128, 96, 128}},
      {"other devices keep the dialog's", ColorFamily::Other, {10, 20, 30}, {0, 20, 0}},
  };
  for (const Case& c : cases) {
    const ColorValues shown = ShownColors(c.family, c.device, before);
    EXPECT_TRUE(Same(shown, c.shown)) << c.name;
    // OK without changes sends what the device reported.
    if (c.family != ColorFamily::Other) {
      EXPECT_TRUE(Same(DeviceColors(c.family, shown, c.device), c.device)) << c.name;
    }
  }
  EXPECT_EQ(ShiftedColor(128), 0);
  EXPECT_EQ(ShiftedColor(127), 255);
}

TEST(ColorAdjust, DefaultsSlidersAndTypedNumbers) {
  EXPECT_TRUE(Same(*DefaultColors(ColorFamily::Shift), {175, 150, 130}));
  EXPECT_TRUE(Same(*DefaultColors(ColorFamily::Plain), {128, 128, 128}));
  EXPECT_FALSE(DefaultColors(ColorFamily::Other));

  struct Scroll {
    int code, position;
    std::optional<int> value;
  };
  // The slider's own position for every code: Home and End (6, 7) carry none in the message.
  for (const Scroll& s : {Scroll{0, 40, 40}, Scroll{2, 30, 30}, Scroll{3, 255, 255},
                          Scroll{5, 77, 77}, Scroll{6, 0, 0}, Scroll{7, 255, 255},
                          Scroll{8, 40, 40}, Scroll{9, 40, std::nullopt}, Scroll{7, 300, 255}})
    EXPECT_EQ(SliderScrollValue(s.code, s.position), s.value) << s.code;

  struct Typed {
    const char* text;
    std::optional<int> value;
  };
  for (const Typed& t :
       {Typed{"300", 255}, Typed{"12a3", 123}, Typed{"-5", 5}, Typed{"", std::nullopt},
        Typed{"abc", std::nullopt}, Typed{"0007", 7}, Typed{"99999999999", 255}, Typed{"0", 0}})
    EXPECT_EQ(TypedColorValue(t.text), t.value) << t.text;
}

}  // namespace
