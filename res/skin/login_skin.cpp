#include "res/skin/login_skin.h"

#include <string>

#include "res/skin/icons.h"
#include "res/skin/paint.h"
#include "res/skin/pixel_font.h"
#include "res/skin/theme.h"

namespace {

// The window is 304 x 341; its rounded region leaves out the last column and row, so the
// frame is drawn around the visible 303 x 340.
constexpr int kWidth = 304;
constexpr int kHeight = 341;
constexpr float kVisibleRight = 303;
constexpr float kVisibleBottom = 340;
constexpr int kTitleBottom = 33;  // divider row under the caption band

// Version digits: each drawn into a 10 x 20 cell at (182 + 10 i, 13).
constexpr int kDigitX = 182, kDigitY = 13, kDigitW = 10, kDigitH = 20;
constexpr int kTextY = 14;  // caption text row, shared by the digits

// Progress block: the program fills a bar 18 half-blocks long in its bar colour and moves the
// block along it in half-block steps.
constexpr int kRunningW = 20, kRunningH = 14;

enum class Face { kNormal, kHover, kPressed };
enum class Tone { kTool, kPrimary, kDanger };

struct Button {
  const char* base;       // file name without extension
  const char* normalExt;  // extension of the normal face as the program names it
  Icon icon;
  Tone tone;
  int x, y, size;
  const char* caption;  // shown beside the button; null for none
};

const Button kButtons[] = {
    {"address", ".bmp", Icon::kAddressBook, Tone::kTool, 30, 50, 34, nullptr},
    {"search", ".bmp", Icon::kSearch, Tone::kTool, 80, 50, 34, nullptr},
    {"player", ".bmp", Icon::kPlayer, Tone::kTool, 130, 50, 34, nullptr},
    {"download", ".BMP", Icon::kUpload, Tone::kTool, 230, 50, 34, nullptr},
    {"copy", ".bmp", Icon::kCopy, Tone::kTool, 180, 50, 34, nullptr},
    {"enter", ".bmp", Icon::kConnect, Tone::kPrimary, 50, 275, 32, "CONNECT"},
    {"cancel", ".bmp", Icon::kCancel, Tone::kDanger, 215, 275, 32, "CANCEL"},
};

struct Label {
  const char* file;
  Icon icon;
  int x, y;
  const char* caption;
};

constexpr int kLabelSize = 28;
const Label kLabels[] = {
    {"name.BMP", Icon::kUser, 30, 100, "USER"},
    {"password.BMP", Icon::kLock, 30, 136, "PASS"},
    {"ip.BMP", Icon::kGlobe, 30, 172, "HOST"},
    {"port.BMP", Icon::kPort, 30, 208, "PORT"},
};

struct Piece {
  const char* file;
  int x, y, w, h;  // target rectangle in the window
};

const Piece kPieces[] = {
    {"spacer.bmp", 0, 0, 304, 341},         {"left_top.bmp", 0, 0, 21, 34},
    {"right_top.bmp", 278, 0, 26, 34},      {"top_middle1.bmp", 21, 0, 257, 12},
    {"top_middle2.bmp", 21, 12, 257, 22},   {"left_middle.bmp", 0, 34, 21, 285},
    {"right_middle.bmp", 278, 34, 26, 285}, {"left_down.bmp", 0, 319, 25, 22},
    {"right_down.bmp", 280, 319, 24, 22},   {"down_middle.bmp", 25, 319, 255, 22},
};

std::string Name(const std::string& file) {
  return "BMP\\LOGIN\\" + file;
}

// Lays out the static parts of the window: frame, caption band, the card behind the tools,
// field captions, the status field and the button captions.  Every piece, and the backdrop of
// every button and digit, is cut from this one picture, so they meet without seams.
Canvas DrawWindowArt() {
  Canvas art(kWidth, kHeight, theme::kBorder);
  const Shape inside = shape::RoundRect(1, 1, kVisibleRight - 1, kVisibleBottom - 1, 6.5f);
  Paint(art, inside, theme::kPanel);
  Paint(art, shape::Intersect(inside, shape::Rect(0, 0, kWidth, kTitleBottom)), theme::kTitleBar);
  Paint(art, shape::Intersect(inside, shape::Rect(0, kTitleBottom, kWidth, kTitleBottom + 1)),
        theme::kDivider);

  // Caption: a lens mark, the name, and "v" before the version digits the program draws.
  Paint(art, shape::RoundRect(12, 10, 26, 24, 4), theme::kAccent);
  Paint(art, shape::Stroke(shape::Circle({19, 17}, 3.6f), 1.7f), theme::kTitleBar);
  Paint(art, shape::Circle({19, 17}, 1.2f), theme::kTitleBar);
  DrawText(art, 33, kTextY, "OSTROVA", theme::kText, 2);
  // The version sits on a badge: its digits and points come in even 10-pixel cells, which read
  // as a readout there rather than as loosely spaced text.
  const Shape badge = shape::RoundRect(kDigitX - 13.5f, kTextY - 4.5f, kDigitX + 73.5f,
                                       kTextY + kFontHeight + 3.5f, 5);
  Paint(art, badge, theme::kCard);
  Paint(art, shape::Stroke(badge, 1), theme::kDivider);
  DrawText(art, kDigitX - 8, kTextY, "v", theme::kMutedText);

  // Card behind the tool buttons.
  const Shape card = shape::RoundRect(23.5f, 43.5f, 270.5f, 90.5f, 8);
  Paint(art, card, theme::kCard);
  Paint(art, shape::Stroke(card, 1), theme::kDivider);

  for (const Label& l : kLabels) {
    DrawText(art, l.x + kLabelSize + 6, l.y + (kLabelSize - kFontHeight) / 2, l.caption,
             theme::kMutedText);
  }

  // The status row stays the window's surface: the program puts its own card there for a
  // failure text and runs its progress bar there while it logs in.

  for (const Button& b : kButtons) {
    if (!b.caption) continue;
    const int y = b.y + (b.size - kFontHeight) / 2;
    const int w = TextWidth(b.caption);
    const bool left = b.x > kWidth / 2;
    DrawText(art, left ? b.x - 8 - w : b.x + b.size + 8, y, b.caption, theme::kMutedText);
  }
  return art;
}

const Canvas& WindowArt() {
  static const Canvas art = DrawWindowArt();
  return art;
}

Canvas ButtonFace(const Button& b, Face face) {
  Canvas c = WindowArt().Crop(b.x, b.y, b.size, b.size);
  const float s = static_cast<float>(b.size);
  const float shift = face == Face::kPressed ? 1.0f : 0.0f;
  const Shape body = shape::RoundRect(1 + shift, 1 + shift, s - 1 + shift, s - 1 + shift, 7);

  const Rgb accent = b.tone == Tone::kDanger ? theme::kDanger : theme::kAccent;
  Rgb fill = theme::kFace, edge = theme::kFaceEdge, ink = theme::kIcon;
  float edgeWidth = 1.0f;
  switch (face) {
    case Face::kNormal:
      if (b.tone == Tone::kPrimary) {
        fill = Mix(theme::kFace, theme::kAccent, 0.16f);
        edge = Mix(theme::kFaceEdge, theme::kAccent, 0.45f);
        ink = theme::kAccentLight;
      } else if (b.tone == Tone::kDanger) {
        ink = theme::kDangerLight;
      }
      break;
    case Face::kHover:
      // Stronger than the normal face: a coloured button gets more of its colour.
      fill = b.tone == Tone::kTool ? theme::kFaceHover : Mix(theme::kFace, accent, 0.32f);
      edge = b.tone == Tone::kTool ? accent : Mix(accent, Hex(0xFFFFFF), 0.25f);
      edgeWidth = 1.5f;
      ink = theme::kIconHover;
      break;
    case Face::kPressed:
      fill = accent;
      edge = Mix(accent, Hex(0x000000), 0.25f);
      ink = theme::kIconPressed;
      break;
  }
  Paint(c, body, fill);
  Paint(c, shape::Stroke(shape::Grow(body, -edgeWidth / 2), edgeWidth), edge);

  const float iconSize = b.size >= 34 ? 20 : 18;
  const IconBox box{(s - iconSize) / 2 + shift, (s - iconSize) / 2 + shift, iconSize, 1.8f};
  DrawIcon(c, b.icon, box, ink, fill);
  return c;
}

Canvas LabelFace(const Label& l) {
  Canvas c = WindowArt().Crop(l.x, l.y, kLabelSize, kLabelSize);
  const Shape tile = shape::RoundRect(0.5f, 0.5f, kLabelSize - 0.5f, kLabelSize - 0.5f, 6);
  const Rgb fill = theme::kCard;
  Paint(c, tile, fill);
  Paint(c, shape::Stroke(shape::Grow(tile, -0.5f), 1), theme::kDivider);
  DrawIcon(c, l.icon, {6, 6, 16, 1.6f}, theme::kAccent, fill);
  return c;
}

Canvas DigitFace(char c) {
  Canvas cell = WindowArt().Crop(kDigitX, kDigitY, kDigitW, kDigitH);
  const std::string text(1, c);
  DrawText(cell, (kDigitW - TextWidth(text)) / 2, kTextY - kDigitY, text, theme::kAccentLight);
  return cell;
}

Canvas RunningBlock() {
  Canvas c(kRunningW, kRunningH, theme::kProgressBar);
  // As high as the bar: the block fills the trough it runs in.
  const Shape block = shape::RoundRect(0.5f, 0.5f, kRunningW - 0.5f, kRunningH - 0.5f, 4.5f);
  Paint(c, block, theme::kAccentDark);
  Paint(c, shape::Intersect(block, shape::Rect(0, 0, kRunningW, kRunningH / 2)), theme::kAccent);
  return c;
}

}  // namespace

