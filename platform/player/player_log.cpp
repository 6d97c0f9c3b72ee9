#include "platform/player/player_log.h"

#include <windows.h>

#include <cstdio>

bool PlayerLog::Append(const std::string& kind, const std::string& text) const {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char stamp[32] = {};
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  std::string line = std::string(stamp) + ' ' + kind;
  if (!text.empty()) line += ' ' + text;
  line += "\r\n";

  HANDLE file = CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size();
}
