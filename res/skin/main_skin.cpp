#include "res/skin/main_skin.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string>

#include "res/tables/layout_table.h"
#include "res/tables/main_button_table.h"
#include "res/tables/model_control_table.h"
#include "res/skin/icons.h"
#include "res/skin/paint.h"
#include "res/skin/pixel_font.h"
#include "res/skin/theme.h"

namespace {

constexpr Rgb kWell = Hex(0x0B0D10);
constexpr Rgb kWellEdge = Hex(0x2C333C);
constexpr Rgb kRecord = Hex(0xE5484D);

// ---- Faces ------------------------------------------------------------------------------------

enum class Face { kNormal, kHover, kPressed, kOn, kOnHover, kInactive, kTurbo, kTurboHover };

struct FaceStyle {
  Rgb fill, edge, ink;
  float edgeWidth;
};

FaceStyle StyleOf(Face f) {
  switch (f) {
    case Face::kHover:
      return {theme::kFaceHover, theme::kAccent, theme::kIconHover, 1.5f};
    case Face::kPressed:
      return {theme::kAccent, Mix(theme::kAccent, Hex(0), 0.25f), theme::kIconPressed, 1.0f};
    case Face::kOn:
    case Face::kTurbo:  // turbo is an "on" state like any other
      return {Mix(theme::kFace, theme::kAccent, 0.55f), theme::kAccent, Hex(0xFFFFFF), 1.0f};
    case Face::kOnHover:
    case Face::kTurboHover:
      return {Mix(theme::kFace, theme::kAccent, 0.7f), theme::kAccentLight, Hex(0xFFFFFF), 1.5f};
    case Face::kInactive:
      return {Mix(theme::kCard, theme::kFace, 0.4f), theme::kDivider, theme::kFaint, 1.0f};
    case Face::kNormal:
      break;
  }
  return {theme::kFace, theme::kFaceEdge, theme::kIcon, 1.0f};
}

// What a face shows.
enum class Glyph {
  kText,
  kGrid,        // rows x columns in `text` as "RxC"
  kDoubleLeft,  // transport: solid double triangles
  kDoubleRight,
  kChevronLeft,  // joystick: open chevrons, doubled in turbo
  kChevronUp,
  kChevronDown,
  kChevronRight,
  kZoomIn,  // lens: a magnifier with + or -, with a stop bar when it runs to the end
  kZoomOut,
  kZoomInMax,
  kZoomOutMax,
  kPlay,
  kSlow,
  kPause,
  kStop,
  kRecordDot,
  kStopRecord,
  kPip,
  kPop,
};

struct Label {
  Glyph glyph = Glyph::kText;
  std::string text;
  Rgb tint{};  // non-zero: the glyph's own colour on normal faces
  bool tinted = false;
  bool doubled = false;  // chevrons: two of them (turbo)
};

Label Text(std::string t) {
  return {Glyph::kText, std::move(t), {}, false};
}
Label Sym(Glyph g, Rgb tint = {}, bool tinted = false) {
  return {g, {}, tint, tinted};
}

void Triangle(Canvas& c, Vec a, Vec b, Vec d, Rgb ink) {
  Paint(c, shape::Polygon({a, b, d}), ink);
}

// A chevron pointing along (dx, dy), its tip at the centre moved by `along`.
void Chevron(Canvas& c, float cx, float cy, float dx, float dy, float along, float u, Rgb ink) {
  const float tipX = cx + dx * along, tipY = cy + dy * along;
  const float backX = tipX - dx * 3.6f * u, backY = tipY - dy * 3.6f * u;
  const float px = -dy * 4.6f * u, py = dx * 4.6f * u;  // across
  Paint(c,
        shape::Stroke(
            shape::Polyline({{backX + px, backY + py}, {tipX, tipY}, {backX - px, backY - py}}),
            2.0f * u),
        ink);
}

void Magnifier(Canvas& c, float cx, float cy, float u, bool plus, bool toEnd, Rgb ink) {
  const float lx = cx - 1.5f * u, ly = cy - 1.5f * u, r = 5.2f * u;
  Paint(c, shape::Stroke(shape::Circle({lx, ly}, r), 1.5f * u), ink);
  Paint(c,
        shape::Stroke(
            shape::Polyline({{lx + r * 0.72f, ly + r * 0.72f}, {cx + 6.5f * u, cy + 6.5f * u}}),
            2.2f * u),
        ink);
  Paint(c, shape::Rect(lx - 2.8f * u, ly - 0.7f * u, lx + 2.8f * u, ly + 0.7f * u), ink);
  if (plus) Paint(c, shape::Rect(lx - 0.7f * u, ly - 2.8f * u, lx + 0.7f * u, ly + 2.8f * u), ink);
  if (toEnd) Paint(c, shape::Rect(cx + 6.2f * u, cy - 8 * u, cx + 7.8f * u, cy + 1 * u), ink);
}

void DrawGlyph(Canvas& c, const Label& l, float x0, float y0, float s, Rgb ink) {
  const float cx = x0 + s / 2, cy = y0 + s / 2, u = s / 22.0f;
  switch (l.glyph) {
    case Glyph::kText: {
      const int w = TextWidth(l.text);
      DrawText(c, static_cast<int>(cx - w / 2.0f + 0.5f),
               static_cast<int>(cy - kFontHeight / 2.0f + 0.5f), l.text, ink);
      break;
    }
    case Glyph::kGrid: {
      const int rows = l.text[0] - '0', cols = l.text[2] - '0';
      const float left = cx - 6.5f * u, top = cy - 6.5f * u, w = 13 * u, h = 13 * u;
      const float gap = 1.2f * u;
      const float cw = (w - gap * (cols - 1)) / cols, ch = (h - gap * (rows - 1)) / rows;
      for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k) {
          const float x = left + k * (cw + gap), y = top + r * (ch + gap);
          Paint(c, shape::Rect(x, y, x + cw, y + ch), ink);
        }
      break;
    }
    case Glyph::kDoubleLeft:
      Triangle(c, {cx - 6 * u, cy}, {cx, cy - 4.5f * u}, {cx, cy + 4.5f * u}, ink);
      Triangle(c, {cx, cy}, {cx + 6 * u, cy - 4.5f * u}, {cx + 6 * u, cy + 4.5f * u}, ink);
      break;
    case Glyph::kDoubleRight:
      Triangle(c, {cx + 6 * u, cy}, {cx, cy - 4.5f * u}, {cx, cy + 4.5f * u}, ink);
      Triangle(c, {cx, cy}, {cx - 6 * u, cy - 4.5f * u}, {cx - 6 * u, cy + 4.5f * u}, ink);
      break;
    case Glyph::kChevronLeft:
    case Glyph::kChevronRight:
    case Glyph::kChevronUp:
    case Glyph::kChevronDown: {
      const float dx = l.glyph == Glyph::kChevronLeft    ? -1
                       : l.glyph == Glyph::kChevronRight ? 1
                                                         : 0;
      const float dy = l.glyph == Glyph::kChevronUp ? -1 : l.glyph == Glyph::kChevronDown ? 1 : 0;
      if (l.doubled) {
        Chevron(c, cx, cy, dx, dy, 4.2f * u, u, ink);
        Chevron(c, cx, cy, dx, dy, -0.6f * u, u, ink);
      } else {
        Chevron(c, cx, cy, dx, dy, 1.8f * u, u, ink);
      }
      break;
    }
    case Glyph::kZoomIn:
    case Glyph::kZoomOut:
    case Glyph::kZoomInMax:
    case Glyph::kZoomOutMax:
      Magnifier(c, cx, cy, u, l.glyph == Glyph::kZoomIn || l.glyph == Glyph::kZoomInMax,
                l.glyph == Glyph::kZoomInMax || l.glyph == Glyph::kZoomOutMax, ink);
      break;
    case Glyph::kPlay:
      Triangle(c, {cx + 5 * u, cy}, {cx - 4 * u, cy - 5.5f * u}, {cx - 4 * u, cy + 5.5f * u}, ink);
      break;
    case Glyph::kSlow:
      Triangle(c, {cx + 2 * u, cy}, {cx - 5 * u, cy - 5 * u}, {cx - 5 * u, cy + 5 * u}, ink);
      Paint(c, shape::Rect(cx + 3 * u, cy - 5 * u, cx + 5.5f * u, cy + 5 * u), ink);
      break;
    case Glyph::kPause:
      Paint(c, shape::Rect(cx - 4.5f * u, cy - 5 * u, cx - 1.5f * u, cy + 5 * u), ink);
      Paint(c, shape::Rect(cx + 1.5f * u, cy - 5 * u, cx + 4.5f * u, cy + 5 * u), ink);
      break;
    case Glyph::kStop:
      Paint(c, shape::RoundRect(cx - 4.5f * u, cy - 4.5f * u, cx + 4.5f * u, cy + 4.5f * u, 1),
            ink);
      break;
    case Glyph::kRecordDot:
      Paint(c, shape::Circle({cx, cy}, 5 * u), l.tinted ? l.tint : ink);
      break;
    case Glyph::kStopRecord:
      Paint(c, shape::Stroke(shape::Circle({cx, cy}, 5.5f * u), 1.4f * u), l.tinted ? l.tint : ink);
      Paint(c, shape::Rect(cx - 2.5f * u, cy - 2.5f * u, cx + 2.5f * u, cy + 2.5f * u), ink);
      break;
    case Glyph::kPip:
      Paint(c, shape::Stroke(shape::Rect(cx - 7 * u, cy - 5 * u, cx + 7 * u, cy + 5 * u), 1.3f * u),
            ink);
      Paint(c, shape::Rect(cx + 0.5f * u, cy + 0.5f * u, cx + 5 * u, cy + 3.5f * u), ink);
      break;
    case Glyph::kPop:
      Paint(c,
            shape::Stroke(shape::Rect(cx - 8 * u, cy - 4 * u, cx - 0.8f * u, cy + 4 * u), 1.3f * u),
            ink);
      Paint(c, shape::Rect(cx + 0.8f * u, cy - 4 * u, cx + 8 * u, cy + 4 * u), ink);
      break;
  }
}

