// Window messages of the device tools: the upgrade's fixed numbers and the tools' own range.
#pragma once

#include <windows.h>

#include "platform/message_ranges.h"

// Posted by an upload to its dialog: enable Upgrade, disable it, end the dialog.
inline constexpr UINT WM_UPGRADEIDLE = WM_USER + 40;
inline constexpr UINT WM_UPGRADEBUSY = WM_USER + 41;
inline constexpr UINT WM_UPGRADECLOSE = WM_USER + 42;

// The upload's progress (wParam percent) and the bar shown (wParam 1) or hidden (0).
inline constexpr UINT WM_UPGRADEPROGRESS = ost::msg::RangeFirst(ost::msg::Owner::kTools) + 0x10;
inline constexpr UINT WM_UPGRADESHOWBAR = WM_UPGRADEPROGRESS + 1;
