#include "tools/folder_sources_win32.h"

#include <windows.h>

#include <winnetwk.h>

#include <vector>

namespace {

std::string TextOf(const char* text) {
  return text != nullptr ? std::string(text) : std::string();
}
char* TextOrNull(const std::string& text) {
  return text.empty() ? nullptr : const_cast<char*>(text.c_str());
}

}  // namespace

unsigned Win32FolderSource::DriveType(char letter) {
  const char root[4] = {letter, ':', '\\', '\0'};
  return ::GetDriveTypeA(root);
}

std::vector<FolderSource::Entry> Win32FolderSource::List(const std::string& path) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((path + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return entries;
}

bool WNetNetworkProvider::Enumerate(const NetResource* parent,
                                    const std::function<void(const NetResource&)>& add) {
  NETRESOURCEA below{};
  if (parent != nullptr) {
    below.dwScope = parent->scope;
    below.dwType = parent->type;
    below.dwDisplayType = parent->displayType;
    below.dwUsage = parent->usage;
    below.lpLocalName = TextOrNull(parent->localName);
    below.lpRemoteName = TextOrNull(parent->remoteName);
    below.lpComment = TextOrNull(parent->comment);
    below.lpProvider = TextOrNull(parent->provider);
  }
  HANDLE enumeration = nullptr;
  if (::WNetOpenEnumA(parent ? RESOURCE_GLOBALNET : RESOURCE_CONTEXT, RESOURCETYPE_ANY, 0,
                      parent ? &below : nullptr, &enumeration) != NO_ERROR)
    return false;
  constexpr DWORD kBufferBytes = 16384;
  std::vector<unsigned char> buffer;
  for (;;) {
    buffer.assign(kBufferBytes, 0);
    DWORD count = static_cast<DWORD>(-1);
    DWORD size = kBufferBytes;
    if (::WNetEnumResourceA(enumeration, &count, buffer.data(), &size) != NO_ERROR) break;
    const auto* entries = reinterpret_cast<const NETRESOURCEA*>(buffer.data());
    const DWORD fits = kBufferBytes / sizeof(NETRESOURCEA);
    for (DWORD i = 0; i < count && i < fits; ++i) {
      const NETRESOURCEA& e = entries[i];
      NetResource r;
      r.scope = e.dwScope;
      r.type = e.dwType;
      r.displayType = e.dwDisplayType;
      r.usage = e.dwUsage;
      r.localName = TextOf(e.lpLocalName);
      r.remoteName = TextOf(e.lpRemoteName);
      r.comment = TextOf(e.lpComment);
      r.provider = TextOf(e.lpProvider);
      add(r);
    }
  }
  ::WNetCloseEnum(enumeration);
  return true;
}