// A key: a rounded face on the card the keys sit on.
Canvas KeyFace(int w, int h, const Label& label, Face face, Rgb under = theme::kCard) {
  Canvas c(w, h, under);
  const FaceStyle st = StyleOf(face);
  const float shift = face == Face::kPressed ? 0.5f : 0.0f;
  const float r = std::min(w, h) >= 20 ? 4.5f : 3.5f;
  const Shape body =
      shape::RoundRect(0.5f + shift, 0.5f + shift, w - 0.5f + shift, h - 0.5f + shift, r);
  Paint(c, body, st.fill);
  Paint(c, shape::Stroke(shape::Grow(body, -st.edgeWidth / 2), st.edgeWidth), st.edge);
  const Rgb ink = label.tinted && face == Face::kNormal ? label.tint : st.ink;
  const float s = static_cast<float>(std::min(w, h));
  DrawGlyph(c, label, (w - s) / 2 + shift, (h - s) / 2 + shift, s, ink);
  return c;
}

// ---- Tool keys: the label of each face, from its file name ----------------------------------

std::string Lower(std::string s) {
  for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return s;
}

// "BMP\N_VGA_LEFT_OVER.bmp" -> base "n_vga_left" and face.
struct NameParts {
  std::string base;
  Face face = Face::kNormal;
};

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

