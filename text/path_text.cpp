#include "text/path_text.h"

int DirectoryOfPath(const std::string& path, std::string& directory) {
  const size_t last = path.rfind('\\');
  directory = (last == std::string::npos) ? std::string() : path.substr(0, last);
  return 1;
}

void EnsureFolderBackslash(std::string& folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
}

std::string JoinFolderAndName(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  constexpr char kSeparator = '\\';
#else
  constexpr char kSeparator = '/';
#endif
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + kSeparator + name;
}
