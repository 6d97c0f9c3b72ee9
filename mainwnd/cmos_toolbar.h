// The camera-sensor toolbar's decisions: its button table, the sensor state the stream reports,
// the zoom and rotate requests, and where the tool window sits beside the main window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One button of the toolbar: 30 x 30 pixels at x 6.  View buttons carry their view mode; the
// two flip buttons have none.
struct CmosButton {
  uint16_t id;  // command id, also the string id of its tool-tip
  int y;
  const char* up;    // face while off ("BMP\CMOS\..._UP.bmp")
  const char* down;  // face while on
  int viewMode;      // 0-5, or -1 for a flip button
};

inline constexpr int kCmosButtonCount = 8;
inline constexpr int kCmosButtonX = 6, kCmosButtonSize = 30;
inline constexpr int kCmosToolBarWidth = 45, kCmosToolBarHeight = 300;
inline constexpr uint16_t kCmosFullFrame = 8600, kCmosHorizontalFlip = 8606;
inline constexpr uint16_t kCmosVerticalFlip = 8607;
inline constexpr const char* kCmosBackground = "BMP\\CMOS\\ToolBarBG.bmp";

extern const CmosButton kCmosButtons[kCmosButtonCount];

// What the device last reported of its sensor.
struct CmosSensorState {
  uint8_t byViewMode = 0;       // 0 full frame, 1-5 one of the quarter windows
  uint8_t bHorizontalFlip = 0;  // 0 or 1
  uint8_t bVerticalFlip = 0;    // 0 or 1
};

// Takes a reported state byte (low four bits the view mode, 0x80 horizontal and 0x40 vertical
// flip); true when anything changed.
bool UpdateCmosState(CmosSensorState& state, uint8_t reported);
// The state (0 off, 1 on) the button at index shows for the reported state: the view button of
// the reported mode and each flip button whose flip is on.
int CmosButtonState(const CmosSensorState& state, int index);

// "/OV9653Zoom.cgi" with "Cookie" (when not empty) and "MODE".
std::string CmosZoomQuery(std::string_view cookie, int viewMode);
// "/OV9653Rotate.cgi" asking for the opposite of the reported flip of the button's axis: the
// horizontal button sends "HR" then "VR", the vertical one "VR" then "HR".
std::string CmosFlipQuery(std::string_view cookie, const CmosSensorState& state, bool horizontal);

struct ScreenPoint {
  int x, y;
};
// The toolbar's place when the main window opens centred in the work area: just left of it,
// overlapping its frame by two pixels, level with its top.
ScreenPoint CmosToolBarStartPlace(int workWidth, int workHeight, int mainWidth, int mainHeight);
// Its place after the main window moved to (mainLeft, mainTop).
ScreenPoint CmosToolBarFollowPlace(int mainLeft, int mainTop, int toolBarWidth);