NameParts Parse(const std::string& path) {
  std::string n = Lower(path.substr(path.rfind('\\') + 1));
  n = n.substr(0, n.size() - 4);  // ".bmp"
  NameParts p;
  for (const char* hover : {"_over", "_down", "_a"}) {
    // "_down" names a pressed face only on the panel keys; the DOWN arrow keeps it.
    if (std::string(hover) == "_down" && n.rfind("control_panel", 0) != 0) continue;
    if (EndsWith(n, hover)) {
      p.face = Face::kHover;
      n = n.substr(0, n.size() - std::string(hover).size());
      break;
    }
  }
  if (n.find("_n_") != std::string::npos || EndsWith(n, "_n")) p.face = Face::kInactive;
  if (n.find("turbo") != std::string::npos)
    p.face = p.face == Face::kHover ? Face::kTurboHover : Face::kTurbo;
  p.base = n;
  return p;
}

Label ToolLabel(const std::string& base) {
  auto has = [&](const char* s) { return base.find(s) != std::string::npos; };
  if (base.rfind("ch", 0) == 0 && base.size() <= 4 &&
      std::isdigit(static_cast<unsigned char>(base[2])))
    return Text(base.substr(2));
  // The joystick: chevrons, doubled on the turbo faces.
  const bool turbo = has("turbo");
  auto chevron = [&](Glyph g) {
    Label l = Sym(g);
    l.doubled = turbo;
    return l;
  };
  if (has("left")) return chevron(Glyph::kChevronLeft);
  if (has("right")) return chevron(Glyph::kChevronRight);
  if (has("_up")) return chevron(Glyph::kChevronUp);
  if (has("_down")) return chevron(Glyph::kChevronDown);
  if (has("menu")) return Text("MNU");
  if (has("cut16")) return {Glyph::kGrid, "4x4"};
  if (has("cut9")) return {Glyph::kGrid, "3x3"};
  if (has("cut8")) return {Glyph::kGrid, "2x4"};
  if (has("cut4")) return {Glyph::kGrid, "2x2"};
  if (has("58206")) return {Glyph::kGrid, "2x3"};
  if (has("pip")) return Sym(Glyph::kPip);
  if (has("pop")) return Sym(Glyph::kPop);
  if (has("stop_recording")) return Sym(Glyph::kStopRecord, kRecord, true);
  if (has("recording")) return Sym(Glyph::kRecordDot, kRecord, true);
  if (has("stop")) return Sym(Glyph::kStop);
  if (has("rew")) return Sym(Glyph::kDoubleLeft);
  if (has("fast")) return Sym(Glyph::kDoubleRight);
  if (has("pause")) return Sym(Glyph::kPause);
  if (has("slow")) return Sym(Glyph::kSlow);
  if (has("play")) return Sym(Glyph::kPlay);
  // The lens: zoom in and out (the turbo faces the same on the "on" face), continuous zoom with
  // a stop bar; focus near and far as letters.
  if (has("zoom_in_max")) return Sym(Glyph::kZoomInMax);
  if (has("zoom_out_max")) return Sym(Glyph::kZoomOutMax);
  if (has("zoom_turbo_in") || has("zoom_in")) return Sym(Glyph::kZoomIn);
  if (has("zoom_turbo_out") || has("zoom_out")) return Sym(Glyph::kZoomOut);
  if (has("focus_turbo_in") || has("focus_in")) return Text("N");
  if (has("focus_turbo_out") || has("focus_out")) return Text("F");
  if (has("digital_zoom")) return Text("DZ");
  if (has("room") || has("zoom")) return Text("ZM");
  if (has("pluse")) return Text("+");
  if (has("minus")) return Text("-");
  if (has("auto")) return Text("AUT");
  if (has("esc")) return Text("ESC");
  if (has("vcr")) return Text("VCR");
  if (has("live")) return Text("LIV");
  if (has("freeze")) return Text("FRZ");
  if (has("power_reset")) return Text("REC");
  if (has("reboot")) return Text("RBT");
  if (has("enter")) return Text("OK");
  if (has("select")) return Text("SEL");
  if (has("lock")) return Text("LCK");
  if (has("search")) return Text("SRH");
  if (has("tubro")) return Text("T");  // turbo (14 x 14: one letter)
  if (has("ptz_action")) return Text("ACT");
  if (has("ptz_preset")) return Text("PRE");
  if (has("ptz")) return Text("PTZ");
  if (has("alarm_enable")) return Text("RET");
  if (has("set")) return Text("SET");
  if (has("sequence")) return Text("SEQ");
  return Text("?");
}

