#include "tests/record/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace {
class MemoryFile : public RecordFile {
 public:
  MemoryFile(MemoryFileSystem& fs, std::string path) : m_fs(fs), m_path(std::move(path)) {}
  ~MemoryFile() override { m_fs.Closed(m_path); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  bool WriteAt(uint64_t offset, const void* data, size_t n) override {
    return m_fs.WriteAt(m_path, offset, data, n);
  }
  size_t ReadAt(uint64_t offset, void* data, size_t n) override {
    return m_fs.ReadAt(m_path, offset, data, n);
  }
  uint64_t Size() override { return m_fs.SizeOf(m_path); }
  bool Truncate(uint64_t size) override { return m_fs.Truncate(m_path, size); }
  bool Flush() override { return true; }

 private:
  MemoryFileSystem& m_fs;
  std::string m_path;
};
}  // namespace

bool MemoryFileSystem::Step() {
  if (m_crashAfter == 0) return false;
  if (m_crashAfter > 0) --m_crashAfter;
  return true;
}

uint64_t MemoryFileSystem::UsedLocked() const {
  return m_used;
}

std::unique_ptr<RecordFile> MemoryFileSystem::Open(const std::string& path, FileOpenMode mode) {
  std::lock_guard<std::mutex> lock(m_lock);
  const bool exists = m_files.count(path) != 0;
  switch (mode) {
    case FileOpenMode::kOpenExisting:
      if (!exists) return nullptr;
      break;
    case FileOpenMode::kOpenUnshared:
      if (!exists || m_open[path] > 0) return nullptr;
      break;
    case FileOpenMode::kCreateNew:
      if (exists || m_createFails || !Step()) return nullptr;
      m_files[path];
      break;
    case FileOpenMode::kCreateAlways:
      if (m_createFails || !Step()) return nullptr;
      m_used -= m_files[path].size();
      m_files[path].clear();
      break;
  }
  ++m_open[path];
  return std::make_unique<MemoryFile>(*this, path);
}

void MemoryFileSystem::Closed(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (--m_open[path] == 0) m_open.erase(path);
}

std::vector<std::string> MemoryFileSystem::ListFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(m_lock);
  std::vector<std::string> paths;
  for (const auto& [name, bytes] : m_files)
    if (name.size() > folder.size() && name.compare(0, folder.size(), folder) == 0 &&
        name.find('\\', folder.size()) == std::string::npos)
      paths.push_back(name);
  return paths;
}

bool MemoryFileSystem::Exists(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_files.count(path) != 0;
}

bool MemoryFileSystem::Replace(const std::string& from, const std::string& to) {
  std::lock_guard<std::mutex> lock(m_lock);
  auto it = m_files.find(from);
  if (it == m_files.end() || !Step()) return false;
  std::vector<uint8_t> bytes = std::move(it->second);
  m_files.erase(it);
  m_used -= m_files[to].size();
  m_files[to] = std::move(bytes);
  return true;
}

bool MemoryFileSystem::Remove(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_files.count(path) || !Step()) return false;
  m_used -= m_files[path].size();
  m_files.erase(path);
  return true;
}

void MemoryFileSystem::SetCapacity(uint64_t bytes) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_capacity = bytes;
}

void MemoryFileSystem::CrashAfter(int operations) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_crashAfter = operations;
}

void MemoryFileSystem::SetWritesHang(bool hang) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_writesHang = hang;
  m_released.notify_all();
}

int MemoryFileSystem::WritesWaiting() {
  std::lock_guard<std::mutex> lock(m_lock);
  return m_writesWaiting;
}

void MemoryFileSystem::SetCreateFails(bool fails) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_createFails = fails;
}

bool MemoryFileSystem::Has(const std::string& path) {
  return Exists(path);
}

std::vector<uint8_t> MemoryFileSystem::Content(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_lock);
  auto it = m_files.find(path);
  return it == m_files.end() ? std::vector<uint8_t>{} : it->second;
}

void MemoryFileSystem::Put(const std::string& path, std::vector<uint8_t> bytes) {
  std::lock_guard<std::mutex> lock(m_lock);
  m_used -= m_files[path].size();
  m_used += bytes.size();
  m_files[path] = std::move(bytes);
}

std::vector<std::string> MemoryFileSystem::Names() {
  std::lock_guard<std::mutex> lock(m_lock);
  std::vector<std::string> names;
  for (const auto& [name, bytes] : m_files) names.push_back(name);
  return names;
}

uint64_t MemoryFileSystem::UsedBytes() {
  std::lock_guard<std::mutex> lock(m_lock);
  return UsedLocked();
}

bool MemoryFileSystem::WriteAt(const std::string& path, uint64_t offset, const void* data,
                               size_t n) {
  std::unique_lock<std::mutex> lock(m_lock);
  ++m_writesWaiting;
  m_released.wait(lock, [this] { return !m_writesHang; });
  --m_writesWaiting;
  auto it = m_files.find(path);
  if (it == m_files.end()) return false;
  std::vector<uint8_t>& bytes = it->second;
  const uint64_t end = offset + n;
  const uint64_t growth = end > bytes.size() ? end - bytes.size() : 0;
  if (UsedLocked() + growth > m_capacity) return false;
  if (!Step()) return false;
  m_used += growth;
  if (end > bytes.size()) bytes.resize(end);
  if (n) std::memcpy(bytes.data() + offset, data, n);
  return true;
}

size_t MemoryFileSystem::ReadAt(const std::string& path, uint64_t offset, void* data, size_t n) {
  std::lock_guard<std::mutex> lock(m_lock);
  auto it = m_files.find(path);
  if (it == m_files.end() || offset >= it->second.size()) return 0;
  const size_t got = static_cast<size_t>(std::min<uint64_t>(n, it->second.size() - offset));
  std::memcpy(data, it->second.data() + offset, got);
  return got;
}

uint64_t MemoryFileSystem::SizeOf(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_lock);
  auto it = m_files.find(path);
  return it == m_files.end() ? 0 : it->second.size();
}

bool MemoryFileSystem::Truncate(const std::string& path, uint64_t size) {
  std::lock_guard<std::mutex> lock(m_lock);
  auto it = m_files.find(path);
  if (it == m_files.end() || size > it->second.size() || !Step()) return false;
  m_used -= it->second.size() - size;
  it->second.resize(size);
  return true;
}
