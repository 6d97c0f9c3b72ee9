// Stand-ins for the live-view objects the application data embeds. The live-view work replaces
// each with the real class of the same name.
#pragma once

#include <cstdint>
#include <string>

// Alarm sound wave file (stand-in: remembers whether a file could be opened).
class CWaveFile {
 public:
  // Opens the wave file, or failing that "alarm.wav" in exeDir. 1 when one was readable.
  int Open(const std::string& path, const std::string& exeDir);
  void* lp_PlaybackRecord = nullptr;
  uint32_t fPlaying = 0;
};

// Frame-header parser (stand-in: only the layout switch the session code writes).
class CRTPHeaderParser {
 public:
  uint32_t fNewFrameHeader = 0;
};
