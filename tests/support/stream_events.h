// The mailbox semaphores and stream events a test makes when it runs the stream threads in its
// own process without the program's session start.
#pragma once

#include <windows.h>

class APP_DATA;

namespace testsupport {

// Makes the kernel mailbox semaphores and the stream threads' events in the application data.
void MakeStreamEvents(APP_DATA& a);
// Closes what MakeStreamEvents made and clears the slots.
void CloseStreamEvents(APP_DATA& a);

}  // namespace testsupport
