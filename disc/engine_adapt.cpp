#include "disc/engine_adapt.h"

#include <algorithm>
#include <cstring>

namespace disc {

namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Copies at most `max` characters of a field of `size` bytes that may lack its terminator, and
// terminates the copy.
void CopyText(char* to, size_t max, const char* from, size_t fromSize) {
  size_t n = 0;
  while (n < max && n < fromSize && from[n] != '\0') {
    to[n] = from[n];
    ++n;
  }
  to[n] = '\0';
}

bool AnyPartExceeds(const EngineVersion& v, uint16_t fourthBound) {
  return v.major > 5 || v.minor > 5 || v.third > 9 || v.fourth > fourthBound;
}

// The entry's length without one closing backslash.
size_t LengthWithoutClosingSlash(const char* s, size_t n) {
  return n > 0 && s[n - 1] == '\\' ? n - 1 : n;
}

}  // namespace

bool VersionAtLeast(const EngineVersion& a, const EngineVersion& b) {
  const uint16_t pa[4] = {a.major, a.minor, a.third, a.fourth};
  const uint16_t pb[4] = {b.major, b.minor, b.third, b.fourth};
  for (int i = 0; i < 4; ++i) {
    if (pa[i] != pb[i]) return pa[i] > pb[i];
  }
  return true;
}

std::optional<EngineVersion> VersionFromNumber(uint32_t n) {
  if (n == 0) return std::nullopt;
  return EngineVersion{static_cast<uint16_t>(n / 1000 % 10), static_cast<uint16_t>(n / 100 % 10),
                       static_cast<uint16_t>(n / 10 % 10), static_cast<uint16_t>(n % 10)};
}

uint32_t NumberFromVersion(const EngineVersion& v) {
  auto part = [](uint16_t p) { return static_cast<uint32_t>(std::min<uint16_t>(p, 9)); };
  return part(v.major) * 1000 + part(v.minor) * 100 + part(v.third) * 10 + part(v.fourth);
}

uint32_t ConvertMediaType(uint32_t mask, bool toEngine,
                          const std::optional<EngineVersion>& version) {
  if (version && VersionAtLeast(*version, kMediaUnchangedFrom)) return mask;
  const uint32_t engineDvd =
      version && VersionAtLeast(*version, kMidMediaFrom) ? kMediaDVDAnyMid : kMediaDVDAnyOld;
  if (toEngine) return (mask & kMediaDVDAny) == kMediaDVDAny ? engineDvd : mask;
  return (mask & engineDvd) == engineDvd ? kMediaDVDAny : mask;
}

void OldEntryToCurrent(const OldEngineDeviceEntry& from, EngineDeviceEntry* to) {
  std::memset(to, 0, sizeof *to);
  CopyText(to->szDeviceName, 63, from.szDeviceName, sizeof from.szDeviceName);
  CopyText(to->szHostAdapterName, 3, from.szHostAdapterName, sizeof from.szHostAdapterName);
  to->nHostAdapterNo = from.nHostAdapterNo;
  to->nDeviceID = from.nDeviceID;
  to->nDeviceType = from.nDeviceType;
  to->cDriveLetter = from.cDriveLetter;
  to->nCapabilities = from.nCapabilities;
  auto speeds = [](uint32_t count, const uint32_t* old, EngineSpeedBlock* block) {
    block->nSpeedCount = count;
    block->nBaseSpeedKBs = 150;
    const uint32_t n = std::min<uint32_t>(count, 20);
    for (uint32_t i = 0; i < n; ++i) {
      block->nSpeedsMultiples[i] = old[i];
      block->nSpeedsKBs[i] = old[i] * 150;
    }
  };
  speeds(from.nReadSpeedCount, from.nReadSpeeds, &to->readSpeeds);
  speeds(from.nWriteSpeedCount, from.nWriteSpeeds, &to->writeSpeeds);
  to->nDriverHandle = from.nDriverHandle;
  CopyText(to->szUnderrunProtName, 63, from.szUnderrunProtName, sizeof from.szUnderrunProtName);
  to->nMandatoryUnderrunSpeed = from.nMandatoryUnderrunSpeed;
}

