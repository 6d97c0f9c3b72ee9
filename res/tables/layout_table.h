// The main window's geometry by layout id (LayoutTable), the layout classes, and the skin files
// each class loads: pure data and small lookups, shared by the window and the skin generator.
#pragma once

#include <cstdint>
#include <string>

struct LayoutRect {
  int32_t left, top, right, bottom;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const LayoutRect&) const = default;
};

// The layout class of a layout id: the id modulo 6.
enum LayoutClass : uint8_t {
  kLayoutNVga = 0,    // NTSC, full size
  kLayoutNQvga = 1,   // NTSC, quarter size
  kLayoutPVga = 2,    // PAL, full size
  kLayoutPQvga = 3,   // PAL, quarter size
  kLayoutNSmall = 4,  // small NTSC picture in the N_QVGA window
  kLayoutPSmall = 5,  // small PAL picture in the P_QVGA window
};

// One row of LayoutTable, window coordinates. The carried columns no operation reads
// (37-68, 71-74 of the device's table) are left out.
struct LayoutRow {
  LayoutRect rcWindow;       // tool panel closed
  LayoutRect rcWindowPanel;  // tool panel open
  LayoutRect rcBackground;
  LayoutRect rcVideo;
  LayoutRect rcStatusBar;
  uint16_t PowerButton[4];       // width, height, right edge, top
  uint16_t PanelOpenButton[4];   // x, y, width, height (8192)
  uint16_t PanelCloseButton[4];  // x, y, width, height (8193)
  uint16_t TitleButtons[5];      // x, y, width, height, gap
  uint16_t ptInfoText[2];        // clock / device title / IP text
  LayoutRect rcIndicator;        // online-user indicator; the alarm icon 34 pixels further left
};

inline constexpr int kLayoutCount = 18;
extern const LayoutRow LayoutTable[kLayoutCount];

// The row of a layout id; an id past the table gives row 0.
const LayoutRow& LayoutRowOf(uint16_t layoutId);
inline uint8_t LayoutClassOf(uint16_t layoutId) {
  return static_cast<uint8_t>(layoutId % 6);
}
// The class whose rectangles the key and main-button tables hold (they carry classes 0-3): the
// small-picture classes use the window of their standard's quarter-size class.
uint8_t KeyLayoutOf(uint8_t layoutClass);

LayoutRect TitleButtonRect(const LayoutRow& row, int index);
LayoutRect PowerButtonRect(const LayoutRow& row);
LayoutRect PanelOpenRect(const LayoutRow& row);
LayoutRect PanelCloseRect(const LayoutRow& row);
LayoutRect AlarmIconRect(const LayoutRow& row);
// The strip the panel commands repaint: from the bottom of the picture (offset by the panel
// window's top) to the bottom of the panel window.
LayoutRect PanelStripRect(const LayoutRow& row);
// 120 x 14 pixels at ptInfoText: the hover area of the clock text.
LayoutRect InfoTextRect(const LayoutRow& row);

// Skin sets: NVGA, NQVGA, PVGA, PQVGA.
enum class SkinSet : uint8_t { kNVga = 0, kNQvga = 1, kPVga = 2, kPQvga = 3 };
// Class 0 NVGA, 1 and 4 NQVGA, 2 PVGA, 3 and 5 PQVGA.
SkinSet SkinSetOfClass(uint8_t layoutClass);
// By the device's video standard (0 NTSC, else PAL) and the resolution (0 VGA, 1 or 2 QVGA);
// false for any other resolution.
bool SkinSetOfDevice(uint8_t videoStandard, int32_t resolution, SkinSet* set);

struct LayoutSkinFiles {
  const char* background;
  const char* backgroundEx;
  const char* statusBar;
  const char* panelUp;
  const char* panelUpOver;
  const char* panelDown;
  const char* panelDownOver;
};
const LayoutSkinFiles& SkinFilesOfClass(uint8_t layoutClass);
const LayoutSkinFiles& SkinFilesOfSet(SkinSet set);

inline constexpr const char* kOnlineUserIconFile = "BMP\\Online_User_ICON.bmp";
inline constexpr const char* kAlarmIconFile = "BMP\\alarm.bmp";
struct TitleButtonFiles {
  int id;
  const char* face;
  const char* hover;
};
inline constexpr TitleButtonFiles kTitleButtonFiles[3] = {
    {8200, "BMP\\Title_Bar_Hide.bmp", "BMP\\Title_Bar_Hide_a.bmp"},
    {8201, "BMP\\Title_Bar_Fullscreen.bmp", "BMP\\Title_Bar_Fullscreen_a.bmp"},
    {8202, "BMP\\Title_Bar_Close.bmp", "BMP\\Title_Bar_Close_a.bmp"},
};
inline constexpr const char* kPowerFiles[3] = {"BMP\\power.bmp", "BMP\\power_over.bmp",
                                               "BMP\\power_down.bmp"};

// Turbo faces of the keys that have them (54, 55, 57, 58, 30-33), or false for other keys.
// The arrows have their own face per set (PQVGA uses NQVGA's); keys 30-33 one face for all.
struct TurboFaces {
  std::string face;
  std::string hover;
};
bool TurboFacesOf(SkinSet set, int key, TurboFaces* faces);
