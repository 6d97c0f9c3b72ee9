#include "tools/ip_record_file.h"

#include <cstdio>
#include <memory>

#include "text/path_text.h"

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr Open(const std::string& path, const char* mode) {
  return FilePtr(std::fopen(path.c_str(), mode));
}

bool CopyAll(std::FILE* from, std::FILE* to) {
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0) {
    if (std::fwrite(buffer, 1, n, to) != n) return false;
  }
  return std::ferror(from) == 0;
}
}  // namespace

int EnsureIPRecordFile(const std::string& exeDir, const std::string& systemDir) {
  const std::string target = JoinFolderAndName(exeDir, "IPRecord.dat");
  if (Open(target, "rb")) return 1;
  FilePtr source = Open(JoinFolderAndName(systemDir, "IPRecord.dat"), "rb");
  FilePtr created = Open(target, "wb");
  if (!created) return 0;
  if (source && !CopyAll(source.get(), created.get())) return 0;
  return std::fclose(created.release()) == 0 ? 1 : 0;
}
