#include "login/newest_record_file.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {
uint64_t FileTimeValue(const FILETIME& t) {
  return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

bool EndsInBackslash(const std::string& text) {
  return !text.empty() && text.back() == '\\';
}
}  // namespace

std::string FindNewestRecordFile(const std::string& recordFolder) {
  const std::string folder = EndsInBackslash(recordFolder) ? recordFolder : recordFolder + "\\";
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "*.qdx").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string newest;
  uint64_t newestTime = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const uint64_t time = FileTimeValue(found.ftLastWriteTime);
    if (newest.empty() || time > newestTime) {
      newest = folder + found.cFileName;
      newestTime = time;
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  std::transform(newest.begin(), newest.end(), newest.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return newest;
}