void AddToolKeys(std::vector<SkinBitmap>& out) {
  for (const ToolBitmap& b : ToolKeyBitmaps()) {
    NameParts parts = Parse(b.name);
    // The "on" faces of the two-state keys.
    const std::string& n = parts.base;
    const bool on = n == "tubro" || n == "ptz_on" || n == "alarm_enable" || n == "ptz_preset";
    if (on) parts.face = parts.face == Face::kHover ? Face::kOnHover : Face::kOn;
    const Label label = ToolLabel(n);
    const Face face = parts.face;
    out.push_back(
        {b.name, b.width, b.height, [=] { return KeyFace(b.width, b.height, label, face); }});
  }
}

// ---- Main buttons, title, power and panel buttons -------------------------------------------

enum class MainIcon {
  kLink,
  kLinkOff,
  kQvga,
  kVga,
  kHigh,
  kMid,
  kLow,
  kColour,
  kSnapshot,
  kRecord,
  kRecording,
  kSettings
};

void DrawMainIcon(Canvas& c, MainIcon icon, float s, Rgb ink, Rgb paper, bool enabled) {
  const float cx = s / 2, cy = s / 2;
  switch (icon) {
    case MainIcon::kLink:
      DrawIcon(c, Icon::kConnect, {4, 4, s - 8, 1.8f}, enabled ? theme::kAccentLight : ink, paper);
      break;
    case MainIcon::kLinkOff:
      DrawIcon(c, Icon::kConnect, {4, 4, s - 8, 1.8f}, ink, paper);
      Paint(c, shape::Stroke(shape::Polyline({{5, s - 5}, {s - 5, 5}}), 1.8f),
            enabled ? kRecord : ink);
      break;
    case MainIcon::kQvga:
    case MainIcon::kVga: {
      const std::string t = icon == MainIcon::kQvga ? "QVGA" : "VGA";
      DrawText(c, static_cast<int>(cx - TextWidth(t) / 2.0f + 0.5f), static_cast<int>(cy - 3), t,
               ink);
      break;
    }
    case MainIcon::kHigh:
    case MainIcon::kMid:
    case MainIcon::kLow: {
      const int lit = icon == MainIcon::kHigh ? 3 : icon == MainIcon::kMid ? 2 : 1;
      for (int i = 0; i < 3; ++i) {
        const float x = 6.5f + i * 5, h = 5.0f + i * 4;
        Paint(c, shape::RoundRect(x, s - 6 - h, x + 3.5f, s - 6, 1),
              i < lit ? ink : Mix(paper, ink, 0.3f));
      }
      break;
    }
    case MainIcon::kColour:
      Paint(c, shape::Stroke(shape::Circle({cx, cy}, 7), 1.6f), ink);
      Paint(c, shape::Intersect(shape::Circle({cx, cy}, 7), shape::Rect(0, 0, cx, s)), ink);
      break;
    case MainIcon::kSnapshot:
      Paint(c, shape::Stroke(shape::RoundRect(5, 8.5f, s - 5, s - 6, 2), 1.6f), ink);
      Paint(c, shape::RoundRect(9.5f, 6, 16.5f, 9.5f, 1), ink);
      Paint(c, shape::Stroke(shape::Circle({cx, cy + 1.5f}, 3.6f), 1.6f), ink);
      break;
    case MainIcon::kRecord:
      Paint(c, shape::Circle({cx, cy}, 6), enabled ? kRecord : ink);
      break;
    case MainIcon::kRecording:
      Paint(c, shape::Stroke(shape::Circle({cx, cy}, 8), 1.5f), enabled ? kRecord : ink);
      Paint(c, shape::Circle({cx, cy}, 5), enabled ? kRecord : ink);
      break;
    case MainIcon::kSettings: {
      for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * 3.14159265f / 4;
        const float dx = std::cos(a), dy = std::sin(a);
        Paint(c,
              shape::Stroke(
                  shape::Polyline({{cx + dx * 5, cy + dy * 5}, {cx + dx * 8.5f, cy + dy * 8.5f}}),
                  2.6f),
              ink);
      }
      Paint(c, shape::Circle({cx, cy}, 6), ink);
      Paint(c, shape::Circle({cx, cy}, 2.5f), paper);
      break;
    }
  }
}

