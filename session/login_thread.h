// The login and relogin thread: brings a session back after it was stopped, by the main
// window's CONNECT button or after a lost stream (kernel code 1). It repeats the login and the
// device-information request with growing waits until both succeed, reports each stage to the
// main window, has the session resources re-created and finally starts the stream.
#pragma once

#include <windows.h>

#include <cstdint>

#include "session/relogin_schedule.h"

// Stack sizes of the two starters.
inline constexpr SIZE_T kReloginStackFromKernel = 200;
inline constexpr SIZE_T kReloginStackFromWindow = 512;

// The thread's waits and request time-outs.
struct ReloginTiming {
  DWORD dwFirstWaitMs = 3000;      // after a failed attempt
  ReloginBackoff backoff;          // then the grown wait
  DWORD dwLastWaitMs = 2000;       // then this, before the next attempt
  DWORD dwTooManyUsersMs = 20000;  // added after a refusal with HTTP status 202
  DWORD dwRestartReplyMs = 5000;   // for the re-created session resources
  DWORD dwStartDelayMs = 2000;     // before the stream start
  DWORD dwLayoutReplyMs = 2000;    // for the main window's new layout
  uint16_t wRequestTimeoutS = 20;  // send and receive, each request
};
// The program runs with the defaults; tests shorten them.
void SetReloginTiming(const ReloginTiming& timing);
ReloginTiming GetReloginTiming();

// The thread routine. Its argument is the start record StartReloginThread makes; returns 0.
DWORD WINAPI Login_Thread(LPVOID param);

// Starts Login_Thread into h_ReLoginThread, first stopping one still there. 1 when created.
int StartReloginThread(SIZE_T stackSize);
// Asks a Login_Thread to end and waits up to budgetMs. The thread ends at once from any of its
// waits and within RequestCancel::kCancelSliceMs from a device request (which then fails and
// is not acted on). One that has not ended when the wait is over (a host-name lookup cannot be
// cut short) is left to end by itself, changing nothing more, and is collected by
// ReapReloginThreads.
void StopReloginThread(DWORD budgetMs);
// True while a Login_Thread is in h_ReLoginThread and has not ended.
bool ReloginThreadRunning();
// Waits up to timeoutMs for the threads left running by StopReloginThread and closes them.
// True when none is left.
bool ReapReloginThreads(DWORD timeoutMs);

// The status text that accompanies WM_LOGINSTATUS lParam 1.
extern const char kStartLoginText[];
