// Stopping a thread: the stopper has already asked it to end (its stop event, or mailbox code 6)
// and unblocked it; this waits for it and frees its slot. A thread is never terminated.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/app_data.h"

// Waits for `handles` (any one) up to timeoutMs while serving messages sent to this thread's
// windows, so that a worker's bounded SendMessage to a waiting window thread cannot deadlock.
// Returns the WaitForMultipleObjects result (WAIT_OBJECT_0 + i, WAIT_TIMEOUT, WAIT_FAILED).
DWORD WaitServingSentMessages(DWORD count, const HANDLE* handles, DWORD timeoutMs);
inline DWORD WaitServingSentMessages(HANDLE handle, DWORD timeoutMs) {
  return WaitServingSentMessages(1, &handle, timeoutMs);
}

// How long past its stop wait a thread is still waited for before it is given up.
inline constexpr DWORD kThreadStopGraceMs = 5000;

// The thread-stop step. When the slot holds a thread: waits for it up to budgetMs (the thread's
// stop wait), and when it has not ended by then, traces the overrun and waits on up to
// kThreadStopGraceMs. A thread that ended is closed and its slot cleared (true). One that still
// runs is given up: its handle is closed and the slot cleared, the thread left to end by itself
// (false). An empty slot is skipped (true). exitCode, when given, gets an ended thread's exit
// code (left as it is otherwise).
bool StopThreadSlot(ThreadSlot& slot, DWORD budgetMs, const char* name, DWORD* exitCode = nullptr);
bool StopThreadHandle(HANDLE& thread, DWORD budgetMs, const char* name, DWORD* exitCode = nullptr);

// Counts since the process started, for tests and diagnostics.
struct ThreadStopCounts {
  uint32_t dwStopped;      // threads that ended and were closed
  uint32_t dwOverBudget;   // of those, threads that needed more than their stop wait
  uint32_t dwGivenUp;      // threads still running after the grace period
  uint32_t dwNonZeroExit;  // threads that ended with an exit code other than 0
};
ThreadStopCounts GetThreadStopCounts();