void CurrentEntryToOld(const EngineDeviceEntry& from, OldEngineDeviceEntry* to) {
  CopyText(to->szDeviceName, 31, from.szDeviceName, sizeof from.szDeviceName);
  CopyText(to->szHostAdapterName, 7, from.szHostAdapterName, sizeof from.szHostAdapterName);
  to->nHostAdapterNo = from.nHostAdapterNo;
  to->nDeviceID = from.nDeviceID;
  to->nDeviceType = from.nDeviceType;
  to->cDriveLetter = from.cDriveLetter;
  to->nCapabilities = from.nCapabilities;
  // A longer list keeps its first 19 speeds and its last one.
  auto speeds = [](const EngineSpeedBlock& block, uint32_t* count, uint32_t* old) {
    const uint32_t n = std::min<uint32_t>(block.nSpeedCount, 20);
    *count = n;
    for (uint32_t i = 0; i < n; ++i) old[i] = block.nSpeedsMultiples[i];
    const uint32_t last = std::min<uint32_t>(block.nSpeedCount, 64);
    if (n > 0) old[n - 1] = block.nSpeedsMultiples[last - 1];
  };
  speeds(from.readSpeeds, &to->nReadSpeedCount, to->nReadSpeeds);
  speeds(from.writeSpeeds, &to->nWriteSpeedCount, to->nWriteSpeeds);
  to->nDriverHandle = from.nDriverHandle;
  CopyText(to->szUnderrunProtName, 31, from.szUnderrunProtName, sizeof from.szUnderrunProtName);
  to->nMandatoryUnderrunSpeed = from.nMandatoryUnderrunSpeed;
}

bool TrackNeedsNewFacade(const std::optional<EngineVersion>& version) {
  return !version || !AnyPartExceeds(*version, 15);
}

bool TrackCreatedDirectly(const std::optional<EngineVersion>& version) {
  return version && AnyPartExceeds(*version, 25);
}

bool NeedsOldTrackFacade(const std::optional<EngineVersion>& version) {
  return !version || !VersionAtLeast(*version, kCurrentTrackFrom);
}

bool NeedsBurnMediaConversion(const std::optional<EngineVersion>& version) {
  return !version || !VersionAtLeast(*version, kMediaUnchangedFrom);
}

int BurnMediaTypeOffset(int format) {
  switch (format) {
    case 0:
      return 24;
    case 3:
      return 36;
    case 4:
      return 8;
    case 1001:
      return 12;
    default:
      return -1;
  }
}

int BurnIsoTrackOffset(int format) {
  switch (format) {
    case 0:
    case 1:
      return 8;
    case 3:
      return 12;
    default:
      return -1;
  }
}

LibraryPlan PlanLibraryPath(const std::optional<std::string>& sharedValue,
                            const std::optional<std::string>& appPathsValue) {
  static const char kLibrary[] = "\\NeroAPI.dll";
  LibraryPlan plan;
  if (sharedValue) {
    plan.folder = *sharedValue;
    if (sharedValue->size() <= kMaxEngineFolderChars) {
      std::string path = *sharedValue;
      if (!path.empty() && path.back() == '\\') {
        path.pop_back();
        plan.storeFolder = path;
      }
      plan.libraryPath = path + kLibrary;
    }
  }
  if (plan.folder.empty() && appPathsValue) {
    plan.folder = *appPathsValue;
    if (appPathsValue->size() <= kMaxEngineFolderChars)
      plan.libraryPath = *appPathsValue + kLibrary;
    plan.storeFolder = *appPathsValue;
  }
  return plan;
}

bool PathHasFolder(const std::string& pathList, const std::string& folder) {
  const size_t n = LengthWithoutClosingSlash(folder.data(), folder.size());
  size_t start = 0;
  while (start < pathList.size()) {
    size_t end = pathList.find(';', start);
    if (end == std::string::npos) end = pathList.size();
    const size_t e = LengthWithoutClosingSlash(pathList.data() + start, end - start);
    if (e > 0 && e == n) {
      bool same = true;
      for (size_t i = 0; i < n && same; ++i)
        same = LowerAscii(pathList[start + i]) == LowerAscii(folder[i]);
      if (same) return true;
    }
    start = end + 1;
  }
  return false;
}

std::string PathWithFolder(const std::optional<std::string>& pathList, const std::string& folder) {
  const std::string old = pathList.value_or(std::string());
  if (PathHasFolder(old, folder)) return old;
  return folder + ";" + old;
}

}  // namespace disc
