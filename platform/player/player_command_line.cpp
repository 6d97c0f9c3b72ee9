#include "platform/player/player_command_line.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char kConvertOption[] = " CONVERT=0";
constexpr const char kDynamicLoadOption[] = " DYNAMICLOAD=1";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string WithoutQuotes(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

PlayerCommandLine ParsePlayerCommandLine(const std::string& raw, const std::string& ownProgram) {
  PlayerCommandLine result;
  result.raw = raw;
  result.path = raw;
  if (EndsWith(raw, kConvertOption)) {
    result.mode = PlayerOpenMode::kFinishedDownload;
    result.path.resize(raw.size() - (sizeof kConvertOption - 1));
  } else if (EndsWith(raw, kDynamicLoadOption)) {
    result.mode = PlayerOpenMode::kDownloadInProgress;
    result.path.resize(raw.size() - (sizeof kDynamicLoadOption - 1));
  } else if (!ownProgram.empty() && SameTextIgnoringCase(WithoutQuotes(raw), ownProgram)) {
    result.path.clear();
  }
  return result;
}

const char* PlayerOpenModeText(PlayerOpenMode mode) {
  switch (mode) {
    case PlayerOpenMode::kFinishedDownload:
      return "finished download (CONVERT=0)";
    case PlayerOpenMode::kDownloadInProgress:
      return "download in progress (DYNAMICLOAD=1)";
    case PlayerOpenMode::kRecordFile:
      break;
  }
  return "record file";
}
