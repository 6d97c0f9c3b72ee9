#include "platform/event_log.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

struct EventLogState {
  EventLogState() {
    if (const char* name = std::getenv("OST_EVENT_LOG")) path = name;
  }
  std::mutex lock;
  std::string path;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

EventLogState& State() {
  static EventLogState state;
  return state;
}

}  // namespace

bool EventLogOn() {
  return !State().path.empty();
}

void EventLogWrite(const char* format, ...) {
  EventLogState& s = State();
  if (s.path.empty() || format == nullptr) return;
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - s.start)
                      .count();
  std::lock_guard<std::mutex> guard(s.lock);
  if (std::FILE* f = std::fopen(s.path.c_str(), "ab")) {
    std::fprintf(f, "%lld %s\n", static_cast<long long>(ms), text);
    std::fclose(f);
  }
}
