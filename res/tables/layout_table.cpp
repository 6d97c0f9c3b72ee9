#include "res/tables/layout_table.h"

namespace {

// One row as the table lists it: window, panel window, picture, status bar, power button,
// panel buttons, title buttons, info text, indicator (the background equals the window).
constexpr LayoutRow Row(LayoutRect window, LayoutRect panel, LayoutRect video, LayoutRect status,
                        LayoutRect power, LayoutRect open, LayoutRect close,
                        const uint16_t (&title)[5], uint16_t infoX, uint16_t infoY,
                        LayoutRect indicator) {
  auto u = [](int32_t v) { return static_cast<uint16_t>(v); };
  return LayoutRow{window,
                   panel,
                   window,
                   video,
                   status,
                   {u(power.left), u(power.top), u(power.right), u(power.bottom)},
                   {u(open.left), u(open.top), u(open.right), u(open.bottom)},
                   {u(close.left), u(close.top), u(close.right), u(close.bottom)},
                   {title[0], title[1], title[2], title[3], title[4]},
                   {infoX, infoY},
                   indicator};
}

constexpr uint16_t kTitleVga[5] = {663, 8, 13, 13, 4};
constexpr uint16_t kTitleQvga[5] = {311, 8, 13, 13, 4};
constexpr LayoutRect kPowerVga{26, 26, 584, 34}, kPowerQvga{26, 26, 232, 35};
constexpr LayoutRect kIndicatorVga{685, 65, 698, 81}, kIndicatorQvga{333, 65, 346, 81};

// The window shapes of the six classes: window, panel window, panel buttons.
struct ClassShape {
  LayoutRect window, panel, open, close;
};
constexpr ClassShape kNVga{
    {0, 0, 722, 608}, {0, 0, 722, 680}, {345, 571, 32, 32}, {345, 643, 32, 32}};
constexpr ClassShape kNQvga{
    {0, 0, 370, 366}, {0, 0, 370, 461}, {166, 329, 32, 32}, {166, 424, 32, 32}};
constexpr ClassShape kPVga{
    {0, 0, 722, 705}, {0, 0, 722, 776}, {345, 668, 32, 32}, {345, 740, 32, 32}};
constexpr ClassShape kPQvga{
    {0, 0, 370, 414}, {0, 0, 370, 509}, {166, 377, 32, 32}, {166, 472, 32, 32}};

constexpr LayoutRow Vga(const ClassShape& s, LayoutRect video, LayoutRect status) {
  return Row(s.window, s.panel, video, status, kPowerVga, s.open, s.close, kTitleVga, 542, 7,
             kIndicatorVga);
}
constexpr LayoutRow Qvga(const ClassShape& s, LayoutRect video, LayoutRect status) {
  return Row(s.window, s.panel, video, status, kPowerQvga, s.open, s.close, kTitleQvga, 190, 7,
             kIndicatorQvga);
}

constexpr LayoutRect kStatusVga{6, 63, 714, 83}, kStatusQvga{6, 63, 362, 83};

const LayoutSkinFiles kSkinFiles[4] = {
    {"BMP\\N_VGA_BG.bmp", "BMP\\N_VGA_BG_EX.bmp", "BMP\\VGA_Status_Bar.bmp",
     "BMP\\N_VGA_PANELUP.bmp", "BMP\\N_VGA_PANELUP_OVER.bmp", "BMP\\N_VGA_PANELDOWN.bmp",
     "BMP\\N_VGA_PANELDOWN_OVER.bmp"},
    {"BMP\\N_QVGA_BG.bmp", "BMP\\N_QVGA_BG_EX.bmp", "BMP\\StatusBar.bmp", "BMP\\N_QVGA_PANELUP.bmp",
     "BMP\\N_QVGA_PANELUP_OVER.bmp", "BMP\\N_QVGA_PANELDOWN.bmp", "BMP\\N_QVGA_PANELDOWN_OVER.bmp"},
    {"BMP\\P_VGA_BG.bmp", "BMP\\P_VGA_BG_EX.bmp", "BMP\\VGA_Status_Bar.bmp",
     "BMP\\P_VGA_PANELUP.bmp", "BMP\\P_VGA_PANELUP_OVER.bmp", "BMP\\P_VGA_PANELDOWN.bmp",
     "BMP\\P_VGA_PANELDOWN_OVER.bmp"},
    {"BMP\\P_QVGA_BG.bmp", "BMP\\P_QVGA_BG_EX.bmp", "BMP\\StatusBar.bmp", "BMP\\P_QVGA_PANELUP.bmp",
     "BMP\\P_QVGA_PANELUP_OVER.bmp", "BMP\\P_QVGA_PANELDOWN.bmp", "BMP\\P_QVGA_PANELDOWN_OVER.bmp"},
};

}  // namespace

