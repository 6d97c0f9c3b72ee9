#include "platform/trace_log.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace {
// A writer stopped from outside while holding the lock must not stall every later writer.
constexpr auto kTraceLockWait = std::chrono::seconds(2);

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct TraceLogState {
  std::timed_mutex lock;
  std::string path;  // empty while not initialised
  int32_t maxLines = 30;
};

TraceLogState& State() {
  static TraceLogState state;
  return state;
}

std::string ReadWholeFile(const std::string& path) {
  std::string content;
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) return content;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f.get())) > 0) content.append(buffer, n);
  return content;
}

// Offsets at which each line of content begins.
std::vector<size_t> LineStarts(const std::string& content) {
  std::vector<size_t> starts;
  size_t pos = 0;
  while (pos < content.size()) {
    starts.push_back(pos);
    const size_t lf = content.find('\n', pos);
    if (lf == std::string::npos) break;
    pos = lf + 1;
  }
  return starts;
}
}  // namespace

void TraceLogInit(int32_t maxLines, const std::string& folder) {
  TraceLogState& s = State();
  std::lock_guard<std::timed_mutex> guard(s.lock);
  s.maxLines = maxLines;
  s.path = folder + "trace.log";
}

void TraceLogWrite(const char* text) {
  TraceLogState& s = State();
  std::unique_lock<std::timed_mutex> guard(s.lock, std::defer_lock);
  if (!guard.try_lock_for(kTraceLockWait) || s.path.empty() || text == nullptr) return;
  std::string content = ReadWholeFile(s.path);
  const std::vector<size_t> starts = LineStarts(content);
  const auto count = static_cast<int64_t>(starts.size());
  if (count >= s.maxLines) {
    const int64_t keep = std::max<int64_t>(int64_t{s.maxLines} - 1, 0);
    content.erase(0, keep == 0 ? content.size() : starts[static_cast<size_t>(count - keep)]);
  }
  content.append(text).append("\r\n");
  FilePtr f(std::fopen(s.path.c_str(), "wb"));
  if (!f) return;
  std::fwrite(content.data(), 1, content.size(), f.get());
}

void TraceLogDone() {
  TraceLogState& s = State();
  std::lock_guard<std::timed_mutex> guard(s.lock);
  s.path.clear();
}
