#include "mainwnd/cmos_toolbar.h"

#include "net/cgi_command_table.h"
#include "net/cgi_param_list.h"

const CmosButton kCmosButtons[kCmosButtonCount] = {
    {8600, 10, "BMP\\CMOS\\FullFrame_UP.bmp", "BMP\\CMOS\\FullFrame_DOWN.bmp", 0},
    {8601, 44, "BMP\\CMOS\\QFrame_LT_UP.bmp", "BMP\\CMOS\\QFrame_LT_DOWN.bmp", 1},
    {8602, 78, "BMP\\CMOS\\QFrame_RT_UP.bmp", "BMP\\CMOS\\QFrame_RT_DOWN.bmp", 2},
    {8603, 112, "BMP\\CMOS\\QFrame_LB_UP.bmp", "BMP\\CMOS\\QFrame_LB_DOWN.bmp", 3},
    {8604, 146, "BMP\\CMOS\\QFrame_RB_UP.bmp", "BMP\\CMOS\\QFrame_RB_DOWN.bmp", 4},
    {8605, 180, "BMP\\CMOS\\QFrame_CN_UP.bmp", "BMP\\CMOS\\QFrame_CN_DOWN.bmp", 5},
    {8606, 214, "BMP\\CMOS\\CMOS_HR_UP.bmp", "BMP\\CMOS\\CMOS_HR_DOWN.bmp", -1},
    {8607, 248, "BMP\\CMOS\\CMOS_VR_UP.bmp", "BMP\\CMOS\\CMOS_VR_DOWN.bmp", -1},
};

bool UpdateCmosState(CmosSensorState& state, uint8_t reported) {
  const CmosSensorState next{static_cast<uint8_t>(reported & 0x0F),
                             static_cast<uint8_t>((reported & 0x80) ? 1 : 0),
                             static_cast<uint8_t>((reported & 0x40) ? 1 : 0)};
  const bool changed = next.byViewMode != state.byViewMode ||
                       next.bHorizontalFlip != state.bHorizontalFlip ||
                       next.bVerticalFlip != state.bVerticalFlip;
  state = next;
  return changed;
}

int CmosButtonState(const CmosSensorState& state, int index) {
  if (index < 0 || index >= kCmosButtonCount) return 0;
  const CmosButton& b = kCmosButtons[index];
  if (b.id == kCmosHorizontalFlip) return state.bHorizontalFlip ? 1 : 0;
  if (b.id == kCmosVerticalFlip) return state.bVerticalFlip ? 1 : 0;
  return b.viewMode == state.byViewMode ? 1 : 0;
}

std::string CmosZoomQuery(std::string_view cookie, int viewMode) {
  CGIParamList query(kCgiOV9653Zoom);
  if (!cookie.empty()) query.AddParam("Cookie", cookie);
  query.AddParamInt("MODE", viewMode);
  return query.m_strQuery;
}

std::string CmosFlipQuery(std::string_view cookie, const CmosSensorState& state, bool horizontal) {
  CGIParamList query(kCgiOV9653Rotate);
  if (!cookie.empty()) query.AddParam("Cookie", cookie);
  if (horizontal) {
    query.AddParamInt("HR", state.bHorizontalFlip ? 0 : 1);
    query.AddParamInt("VR", state.bVerticalFlip);
  } else {
    query.AddParamInt("VR", state.bVerticalFlip ? 0 : 1);
    query.AddParamInt("HR", state.bHorizontalFlip);
  }
  return query.m_strQuery;
}

ScreenPoint CmosToolBarStartPlace(int workWidth, int workHeight, int mainWidth, int mainHeight) {
  return {(workWidth - mainWidth) / 2 - 43, (workHeight - mainHeight) / 2};
}

ScreenPoint CmosToolBarFollowPlace(int mainLeft, int mainTop, int toolBarWidth) {
  return {mainLeft - toolBarWidth + 2, mainTop};
}
