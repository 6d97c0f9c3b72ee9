// Saves what a window shows on the screen as a 24-bit .bmp file, for screenshot scripts.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

// The window's rectangle as the display shows it now (region and children included).
bool SaveWindowImage(HWND window, const std::string& path);

// The folder named by OST_SCREENSHOT_DIR (ends in '\'), or empty when screenshots are not asked.
std::string ScreenshotFolder();

}  // namespace testsupport
