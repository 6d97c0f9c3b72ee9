// Messages the session threads post to the main window. Workers never operate on the window
// directly: everything they change there is carried out on the window's own thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/message_ranges.h"

// The end of the account's lifetime: the main window closes. Both parameters 0.
inline constexpr UINT WM_LIFETIMEUP = WM_USER + 12;
// The relogin's progress: lParam selects the status, wParam carries its argument.
inline constexpr UINT WM_LOGINSTATUS = WM_USER + 27;

// lParam values of WM_LOGINSTATUS.
inline constexpr LPARAM kLoginStatusElapsed = 0;       // wParam: seconds
inline constexpr LPARAM kLoginStatusStart = 1;         // "Start login"
inline constexpr LPARAM kLoginStatusBusy = 2;          // "Server is too busy!! Try later !!"
inline constexpr LPARAM kLoginStatusFailed = 3;        // "Login process is failed,..."
inline constexpr LPARAM kLoginStatusConnected = 5;     // CONNECT/DISCONNECT button state 0
inline constexpr LPARAM kLoginStatusDisconnected = 6;  // CONNECT/DISCONNECT button state 1
inline constexpr LPARAM kLoginStatusTooManyUsers = 7;  // "System relogin too many user...."
inline constexpr LPARAM kLoginStatusRepaint = 8;       // repaint the status area

// Requests of the session threads, carried out by the main window on its thread.
// The status-line text kept by PostMainWindowStatusText.
inline constexpr UINT WM_MAINWND_STATUSTEXT = WM_APP + 0x120;
// wParam a layout flag (1 CONNECT/DISCONNECT, 0x20 manual record), lParam the state.
inline constexpr UINT WM_MAINWND_BUTTONSTATE = WM_APP + 0x121;
// wParam: which overlay texts to empty (kOverlay... bits).
inline constexpr UINT WM_MAINWND_CLEAROVERLAY = WM_APP + 0x122;
// Re-apply the layout and tool buttons for the device found, then repaint (sent, bounded).
inline constexpr UINT WM_MAINWND_APPLYLAYOUT = WM_APP + 0x123;
// Set the pan-tilt-zoom control button to state 0 when the window has it.
inline constexpr UINT WM_MAINWND_RESETPTZBUTTON = WM_APP + 0x124;

static_assert(ost::msg::OwnerOf(WM_LIFETIMEUP) == ost::msg::Owner::kSession);
static_assert(ost::msg::OwnerOf(WM_LOGINSTATUS) == ost::msg::Owner::kSession);
static_assert(ost::msg::OwnerOf(WM_MAINWND_STATUSTEXT) == ost::msg::Owner::kSession);
static_assert(ost::msg::OwnerOf(WM_MAINWND_BUTTONSTATE) == ost::msg::Owner::kSession);
static_assert(ost::msg::OwnerOf(WM_MAINWND_CLEAROVERLAY) == ost::msg::Owner::kSession);
static_assert(ost::msg::OwnerOf(WM_MAINWND_APPLYLAYOUT) == ost::msg::Owner::kSession);
static_assert(ost::msg::OwnerOf(WM_MAINWND_RESETPTZBUTTON) == ost::msg::Owner::kSession);

inline constexpr WPARAM kOverlayHeaderInfo = 1;
inline constexpr WPARAM kOverlayAlarmChannel = 2;
inline constexpr WPARAM kOverlayBoth = kOverlayHeaderInfo | kOverlayAlarmChannel;

// Layout flags of CModelLayout::SetButtonStateByFlag.
inline constexpr uint32_t kLayoutFlagConnect = 1;
inline constexpr uint32_t kLayoutFlagRecord = 0x20;
