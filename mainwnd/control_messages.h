// Window messages of device control (range WM_APP + 0x160 to WM_APP + 0x16F).
#pragma once

#include <windows.h>

// To the channel bar's message window: wParam the channel the stream now shows.
inline constexpr UINT WM_CHANNELBAR_SETCURRENT = WM_APP + 0x160;
// To the channel bar's message window: wParam the channel to ask the device for.
inline constexpr UINT WM_CHANNELBAR_SWITCH = WM_APP + 0x161;
// To the main window: the R.E.T.R. button (key 61) takes state wParam (1 on, tool-tip
// "R.E.T.R.(Enable)"; 0 off, "R.E.T.R.(Disable)").
inline constexpr UINT WM_RETRBUTTONSTATE = WM_APP + 0x162;
