// The two local trace logs beside the executable and the debug trace call.
//
// "trace.log" is a short rolling log of connection events: at most a fixed number of lines,
// the oldest dropped. "DebugTrace.log" is created empty at every start by CTraceFile.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

// Sets the line limit and the path folder + "trace.log" (folder ends in a separator). Does not
// touch the file.
void TraceLogInit(int32_t maxLines, const std::string& folder);

// Appends text and CR LF to trace.log. When the file already holds the limit or more lines,
// only the newest limit - 1 are kept before the new one. The line is dropped when the log is
// not initialised, the file cannot be written, or the lock is not free within a few seconds.
void TraceLogWrite(const char* text);

// Releases the path; later writes are dropped until the next TraceLogInit.
void TraceLogDone();

// The "DebugTrace.log" writer: created empty by Open, recreated after 1048576 writes.
class CTraceFile {
 public:
  static constexpr uint32_t kWritesBeforeRecreate = 1048576;

  CTraceFile() = default;
  CTraceFile(const CTraceFile&) = delete;
  CTraceFile& operator=(const CTraceFile&) = delete;
  ~CTraceFile();

  // Path = folder + "DebugTrace.log"; unless a file is open, creates it empty. Returns 1, or 0
  // when it cannot be created.
  int Open(const std::string& folder);
  // Appends text and CR LF. Returns 1, or 0 when no file is open, the recreation failed or
  // the lock stayed taken for 10 s.
  int Write(const std::string& text);
  // Closes the file when open. Returns 1.
  int Close();
  // Deletes the file at the path. Returns 1.
  int Delete();

 private:
  int CreateEmpty();

  std::timed_mutex m_lock;
  std::FILE* m_hFile = nullptr;
  std::string m_strPath;
  uint32_t m_dwWriteCount = 0;
};

// The printf-style debug trace: does nothing in this build.
#if defined(__clang__)
[[gnu::format(printf, 1, 2)]]
#else
[[gnu::format(gnu_printf, 1, 2)]]
#endif
inline void
DebugTrace(const char* /*format*/, ...) {
}
