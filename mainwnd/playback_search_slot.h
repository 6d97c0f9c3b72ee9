// How the main window's playback-search key opens its dialog, which the recording folder
// provides and the program installs.
#pragma once

#include <windows.h>

// Runs the dialog modally over parent; false when it could not be created.
using PlaybackSearchOpener = bool (*)(HWND parent);

void SetPlaybackSearchOpener(PlaybackSearchOpener opener);
// Runs the installed dialog; without one, or when it could not be created, says so.
void OpenPlaybackSearch(HWND parent);
