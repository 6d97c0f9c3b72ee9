// The newest local record file, which the login window hands to the player program.
#pragma once

#include <string>

// The "*.qdx" file of recordFolder with the latest last-write time (the first one listed among
// equal times), as the folder, one backslash and the file name, all in upper case; empty when
// the folder holds none.
std::string FindNewestRecordFile(const std::string& recordFolder);