void AddLoginSkin(std::vector<SkinBitmap>& out) {
  for (const Piece& p : kPieces) {
    out.push_back({Name(p.file), p.w, p.h, [p] { return WindowArt().Crop(p.x, p.y, p.w, p.h); }});
  }
  out.push_back({Name("running.bmp"), kRunningW, kRunningH, RunningBlock});
  for (char d = '0'; d <= '9'; ++d) {
    out.push_back(
        {Name(std::string("login_") + d + ".bmp"), kDigitW, kDigitH, [d] { return DigitFace(d); }});
  }
  out.push_back({Name("login_point.bmp"), kDigitW, kDigitH, [] { return DigitFace('.'); }});

  for (const Button& b : kButtons) {
    const std::string base = b.base;
    out.push_back(
        {Name(base + b.normalExt), b.size, b.size, [b] { return ButtonFace(b, Face::kNormal); }});
    out.push_back(
        {Name(base + "_over.bmp"), b.size, b.size, [b] { return ButtonFace(b, Face::kHover); }});
    out.push_back(
        {Name(base + "_down.bmp"), b.size, b.size, [b] { return ButtonFace(b, Face::kPressed); }});
  }
  for (const Label& l : kLabels) {
    out.push_back({Name(l.file), kLabelSize, kLabelSize, [l] { return LabelFace(l); }});
  }
}