Canvas MainFace(MainIcon icon, Face face, int size = 26) {
  Canvas c(size, size, theme::kTitleBar);
  const FaceStyle st = StyleOf(face);
  const Shape body = shape::RoundRect(0.5f, 0.5f, size - 0.5f, size - 0.5f, 5);
  Paint(c, body, st.fill);
  Paint(c, shape::Stroke(shape::Grow(body, -st.edgeWidth / 2), st.edgeWidth), st.edge);
  DrawMainIcon(c, icon, static_cast<float>(size), st.ink, st.fill, face != Face::kInactive);
  return c;
}

MainIcon MainIconOf(const std::string& base) {
  auto is = [&](const char* s) { return base.rfind(s, 0) == 0; };
  if (is("link_off")) return MainIcon::kLinkOff;
  if (is("link")) return MainIcon::kLink;
  if (is("qvga")) return MainIcon::kQvga;
  if (is("vga")) return MainIcon::kVga;
  if (is("high")) return MainIcon::kHigh;
  if (is("mid")) return MainIcon::kMid;
  if (is("low")) return MainIcon::kLow;
  if (is("image_quality")) return MainIcon::kColour;
  if (is("snapshoot")) return MainIcon::kSnapshot;
  if (is("recording")) return MainIcon::kRecording;
  if (is("record")) return MainIcon::kRecord;
  return MainIcon::kSettings;
}

