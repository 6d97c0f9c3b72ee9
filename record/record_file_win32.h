// Record files and the alarm list on the Windows file system.
#pragma once

#include "record/record_file_system.h"

class Win32RecordFileSystem : public RecordFileSystem {
 public:
  std::unique_ptr<RecordFile> Open(const std::string& path, FileOpenMode mode) override;
  bool Exists(const std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  std::vector<std::string> ListFolder(const std::string& folder) override;
};
