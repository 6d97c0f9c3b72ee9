// What orders the session's threads beside the handles of the application data: the process
// stop event that ends every process thread and every wait of the session, the lock under which
// the login resources are created and freed, and the numbered stop and restart requests to the
// terminate and re-initialise threads.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>

// Set while the process resources are being freed (manual reset); every process thread and
// every sender to the kernel mailbox ends its waits on it. Reset by InitProcessResource.
HANDLE ProcessStopEvent();
bool ProcessStopping();

// The login resources are created and freed only under this lock (recursive; a window thread
// waiting for it serves sent messages).
class SessionResourceLock {
 public:
  SessionResourceLock();
  ~SessionResourceLock();
  SessionResourceLock(const SessionResourceLock&) = delete;
  SessionResourceLock& operator=(const SessionResourceLock&) = delete;
};

// The kernel message thread draws a frame under this lock; the events the drawing sets are
// closed under it.
std::mutex& DrawLock();

// Asks the terminate thread to stop the session and waits up to timeoutMs for it. True when it
// replied; false on time-out, when the process resources are going or when `abandon` (may be
// null) is set.
bool RequestSessionStop(DWORD timeoutMs, HANDLE abandon = nullptr);
// Asks the re-initialise thread to re-create the session resources and waits as above. True
// only when they were all created.
bool RequestSessionRestart(DWORD timeoutMs, HANDLE abandon = nullptr);

// For the terminate and re-initialise threads: take the newest request, and report it done.
uint64_t TakeStopRequest();
void ReplyStopRequest(uint64_t request);
uint64_t TakeRestartRequest();
void ReplyRestartRequest(uint64_t request, bool created);

// The system calls that create the session's handles. Tests replace them to make a creation
// fail; the program keeps the defaults.
struct SessionSystemCalls {
  HANDLE (*createEvent)(BOOL manualReset);
  HANDLE (*createSemaphore)(LONG initial, LONG maximum);
  HANDLE (*createMutex)();
  HANDLE (*createThread)(SIZE_T stackSize, LPTHREAD_START_ROUTINE routine, LPVOID arg, DWORD* id);
};
SessionSystemCalls& SessionSystem();
const SessionSystemCalls& DefaultSessionSystem();
