#include "mainwnd/playback_search_slot.h"

#include "platform/message_box.h"

namespace {
PlaybackSearchOpener g_opener = nullptr;
}  // namespace

void SetPlaybackSearchOpener(PlaybackSearchOpener opener) {
  g_opener = opener;
}

void OpenPlaybackSearch(HWND parent) {
  if (!g_opener || !g_opener(parent)) OstMessageBox("Dialog box could not be created!");
}
