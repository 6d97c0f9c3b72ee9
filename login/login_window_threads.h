// The login window's two threads: the login thread, which logs in with what the user typed and
// tells the window the outcome, and the animation thread, which drives the window's progress
// bar until the login ends.
#pragma once

#include <windows.h>

#include "login/login_attempt.h"

// Thread routines. The argument is a heap-allocated std::shared_ptr<LoginAttempt> (see
// StartLoginAttemptThread), which the thread takes. Both return 0.
DWORD WINAPI Login_Dialog_Thread(LPVOID param);
DWORD WINAPI Login_Animate_Thread(LPVOID param);

// Stack sizes the login window passes when it creates them.
inline constexpr SIZE_T kLoginThreadStackSize = 512;
