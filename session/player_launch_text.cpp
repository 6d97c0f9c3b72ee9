#include "session/player_launch_text.h"

#include "text/path_text.h"

std::optional<std::string> FinishedDownloadCommandLine(const std::string& recordPath) {
  std::string line = recordPath + " CONVERT=0";
  if (line.size() > kPlayerCommandLineMax) return std::nullopt;
  return line;
}

std::string PlayerProgramPath(const std::string& exeDir) {
  return JoinFolderAndName(exeDir, "Quendor.exe");
}
