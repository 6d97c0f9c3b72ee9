#include "res/skin/channel_bar_skin.h"

#include <string>

#include "res/skin/paint.h"
#include "res/skin/pixel_font.h"
#include "res/skin/theme.h"

namespace {
using namespace shape;

// The faces sit on the main window's channel card (main_skin.cpp).
constexpr Rgb kBarGround = theme::kCard;

// A channel button: "Enable" is the lit face of the channel shown (teal), "Disable" the others.
Canvas ChannelFace(int width, const std::string& label, bool lit, bool hover) {
  Canvas c(width, 28, kBarGround);
  const float w = float(width);
  const Shape body = RoundRect(1.5f, 2.5f, w - 1.5f, 25.5f, 4);
  const Rgb fill = lit ? (hover ? theme::kAccentLight : theme::kAccent)
                       : (hover ? theme::kFaceHover : theme::kFace);
  Paint(c, body, fill);
  Paint(c, Stroke(body, 1), lit ? theme::kAccentDark : theme::kFaceEdge);
  const Rgb ink = lit ? theme::kIconPressed : (hover ? theme::kIconHover : theme::kIcon);
  DrawText(c, (width - TextWidth(label)) / 2, (28 - kFontHeight) / 2, label, ink);
  return c;
}

// A page arrow: a narrow key with a chevron. The bar keeps the arrows in state 1, whose face is
// the "_Down" file and whose hover face the plain one.
Canvas ArrowFace(bool left, bool hover) {
  Canvas c(9, 16, kBarGround);
  // One pixel narrower than the place on each side: the right arrow sits close to the main
  // buttons in the narrow windows.
  const Shape body = RoundRect(1, 0.5f, 8, 15.5f, 2.5f);
  Paint(c, body, hover ? theme::kFaceHover : theme::kFace);
  Paint(c, Stroke(Grow(body, -0.5f), 1), hover ? theme::kAccent : theme::kFaceEdge);
  const float tip = left ? 2.9f : 6.1f, back = left ? 6.0f : 3.0f;
  Paint(c, Stroke(Polyline({{back, 4.6f}, {tip, 8}, {back, 11.4f}}), 1.4f),
        hover ? theme::kIconHover : theme::kIcon);
  return c;
}

}  // namespace

void AddChannelBarSkin(std::vector<SkinBitmap>& out) {
  for (int input = 0; input <= 16; ++input) {
    const std::string stem = input == 0 ? "Channel_dvr" : "Channel_" + std::to_string(input);
    const std::string label = input == 0 ? "DVR" : std::to_string(input);
    const int width = input == 0 ? 40 : 35;
    const struct {
      const char* suffix;
      bool lit, hover;
    } faces[] = {{"_Enable", true, false},
                 {"_Enable_over", true, true},
                 {"_Disable", false, false},
                 {"_Disable_over", false, true}};
    for (const auto& f : faces) {
      out.push_back({"BMP\\" + stem + f.suffix + ".bmp", width, 28,
                     [=] { return ChannelFace(width, label, f.lit, f.hover); }});
    }
  }
  for (bool left : {true, false}) {
    const std::string stem = left ? "Channel_Left" : "Channel_Right";
    out.push_back({"BMP\\" + stem + ".bmp", 9, 16, [=] { return ArrowFace(left, true); }});
    out.push_back({"BMP\\" + stem + "_Down.bmp", 9, 16, [=] { return ArrowFace(left, false); }});
  }
}
