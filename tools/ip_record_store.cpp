#include "tools/ip_record_store.h"

#include <windows.h>

#include "platform/scoped_handle.h"

namespace {

// Writes and flushes the whole image into a new file; the handle is closed on return.
bool WriteWhole(const std::string& path, const std::vector<uint8_t>& image, DWORD& error) {
  ost::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = ::GetLastError();
    return false;
  }
  size_t done = 0;
  while (done < image.size()) {
    const size_t left = image.size() - done;
    const DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!::WriteFile(file.Get(), image.data() + done, chunk, &written, nullptr) || written == 0) {
      error = ::GetLastError();
      return false;
    }
    done += written;
  }
  if (!::FlushFileBuffers(file.Get())) {
    error = ::GetLastError();
    return false;
  }
  return true;
}

}  // namespace

std::string ReplacementTempPath(const std::string& path) {
  return path + ".new";
}

bool ReplaceFileContents(const std::string& path, const std::vector<uint8_t>& image,
                         unsigned long* error) {
  const std::string temp = ReplacementTempPath(path);
  DWORD code = ERROR_SUCCESS;
  bool done = WriteWhole(temp, image, code);
  if (done && !::MoveFileExA(temp.c_str(), path.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    code = ::GetLastError();
    done = false;
  }
  if (!done) {
    ::DeleteFileA(temp.c_str());
    if (error != nullptr) *error = code;
  }
  return done;
}
