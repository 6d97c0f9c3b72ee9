// The disc writer's progress function for the backup page: each call becomes commands of the
// progress channel that shows the burn (1 begin, 2 total, 3 progress, 4 end).  The window that
// shows the progress installs the channel.
#pragma once

#include <windows.h>

// A one-command mailbox to the thread that shows progress: the sender waits for m_hDone, stores
// the command and releases m_hRequest.
struct ProgressChannel {
  HANDLE m_hDone = nullptr;     // released by the receiver when it has taken a command
  HANDLE m_hRequest = nullptr;  // released by the sender for each command
  volatile LONG m_nCommand = 0;
  volatile LONG m_nValue = 0;
};

enum ProgressCommand : LONG {
  kProgressBegin = 1,
  kProgressTotal = 2,
  kProgressStep = 3,
  kProgressEnd = 4,
};

// The channel the progress function posts to; none: the calls are dropped.
void SetWriteCDProgressChannel(ProgressChannel* channel);

// (0, 0): begin and a total of 100; (1, percent): progress; (2, 0): end.
void WriteCDProgressCallback(int type, int value);
