// Snapshots: the picture on screen written to a file named from the local time, in the folder
// of the setting "Snapshot Path".
#pragma once

#include <cstdint>
#include <string>

struct LocalClock {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
};

LocalClock CurrentLocalClock();

// Year modulo 100, month, day, "T", hour, minute, second, two digits each: "060315T142530".
std::string SnapshotFileStem(const LocalClock& t);

// folder + "\" (unless it ends in one) + name.
std::string SnapshotFilePath(const std::string& folder, const std::string& name);

// Writes the picture (24-bit BGR, bottom row first, packed rows) as a new JPEG file (jpegFlag
// not 0) or 24-bit BMP file named from the current local time. A file of that name from a
// snapshot in the same second is kept: the new one gets "_2", "_3", ... after the stem.
// Returns 1, or 0 when the file cannot be written (no file is left then).
int SaveSnapshot(const char* folder, const uint8_t* picture, uint16_t width, uint16_t height,
                 int jpegFlag);
// The same at a given time.
int SaveSnapshotAt(const char* folder, const uint8_t* picture, uint16_t width, uint16_t height,
                   int jpegFlag, const LocalClock& t);
