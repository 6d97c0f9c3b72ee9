// Starting another program: one CreateProcess with default start-up information and no
// inherited handles.
#pragma once

#include <windows.h>

#include <string>

#include "platform/scoped_handle.h"

namespace ost {

// Starts application (empty: the program is the command line's first word) with commandLine
// (empty: none) and creationFlags. True when the process started. Its thread handle is closed;
// its process handle is handed to *process when given, else closed.
bool LaunchProcess(const std::string& application, const std::string& commandLine,
                   DWORD creationFlags, ScopedHandle* process = nullptr);

}  // namespace ost
