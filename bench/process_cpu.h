// CPU time of this process and of a host process (the wineserver) for the Windows benchmarks.
#pragma once

#include <windows.h>

// A FILETIME span in seconds.
double FileTimeSeconds(const FILETIME& t);
// User + kernel time of this process so far.
double ProcessCpuSeconds();
// utime + stime of a host process, read through Wine's drive Z: (the host's root); -1 when it
// cannot be read.
double HostProcessCpuSeconds(int pid, int clockTicks);
