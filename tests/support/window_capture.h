// Saves what a window shows on the screen as a 24-bit .bmp file, for screenshot scripts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// The window's rectangle as the display shows it now (region and children included).
bool SaveWindowImage(HWND window, const std::string& path);
// The same as 24-bit bottom-up rows padded to 4 bytes; empty when it could not be read.
std::vector<uint8_t> WindowPixels(HWND window);

// The folder named by OST_SCREENSHOT_DIR (ends in '\'), or empty when screenshots are not asked.
std::string ScreenshotFolder();

}  // namespace testsupport
