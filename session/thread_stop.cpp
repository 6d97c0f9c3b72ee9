#include "session/thread_stop.h"

#include <atomic>
#include <cstdio>

#include "platform/event_log.h"
#include "platform/trace_log.h"
#include "platform/scoped_handle.h"

namespace {
std::atomic<uint32_t> g_dwStopped{0};
std::atomic<uint32_t> g_dwOverBudget{0};
std::atomic<uint32_t> g_dwGivenUp{0};
std::atomic<uint32_t> g_dwNonZeroExit{0};

// Dispatches the messages other threads have sent to this thread's windows; posted messages
// stay queued.
void ServeSentMessages() {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void TraceStop(const char* name, const char* what, DWORD ms) {
  char line[160];
  std::snprintf(line, sizeof line, "StopThreadSlot : %s %s %lu ms", name ? name : "thread", what,
                static_cast<unsigned long>(ms));
  TraceLogWrite(line);
}
}  // namespace

DWORD WaitServingSentMessages(DWORD count, const HANDLE* handles, DWORD timeoutMs) {
  // What is already there is taken without the message wait (which also sets up the thread's
  // message queue each time: twice the calls to the system).
  const DWORD now = WaitForMultipleObjects(count, handles, FALSE, 0);
  if (now != WAIT_TIMEOUT || timeoutMs == 0) return now;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const ULONGLONG elapsed = GetTickCount64() - start;
    const DWORD left = timeoutMs == INFINITE
                           ? INFINITE
                           : (elapsed >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - elapsed));
    const DWORD r = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + count) return r;
    ServeSentMessages();
    if (left == 0) return WaitForMultipleObjects(count, handles, FALSE, 0);
  }
}

bool StopThreadHandle(HANDLE& thread, DWORD budgetMs, const char* name, DWORD* exitCode) {
  if (!thread) return true;
  const ULONGLONG start = GetTickCount64();
  DWORD r = WaitServingSentMessages(thread, budgetMs);
  if (r != WAIT_OBJECT_0) {
    TraceStop(name, "did not end within", budgetMs);
    ++g_dwOverBudget;
    r = WaitServingSentMessages(thread, kThreadStopGraceMs);
  }
  const bool ended = r == WAIT_OBJECT_0;
  if (ended) {
    DWORD code = 0;
    if (GetExitCodeThread(thread, &code) && code != 0) ++g_dwNonZeroExit;
    if (exitCode) *exitCode = code;
    ++g_dwStopped;
  } else {
    TraceStop(name, "given up after", budgetMs + kThreadStopGraceMs);
    ++g_dwGivenUp;
  }
  EventLogWrite("thread stop %s %s %llu ms", name ? name : "thread", ended ? "joined" : "given up",
                static_cast<unsigned long long>(GetTickCount64() - start));
  ost::CloseHandleSlot(thread);
  return ended;
}

bool StopThreadSlot(ThreadSlot& slot, DWORD budgetMs, const char* name, DWORD* exitCode) {
  const bool ended = StopThreadHandle(slot.h, budgetMs, name, exitCode);
  slot.id = 0;
  return ended;
}

ThreadStopCounts GetThreadStopCounts() {
  return {g_dwStopped.load(), g_dwOverBudget.load(), g_dwGivenUp.load(), g_dwNonZeroExit.load()};
}
