// The main window's command decisions: resolution and quality with their requests, the colour
// read-back, the settings fetch per family and firmware, and the clock's hover area.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwnd/main_window_commands.h"
#include "net/sys_cfg_blocks.h"

namespace {

TEST(MainWindowCommands, ResolutionTogglesOnlyBetweenItsTwoValues) {
  struct Case {
    int32_t stored;
    std::optional<int32_t> next;
  };
  // 2 (and anything else) is a value only the settings file can hold: it stays, nothing is sent.
  for (const Case& c : {Case{0, 1}, Case{1, 0}, Case{2, std::nullopt}, Case{-1, std::nullopt},
                        Case{7, std::nullopt}})
    EXPECT_EQ(ToggledResolution(c.stored), c.next) << c.stored;
}

TEST(MainWindowCommands, QualityCyclesAndRestartsFromStrayValues) {
  struct Case {
    int32_t stored, next;
  };
  for (const Case& c : {Case{0, 1}, Case{1, 2}, Case{2, 0}, Case{3, 0}, Case{-5, 0}})
    EXPECT_EQ(NextQuality(c.stored), c.next) << c.stored;
  // Three presses come back to the start.
  int32_t q = 0;
  for (int i = 0; i < 3; ++i) q = NextQuality(q);
  EXPECT_EQ(q, 0);
}

TEST(MainWindowCommands, RequestsCarryTheCookieFirstAndOnlyWhenThereIsOne) {
  struct Case {
    CGIParamList request;
    std::string text;
  };
  const Case cases[] = {
      {ResolutionRequest(1, "ab12"), "/Setresolution.cgi?Cookie=ab12&RES=1"},
      {ResolutionRequest(0, ""), "/Setresolution.cgi?RES=0"},
      {QualityRequest(2, "ab12"), "/Setquality.cgi?Cookie=ab12&QUA=2"},
      {QualityRequest(0, ""), "/Setquality.cgi?QUA=0"},
      {GetColorRequest("ab12"), "/GetColor.cgi?Cookie=ab12"},
      {GetColorRequest(""), "/GetColor.cgi"},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(c.request.GetBuffer()), c.text);
  EXPECT_EQ(ResolutionRequest(1, "").m_nCmdId, 3);
  EXPECT_EQ(QualityRequest(1, "").m_nCmdId, 4);
  EXPECT_EQ(GetColorRequest("").m_nCmdId, 20);
}

TEST(MainWindowCommands, ColourReplyDefaultsForMissingKeys) {
  struct Case {
    const char* reply;
    int brightness, contrast, hue;
  };
  const Case cases[] = {
      {"BRI=10;CON=90;HUE=250;", 10, 90, 250},
      {"BRI=0;HUE=2;", 0, 128, 2},  // no contrast: 128
      {"", 0, 128, 0},
      {"CON=200", 0, 128, 0},  // a value needs its ";"
      {"HUE=-3;BRI=130;CON=0;", 130, 0, -3},
  };
  for (const Case& c : cases) {
    const ColorValues v = ColorsOfReply(c.reply);
    EXPECT_EQ(v.brightness, c.brightness) << c.reply;
    EXPECT_EQ(v.contrast, c.contrast) << c.reply;
    EXPECT_EQ(v.hue, c.hue) << c.reply;
  }
}

std::vector<uint8_t> Options(const std::vector<FetchStep>& plan) {
  std::vector<uint8_t> out;
  for (const FetchStep& s : plan) out.push_back(s.option);
  return out;
}

TEST(MainWindowCommands, SettingsFetchPerFamilyAndFirmware) {
  const std::vector<uint8_t> videoServer = {kSysCfgIp,   kSysCfgOnline, kSysCfgAlarm, kSysCfgSecure,
                                            kSysCfgSmtp, kSysCfgFtp,    kSysCfgRs485, kSysCfgPeri,
                                            kSysCfgSntp, kSysCfgPppoe,  kSysCfgDns};
  const std::vector<uint8_t> recorder = {kSysCfgIp,     kSysCfgOnline, kSysCfgAlarm, kSysCfgSecure,
                                         kSysCfgSmtp,   kSysCfgFtp,    kSysCfgRs485, kSysCfgDvrLive,
                                         kSysCfgDvrRec, kSysCfgPppoe,  kSysCfgDns};
  const std::vector<uint8_t> all = {kSysCfgAll};
  struct Case {
    const char* product;
    const char* firmware;
    std::vector<uint8_t> options;
    FetchCopy pppoe;  // of a block-by-block plan
  };
  const Case cases[] = {
      {"RZ2K", "0003", all, FetchCopy::kAll},
      {"RZ8P", "1010", all, FetchCopy::kAll},
      {"RZ6M", "0002", videoServer, FetchCopy::kPppoeOld},
      {"RZ2K", "0000", videoServer, FetchCopy::kPppoeOld},
      {"RZ1K", "1024", all, FetchCopy::kAll},
      {"RZ3K", "1023", recorder, FetchCopy::kPppoeOld},
      {"RZ4K", "1000", recorder, FetchCopy::kPppoeOld},
      {"RZ1K", "1051", all, FetchCopy::kAll},
      {"RZ1K", "10240", all, FetchCopy::kAll},  // not a version text: new
  };
  for (const Case& c : cases) {
    const std::vector<FetchStep> plan = SystemConfigFetchPlan(c.product, c.firmware);
    EXPECT_EQ(Options(plan), c.options) << c.product << " " << c.firmware;
    for (const FetchStep& s : plan) {
      if (s.option == kSysCfgPppoe) {
        EXPECT_EQ(s.copy, c.pppoe) << c.product << " " << c.firmware;
      }
      // Every block is asked for with its own size.
      if (s.option != kSysCfgAll) {
        EXPECT_EQ(s.size, SysCfgBlockSizes[s.option]) << int{s.option};
      }
    }
  }
  EXPECT_EQ(SystemConfigFetchPlan("RZ2K", "0002")[1].copy, FetchCopy::kOnline);
}

TEST(MainWindowCommands, ClockHidesWhileTheMouseIsOnItsTextEdgesIncluded) {
  const LayoutRect r{100, 20, 220, 34};  // 120 x 14
  struct Case {
    int32_t x, y;
    bool shown;
  };
  for (const Case& c :
       {Case{100, 20, false}, Case{220, 34, false}, Case{160, 27, false}, Case{99, 27, true},
        Case{221, 27, true}, Case{160, 19, true}, Case{160, 35, true}, Case{-1, -1, true}})
    EXPECT_EQ(ClockShownForMouse(r, c.x, c.y), c.shown) << c.x << "," << c.y;
}

}  // namespace
