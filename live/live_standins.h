// The live-view objects the application data embeds: the frame-header parser and the display
// mode, and a stand-in for the alarm wave file until the alarm-sound work replaces it.
#pragma once

#include <cstdint>
#include <string>

#include "live/display_mode.h"
#include "live/rtp_header_parser.h"

// Alarm sound wave file (stand-in: remembers whether a file could be opened).
class CWaveFile {
 public:
  // Opens the wave file, or failing that "alarm.wav" in exeDir. 1 when one was readable.
  int Open(const std::string& path, const std::string& exeDir);
  void* lp_PlaybackRecord = nullptr;
  uint32_t fPlaying = 0;
};
