// Set-up of the address book file "IPRecord.dat".
#pragma once

#include <string>

// Makes sure "IPRecord.dat" exists in exeDir: an existing file is kept; otherwise the one in
// systemDir is copied there; otherwise an empty file is created. Returns 1, or 0 when the file
// cannot be created or the copy cannot be read or written.
int EnsureIPRecordFile(const std::string& exeDir, const std::string& systemDir);
