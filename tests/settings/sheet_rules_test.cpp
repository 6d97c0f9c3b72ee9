// The settings sheet's rules by family: pages, tree, title, apply order, the PPPoE refusal;
// and its layout: placement, boxes, buttons, the progress bar; the pages' typing filters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/sheet_layout.h"
#include "settings/sheet_rules.h"
#include "text/field_filter.h"

namespace {

std::vector<std::string> TreeLines(const std::string& productId, bool alarmList = false) {
  const auto rows = PageTreeRows(SheetFamilyOf(productId));
  const auto captions = FamilyPageCaptions(productId, alarmList);
  std::vector<std::string> lines;
  for (const PageTreeItem& item : PlanPageTree(rows, captions)) {
    std::string line = item.parentRow >= 0 ? std::string(rows[item.parentRow].caption) + "/" : "";
    line += rows[item.row].caption;
    if (rows[item.row].frameCaption) line += std::string(" [") + rows[item.row].frameCaption + "]";
    lines.push_back(line);
  }
  return lines;
}

TEST(SheetRules, EachFamilyGetsItsPagesUnderTheirParents) {
  struct Case {
    const char* product;
    bool alarmList;
    std::vector<std::string> tree;
  };
  const Case cases[] = {
      {"RZ1K",
       false,
       {"Network", "Network/DDNS", "Network/Mail", "Network/FTP", "DVR [DVR-CAMERA]",
        "DVR/Device [DVR-Device]", "DVR/Detection [DVR-Detection]",
        "DVR/Network Backup [DVR-Network Backup]", "DVR/Search List [DVR-Search List]",
        "DVR/Timer Record [DVR-Timer Record]", "DVR/Date [DVR-Date]",
        "DVR/Record Setting [DVR-Record]", "Alarm", "General", "General/Account",
        "General/Online User Info", "General/File Path"}},
      {"RZ4K",
       true,
       {"Network", "Network/DDNS", "Network/Mail", "Network/FTP", "DVR [DVR-CAMERA]",
        "DVR/Device [DVR-Device]", "DVR/Detection [DVR-Detection]",
        "DVR/Network Backup [DVR-Network Backup]", "DVR/Search List [DVR-Search List]",
        "DVR/Timer Record [DVR-Timer Record]", "DVR/Date [DVR-Date]",
        "DVR/Record Setting [DVR-Record]", "Alarm", "Alarm/Alarm List", "General",
        "General/Account", "General/Online User Info", "General/File Path"}},
      {"RZ2K",
       false,
       {"Network", "Network/DDNS", "Network/Mail", "Network/FTP", "Network/Server Time Config",
        "Alarm", "Alarm/Alarm List", "General", "General/Account", "General/Peripheral",
        "General/Online User Info", "General/File Path"}},
      {"RZ8P",
       false,
       {"Network", "Network/DDNS", "Network/Mail", "Network/FTP", "Network/Server Time Config",
        "Alarm", "Alarm/Alarm List", "General", "General/Account", "General/Online User Info",
        "General/File Path"}},
      // Without DDNS, Mail and FTP still hang under Network.
      {"RZ6M",
       false,
       {"Network", "Network/Mail", "Network/FTP", "Alarm", "Alarm/Alarm List", "General",
        "General/Account", "General/Online User Info", "General/File Path"}},
      {"RZ9X", false, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TreeLines(c.product, c.alarmList), c.tree) << c.product;
  }
}

TEST(SheetRules, TreeStopsAtThePageWithoutARow) {
  const auto rows = PageTreeRows(SheetFamily::kRz2k);
  const std::vector<std::string> captions{"Network", "Mail", "Schedule Record", "General"};
  const auto items = PlanPageTree(rows, captions);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].page, 1);
  EXPECT_EQ(items[1].parentRow, 0);
  // A child before its parent hangs at the root.
  const std::vector<std::string> orphan{"Mail", "Network"};
  EXPECT_EQ(PlanPageTree(rows, orphan)[0].parentRow, -1);
}

TEST(SheetRules, Rz8pTableHasRecordSettingBeforeDate) {
  const auto rz8p = PageTreeRows(SheetFamily::kRz8p);
  const auto dvr = PageTreeRows(SheetFamily::kDvr);
  EXPECT_STREQ(rz8p[11].caption, "Record Setting");
  EXPECT_STREQ(rz8p[12].caption, "Date");
  EXPECT_STREQ(dvr[11].caption, "Date");
  EXPECT_EQ(rz8p[11].frameCaption, nullptr);
}

