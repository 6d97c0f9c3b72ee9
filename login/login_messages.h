// Messages the login window and the login worker's owner receive from their threads and from
// themselves.
#pragma once

#include <windows.h>

#include "platform/message_ranges.h"

// wParam 1 login failed, 2 too many users (HTTP status 202), 3 device not supported.
inline constexpr UINT WM_LOGINFAILED = WM_USER + 15;
// One step of the login window's progress animation.
inline constexpr UINT WM_LOGINANIMATE = WM_USER + 16;
// The Enter key in the login window: connect.
inline constexpr UINT WM_LOGINENTERKEY = WM_USER + 33;
// The login window's login succeeded; the window ends with 1.
inline constexpr UINT WM_LOGINSUCCESS = WM_USER + 34;
// The login worker has ended: lParam 1 success, -1 failure.
inline constexpr UINT WM_LOGINWORKERDONE = WM_USER + 43;

static_assert(ost::msg::OwnerOf(WM_LOGINFAILED) == ost::msg::Owner::kLogin);
static_assert(ost::msg::OwnerOf(WM_LOGINANIMATE) == ost::msg::Owner::kLogin);
static_assert(ost::msg::OwnerOf(WM_LOGINENTERKEY) == ost::msg::Owner::kLogin);
static_assert(ost::msg::OwnerOf(WM_LOGINSUCCESS) == ost::msg::Owner::kLogin);
static_assert(ost::msg::OwnerOf(WM_LOGINWORKERDONE) == ost::msg::Owner::kLogin);

// wParam values of WM_LOGINFAILED.
inline constexpr WPARAM kLoginFailedRefused = 1;
inline constexpr WPARAM kLoginFailedTooManyUsers = 2;
inline constexpr WPARAM kLoginFailedUnsupportedDevice = 3;
