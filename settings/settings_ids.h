// Resource ids of the settings sheet's folder: its templates, controls and strings.
#pragma once

// Templates.
inline constexpr unsigned kTreeSheetTemplate = 3027;
inline constexpr unsigned kPlaceholderPageTemplate = 3028;
inline constexpr unsigned kNetworkPageTemplate = 256;

// Controls of the sheet.
inline constexpr int kSheetTabControl = 12320;
inline constexpr int kPageTreeId = 0x7EEE;
inline constexpr int kPageFrameId = 0xFFFF;
inline constexpr int kProbeTabId = 0x1234;
inline constexpr int kSheetExitId = 8000;
inline constexpr int kSheetApplyId = 8001;
inline constexpr int kSheetRebootId = 8002;
// The placeholder page's line.
inline constexpr int kPlaceholderText = 1000;

// Strings.
inline constexpr unsigned kStrSystemSetting = 3027;
inline constexpr unsigned kStrExit = 8000;
inline constexpr unsigned kStrApply = 8001;
inline constexpr unsigned kStrReboot = 8002;
inline constexpr unsigned kMsgChangeConfigFailed = 4012;
inline constexpr unsigned kMsgTypePort = 4090;
inline constexpr unsigned kMsgPppoeWithoutDdns = 4101;
inline constexpr unsigned kMsgNoItemToEdit = 4046;
inline constexpr unsigned kMsgSendCommandTimeout = 4064;