const LayoutRow LayoutTable[kLayoutCount] = {
    // RZ1K, RZ3K, RZ4K.
    Vga(kNVga, {42, 96, 682, 552}, kStatusVga),
    Qvga(kNQvga, {24, 90, 344, 318}, kStatusQvga),
    Vga(kPVga, {42, 96, 682, 648}, kStatusVga),
    Qvga(kPQvga, {24, 90, 344, 366}, kStatusQvga),
    Qvga(kNQvga, {96, 148, 272, 260}, kStatusQvga),
    Qvga(kPQvga, {96, 132, 272, 276}, kStatusQvga),
    // RZ2K, RZ5M, RZ6M, RZ7M.
    Vga(kNVga, {8, 86, 712, 566}, kStatusVga),
    Qvga(kNQvga, {8, 84, 360, 324}, kStatusQvga),
    Vga(kPVga, {10, 86, 714, 660}, kStatusVga),
    Qvga(kPQvga, {8, 86, 360, 372}, kStatusQvga),
    Qvga(kNQvga, {96, 148, 272, 260}, kStatusQvga),
    Qvga(kPQvga, {96, 132, 272, 276}, kStatusQvga),
    // RZ8P.
    Vga(kNVga, {40, 86, 680, 566}, kStatusVga),
    Qvga(kNQvga, {24, 84, 344, 324}, {14, 63, 362, 83}),
    Vga(kPVga, {42, 86, 682, 660}, {38, 63, 682, 83}),
    Qvga(kPQvga, {24, 86, 344, 372}, {22, 63, 346, 83}),
    Qvga(kNQvga, {104, 148, 264, 260}, kStatusQvga),
    Qvga(kPQvga, {104, 132, 264, 276}, kStatusQvga),
};

const LayoutRow& LayoutRowOf(uint16_t layoutId) {
  return LayoutTable[layoutId < kLayoutCount ? layoutId : 0];
}

uint8_t KeyLayoutOf(uint8_t layoutClass) {
  switch (layoutClass) {
    case kLayoutNSmall:
      return kLayoutNQvga;
    case kLayoutPSmall:
      return kLayoutPQvga;
    default:
      return layoutClass < 4 ? layoutClass : uint8_t{kLayoutNVga};
  }
}

LayoutRect TitleButtonRect(const LayoutRow& row, int index) {
  const uint16_t* t = row.TitleButtons;
  const int32_t x = t[0] + (t[2] + t[4]) * index;
  return {x, t[1], x + t[2], t[1] + t[3]};
}

LayoutRect PowerButtonRect(const LayoutRow& row) {
  const uint16_t* p = row.PowerButton;
  return {p[2] - p[0], p[3], p[2], p[3] + p[1]};
}

LayoutRect PanelOpenRect(const LayoutRow& row) {
  const uint16_t* p = row.PanelOpenButton;
  return {p[0], p[1], p[0] + p[2], p[1] + p[3]};
}

LayoutRect PanelCloseRect(const LayoutRow& row) {
  const uint16_t* p = row.PanelCloseButton;
  return {p[0], p[1], p[0] + p[2], p[1] + p[3]};
}

LayoutRect AlarmIconRect(const LayoutRow& row) {
  const LayoutRect& r = row.rcIndicator;
  return {r.left - 34, r.top, r.right - 34, r.bottom};
}

LayoutRect PanelStripRect(const LayoutRow& row) {
  const LayoutRect& p = row.rcWindowPanel;
  return {p.left, p.top + row.rcVideo.bottom, p.right, p.bottom};
}

LayoutRect InfoTextRect(const LayoutRow& row) {
  return {row.ptInfoText[0], row.ptInfoText[1], row.ptInfoText[0] + 120, row.ptInfoText[1] + 14};
}

SkinSet SkinSetOfClass(uint8_t layoutClass) {
  switch (layoutClass) {
    case kLayoutNQvga:
    case kLayoutNSmall:
      return SkinSet::kNQvga;
    case kLayoutPVga:
      return SkinSet::kPVga;
    case kLayoutPQvga:
    case kLayoutPSmall:
      return SkinSet::kPQvga;
    default:
      return SkinSet::kNVga;
  }
}

bool SkinSetOfDevice(uint8_t videoStandard, int32_t resolution, SkinSet* set) {
  const bool pal = videoStandard != 0;
  if (resolution == 0) {
    *set = pal ? SkinSet::kPVga : SkinSet::kNVga;
    return true;
  }
  if (resolution == 1 || resolution == 2) {
    *set = pal ? SkinSet::kPQvga : SkinSet::kNQvga;
    return true;
  }
  return false;
}

const LayoutSkinFiles& SkinFilesOfSet(SkinSet set) {
  return kSkinFiles[static_cast<int>(set)];
}

const LayoutSkinFiles& SkinFilesOfClass(uint8_t layoutClass) {
  return SkinFilesOfSet(SkinSetOfClass(layoutClass));
}

bool TurboFacesOf(SkinSet set, int key, TurboFaces* faces) {
  const char* arrow = nullptr;
  switch (key) {
    case 54:
      arrow = "LEFT";
      break;
    case 55:
      arrow = "UP";
      break;
    case 57:
      arrow = "DOWN";
      break;
    case 58:
      arrow = "RIGHT";
      break;
    default:
      break;
  }
  if (arrow) {
    const char* prefix = set == SkinSet::kNVga   ? "N_VGA"
                         : set == SkinSet::kPVga ? "P_VGA"
                                                 : "N_QVGA";
    const std::string base = std::string("BMP\\") + prefix + "_" + arrow + "_TURBO";
    *faces = {base + ".bmp", base + "_OVER.bmp"};
    return true;
  }
  const char* lens = nullptr;
  switch (key) {
    case 30:
      lens = "zoom_turbo_in";
      break;
    case 31:
      lens = "zoom_turbo_out";
      break;
    case 32:
      lens = "focus_turbo_in";
      break;
    case 33:
      lens = "focus_turbo_out";
      break;
    default:
      return false;
  }
  const std::string base = std::string("BMP\\2Col_") + lens;
  *faces = {base + ".bmp", base + "_a.bmp"};
  return true;
}
