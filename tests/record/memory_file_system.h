// Files in memory for the recording tests: a disk of limited size (a full disk), failures on
// demand, and a crash point after which nothing more reaches the "disk".
#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "record/record_file_system.h"

class MemoryFileSystem : public RecordFileSystem {
 public:
  std::unique_ptr<RecordFile> Open(const std::string& path, FileOpenMode mode) override;
  bool Exists(const std::string& path) override;
  bool Replace(const std::string& from, const std::string& to) override;
  bool Remove(const std::string& path) override;
  std::vector<std::string> ListFolder(const std::string& folder) override;

  // Bytes all files together may hold; writes that would pass it fail (nothing written).
  void SetCapacity(uint64_t bytes);
  // After this many more changing operations (write, truncate, replace, remove, create) every
  // further one fails and changes nothing: the state at a crash.
  void CrashAfter(int operations);
  // Creating files fails (a folder that refuses).
  void SetCreateFails(bool fails);
  // Writes wait until released (a folder on a share that stopped answering).
  void SetWritesHang(bool hang);
  int WritesWaiting();

  bool Has(const std::string& path);
  std::vector<uint8_t> Content(const std::string& path);
  void Put(const std::string& path, std::vector<uint8_t> bytes);
  std::vector<std::string> Names();
  uint64_t UsedBytes();

  // Called by the files.
  bool WriteAt(const std::string& path, uint64_t offset, const void* data, size_t n);
  size_t ReadAt(const std::string& path, uint64_t offset, void* data, size_t n);
  uint64_t SizeOf(const std::string& path);
  void Closed(const std::string& path);
  bool Truncate(const std::string& path, uint64_t size);

 private:
  bool Step();  // false once crashed
  uint64_t UsedLocked() const;

  std::mutex m_lock;
  std::map<std::string, std::vector<uint8_t>> m_files;
  std::map<std::string, int> m_open;  // open files by path
  uint64_t m_used = 0;
  uint64_t m_capacity = UINT64_MAX;
  int m_crashAfter = -1;
  bool m_createFails = false;
  bool m_writesHang = false;
  int m_writesWaiting = 0;
  std::condition_variable m_released;
};
