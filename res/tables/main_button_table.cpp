#include "res/tables/main_button_table.h"

namespace {
constexpr LayoutRect kVga{688, 34, 714, 60}, kQvga{336, 35, 362, 61};
#define MAIN_RECTS \
  { kVga, kQvga, kVga, kQvga }
}  // namespace

const MainButtonRecord MainButtonTable[kMainButtonRecords] = {
    {MAIN_RECTS,
     7,
     1002,
     {"BMP\\link.bmp", "BMP\\link_over.bmp", "BMP\\link_off.bmp", "BMP\\link_off_over.bmp", "", ""},
     {"BMP\\link_n.bmp", "BMP\\link_n.bmp", "BMP\\link_off_n.bmp", "BMP\\link_off_n.bmp", "", ""},
     kMainStyleTwoState,
     0x0F,
     1002,
     0,
     0x01},
    {MAIN_RECTS,
     7,
     1007,
     {"BMP\\qvga.bmp", "BMP\\qvga_over.bmp", "BMP\\vga.bmp", "BMP\\vga_over.bmp", "", ""},
     {"BMP\\qvga_n.bmp", "BMP\\qvga_n.bmp", "BMP\\vga_n.bmp", "BMP\\vga_n.bmp", "", ""},
     kMainStyleStateClick,
     0x03,
     1007,
     1,
     0x02},
    {MAIN_RECTS,
     7,
     1008,
     {"BMP\\high.bmp", "BMP\\mid_over.bmp", "BMP\\mid.bmp", "BMP\\low_over.bmp", "BMP\\low.bmp",
      "BMP\\high_over.bmp"},
     {"BMP\\high_n.bmp", "BMP\\high_n.bmp", "BMP\\mid_n.bmp", "BMP\\mid_n.bmp", "BMP\\low_n.bmp",
      "BMP\\low_n.bmp"},
     kMainStyleStateClick,
     0x03,
     1008,
     2,
     0x04},
    {MAIN_RECTS,
     6,
     999,
     {"BMP\\Image_Quality.bmp", "BMP\\Image_Quality_over.bmp", "BMP\\Image_Quality_over.bmp", "",
      "", ""},
     {"BMP\\Image_Quality_n.bmp", "BMP\\Image_Quality_n.bmp", "BMP\\Image_Quality_n.bmp", "", "",
      ""},
     kMainStyleThreeFaces,
     0x03,
     999,
     3,
     0x08},
    {MAIN_RECTS,
     7,
     1004,
     {"BMP\\snapshoot.bmp", "BMP\\snapshoot_over.bmp", "BMP\\snapshoot_down.bmp", "", "", ""},
     {"BMP\\snapshoot_n.bmp", "BMP\\snapshoot_n.bmp", "BMP\\snapshoot_n.bmp", "", "", ""},
     kMainStylePressFaces,
     0x0B,
     1004,
     4,
     0x10},
    {MAIN_RECTS,
     7,
     1005,
     {"BMP\\Record_Button.bmp", "BMP\\Record_Button_over.bmp", "BMP\\Recording_Button.bmp",
      "BMP\\Recording_Button_over.bmp", "", ""},
     {"BMP\\Record_Button_n.bmp", "BMP\\Record_Button_n.bmp", "BMP\\Record_Button_n.bmp",
      "BMP\\Record_Button_n.bmp", "", ""},
     kMainStyleTwoState,
     0x0B,
     1005,
     5,
     0x20},
    {MAIN_RECTS,
     7,
     1006,
     {"BMP\\system_setting.bmp", "BMP\\system_setting_over.bmp", "BMP\\system_setting_over.bmp", "",
      "", ""},
     {"BMP\\system_setting_n.bmp", "BMP\\system_setting_n.bmp", "BMP\\system_setting_n.bmp", "", "",
      ""},
     kMainStyleThreeFaces,
     0x01,
     1006,
     6,
     0x40},
};

ModelLayoutPlan PlanOfFamily(uint8_t familyMask, uint8_t count) {
  ModelLayoutPlan p;
  p.byFamilyMask = familyMask;
  uint8_t found = 0;
  for (int next = 0; found < count && next < kMainButtonRecords; ++next) {
    if (MainButtonTable[next].wFamilyMask & familyMask)
      p.records[found++] = static_cast<uint8_t>(next);
  }
  p.byButtonCount = found;
  return p;
}

LayoutRect MainButtonRect(const ModelLayoutPlan& plan, int i, uint8_t layoutClass) {
  const LayoutRect r = MainButtonTable[0].rcButton[KeyLayoutOf(layoutClass)];
  const int32_t shift = (plan.byButtonCount - 1 - i) * r.Width();
  return {r.left - shift, r.top, r.right - shift, r.bottom};
}

MainButtonFaces FacesOfMainButton(const MainButtonRecord& record, uint8_t accessClass) {
  MainButtonFaces f;
  f.allowed = accessClass < 4 && (record.byClassMask >> accessClass) & 1;
  const char* const* names = f.allowed ? record.szAllowed : record.szDenied;
  int k = 0;
  for (int i = 0; i < kMainButtonFaces; ++i)
    if (record.szAllowed[i][0]) ++k;
  if (record.byStyle == kMainStyleThreeFaces || record.byStyle == kMainStylePressFaces) {
    f.stateCount = 0;
    f.nameCount = 3;
  } else {
    f.stateCount = (k + 1) / 2;
    f.nameCount = 2 * f.stateCount;
  }
  for (int i = 0; i < f.nameCount; ++i) f.names[i] = names[i];
  return f;
}

int MainButtonIndexOfFlag(const ModelLayoutPlan& plan, uint32_t flag) {
  for (int i = 0; i < plan.byButtonCount; ++i)
    if (MainButtonTable[plan.records[i]].dwFlag & flag) return i;
  return -1;
}
