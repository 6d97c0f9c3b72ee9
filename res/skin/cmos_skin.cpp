#include "res/skin/cmos_skin.h"

#include <string>

#include "res/skin/paint.h"
#include "res/skin/theme.h"

namespace {
using namespace shape;

constexpr int kWidth = 45, kHeight = 300;
constexpr int kButtonX = 6, kButton = 30;
constexpr int kFlipTop = 214;  // the flip buttons follow the six views

Canvas DrawBackground() {
  Canvas c(kWidth, kHeight, theme::kBorder);
  const Shape outer = RoundRect(0, 0, kWidth, kHeight, 5);
  Paint(c, Grow(outer, -1), theme::kPanel);
  // A hairline between the views and the flips, and a grip at the foot.
  Paint(c, Rect(9, kFlipTop - 2.5f, kButtonX + kButton - 3, kFlipTop - 1.5f), theme::kDivider);
  for (int i = 0; i < 3; ++i)
    Paint(c, Circle({15.5f + 5.0f * static_cast<float>(i), 289.5f}, 1.1f), theme::kFaint);
  return c;
}

const Canvas& Background() {
  static const Canvas art = DrawBackground();
  return art;
}

enum class Glyph { kFull, kLeftTop, kRightTop, kLeftBottom, kRightBottom, kCentre, kFlipH, kFlipV };

// The picture frame every view glyph is drawn in: 4:3, centred in the face.
constexpr float kL = 7.5f, kT = 9.5f, kR = 22.5f, kB = 20.5f;

void DrawGlyph(Canvas& c, Glyph g, Rgb ink) {
  const float mx = (kL + kR) / 2, my = (kT + kB) / 2;
  const Shape frame = Stroke(Rect(kL, kT, kR, kB), 1.3f);
  switch (g) {
    case Glyph::kFull:
      Paint(c, frame, ink);
      Paint(c, Rect(kL + 2, kT + 2, kR - 2, kB - 2), ink, 0.55f);
      return;
    case Glyph::kLeftTop:
    case Glyph::kRightTop:
    case Glyph::kLeftBottom:
    case Glyph::kRightBottom: {
      Paint(c, frame, ink);
      Paint(c, Stroke(Polyline({{mx, kT}, {mx, kB}}), 0.8f), ink, 0.5f);
      Paint(c, Stroke(Polyline({{kL, my}, {kR, my}}), 0.8f), ink, 0.5f);
      const bool left = g == Glyph::kLeftTop || g == Glyph::kLeftBottom;
      const bool top = g == Glyph::kLeftTop || g == Glyph::kRightTop;
      const float x0 = left ? kL : mx, y0 = top ? kT : my;
      Paint(c, Rect(x0 + 1.2f, y0 + 1.2f, x0 + (mx - kL) - 1.2f, y0 + (my - kT) - 1.2f), ink);
      return;
    }
    case Glyph::kCentre:
      Paint(c, frame, ink);
      Paint(c, Rect(mx - 3.75f, my - 2.75f, mx + 3.75f, my + 2.75f), ink);
      return;
    case Glyph::kFlipH:
      // A shape and its mirror image across a dashed upright axis.
      Paint(c, Polygon({{13, 9}, {13, 21}, {6, 21}}), ink);
      Paint(c, Stroke(Polygon({{17, 9}, {17, 21}, {24, 21}}), 1.2f), ink);
      for (float y = 7; y < 24; y += 4) Paint(c, Rect(14.5f, y, 15.5f, y + 2), ink, 0.7f);
      return;
    case Glyph::kFlipV:
      Paint(c, Polygon({{9, 13}, {21, 13}, {21, 6}}), ink);
      Paint(c, Stroke(Polygon({{9, 17}, {21, 17}, {21, 24}}), 1.2f), ink);
      for (float x = 7; x < 24; x += 4) Paint(c, Rect(x, 14.5f, x + 2, 15.5f), ink, 0.7f);
      return;
  }
}

Canvas Face(int y, Glyph g, bool on) {
  Canvas c = Background().Crop(kButtonX, y, kButton, kButton);
  const Shape body = RoundRect(0.5f, 0.5f, kButton - 0.5f, kButton - 0.5f, 5);
  Paint(c, body, on ? theme::kAccent : theme::kFace);
  Paint(c, Stroke(Grow(body, -0.5f), 1), on ? theme::kAccentDark : theme::kFaceEdge);
  DrawGlyph(c, g, on ? theme::kIconPressed : theme::kIcon);
  return c;
}

}  // namespace

void AddCmosSkin(std::vector<SkinBitmap>& out) {
  out.push_back({"BMP\\CMOS\\ToolBarBG.bmp", kWidth, kHeight, [] { return Background(); }});
  const struct {
    const char* stem;
    Glyph glyph;
    int y;
  } buttons[] = {
      {"FullFrame", Glyph::kFull, 10},         {"QFrame_LT", Glyph::kLeftTop, 44},
      {"QFrame_RT", Glyph::kRightTop, 78},     {"QFrame_LB", Glyph::kLeftBottom, 112},
      {"QFrame_RB", Glyph::kRightBottom, 146}, {"QFrame_CN", Glyph::kCentre, 180},
      {"CMOS_HR", Glyph::kFlipH, kFlipTop},    {"CMOS_VR", Glyph::kFlipV, kFlipTop + 34},
  };
  for (const auto& b : buttons) {
    const std::string stem = std::string("BMP\\CMOS\\") + b.stem;
    out.push_back({stem + "_UP.bmp", kButton, kButton, [b] { return Face(b.y, b.glyph, false); }});
    out.push_back({stem + "_DOWN.bmp", kButton, kButton, [b] { return Face(b.y, b.glyph, true); }});
  }
}
