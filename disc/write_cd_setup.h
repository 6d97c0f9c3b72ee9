// What the backup page runs before a download that is to go on a disc: the writer's set-up, then
// the write-CD dialog and the writer's check, again while the check fails, until it passes or the
// user cancels.  The download thread then calls CCDWriter::Burn.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class CCDWriter;

// True when the disc is to be written after the download of `backupPath` (sizeMB megabytes).
bool PrepareDiscWrite(HWND parent, CCDWriter& writer, const std::string& backupPath,
                      uint32_t sizeMB);
