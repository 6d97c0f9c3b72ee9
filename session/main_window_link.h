// How the session threads reach the main window: by posting to its handle, so that the work is
// done on the window's thread. Every call is harmless when no main window exists.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

void PostLoginStatus(WPARAM wParam, LPARAM lParam);
void PostMainWindowButtonState(uint32_t layoutFlag, int state);
void PostClearOverlayTexts(WPARAM which);
void PostResetPtzButton();
void PostLifeTimeUp();
// Replaces the status-line text (the latest text wins when several are posted in a row).
void PostMainWindowStatusText(const std::string& text);
// The text the last PostMainWindowStatusText left for the window.
std::string TakePendingStatusText();
// Has the window re-apply its layout for the device found and repaint; waits at most
// timeoutMs for the window's thread. True when it was done.
bool ReapplyMainWindowLayout(DWORD timeoutMs);
