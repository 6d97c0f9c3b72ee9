// One process-wide time-out on the millisecond tick count.
#pragma once

#include <cstdint>

// Records the current tick as the start, but only when the previous time-out has been reached
// (as it is at program start), and marks the time-out as running. Returns 1.
int StartTickTimeout();

// 0 while fewer than seconds * 1000 ms have passed since the start; otherwise marks the
// time-out as reached and returns 1.
int TickTimeoutReached(uint32_t seconds);