void AddMainButtons(std::vector<SkinBitmap>& out) {
  std::map<std::string, bool> seen;
  for (const MainButtonRecord& r : MainButtonTable) {
    for (const char* const* list : {r.szAllowed, r.szDenied}) {
      for (int i = 0; i < kMainButtonFaces; ++i) {
        const std::string name = list[i];
        if (name.empty() || seen[name]) continue;
        seen[name] = true;
        std::string base = Lower(name.substr(4, name.size() - 8));
        Face face = Face::kNormal;
        if (EndsWith(base, "_over")) face = Face::kHover, base.resize(base.size() - 5);
        if (EndsWith(base, "_down")) face = Face::kPressed, base.resize(base.size() - 5);
        if (EndsWith(base, "_n")) face = Face::kInactive, base.resize(base.size() - 2);
        const MainIcon icon = MainIconOf(base);
        out.push_back({name, 26, 26, [=] { return MainFace(icon, face); }});
      }
    }
  }
  out.push_back(
      {kPowerFiles[0], 26, 26, [] { return MainFace(MainIcon::kLinkOff, Face::kNormal); }});
  out.push_back(
      {kPowerFiles[1], 26, 26, [] { return MainFace(MainIcon::kLinkOff, Face::kHover); }});
  out.push_back(
      {kPowerFiles[2], 26, 26, [] { return MainFace(MainIcon::kLinkOff, Face::kPressed); }});
}

Canvas TitleButton(int which, bool hover) {
  Canvas c(13, 13, theme::kTitleBar);
  const Rgb fill = hover ? (which == 2 ? theme::kDanger : theme::kAccent) : theme::kFace;
  const Rgb ink = hover ? Hex(0xFFFFFF) : theme::kIcon;
  Paint(c, shape::Circle({6.5f, 6.5f}, 6.3f), fill);
  switch (which) {
    case 0:
      Paint(c, shape::Rect(3.5f, 8, 9.5f, 9.5f), ink);
      break;
    case 1:
      Paint(c, shape::Stroke(shape::Rect(3.8f, 3.8f, 9.2f, 9.2f), 1.2f), ink);
      break;
    default:
      Paint(c, shape::Stroke(shape::Polyline({{4, 4}, {9, 9}}), 1.4f), ink);
      Paint(c, shape::Stroke(shape::Polyline({{9, 4}, {4, 9}}), 1.4f), ink);
      break;
  }
  return c;
}

// The open button sits on the closed window's surface, the close button on the panel's deck.
Canvas PanelButton(bool open, bool hover) {
  Canvas c(32, 32, open ? theme::kPanel : theme::kCard);
  const FaceStyle st = StyleOf(hover ? Face::kHover : Face::kNormal);
  const Shape body = shape::RoundRect(2.5f, 6.5f, 29.5f, 25.5f, 9.5f);
  Paint(c, body, st.fill);
  Paint(c, shape::Stroke(shape::Grow(body, -st.edgeWidth / 2), st.edgeWidth), st.edge);
  // Opening grows the window downwards; closing shrinks it back.
  const std::vector<Vec> chevron = open ? std::vector<Vec>{{10, 13}, {16, 19}, {22, 13}}
                                        : std::vector<Vec>{{10, 19}, {16, 13}, {22, 19}};
  Paint(c, shape::Stroke(shape::Polyline(chevron), 2.2f), hover ? theme::kAccentLight : st.ink);
  return c;
}

