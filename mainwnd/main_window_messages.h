// Window messages of the main window's own folder: what threads post to the main window so
// that the window's thread does the work.
#pragma once

#include <windows.h>

#include "platform/message_ranges.h"

// wParam: string id of a message box to show (the renderer's failed snapshot: 4116).
inline constexpr UINT WM_SHOWMESSAGEBOX = WM_USER + 6;
// A status text set by another thread is waiting.
inline constexpr UINT WM_MAINWND_STATUSPENDING = WM_APP + 0x140;
// The display mode changed (compose thread): wParam the skin set to reload, or
// kDisplayModeDeviceOnly when only the device layout is to be re-applied.
inline constexpr UINT WM_MAINWND_DISPLAYMODE = WM_APP + 0x141;
inline constexpr WPARAM kDisplayModeDeviceOnly = 0xFF;
// The status strip is to be repainted (the renderer changed an overlay text).
inline constexpr UINT WM_MAINWND_OVERLAYCHANGED = WM_APP + 0x142;
// The channel bar is to be placed again for the display mode (compose thread).
inline constexpr UINT WM_MAINWND_RELAYOUTBAR = WM_APP + 0x143;

static_assert(ost::msg::OwnerOf(WM_SHOWMESSAGEBOX) == ost::msg::Owner::kMainWnd);
static_assert(ost::msg::OwnerOf(WM_MAINWND_STATUSPENDING) == ost::msg::Owner::kMainWnd);
static_assert(ost::msg::OwnerOf(WM_MAINWND_DISPLAYMODE) == ost::msg::Owner::kMainWnd);
static_assert(ost::msg::OwnerOf(WM_MAINWND_OVERLAYCHANGED) == ost::msg::Owner::kMainWnd);
static_assert(ost::msg::OwnerOf(WM_MAINWND_RELAYOUTBAR) == ost::msg::Owner::kMainWnd);
