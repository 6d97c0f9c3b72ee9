// Stand-ins for the network-backup and disc-writing state the application data embeds, until
// the backup download and the disc writer are built.
#pragma once

#include <windows.h>

// Disc writer: nothing opened, nothing to close.
class CCDWriter {};

// State of the network-backup download.
struct NetworkBackupState {
  HANDLE h_NetworkBkMutex;
  char szMutexName[32];
};
