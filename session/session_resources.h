// Creation and release of the session's process resources (the kernel message mailbox, the
// terminate and re-initialise threads, the kernel message thread) and login resources (the
// stream events, the lifetime thread, the stream threads, the record threads). Each returns 1 on
// success and 0 at the first creation that fails; the exits test every slot, so running them
// twice is harmless. No thread is ever terminated: each is asked to end, unblocked and waited
// for.
#pragma once

class APP_DATA;

int InitProcessResource();
int InitLoginResource();
int ExitLoginResource();
int ExitProcessResource();

// The terminate thread's work: the login resources and the ring semaphores freed. Returns 1.
int StopSession();
// The re-initialise thread's work: ring positions 0, a stale reset request dropped, ring
// semaphores and login resources new (a session still standing is stopped first). 1 when all
// were created; 0 after freeing what was made.
int StartSession();
// The stream threads (receive, compose, show) on the application's pipeline, with their stacks
// and priorities; part of InitLoginResource. False when one could not be made (those made stay
// in their slots for the exits to end).
bool StartStreamThreads(APP_DATA& a);
// True while any login resource exists.
bool LoginResourcesExist();
