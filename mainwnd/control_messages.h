// Window messages of device control (WM_APP + 0x150 to WM_APP + 0x15F, in the main window's
// range).
#pragma once

#include <windows.h>

#include "platform/message_ranges.h"

// To the channel bar's message window: wParam the channel the stream now shows.
inline constexpr UINT WM_CHANNELBAR_SETCURRENT = WM_APP + 0x150;
// To the channel bar's message window: wParam the channel to ask the device for.
inline constexpr UINT WM_CHANNELBAR_SWITCH = WM_APP + 0x151;
// To the main window: the R.E.T.R. button (key 61) takes state wParam (1 on, tool-tip
// "R.E.T.R.(Enable)"; 0 off, "R.E.T.R.(Disable)").
inline constexpr UINT WM_RETRBUTTONSTATE = WM_APP + 0x152;

static_assert(ost::msg::OwnerOf(WM_CHANNELBAR_SETCURRENT) == ost::msg::Owner::kMainWnd);
static_assert(ost::msg::OwnerOf(WM_CHANNELBAR_SWITCH) == ost::msg::Owner::kMainWnd);
static_assert(ost::msg::OwnerOf(WM_RETRBUTTONSTATE) == ost::msg::Owner::kMainWnd);
