// The stand-in engine's disc: a multi-session ISO 9660 image in one file.  Each session is
// appended at the image's end with its own volume descriptors, path tables and root directory,
// whose entries point at the data of earlier sessions and of the new files; the session's
// descriptors are then copied to block 16, so that tools reading the image see the newest
// directory.  Only a root directory of files is written and read.  Names are written as given
// (with ";1"), in their letter case.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace isoimage {

inline constexpr uint32_t kBlock = 2048;

// A recording time as calendar fields (year since 1900, month 0-11, as struct tm).
struct IsoTime {
  int year = 70, month = 0, day = 1, hour = 0, minute = 0, second = 0;
};

// One file of a directory: its name without the version, where its data lies and how long it is.
struct IsoFile {
  std::string name;
  uint32_t extent = 0;  // first block
  uint32_t size = 0;    // bytes
  IsoTime time;
  bool directory = false;
};

struct IsoVolume {
  std::string volumeId;
  uint32_t volumeBlocks = 0;
  uint32_t rootExtent = 0;
  std::vector<IsoFile> files;  // the root directory's entries but "." and ".."
};

// Reads `blocks` blocks from block `lba` into `out`; false past the image's end.
using BlockReader = std::function<bool(uint32_t lba, uint32_t blocks, uint8_t* out)>;

// The newest volume of an image (descriptors at block 16); none when the image holds none.
std::optional<IsoVolume> ReadVolume(const BlockReader& read);

// A file of a new session: taken from an earlier session (extent and size given) or read from
// `sourcePath`.
struct SessionFile {
  std::string name;
  IsoTime time;
  uint32_t extent = 0, size = 0;
  std::string sourcePath;  // empty: an earlier session's file
};

// Appends a session holding `files` to the image at `imagePath` (created when missing) and
// makes it the image's newest.  Its first block goes to *sessionStart, its last + 1 to *end.
// False (with *error) when a name repeats, a source cannot be read or the image not written.
bool AppendSession(const std::string& imagePath, const std::string& volumeId,
                   const std::vector<SessionFile>& files, uint32_t* sessionStart, uint32_t* end,
                   std::string* error);

// A BlockReader over an image file.
BlockReader FileBlockReader(const std::string& imagePath);

}  // namespace isoimage
