#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/app.h"
#include "platform/strings.h"

namespace {

std::mutex g_logMutex;

bool GetEnvironmentText(const char* name, std::string& value) {
  char buffer[MAX_PATH * 2];
  DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return false;
  value.assign(buffer, length);
  return true;
}

std::string OneLine(const char* text) {
  std::string line;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\n') {
      line += "\\n";
    } else if (*p == '\r') {
      line += "\\r";
    } else {
      line += *p;
    }
  }
  return line;
}

int RedirectedAnswer() {
  std::string answer;
  if (!GetEnvironmentText("OST_MSGBOX_ANSWER", answer)) return IDOK;
  char* end = nullptr;
  long value = std::strtol(answer.c_str(), &end, 10);
  return (end != answer.c_str() && *end == '\0' && value > 0) ? static_cast<int>(value) : IDOK;
}

}  // namespace

int OstMessageBox(const char* text, unsigned type, const char* caption) {
  if (text == nullptr) text = "";
  std::string logPath;
  if (GetEnvironmentText("OST_MSGBOX_LOG", logPath) && !logPath.empty()) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
      std::string line = OneLine(text) + "\n";
      std::fwrite(line.data(), 1, line.size(), log);
      std::fclose(log);
    }
    return RedirectedAnswer();
  }
  std::string title = caption != nullptr ? std::string(caption) : ost::App::DefaultTitle();
  return ::MessageBoxA(::GetActiveWindow(), text, title.c_str(), type);
}

int OstMessageBoxId(unsigned stringId, unsigned type) {
  return OstMessageBox(ost::LoadResString(stringId).c_str(), type);
}
