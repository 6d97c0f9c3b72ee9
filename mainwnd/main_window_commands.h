// The main window's command decisions that need no window: the resolution toggle and quality
// cycle with their requests, the colour read-back, which configuration blocks a settings fetch
// asks for on each family and firmware, and the clock text's hover test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mainwnd/color_adjust.h"
#include "net/cgi_param_list.h"
#include "res/tables/layout_table.h"

// ---- Resolution and quality ----

// The resolution button toggles 0 and 1; any other stored value stays and nothing is sent.
std::optional<int32_t> ToggledResolution(int32_t current);
// The quality button cycles 0, 1, 2, 0; a stored value outside the cycle starts it again at 0.
int32_t NextQuality(int32_t current);

// "/Setresolution.cgi?[Cookie=<cookie>&]RES=<value>".
CGIParamList ResolutionRequest(int32_t value, std::string_view cookie);
// "/Setquality.cgi?[Cookie=<cookie>&]QUA=<value>".
CGIParamList QualityRequest(int32_t value, std::string_view cookie);

// ---- Colour ----

// "/GetColor.cgi[?Cookie=<cookie>]".
CGIParamList GetColorRequest(std::string_view cookie);
// The device's values in a "/GetColor.cgi" reply: contrast "CON" (128 when absent), brightness
// "BRI" and hue "HUE" (0 when absent).
ColorValues ColorsOfReply(std::string_view reply);

// ---- Settings fetch ----

// Where one fetched block goes.
enum class FetchCopy : uint8_t {
  kAll,  // every block, split by the reply's layout
  kIp,
  kOnline,  // cleared before the request
  kAlarm,
  kSecure,
  kSmtp,
  kFtp,
  kRs485,
  kPeri,
  kSntp,
  kDvrLive,
  kDvrRec,
  kPppoe,
  kPppoeOld,  // the older firmware's layout
  kDns,
};

struct FetchStep {
  uint8_t option;  // SysCfgOption
  uint32_t size;   // block size (0 for ALL)
  FetchCopy copy;
};

// The requests that fetch the configuration for the settings sheet, in order: "ALL" at once on
// new enough firmware, else block by block. The video-server families (RZ2K, RZ5M/RZ6M/RZ7M,
// RZ8P) take "ALL" from firmware "0003"; every other device from "1024".
std::vector<FetchStep> SystemConfigFetchPlan(std::string_view productId,
                                             std::string_view fwVersion);

// ---- Clock ----

// Whether the clock shows for a mouse at (x, y): not while the mouse is over the clock text's
// rectangle (edges included).
bool ClockShownForMouse(const LayoutRect& clockRect, int32_t x, int32_t y);
