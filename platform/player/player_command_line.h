// What the player stand-in makes of its raw command line.  Callers pass the record file's path
// alone (no program name, no quotes, blanks kept), optionally followed by " CONVERT=0" (a
// finished download) or " DYNAMICLOAD=1" (a download still in progress).
#pragma once

#include <string>

enum class PlayerOpenMode { kRecordFile, kFinishedDownload, kDownloadInProgress };

struct PlayerCommandLine {
  std::string raw;   // the command line as received
  std::string path;  // the record file; empty when none was given
  PlayerOpenMode mode = PlayerOpenMode::kRecordFile;
};

// ownProgram: the player's own path.  A process started without a command line receives the
// program's path (possibly quoted) as its command line; that means no record file.
PlayerCommandLine ParsePlayerCommandLine(const std::string& raw, const std::string& ownProgram);

const char* PlayerOpenModeText(PlayerOpenMode mode);
