#include "platform/module_path.h"

#include <windows.h>

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  while (path.size() <= 32768) {
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // cut: try again with more room
  }
  return {};
}

std::string ExecutableFolder() {
  const std::string path = ExecutablePath();
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
