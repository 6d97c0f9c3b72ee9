// The running executable's path, read without a length cut.
#pragma once

#include <string>

// Full path of the executable; empty when it cannot be read.
std::string ExecutablePath();
// Folder of the executable, ending in a backslash; empty when it cannot be read.
std::string ExecutableFolder();
