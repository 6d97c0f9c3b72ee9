// The file operations the recorders and the alarm list use, so that the same code writes real
// files on Windows and files in memory (with a full disk or a crash) in the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One open file; closed when destroyed. Positions are absolute.
class RecordFile {
 public:
  virtual ~RecordFile() = default;
  // True when all n bytes were written at offset.
  virtual bool WriteAt(uint64_t offset, const void* data, size_t n) = 0;
  // The number of bytes read (fewer at the end of the file or on an error).
  virtual size_t ReadAt(uint64_t offset, void* data, size_t n) = 0;
  virtual uint64_t Size() = 0;
  virtual bool Truncate(uint64_t size) = 0;
  // Writes the file's buffers through to the disk.
  virtual bool Flush() = 0;
};

enum class FileOpenMode {
  kCreateNew,     // fails when the name exists
  kCreateAlways,  // an existing file is emptied
  kOpenExisting,  // fails when the name does not exist
  kOpenUnshared,  // as kOpenExisting, and fails while the file is open anywhere else
};

class RecordFileSystem {
 public:
  virtual ~RecordFileSystem() = default;
  // Opened for reading and writing, shared for reading and writing; null on failure.
  virtual std::unique_ptr<RecordFile> Open(const std::string& path, FileOpenMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Puts from in the place of to in one step (to may exist); true on success.
  virtual bool Replace(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // The paths of the files (not folders) in folder, which ends in a backslash.
  virtual std::vector<std::string> ListFolder(const std::string& folder) = 0;
};

// Creates a file under name, or under the first free NumberedRecordFileName of it when the name
// is taken; the name used goes to usedName. Null when no file could be created.
std::unique_ptr<RecordFile> CreateUnusedRecordFile(RecordFileSystem& fs, const std::string& name,
                                                   std::string& usedName);
