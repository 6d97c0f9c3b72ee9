// The program's state log for the tests that drive it: with OST_EVENT_LOG naming a file, each
// event is appended as one line, the milliseconds since the first event and the text
// ("1234 session stop served 52 ms"). Without the variable nothing is written. Any thread may
// write; a line is written whole.
#pragma once

#if defined(__clang__)
[[gnu::format(printf, 1, 2)]]
#else
[[gnu::format(gnu_printf, 1, 2)]]
#endif
void EventLogWrite(const char* format, ...);

// Whether the events are written (OST_EVENT_LOG was set when the program started).
bool EventLogOn();
