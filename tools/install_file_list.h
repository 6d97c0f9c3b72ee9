// The program copy's list: the installation's files, relative to its folder, in copy order.
#pragma once

inline constexpr int kInstallFileCount = 785;

// kInstallFileCount names, then a null entry: the root files, the skin under "BMP\" (the camera
// toolbar's in "BMP\CMOS\"), the login window's under "BMP\LOGIN\".
extern const char* const g_InstallFileList[kInstallFileCount + 1];

// The percent shown once `copied` files of the list (1 to kInstallFileCount) are done.
int InstallCopyPercent(int copied);
