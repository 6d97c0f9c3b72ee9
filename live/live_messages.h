// Window messages the live stream posts.
#pragma once

#include <windows.h>

#include "platform/message_ranges.h"

// To the main window: wParam 0, lParam 0 starts the alarm sound, 2 stops it.
inline constexpr UINT WM_POSTALARMAUDIO = WM_USER + 2;
// To the main window: the device clock in the frame headers changed.
inline constexpr UINT WM_DEVICECLOCKCHANGED = WM_USER + 19;
// To the camera-sensor toolbar: wParam the sensor state byte, lParam 0.
inline constexpr UINT WM_CMOSSTATE = WM_USER + 32;

static_assert(ost::msg::OwnerOf(WM_POSTALARMAUDIO) == ost::msg::Owner::kLive);
static_assert(ost::msg::OwnerOf(WM_DEVICECLOCKCHANGED) == ost::msg::Owner::kLive);
static_assert(ost::msg::OwnerOf(WM_CMOSSTATE) == ost::msg::Owner::kLive);