TEST(SheetRules, TitleTextNamesTheDeviceKind) {
  const std::pair<const char*, const char*> cases[] = {{"RZ1K", "16CH DVR"},
                                                       {"RZ3K", "8CH DVR"},
                                                       {"RZ4K", "4CH DVR"},
                                                       {"RZ2K", "Video Server"},
                                                       {"RZ8P", "Video Server"},
                                                       {"RZ5M", "DVR Setting"},
                                                       {"RZ6M", "DVR Setting"},
                                                       {"RZ7M", "DVR Setting"},
                                                       {"RZ9X", ""},
                                                       {"", ""}};
  for (const auto& [product, title] : cases) EXPECT_EQ(SheetTitleText(product), title) << product;
}

TEST(SheetRules, TakeFirstPathPart) {
  struct Case {
    const char* path;
    const char* part;
    const char* rest;
    bool more;
  };
  const Case cases[] = {
      {"a\\::b::c", "a::b", "c", true},  // an escaped separator stays in the part
      {"x\\\\::y", "x\\", "y", true},    // an even run of backslashes does not escape
      {"plain", "plain", "", false},    {"a::b::c", "a", "b::c", true},
      {"::b", "", "b", true},           {"", "", "", false},
  };
  for (const Case& c : cases) {
    std::string part, rest;
    EXPECT_EQ(TakeFirstPathPart(c.path, part, rest), c.more) << c.path;
    EXPECT_EQ(part, c.part) << c.path;
    EXPECT_EQ(rest, c.rest) << c.path;
  }
}

TEST(SheetRules, ApplyOrderByFamily) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ApplyStepCaptions("RZ1K"),
            (V{"Account", "Alarm", "Mail", "FTP", "Device", "Detection", "DVR", "DDNS", "General",
               "Timer Record", "Date", "Record Setting", "Network"}));
  EXPECT_EQ(ApplyStepCaptions("RZ2K"),
            (V{"Account", "Alarm", "Mail", "FTP", "Device", "Detection", "DVR", "DDNS",
               "Peripheral", "Server Time Config", "General", "Network"}));
  // The RZM series never applies its network page.
  EXPECT_EQ(ApplyStepCaptions("RZ5M"), (V{"Account", "Alarm", "Mail", "FTP", "Device", "Detection",
                                          "DVR", "DDNS", "General"}));
}

TEST(SheetRules, PppoeWithoutDdnsRefusesOnlyWhereTheNetworkStepRuns) {
  struct Case {
    const char* product;
    uint8_t mode;
    bool ddns;
    bool refused;
  };
  const Case cases[] = {
      {"RZ1K", 1, false, true},  {"RZ1K", 1, true, false},  {"RZ1K", 0, false, false},
      {"RZ2K", 1, false, true},  {"RZ8P", 1, false, true},  {"RZ2K", 2, false, false},
      {"RZ5M", 1, false, false}, {"RZ7M", 1, false, false},  // no network step, no DDNS page
  };
  for (const Case& c : cases)
    EXPECT_EQ(RefusePppoeWithoutDdns(c.product, c.mode, c.ddns), c.refused) << c.product;
}

TEST(SheetRules, ButtonsAndChannelRows) {
  EXPECT_TRUE(SheetHasReboot("RZ2K"));
  EXPECT_TRUE(SheetHasReboot("RZ8P"));
  EXPECT_FALSE(SheetHasReboot("RZ1K"));
  EXPECT_FALSE(SheetHasReboot("RZ6M"));
  EXPECT_TRUE(SheetHasApply("RZ6M"));
  EXPECT_FALSE(SheetHasApply("XXXX"));
  EXPECT_EQ(ChannelRowsOf("RZ1K"), 16);
  EXPECT_EQ(ChannelRowsOf("RZ3K"), 8);
  EXPECT_EQ(ChannelRowsOf("RZ4K"), 4);
  EXPECT_EQ(ChannelRowsOf("RZ2K"), 0);
}

