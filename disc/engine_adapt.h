// What the burning-engine loader decides without the engine: interface version numbers, the
// translation of media-type masks for older engines, the conversion between the current and the
// old drive-entry layouts, where the library is looked for, and whether "PATH" holds its folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "disc/engine_records.h"

namespace disc {

// An engine interface version in four parts (major first).
struct EngineVersion {
  uint16_t major = 0, minor = 0, third = 0, fourth = 0;
  friend bool operator==(const EngineVersion&, const EngineVersion&) = default;
};

// The version this client is written for.
inline constexpr EngineVersion kExpectedVersion{6, 6, 0, 14};

// Whether a is b or later, part by part from the major part.
bool VersionAtLeast(const EngineVersion& a, const EngineVersion& b);

// The parts of a four-digit interface number (5555 gives 5.5.5.5); none for 0.
std::optional<EngineVersion> VersionFromNumber(uint32_t number);

// The four-digit number of a version, each part limited to 9 (6.6.0.14 gives 6609).
uint32_t NumberFromVersion(const EngineVersion& v);

// A media-type mask as an engine of `version` (none: unknown) expects it (toEngine) or as the
// current interface names it (!toEngine).
uint32_t ConvertMediaType(uint32_t mask, bool toEngine,
                          const std::optional<EngineVersion>& version);

// Drive entries between the layouts.  Old to current zeroes every byte the old entry lacks;
// current to old writes the fields the old layout has and leaves its last 92 bytes as they are.
void OldEntryToCurrent(const OldEngineDeviceEntry& from, EngineDeviceEntry* to);
void CurrentEntryToOld(const EngineDeviceEntry& from, OldEngineDeviceEntry* to);

// Adapter thresholds.
inline constexpr uint32_t kFirstCurrentLayoutNumber = 5555;  // below: old drive entries
inline bool SkipsDoneCall(uint32_t number) {
  return number >= 5564 && number <= 5566;
}
inline constexpr uint32_t kHidesRuntimeNumber = 5564;  // the drive query hides "DVDR.DLL"
inline constexpr EngineVersion kMediaUnchangedFrom{6, 3, 0, 5};
inline constexpr EngineVersion kMidMediaFrom{6, 0, 0, 10};
inline constexpr EngineVersion kCurrentTrackFrom{5, 5, 9, 16};

// Whether the engine's ISO track needs a facade: none when any part exceeds 5, 5, 9, 15.
bool TrackNeedsNewFacade(const std::optional<EngineVersion>& version);
// Whether the engine is called directly for an ISO track: any part exceeds 5, 5, 9, 25.
bool TrackCreatedDirectly(const std::optional<EngineVersion>& version);
// Whether burn records and freed tracks need the old facade and the old media mask.
bool NeedsOldTrackFacade(const std::optional<EngineVersion>& version);
bool NeedsBurnMediaConversion(const std::optional<EngineVersion>& version);
// Offset of the media-type field in a burn record of `format`; -1 when none is converted.
int BurnMediaTypeOffset(int format);
// Offset of the ISO track pointer in a burn record of `format`; -1 when it holds none.
int BurnIsoTrackOffset(int format);

// Where the library is loaded from, given the registry's texts: the shared engine value and the
// application-path value of the engine's program (each absent when it could not be read).
struct LibraryPlan {
  std::string folder;                      // the engine folder as read (kept between loads)
  std::string libraryPath;                 // empty: nothing is loaded
  std::optional<std::string> storeFolder;  // written back as the shared engine value
};
inline constexpr size_t kMaxEngineFolderChars = 242;
LibraryPlan PlanLibraryPath(const std::optional<std::string>& sharedValue,
                            const std::optional<std::string>& appPathsValue);

// Whether the ";"-separated list holds the folder, without regard to case and to one closing
// backslash on either side.
bool PathHasFolder(const std::string& pathList, const std::string& folder);

// "PATH" with the folder put first, or unchanged when it holds the folder already.  A missing
// variable counts as empty.
std::string PathWithFolder(const std::optional<std::string>& pathList, const std::string& folder);

}  // namespace disc
