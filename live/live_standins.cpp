#include "live/live_standins.h"

#include <cstdio>

namespace {
bool Readable(const std::string& path) {
  if (path.empty()) return false;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}
}  // namespace

int CWaveFile::Open(const std::string& path, const std::string& exeDir) {
  return (Readable(path) || Readable(exeDir + "alarm.wav")) ? 1 : 0;
}