TEST(SheetLayout, SheetGoesBesideTheMainWindowOrCentred) {
  struct Case {
    SheetRect main;
    int sheetW, sheetH, screenW, screenH;
    SheetPlacement at;
  };
  const Case cases[] = {
      // Fits to the right: the main window stays, the sheet overlaps its frame by 2.
      {{10, 20, 610, 520}, 500, 400, 1280, 1024, {10, 20, 608, 20}},
      // Exactly fits.
      {{180, 0, 780, 500}, 500, 400, 1280, 1024, {180, 0, 778, 0}},
      // Too far right: the pair is centred.
      {{500, 0, 1100, 500}, 500, 400, 1280, 1024, {90, 262, 688, 262}},
      // The pair is too wide: the sheet alone is centred, the main window stays.
      {{0, 0, 1000, 500}, 500, 400, 1280, 1024, {0, 0, 390, 312}},
      // A sheet taller than the screen starts at its top.
      {{0, 0, 1000, 500}, 500, 900, 1280, 600, {0, 0, 390, 0}},
  };
  for (const Case& c : cases) {
    const SheetPlacement at = PlaceSheet(c.main, c.sheetW, c.sheetH, c.screenW, c.screenH);
    EXPECT_EQ(at.mainX, c.at.mainX);
    EXPECT_EQ(at.mainY, c.at.mainY);
    EXPECT_EQ(at.sheetX, c.at.sheetX);
    EXPECT_EQ(at.sheetY, c.at.sheetY);
  }
}

TEST(SheetLayout, BoxesAndButtons) {
  const SheetBoxes b = SheetBoxesFor({7, 7, 400, 250}, 150, 560, 360, 1.5f);
  EXPECT_EQ(b.tree, (SheetRect{7, 7, 152, 292}));
  EXPECT_EQ(b.progress, (SheetRect{167, 265, 545, 290}));
  EXPECT_EQ(b.title, (SheetRect{9, 302, 150, 320}));
  const SheetButtons at = SheetButtonsFor(560, 330, 1.0f);
  EXPECT_EQ(at.exit, (SheetRect{220, 303, 300, 325}));
  EXPECT_EQ(at.reboot, (SheetRect{340, 303, 420, 325}));
  EXPECT_EQ(at.apply, (SheetRect{460, 303, 540, 325}));
}

TEST(SheetLayout, ProgressBar) {
  const SheetRect box{100, 10, 304, 35};  // 200 pixels of bar
  struct Case {
    int64_t value, total;
    bool drawn;
    int length;
    unsigned percent;
    int textX;
  };
  const Case cases[] = {
      {50, 100, true, 100, 50, 204},  // 50 % is drawn right of the bar's end
      {51, 100, true, 102, 51, 159},  // 51 % inside it
      {0, 100, true, 0, 0, 104},       {100, 100, true, 200, 100, 257},
      {330, 310, true, 200, 100, 257},  // more than the total: a full bar
      {5, 0, false, 0, 0, 0},           // no total: nothing
  };
  for (const Case& c : cases) {
    const ProgressDrawing d = DrawProgressIn(box, c.value, c.total);
    EXPECT_EQ(d.drawn, c.drawn) << c.value;
    EXPECT_EQ(d.barLength, c.length) << c.value;
    EXPECT_EQ(d.percent, c.percent) << c.value;
    EXPECT_EQ(d.textX, c.textX) << c.value;
  }
}

TEST(FieldFilter, TypedNumbersAndTexts) {
  struct Case {
    const char* typed;
    const char* result;  // null: left as typed
  };
  const Case port[] = {
      {"70000", "9999"}, {"0", "1"},    {"80", nullptr}, {"", nullptr},
      {"abc", nullptr},  {"8a0", "80"}, {"0080", "80"},  {"123456789012345678901234", "9999"}};
  for (const Case& c : port) {
    const auto got = FilterNumberText(c.typed, 1, 9999);
    if (c.result == nullptr) {
      EXPECT_FALSE(got.has_value()) << c.typed;
    } else {
      ASSERT_TRUE(got.has_value()) << c.typed;
      EXPECT_EQ(*got, c.result) << c.typed;
    }
  }
  EXPECT_EQ(LimitFieldText("abcdefghijklmnopqrst", 15).value(), "abcdefghijklmno");
  EXPECT_FALSE(LimitFieldText("abcdefghijklmno", 15).has_value());
}

}  // namespace