// The status strip: a muted readout the program's dark status text reads on, quieter than a
// light bar in the dark window. Its bitmap leaves its last rows to the window surface, so the
// picture under it never touches it.
constexpr Rgb kStripTop = Hex(0xB6CBC8);
constexpr Rgb kStripBottom = Hex(0xA3BAB6);
constexpr Rgb kStripMiddle = Hex(0xADC3BF);
constexpr Rgb kStripEdge = Hex(0x6F8A86);
constexpr int kStripHeight = 18;  // of the bar's 20 rows

Canvas Indicator(bool alarm) {
  Canvas c(13, 16, kStripMiddle);
  if (alarm) {
    Paint(c, shape::Polygon({{6.5f, 1.5f}, {12.5f, 14}, {0.5f, 14}}), kRecord);
    Paint(c, shape::Rect(5.8f, 5.5f, 7.2f, 10), Hex(0xFFFFFF));
    Paint(c, shape::Rect(5.8f, 11.2f, 7.2f, 12.5f), Hex(0xFFFFFF));
  } else {
    Paint(c, shape::Circle({6.5f, 4.8f}, 3), theme::kAccentDark);
    Paint(c, shape::Intersect(shape::Circle({6.5f, 15}, 6), shape::Rect(0, 0, 13, 15)),
          theme::kAccentDark);
  }
  return c;
}

Canvas StatusBar(int w, int h) {
  Canvas c(w, h, theme::kPanel);
  const float bottom = static_cast<float>(std::min(h, kStripHeight));
  const Shape bar = shape::RoundRect(0.5f, 0.5f, w - 0.5f, bottom - 0.5f, 3.5f);
  PaintVertical(c, bar, kStripTop, kStripBottom, 0, bottom);
  Paint(c, shape::Stroke(shape::Grow(bar, -0.5f), 1), kStripEdge);
  return c;
}

// ---- Backgrounds ------------------------------------------------------------------------------

struct ClassArt {
  uint8_t cls;
  LayoutRect well;  // the picture area of every family in this class
};

// The union of the picture rectangles of the layouts of a class, grown by 2 pixels.
LayoutRect WellOf(uint8_t cls) {
  LayoutRect u{10000, 10000, 0, 0};
  for (int id = cls; id < kLayoutCount; id += 6) {
    if (cls >= 4) break;
    const LayoutRect& v = LayoutTable[id].rcVideo;
    u = {std::min(u.left, v.left), std::min(u.top, v.top), std::max(u.right, v.right),
         std::max(u.bottom, v.bottom)};
  }
  // Not grown at the bottom: the channel keys under the picture keep a gap to its edge.
  return {u.left - 1, u.top - 1, u.right + 1, u.bottom};
}

