#include "platform/trace_log.h"

#include <chrono>

namespace {
constexpr auto kWriteLockWait = std::chrono::seconds(10);
}  // namespace

CTraceFile::~CTraceFile() {
  Close();
}

int CTraceFile::CreateEmpty() {
  m_hFile = std::fopen(m_strPath.c_str(), "wb+");
  return m_hFile != nullptr ? 1 : 0;
}

int CTraceFile::Open(const std::string& folder) {
  std::lock_guard<std::timed_mutex> guard(m_lock);
  m_strPath = folder + "DebugTrace.log";
  if (m_hFile != nullptr) return 1;
  return CreateEmpty();
}

int CTraceFile::Write(const std::string& text) {
  // A holder that never lets go must not stall tracing; the line is dropped instead.
  std::unique_lock<std::timed_mutex> guard(m_lock, std::defer_lock);
  if (!guard.try_lock_for(kWriteLockWait)) return 0;
  const std::string line = text + "\r\n";
  if (++m_dwWriteCount > kWritesBeforeRecreate) {
    if (m_hFile != nullptr) std::fclose(m_hFile);
    m_hFile = nullptr;
    if (!CreateEmpty()) return 0;
    m_dwWriteCount = 0;
  }
  if (m_hFile == nullptr) return 0;
  std::fwrite(line.data(), 1, line.size(), m_hFile);
  std::fflush(m_hFile);
  return 1;
}

int CTraceFile::Close() {
  std::lock_guard<std::timed_mutex> guard(m_lock);
  if (m_hFile != nullptr) {
    std::fclose(m_hFile);
    m_hFile = nullptr;
  }
  return 1;
}

int CTraceFile::Delete() {
  std::lock_guard<std::timed_mutex> guard(m_lock);
  if (!m_strPath.empty()) std::remove(m_strPath.c_str());
  return 1;
}
