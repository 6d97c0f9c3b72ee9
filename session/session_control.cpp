#include "session/session_control.h"

#include <atomic>

#include "app/app_data.h"
#include "platform/event_log.h"
#include "session/thread_stop.h"

namespace {
HANDLE DefaultCreateEvent(BOOL manualReset) {
  return CreateEventA(nullptr, manualReset, FALSE, nullptr);
}
HANDLE DefaultCreateSemaphore(LONG initial, LONG maximum) {
  return CreateSemaphoreA(nullptr, initial, maximum, nullptr);
}
HANDLE DefaultCreateMutex() {
  return CreateMutexA(nullptr, FALSE, nullptr);
}
HANDLE DefaultCreateThread(SIZE_T stackSize, LPTHREAD_START_ROUTINE routine, LPVOID arg,
                           DWORD* id) {
  return CreateThread(nullptr, stackSize, routine, arg, 0, id);
}

constexpr SessionSystemCalls kDefaultSystem{DefaultCreateEvent, DefaultCreateSemaphore,
                                            DefaultCreateMutex, DefaultCreateThread};
SessionSystemCalls g_system = kDefaultSystem;

// Process-lifetime handles, made once.
struct ControlHandles {
  HANDLE hProcessStop;
  HANDLE hResourceLock;
};
const ControlHandles& Handles() {
  static const ControlHandles handles{CreateEventA(nullptr, TRUE, FALSE, nullptr),
                                      CreateMutexA(nullptr, FALSE, nullptr)};
  return handles;
}

// Numbered requests: the requester takes a number; the serving thread reports the newest
// number it has served, so a late or merged reply is never taken for another request's.
struct RequestLine {
  std::atomic<uint64_t> requested{0};
  std::atomic<uint64_t> served{0};
  std::atomic<bool> lastResult{false};
};
RequestLine g_stop;
RequestLine g_restart;

// Waits, in short slices, until the serving thread has served `ticket`. Ends early when the
// process resources are going or `abandon` (may be null) is set.
bool WaitServed(RequestLine& line, uint64_t ticket, HANDLE reply, HANDLE abandon, DWORD timeoutMs) {
  const ULONGLONG start = GetTickCount64();
  HANDLE waits[3];
  DWORD count = 0;
  waits[count++] = ProcessStopEvent();
  if (reply) waits[count++] = reply;
  if (abandon) waits[count++] = abandon;
  for (;;) {
    if (line.served.load() >= ticket) return true;
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (elapsed >= timeoutMs || ProcessStopping()) return false;
    if (abandon && WaitForSingleObject(abandon, 0) == WAIT_OBJECT_0) return false;
    const DWORD slice = static_cast<DWORD>(timeoutMs - elapsed < 50 ? timeoutMs - elapsed : 50);
    WaitServingSentMessages(count, waits, slice);
  }
}

bool Request(RequestLine& line, HANDLE notify, HANDLE reply, HANDLE abandon, DWORD timeoutMs) {
  if (!notify || ProcessStopping()) return false;
  const uint64_t ticket = ++line.requested;
  SetEvent(notify);
  return WaitServed(line, ticket, reply, abandon, timeoutMs);
}
}  // namespace

HANDLE ProcessStopEvent() {
  return Handles().hProcessStop;
}

bool ProcessStopping() {
  return WaitForSingleObject(ProcessStopEvent(), 0) == WAIT_OBJECT_0;
}

SessionResourceLock::SessionResourceLock() {
  WaitServingSentMessages(Handles().hResourceLock, INFINITE);
}

SessionResourceLock::~SessionResourceLock() {
  ReleaseMutex(Handles().hResourceLock);
}

std::mutex& DrawLock() {
  static std::mutex lock;
  return lock;
}

bool RequestSessionStop(DWORD timeoutMs, HANDLE abandon) {
  if (!g_lpApp) return false;
  const ULONGLONG start = GetTickCount64();
  const bool served = Request(g_stop, g_lpApp->h_Process_Notify_TerminateEvent,
                              g_lpApp->h_Process_Reply_TerminateEvent, abandon, timeoutMs);
  EventLogWrite("session stop request %s %llu ms", served ? "served" : "not served",
                static_cast<unsigned long long>(GetTickCount64() - start));
  return served;
}

bool RequestSessionRestart(DWORD timeoutMs, HANDLE abandon) {
  if (!g_lpApp) return false;
  if (!Request(g_restart, g_lpApp->h_Process_Notify_InitEvent, g_lpApp->h_Process_Reply_InitEvent,
               abandon, timeoutMs))
    return false;
  return g_restart.lastResult.load();
}

uint64_t TakeStopRequest() {
  return g_stop.requested.load();
}

void ReplyStopRequest(uint64_t request) {
  uint64_t served = g_stop.served.load();
  while (served < request && !g_stop.served.compare_exchange_weak(served, request)) {
  }
  if (g_lpApp && g_lpApp->h_Process_Reply_TerminateEvent)
    SetEvent(g_lpApp->h_Process_Reply_TerminateEvent);
}

uint64_t TakeRestartRequest() {
  return g_restart.requested.load();
}

void ReplyRestartRequest(uint64_t request, bool created) {
  g_restart.lastResult = created;
  uint64_t served = g_restart.served.load();
  while (served < request && !g_restart.served.compare_exchange_weak(served, request)) {
  }
  if (g_lpApp && g_lpApp->h_Process_Reply_InitEvent) SetEvent(g_lpApp->h_Process_Reply_InitEvent);
}

SessionSystemCalls& SessionSystem() {
  return g_system;
}

const SessionSystemCalls& DefaultSessionSystem() {
  return kDefaultSystem;
}
