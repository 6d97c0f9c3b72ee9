// Resource ids of the "Search List" page and its "Full List" dialog.
#pragma once

inline constexpr unsigned kSearchListTemplate = 333;
inline constexpr unsigned kFullListTemplate = 335;

inline constexpr int kSearchHddCombo = 1195;
inline constexpr int kSearchTypeCombo = 1196;
inline constexpr int kSearchMaxEdit = 1040;
inline constexpr int kSearchDownloadButton = 1068;

inline constexpr int kFullList = 1458;
inline constexpr int kFullSystem = 1456;
inline constexpr int kFullManual = 1460;
inline constexpr int kFullAlarm = 1462;
inline constexpr int kFullMotion = 1463;
inline constexpr int kFullTimer = 1464;
inline constexpr int kFullDownload = 1068;
