// Resource ids of the "Network Backup" page and its progress dialog.
#pragma once

inline constexpr unsigned kNetworkBackupTemplate = 330;
inline constexpr unsigned kBackupProgressTemplate = 331;

inline constexpr int kBackupDatePicker = 239;
inline constexpr int kBackupTimePicker = 238;
inline constexpr int kBackupHddCombo = 1195;
inline constexpr int kBackupSizeEdit = 1040;
inline constexpr int kBackupChannelEdit = 1041;
inline constexpr int kBackupFilePathEdit = 1042;
inline constexpr int kBackupFilePathButton = 1446;
inline constexpr int kBackupDynamicCheck = 1475;
inline constexpr int kBackupCopyCdCheck = 1505;
inline constexpr int kBackupStartButton = 1068;

inline constexpr int kBackupProgressBar = 1447;
inline constexpr int kBackupStatus = 1448;
inline constexpr int kBackupPlay = 1068;