Canvas Background(uint8_t cls, bool panel) {
  const LayoutRow& row = LayoutTable[cls];
  const LayoutRect& frame = panel ? row.rcWindowPanel : row.rcWindow;
  const int w = frame.Width(), h = frame.Height();
  Canvas c(w, h, theme::kBorder);
  const Shape inside = shape::RoundRect(1, 1, w - 1.0f, h - 1.0f, 9);
  Paint(c, inside, theme::kPanel);
  // Caption band: mark and name; the clock text and the title buttons go on the right.
  Paint(c, shape::Intersect(inside, shape::Rect(0, 0, static_cast<float>(w), 30)),
        theme::kTitleBar);
  Paint(c, shape::Rect(1, 30, w - 1.0f, 31), theme::kDivider);
  Paint(c, shape::RoundRect(10, 8, 24, 22, 4), theme::kAccent);
  Paint(c, shape::Stroke(shape::Circle({17, 15}, 3.6f), 1.7f), theme::kTitleBar);
  Paint(c, shape::Circle({17, 15}, 1.2f), theme::kTitleBar);
  DrawText(c, 31, 12, "OSTROVA", theme::kText, 2);
  // The row under the caption: the channel bar's place on the left, the main buttons' on the
  // right (record 0's rectangle and the six before it). In the narrow windows the channel bar's
  // page arrow reaches the first main button, so one card holds both.
  const LayoutRect main = MainButtonTable[0].rcButton[KeyLayoutOf(cls)];
  const float mainLeft = main.right - 7.0f * main.Width() - 4;
  const bool narrow = w < 500;
  const float channelsRight = narrow ? main.right + 2.5f : mainLeft - 6.5f;
  const float channelsBottom = narrow ? main.bottom + 1.5f : 60.5f;
  const Shape channels = shape::RoundRect(6.5f, 33.5f, channelsRight, channelsBottom, 5);
  Paint(c, channels, theme::kCard);
  Paint(c, shape::Stroke(channels, 1), theme::kDivider);
  if (!narrow) {
    const Shape buttons = shape::RoundRect(mainLeft - 2.5f, main.top - 2.5f, main.right + 2.5f,
                                           main.bottom + 2.5f, 6);
    Paint(c, buttons, theme::kTitleBar);
  }
  // With the panel open, one deck holds every key: it starts under the picture well and runs
  // to the window's bottom, so the keys, the panel-close button and the panel read as one.
  const LayoutRect well = WellOf(cls);
  if (panel) {
    const Shape deck = shape::RoundRect(4.5f, well.bottom - 12.5f, w - 4.5f, h - 4.5f, 7);
    Paint(c, deck, theme::kCard);
    Paint(c, shape::Stroke(deck, 1), theme::kDivider);
  }
  // The picture well.
  Paint(c, shape::Rect(well.left - 1.0f, well.top - 1.0f, well.right + 1.0f, well.bottom + 1.0f),
        kWellEdge);
  Paint(c,
        shape::Rect(static_cast<float>(well.left), static_cast<float>(well.top),
                    static_cast<float>(well.right), static_cast<float>(well.bottom)),
        kWell);
  const float cx = (well.left + well.right) / 2.0f, cy = (well.top + well.bottom) / 2.0f;
  Paint(c, shape::Stroke(shape::RoundRect(cx - 16, cy - 14, cx + 16, cy + 10, 5), 2),
        theme::kDivider);
  Paint(c, shape::Stroke(shape::Circle({cx, cy - 2}, 6), 2), theme::kDivider);
  DrawText(c, static_cast<int>(cx - TextWidth("NO VIDEO") / 2.0f), static_cast<int>(cy + 18),
           "NO VIDEO", theme::kFaint);
  return c;
}

}  // namespace

void AddMainWindowSkin(std::vector<SkinBitmap>& out) {
  for (uint8_t cls = 0; cls < 4; ++cls) {
    const LayoutSkinFiles& f = SkinFilesOfClass(cls);
    const LayoutRow& row = LayoutTable[cls];
    out.push_back({f.background, row.rcWindow.Width(), row.rcWindow.Height(),
                   [cls] { return Background(cls, false); }});
    out.push_back({f.backgroundEx, row.rcWindowPanel.Width(), row.rcWindowPanel.Height(),
                   [cls] { return Background(cls, true); }});
    out.push_back({f.panelUp, 32, 32, [] { return PanelButton(true, false); }});
    out.push_back({f.panelUpOver, 32, 32, [] { return PanelButton(true, true); }});
    out.push_back({f.panelDown, 32, 32, [] { return PanelButton(false, false); }});
    out.push_back({f.panelDownOver, 32, 32, [] { return PanelButton(false, true); }});
  }
  out.push_back({SkinFilesOfClass(0).statusBar, 708, 20, [] { return StatusBar(708, 20); }});
  out.push_back({SkinFilesOfClass(1).statusBar, 356, 20, [] { return StatusBar(356, 20); }});
  out.push_back({kOnlineUserIconFile, 13, 16, [] { return Indicator(false); }});
  out.push_back({kAlarmIconFile, 13, 16, [] { return Indicator(true); }});
  // The close button's faces are the dialogs' own (dialog_skin.cpp).
  for (int i = 0; i < 2; ++i) {
    out.push_back({kTitleButtonFiles[i].face, 13, 13, [i] { return TitleButton(i, false); }});
    out.push_back({kTitleButtonFiles[i].hover, 13, 13, [i] { return TitleButton(i, true); }});
  }
  AddMainButtons(out);
  AddToolKeys(out);
}
