#include "res/skin/dialog_skin.h"

#include <cmath>
#include <string>

#include "res/skin/paint.h"
#include "res/skin/pixel_font.h"
#include "res/skin/theme.h"

namespace {

// The frame is drawn as one 304 x 196 window (the colour dialog's size) and cut into pieces; the
// stretched pieces are strips from the middle of their band.
constexpr int kWidth = 304, kHeight = 196;
constexpr int kSide = 10, kTitle = 32, kBottomTop = 183;
constexpr int kStrip = 16;
// The body is the dialog's own surface: the side and bottom bands are of one piece with it, so
// that the window reads as a title bar over one panel inside a one-pixel frame.
constexpr Rgb kBody = theme::kPanel;

Canvas DrawFrame() {
  Canvas art(kWidth, kHeight, kBody);
  const Shape outer = shape::RoundRect(0, 0, kWidth - 1, kHeight - 1, 3.5f);
  const Shape inside = shape::Grow(outer, -1);
  Paint(art, shape::Rect(0, 0, kWidth, kHeight), theme::kBorder);
  Paint(art, inside, kBody);
  Paint(art, shape::Intersect(inside, shape::Rect(0, 0, kWidth, kTitle)), theme::kTitleBar);
  Paint(art, shape::Intersect(inside, shape::Rect(0, kTitle - 1, kWidth, kTitle)),
        theme::kAccentDark);
  return art;
}

const Canvas& Frame() {
  static const Canvas art = DrawFrame();
  return art;
}

Canvas Logo() {
  Canvas c = Frame().Crop(10, 7, 21, 15);
  Paint(c, shape::RoundRect(3, 0.5f, 17, 14.5f, 4), theme::kAccent);
  Paint(c, shape::Stroke(shape::Circle({10, 7.5f}, 3.6f), 1.7f), theme::kTitleBar);
  Paint(c, shape::Circle({10, 7.5f}, 1.2f), theme::kTitleBar);
  return c;
}

Canvas CloseFace(bool over) {
  Canvas c = Frame().Crop(280, 8, 13, 13);
  if (over) Paint(c, shape::RoundRect(0.5f, 0.5f, 12.5f, 12.5f, 3), theme::kDanger);
  const Rgb ink = over ? theme::kIconHover : theme::kMutedText;
  Paint(c, shape::Stroke(shape::Polyline({{3.5f, 3.5f}, {9.5f, 9.5f}}), 1.6f), ink);
  Paint(c, shape::Stroke(shape::Polyline({{9.5f, 3.5f}, {3.5f, 9.5f}}), 1.6f), ink);
  return c;
}

enum class IconKind { kBrightness, kContrast, kHue };

Canvas IconFace(IconKind kind) {
  Canvas c(20, 20, kBody);
  const Vec centre{10, 10};
  const Rgb ink = theme::kAccentLight;
  switch (kind) {
    case IconKind::kBrightness:
      Paint(c, shape::Circle(centre, 4), ink);
      for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * 3.14159265f / 4;
        const Vec from{10 + 6.2f * std::cos(a), 10 + 6.2f * std::sin(a)};
        const Vec to{10 + 8.6f * std::cos(a), 10 + 8.6f * std::sin(a)};
        Paint(c, shape::Stroke(shape::Polyline({from, to}), 1.5f), ink);
      }
      break;
    case IconKind::kContrast:
      Paint(c, shape::Stroke(shape::Circle(centre, 7.5f), 1.5f), ink);
      Paint(c, shape::Intersect(shape::Circle(centre, 7.5f), shape::Rect(10, 0, 20, 20)), ink);
      break;
    case IconKind::kHue:
      Paint(c, shape::Circle({7, 7.5f}, 4.6f), Hex(0xE0626E), 0.85f);
      Paint(c, shape::Circle({13, 7.5f}, 4.6f), Hex(0x4FB36B), 0.85f);
      Paint(c, shape::Circle({10, 12.8f}, 4.6f), Hex(0x4C8FDB), 0.85f);
      break;
  }
  return c;
}

struct ButtonFace {
  const char* file;
  int width;
  const char* caption;
  bool primary;
};
const ButtonFace kButtons[] = {
    {"Dialog_default", 80, "DEFAULT", false},
    {"Dialog_apply", 80, "APPLY", true},
    {"Dialog_ok", 80, "OK", false},
};
constexpr int kButtonHeight = 25;

Canvas Button(const ButtonFace& b, bool over) {
  Canvas c(b.width, kButtonHeight, kBody);
  const float w = static_cast<float>(b.width);
  const Shape face = shape::RoundRect(1, 1, w - 1, kButtonHeight - 1, 5);
  Rgb fill = b.primary ? theme::kAccent : theme::kFace;
  Rgb edge = b.primary ? theme::kAccentDark : theme::kFaceEdge;
  Rgb ink = b.primary ? theme::kIconPressed : theme::kText;
  if (over) {
    fill = b.primary ? theme::kAccentLight : theme::kFaceHover;
    edge = theme::kAccent;
  }
  Paint(c, face, fill);
  Paint(c, shape::Stroke(shape::Grow(face, -0.5f), 1), edge);
  DrawText(c, (b.width - TextWidth(b.caption)) / 2, (kButtonHeight - kFontHeight) / 2, b.caption,
           ink);
  return c;
}

std::string Name(const std::string& file) {
  return "BMP\\" + file;
}

}  // namespace

void AddDialogSkin(std::vector<SkinBitmap>& out) {
  struct Piece {
    const char* file;
    int x, y, w, h;
  };
  constexpr int mid = kWidth / 2, midY = (kTitle + kBottomTop) / 2;
  const Piece pieces[] = {
      {"TitleLeft.bmp", 0, 0, kSide, kTitle},
      {"TilteBar_ess.bmp", mid, 0, kStrip, kTitle},
      {"TitleRight.bmp", kWidth - kSide, 0, kSide, kTitle},
      {"LeftSide_ess.bmp", 0, midY, kSide, kStrip},
      {"RightSide_ess.bmp", kWidth - kSide, midY, kSide, kStrip},
      {"BottomLeft.bmp", 0, kBottomTop, kSide, kHeight - kBottomTop},
      {"Bottom_ess.bmp", mid, kBottomTop, kStrip, kHeight - kBottomTop},
      {"BottomRight.bmp", kWidth - kSide, kBottomTop, kSide, kHeight - kBottomTop},
  };
  for (const Piece& p : pieces)
    out.push_back({Name(p.file), p.w, p.h, [p] { return Frame().Crop(p.x, p.y, p.w, p.h); }});
  out.push_back({Name("Player_Logo.bmp"), 21, 15, Logo});
  out.push_back({Name("Title_Bar_Close.bmp"), 13, 13, [] { return CloseFace(false); }});
  out.push_back({Name("Title_Bar_Close_a.bmp"), 13, 13, [] { return CloseFace(true); }});
  out.push_back(
      {Name("Dialog_Brightness.bmp"), 20, 20, [] { return IconFace(IconKind::kBrightness); }});
  out.push_back(
      {Name("Dialog_Contrast.bmp"), 20, 20, [] { return IconFace(IconKind::kContrast); }});
  out.push_back({Name("Dialog_Hue.bmp"), 20, 20, [] { return IconFace(IconKind::kHue); }});
  for (const ButtonFace& b : kButtons) {
    const std::string base = b.file;
    out.push_back({Name(base + ".bmp"), b.width, kButtonHeight, [b] { return Button(b, false); }});
    out.push_back(
        {Name(base + "_over.bmp"), b.width, kButtonHeight, [b] { return Button(b, true); }});
  }
}
