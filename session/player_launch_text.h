// The player program's path and command line for a finished download (kernel code 7).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The command line holds at most this many characters (a 512-byte buffer with its zero byte).
inline constexpr size_t kPlayerCommandLineMax = 511;

// "<recordPath> CONVERT=0", or nothing when it would not fit kPlayerCommandLineMax: the player
// is never started with a cut path.
std::optional<std::string> FinishedDownloadCommandLine(const std::string& recordPath);

// "Quendor.exe" in exeDir, joined with one backslash.
std::string PlayerProgramPath(const std::string& exeDir);
