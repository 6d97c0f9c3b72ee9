#include "record/record_file_win32.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace {
class Win32RecordFile : public RecordFile {
 public:
  explicit Win32RecordFile(HANDLE h) : m_h(h) {}
  ~Win32RecordFile() override { CloseHandle(m_h); }
  Win32RecordFile(const Win32RecordFile&) = delete;
  Win32RecordFile& operator=(const Win32RecordFile&) = delete;

  bool WriteAt(uint64_t offset, const void* data, size_t n) override {
    if (!Seek(offset)) return false;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (n) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(n, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(m_h, p, chunk, &written, nullptr) || written != chunk) return false;
      p += written;
      n -= written;
    }
    return true;
  }
  size_t ReadAt(uint64_t offset, void* data, size_t n) override {
    if (!Seek(offset)) return 0;
    uint8_t* p = static_cast<uint8_t*>(data);
    size_t total = 0;
    while (total < n) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(n - total, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(m_h, p + total, chunk, &got, nullptr) || got == 0) break;
      total += got;
    }
    return total;
  }
  uint64_t Size() override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(m_h, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
  }
  bool Truncate(uint64_t size) override { return Seek(size) && SetEndOfFile(m_h); }
  bool Flush() override { return FlushFileBuffers(m_h) != 0; }

 private:
  bool Seek(uint64_t offset) {
    if (offset > static_cast<uint64_t>(std::numeric_limits<LONGLONG>::max())) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(m_h, to, nullptr, FILE_BEGIN) != 0;
  }

  HANDLE m_h;
};
}  // namespace

std::unique_ptr<RecordFile> Win32RecordFileSystem::Open(const std::string& path,
                                                        FileOpenMode mode) {
  const DWORD disposition = mode == FileOpenMode::kCreateNew      ? CREATE_NEW
                            : mode == FileOpenMode::kCreateAlways ? CREATE_ALWAYS
                                                                  : OPEN_EXISTING;
  // Unshared: a file another handle holds open (a recording in progress) is refused.
  const DWORD share = mode == FileOpenMode::kOpenUnshared ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                               disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32RecordFile>(h);
}

bool Win32RecordFileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32RecordFileSystem::Replace(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32RecordFileSystem::Remove(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

std::vector<std::string> Win32RecordFileSystem::ListFolder(const std::string& folder) {
  std::vector<std::string> paths;
  WIN32_FIND_DATAA found;
  const HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return paths;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      paths.push_back(folder + found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return paths;
}
