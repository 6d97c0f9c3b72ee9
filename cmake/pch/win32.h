// The Windows system headers and the standard ones, precompiled once per tree for the targets
// whose sources include the system headers already (cmake/OstrovaHelpers.cmake).
#pragma once
#include <winsock2.h>  // ahead of windows.h

#include <commctrl.h>
#include <windows.h>

#include "portable.h"
