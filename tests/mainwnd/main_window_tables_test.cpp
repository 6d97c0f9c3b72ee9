// The main window's tables and rules: layouts, user classes, main buttons, tool keys and the
// show rules, initialisation rewrites and the status texts.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "mainwnd/access_table.h"
#include "res/tables/layout_table.h"
#include "res/tables/main_button_table.h"
#include "mainwnd/main_window_rules.h"
#include "res/tables/model_control_table.h"

namespace {

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const LayoutRect& inner, const LayoutRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(LayoutTable, RowsClassesAndDerivedRectangles) {
  EXPECT_EQ(LayoutClassOf(0), 0);
  EXPECT_EQ(LayoutClassOf(7), 1);
  EXPECT_EQ(LayoutClassOf(14), 2);
  EXPECT_EQ(LayoutClassOf(17), 5);
  EXPECT_EQ(KeyLayoutOf(4), 1);
  EXPECT_EQ(KeyLayoutOf(5), 3);
  // The RZ1K field doubled: 640 x 456; the RZ8P picture 640 x 480; RZ2K 704 x 480.
  EXPECT_EQ(LayoutTable[0].rcVideo, (LayoutRect{42, 96, 682, 552}));
  EXPECT_EQ(LayoutTable[12].rcVideo.Height(), 480);
  EXPECT_EQ(LayoutTable[6].rcVideo.Width(), 704);
  EXPECT_EQ(LayoutTable[13].rcStatusBar, (LayoutRect{14, 63, 362, 83}));
  EXPECT_EQ(LayoutRowOf(200).rcWindow, LayoutTable[0].rcWindow);
  for (const LayoutRow& row : LayoutTable) {
    EXPECT_EQ(row.rcBackground, row.rcWindow);
    EXPECT_EQ(row.rcWindowPanel.Width(), row.rcWindow.Width());
    EXPECT_GT(row.rcWindowPanel.Height(), row.rcWindow.Height());
    EXPECT_TRUE(Inside(row.rcVideo, row.rcWindow));
    EXPECT_TRUE(Inside(PanelOpenRect(row), row.rcWindow));
    EXPECT_TRUE(Inside(PanelCloseRect(row), row.rcWindowPanel));
    EXPECT_FALSE(Overlap(PanelOpenRect(row), row.rcVideo));
  }
  EXPECT_EQ(TitleButtonRect(LayoutTable[0], 2), (LayoutRect{697, 8, 710, 21}));
  EXPECT_EQ(PowerButtonRect(LayoutTable[1]), (LayoutRect{206, 35, 232, 61}));
  EXPECT_EQ(AlarmIconRect(LayoutTable[0]), (LayoutRect{651, 65, 664, 81}));
  EXPECT_EQ(PanelStripRect(LayoutTable[0]), (LayoutRect{0, 552, 722, 680}));
}

TEST(LayoutTable, SkinSetsAndTurboFaces) {
  EXPECT_STREQ(SkinFilesOfClass(4).background, "BMP\\N_QVGA_BG.bmp");
  EXPECT_STREQ(SkinFilesOfClass(5).statusBar, "BMP\\StatusBar.bmp");
  EXPECT_STREQ(SkinFilesOfClass(2).panelDownOver, "BMP\\P_VGA_PANELDOWN_OVER.bmp");
  SkinSet set;
  ASSERT_TRUE(SkinSetOfDevice(1, 2, &set));
  EXPECT_EQ(set, SkinSet::kPQvga);
  EXPECT_FALSE(SkinSetOfDevice(0, 3, &set));
  // Turbo's faces follow the layout class shown: class 4 (the RZ8P's small layout) is N_QVGA
  // whatever standard the device reports.
  const SkinSet byClass[] = {SkinSet::kNVga,  SkinSet::kNQvga, SkinSet::kPVga,
                             SkinSet::kPQvga, SkinSet::kNQvga, SkinSet::kPQvga};
  for (uint8_t c = 0; c < 6; ++c) EXPECT_EQ(SkinSetOfClass(c), byClass[c]) << int(c);
  TurboFaces f;
  ASSERT_TRUE(TurboFacesOf(SkinSet::kPQvga, 54, &f));  // P_QVGA uses the N_QVGA arrows
  EXPECT_EQ(f.face, "BMP\\N_QVGA_LEFT_TURBO.bmp");
  EXPECT_EQ(f.hover, "BMP\\N_QVGA_LEFT_TURBO_OVER.bmp");
  ASSERT_TRUE(TurboFacesOf(SkinSet::kNVga, 32, &f));
  EXPECT_EQ(f.hover, "BMP\\2Col_focus_turbo_in_a.bmp");
  EXPECT_FALSE(TurboFacesOf(SkinSet::kNVga, 56, &f));  // MENU has no turbo face
}

TEST(ControlAccess, ClassesOfUserLevelsAndWhatTheyMayPress) {
  const std::pair<uint16_t, uint8_t> levels[] = {{30, 0}, {20, 1}, {0, 2}, {10, 3}, {99, 3}};
  for (auto [level, cls] : levels) EXPECT_EQ(AccessClassOfUserLevel(level), cls) << level;
  EXPECT_FALSE(ClassAllows(kAccessGuest, 8192));  // a guest sees neither panel button
  EXPECT_FALSE(ClassAllows(kAccessGuest, 8193));
  EXPECT_TRUE(ClassAllows(kAccessGuest, 1002));
  EXPECT_TRUE(ClassAllows(kAccessNormalUser, 1004));
  EXPECT_FALSE(ClassAllows(kAccessHighUser, 1006));
  EXPECT_TRUE(ClassAllows(kAccessSupervisor, 8311));
  EXPECT_EQ(AccessRowOf(7).byLevelCode, 20);
}

TEST(MainButtons, FamiliesPlacementFacesAndFlags) {
  ModelLayoutPlan plan;
  ASSERT_TRUE(PlanModelLayout("RZ1K", 0, &plan));
  ASSERT_EQ(plan.byButtonCount, 6);  // no colour button
  EXPECT_EQ(MainButtonRect(plan, 0, 0).left, 558);
  EXPECT_EQ(MainButtonRect(plan, 5, 0), (LayoutRect{688, 34, 714, 60}));
  EXPECT_EQ(MainButtonTable[plan.records[3]].wControlId, 1004);
  EXPECT_EQ(MainButtonIndexOfFlag(plan, 0x08), -1);
  EXPECT_EQ(MainButtonIndexOfFlag(plan, 0x20), 4);

  ASSERT_TRUE(PlanModelLayout("RZ1K", 1, &plan));
  EXPECT_EQ(plan.byButtonCount, 7);
  EXPECT_EQ(MainButtonRect(plan, 0, 2).left, 532);
  EXPECT_EQ(MainButtonRect(plan, 0, 1).left, 180);
  ASSERT_TRUE(PlanModelLayout("RZ5M", 0, &plan));
  EXPECT_EQ(plan.byFamilyMask, 4);
  EXPECT_EQ(MainButtonIndexOfFlag(plan, 0x08), 3);
  EXPECT_FALSE(PlanModelLayout("ABCD", 0, &plan));

  // A guest: connect allowed, everything else denied with its "_n" faces.
  const MainButtonFaces link = FacesOfMainButton(MainButtonTable[0], kAccessGuest);
  EXPECT_TRUE(link.allowed);
  EXPECT_EQ(link.stateCount, 2);
  EXPECT_STREQ(link.names[2], "BMP\\link_off.bmp");
  const MainButtonFaces quality = FacesOfMainButton(MainButtonTable[2], kAccessGuest);
  EXPECT_FALSE(quality.allowed);
  EXPECT_EQ(quality.stateCount, 3);
  EXPECT_STREQ(quality.names[4], "BMP\\low_n.bmp");
  const MainButtonFaces snap = FacesOfMainButton(MainButtonTable[4], kAccessNormalUser);
  EXPECT_TRUE(snap.allowed);
  EXPECT_EQ(snap.nameCount, 3);
  EXPECT_STREQ(snap.names[2], "BMP\\snapshoot_down.bmp");
  EXPECT_FALSE(FacesOfMainButton(MainButtonTable[6], kAccessHighUser).allowed);
}

TEST(ModelControlTable, TellingValuesRowsAndExceptions) {
  auto& t = ModelControlTable();
  const ControlKeyEntry& key0 = t[0].keys[0];
  EXPECT_EQ(key0.rcButton[0], (LayoutRect{8, 568, 26, 586}));
  EXPECT_EQ(key0.rcButton[1], (LayoutRect{9, 328, 27, 346}));
  EXPECT_EQ(t[0].keys[59].rcButton[0], (LayoutRect{649, 578, 663, 592}));
  EXPECT_EQ(t[0].keys[59].rcButton[2], (LayoutRect{649, 674, 663, 688}));
  EXPECT_EQ(t[18].szModelName, std::string("PTZ PELCO"));
  EXPECT_EQ(t[0].dwPanelFlags, 2u);
  EXPECT_EQ(t[19].keys[61].wFlags, 0x07);
  EXPECT_EQ(t[15].keys[44].wFlags, 0x47);
  EXPECT_EQ(t[18].keys[67].wFlags, 0x83);
  EXPECT_EQ(t[18].keys[67].wBitmapStyle, kKeyStyleTwoState);
  EXPECT_EQ(t[18].keys[67].szBitmap[2], "BMP\\ptz_preset.bmp");
  EXPECT_EQ(t[8].keys[3].wTipId, 8336);  // camera rows: "Preset 4"
  EXPECT_EQ(t[8].keys[3].wCommandId, 8253);
  EXPECT_EQ(t[20].keys[20].wCommandId, 8573);
  EXPECT_EQ(t[20].keys[20].szBitmap[0], "BMP\\cut8.bmp");
  EXPECT_EQ(t[19].keys[54].szBitmap[9], "BMP\\P_QVGA_LEFT.bmp");
  EXPECT_EQ(t[19].keys[47].szBitmap[5], "BMP\\stop_n_qvga.bmp");
  EXPECT_EQ(t[19].keys[59].szBitmap[8], "BMP\\tubro.bmp");
  for (int k = 0; k < kToolKeys; ++k) EXPECT_EQ(t[5].keys[k].dwKeyIndex, uint32_t(k));
  int present = 0;
  for (const ControlKeyEntry& e : t[0].keys) present += e.wFlags != 0;
  EXPECT_EQ(present, 0);
  EXPECT_EQ(ModelRowOf(26), nullptr);
}

// Every key a model has sits inside the panel window of its class with a margin (nothing cut
// by the rounded edge), apart from the picture, the panel buttons and every other key; every
// bitmap name has one size, its keys' size.
TEST(ModelControlTable, GeometryFitsEveryLayoutAndBitmapSizesMatchKeys) {
  const int layoutIds[4] = {0, 1, 2, 3};
  for (const ModelControlRow& row : ModelControlTable()) {
    for (int cls = 0; cls < 4; ++cls) {
      for (int base : {0, 6, 12}) {
        const LayoutRow& layout = LayoutTable[base + layoutIds[cls]];
        const LayoutRect& w = layout.rcWindowPanel;
        const LayoutRect inner{w.left + 5, w.top, w.right - 5, w.bottom - 5};
        for (int k = 0; k < kToolKeys; ++k) {
          if (!(row.keys[k].wFlags & 0x02)) continue;
          SCOPED_TRACE(::testing::Message() << "row " << row.dwRowIndex << " class " << cls
                                            << " layout " << base + cls << " key " << k);
          const LayoutRect& r = row.keys[k].rcButton[cls];
          EXPECT_TRUE(Inside(r, inner));
          EXPECT_FALSE(Overlap(r, layout.rcVideo));
          EXPECT_FALSE(Overlap(r, PanelOpenRect(layout)));
          EXPECT_FALSE(Overlap(r, PanelCloseRect(layout)));
          for (int j = k + 1; j < kToolKeys; ++j)
            if (row.keys[j].wFlags & 0x02) {
              EXPECT_FALSE(Overlap(r, row.keys[j].rcButton[cls])) << j;
            }
        }
      }
    }
  }
  std::map<std::string, std::pair<int, int>> sizes;
  for (const ModelControlRow& r : ModelControlTable()) {
    for (const ControlKeyEntry& e : r.keys) {
      for (int i = 0; i < 12; ++i) {
        if (e.szBitmap[i].empty()) continue;
        const int cls = e.wBitmapStyle == kKeyStyleTwoState ? (i < 6 ? 0 : 2) : i / 3;
        const std::pair<int, int> size{e.rcButton[cls].Width(), e.rcButton[cls].Height()};
        auto [it, added] = sizes.emplace(e.szBitmap[i], size);
        EXPECT_EQ(it->second, size) << e.szBitmap[i];
        if (e.wBitmapStyle == kKeyStyleTwoState) {
          const int other = i < 6 ? 1 : 3;
          EXPECT_EQ(e.rcButton[other].Width(), size.first) << e.szBitmap[i];
        }
      }
    }
  }
  const auto list = ToolKeyBitmaps();
  for (const ToolBitmap& b : list) {
    auto it = sizes.find(b.name);
    if (it != sizes.end()) {
      EXPECT_EQ(it->second, std::make_pair(b.width, b.height)) << b.name;
    }
  }
  EXPECT_GT(list.size(), sizes.size());  // and the turbo faces
}

TEST(ShowRules, UserClassesAndPanelStates) {
  // A normal user (level code 20, USERLEVEL 10) sees 0x20 and 0x40 keys hidden; a high user
  // (40, 20) sees 0x40 keys but not 0x20 keys; a supervisor sees both.
  struct Case {
    uint16_t flags, userLevel;
    uint8_t levelCode;
    bool visibleA, visibleB;
  };
  const Case cases[] = {
      {0x23, 10, 20, false, false}, {0x43, 10, 20, false, false}, {0x43, 20, 40, true, true},
      {0x23, 20, 40, false, false}, {0x23, 30, 60, true, true},   {0x47, 0, 4, false, false},
      {0x03, 0, 4, true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShowRuleA(c.flags, c.userLevel, c.levelCode).visible, c.visibleA) << c.flags;
    EXPECT_EQ(ShowRuleB(c.flags, c.levelCode).visible, c.visibleB) << c.flags;
  }
  EXPECT_FALSE(ShowRuleA(0x01, 30, 60).placed);  // not present: hidden
  EXPECT_FALSE(ShowRuleA(0x102, 30, 60).enabled);
  // A panel-less model never shows 8192; shows 8193 when the class may close the panel.
  for (bool open : {false, true}) {
    const PanelPlan p = PlanPanelForDevice(true, open, true, true);
    EXPECT_FALSE(p.showOpenButton);
  }
  EXPECT_EQ(PlanPanelForDevice(true, false, true, true).keys, KeyRule::kRuleB);
  EXPECT_TRUE(PlanPanelForDevice(true, false, true, true).showCloseButton);
  EXPECT_TRUE(PlanPanelForDevice(true, true, true, true).closePanel);
  EXPECT_EQ(PlanPanelForDevice(false, true, true, true).keys, KeyRule::kRuleA);
  EXPECT_TRUE(PlanPanelForDevice(false, false, true, true).showOpenButton);
  EXPECT_FALSE(PlanPanelForDevice(false, false, false, false).showOpenButton);  // guest
  const FullScreenExitPlan e = PlanFullScreenExit(false, true, true, true);
  EXPECT_TRUE(e.panelShape && e.showCloseButton && e.applyAccess);
  EXPECT_TRUE(PlanFullScreenExit(false, false, true, true).showOpenButton);
  EXPECT_TRUE(PlanFullScreenExit(true, true, true, true).closePanel);
}

TEST(MainWindowInit, DeviceRewritesKeyRemovalsAndHotPointMode) {
  uint8_t inf[44] = {};
  std::memcpy(inf + 24, "TRV-941x", 8);
  ASSERT_TRUE(RewriteModelName(inf, sizeof inf));
  EXPECT_EQ(std::memcmp(inf + 24, "TRV-941\0", 8), 0);
  std::memcpy(inf + 24, "TRV-943\0", 8);
  EXPECT_FALSE(RewriteModelName(inf, sizeof inf));

  uint8_t alarm[24] = {};
  EXPECT_FALSE(RewriteAlarmSource("RZ2K", "1009", alarm, sizeof alarm));
  EXPECT_FALSE(RewriteAlarmSource("RZ1K", "1060", alarm, sizeof alarm));
  ASSERT_TRUE(RewriteAlarmSource("RZ2K", "1010", alarm, sizeof alarm));
  EXPECT_EQ(alarm[9], 12);
  EXPECT_FALSE(RewriteAlarmSource("RZ2K", "1010", alarm, sizeof alarm));  // already set

  uint8_t system[36] = {};
  std::memcpy(system + 20, "LOBBY", 5);
  EXPECT_EQ(DeviceTitleOf(system, sizeof system), "LOBBY");

  auto table = ModelControlTable();  // a copy
  EXPECT_EQ(RemoveUnsupportedKeys(table, "RZ1K", "1077", 0), 6);
  EXPECT_EQ(table[19].keys[25].wFlags, 0);
  // The keys left close up: in the quarter-size panels (whose first row is full) the search key
  // takes the removed key's place.
  for (int layout : {1, 3})
    EXPECT_EQ(table[19].keys[45].rcButton[layout],
              ModelControlTable()[19].keys[25].rcButton[layout])
        << layout;
  EXPECT_EQ(RemoveUnsupportedKeys(table, "RZ1K", "1078", 1), 3);  // rows 11, 17, 18 have key 60
  EXPECT_EQ(table[18].keys[60].wFlags, 0);
  auto fresh = ModelControlTable();
  EXPECT_EQ(RemoveUnsupportedKeys(fresh, "RZ2K", "1000", 1), 0);

  EXPECT_EQ(HotPointModeOf(11, "RZ2K", "1010", 0), 2);
  EXPECT_EQ(HotPointModeOf(19, "RZ2K", "1010", 0), 1);
  EXPECT_EQ(HotPointModeOf(18, "RZ1K", "1060", 0), 1);
  EXPECT_EQ(HotPointModeOf(18, "RZ1K", "1060", 2), 2);
  EXPECT_EQ(HotPointModeOf(18, "RZ1K", "1034", 0), 2);

  // RZ2K: entry 0 for channel 1, else entry 1.
  EXPECT_EQ(CurrentControlEntry("RZ2K", 0, 1), 0);
  EXPECT_EQ(CurrentControlEntry("RZ2K", 0, 2), 1);
}

TEST(MainWindowTexts, PanelTipsDescribeTheButtonsState) {
  struct Case {
    uint16_t id;
    PanelTipState state;
    int half;
  };
  const PanelTipState none{false, false, false, false}, all{true, true, true, true};
  const Case cases[] = {{8312, none, 1}, {8312, all, 0},  {8310, none, 1}, {8310, all, 0},
                        {8331, none, 1}, {8331, all, 0},  {8356, none, 0}, {8356, all, 1},
                        {8311, all, -1}, {8250, none, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(PanelTipHalf(c.id, c.state), c.half) << c.id;
  }
}

TEST(MainWindowTexts, LoginStatusesAndInfoText) {
  EXPECT_EQ(LoginStatusEffectOf(65, 0).text, "ESCAPED TIME:  01:05");
  EXPECT_EQ(LoginStatusEffectOf(0, 1).text, "Start login");
  EXPECT_EQ(LoginStatusEffectOf(0, 2).text, "Server is too busy!! Try later !!");
  EXPECT_EQ(LoginStatusEffectOf(0, 3).text, "Login process is failed,wait a moment !!");
  EXPECT_EQ(LoginStatusEffectOf(0, 4).kind, LoginStatusEffect::kNone);
  EXPECT_EQ(LoginStatusEffectOf(0, 5).state, 0);
  EXPECT_EQ(LoginStatusEffectOf(0, 6).state, 1);
  EXPECT_EQ(LoginStatusEffectOf(0, 7).text,
            "System relogin too many user.Wait for 40 sec!!\nApplication will try again.");
  EXPECT_EQ(LoginStatusEffectOf(0, 8).kind, LoginStatusEffect::kRepaint);
  EXPECT_EQ(LoginStatusEffectOf(0, 9).kind, LoginStatusEffect::kNone);

  const DeviceClock clock{2006, 10, 7, 7, 41, 11};
  auto t = InfoTextOf("RZ2K", true, "", clock, "127.0.0.1");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->text, "2006/10/07 07:41:11");
  t = InfoTextOf("RZ1K", true, "LOBBY", clock, "127.0.0.1");
  EXPECT_EQ(t->text, "LOBBY");
  t = InfoTextOf("RZ2K", false, "", clock, "10.1.2.3");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->colour, InfoText::kCyan);
  EXPECT_EQ(t->text, "IP:10.1.2.3");
  EXPECT_FALSE(InfoTextOf("RZ2K", false, "", clock, "dvr.example"));  // a host name
  EXPECT_FALSE(InfoTextOf("RZ2K", false, "", clock, ""));
}

}  // namespace
