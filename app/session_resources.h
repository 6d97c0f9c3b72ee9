// Creation and release of the session's process and login resources. Each returns 1 on success;
// the exits test every slot, so running them twice is harmless.
#pragma once

int InitProcessResource();
int InitLoginResource();
int ExitLoginResource();
int ExitProcessResource();
