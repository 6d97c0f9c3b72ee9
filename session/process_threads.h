// The threads that stop and re-create the session and end the program when the account's
// connected time is used up.
#pragma once

#include <windows.h>

// Stops the session on h_Process_Notify_TerminateEvent: clears the connection state, frees
// the login resources and the ring semaphores, and replies. Ends with the process resources.
DWORD WINAPI Process_Terminate_Thread(LPVOID param);
// Re-creates the session on h_Process_Notify_InitEvent: ring positions 0, ring semaphores and
// login resources new, and replies with the outcome. A failed re-creation frees what it made and
// the thread goes on serving. Ends with the process resources.
DWORD WINAPI Process_Init_Thread(LPVOID param);
// Counts connected seconds after h_LifeTimeStartEvent; at the account's limit it stops the
// stream, shows "Life time is Up.Application shutdown later" and posts WM_LIFETIMEUP. Ends with
// the session.
DWORD WINAPI Life_Time_Thread(LPVOID param);

// The lifetime thread's one-second steps (tests shorten them).
void SetLifeTimeSecondMs(DWORD ms);
