// Window messages of the settings sheet's folder.
#pragma once

#include <windows.h>

#include "platform/message_ranges.h"

// Posted to the sheet: show the "Network Backup" page (the search list's full list chose a
// record).
inline constexpr UINT WM_SHEET_SHOWBACKUP = WM_USER + 21;
// Posted to the sheet by the time server page: send the time server block now.
inline constexpr UINT WM_SHEET_APPLYSNTPNOW = WM_USER + 28;
// The progress thread changed the progress box: the sheet repaints it.
inline constexpr UINT WM_SHEET_PROGRESS = WM_APP + 0x1E0;
// A sheet whose deletion waited for a page's modal dialog may go now.
inline constexpr UINT WM_SHEET_REAP = WM_APP + 0x1E1;

static_assert(ost::msg::OwnerOf(WM_SHEET_SHOWBACKUP) == ost::msg::Owner::kSettings);
static_assert(ost::msg::OwnerOf(WM_SHEET_APPLYSNTPNOW) == ost::msg::Owner::kSettings);
static_assert(ost::msg::OwnerOf(WM_SHEET_PROGRESS) == ost::msg::Owner::kSettings);
static_assert(ost::msg::OwnerOf(WM_SHEET_REAP) == ost::msg::Owner::kSettings);
