// Our stand-in burning engine: the exports the disc writer reaches, over simulated drives whose
// discs are multi-session ISO 9660 images beside the DLL.  "engine.ini" beside it configures:
//   version=6609            the interface number it reports
//   versionex=6.6.0.14      its part version ("none": it reports none)
//   drive=NAME,KIND,STATE,FREE_BLOCKS   KIND cd|dvd|image, STATE blank|appendable|full|none
//   import=N                an import that fails with result N
//   result=N                a burn that ends with result N
//   steplag=MS              a pause per progress step (for aborts)
//   log=PATH                a line per call the tests look at
// Drive n's disc is "driveN.iso" with "driveN.txt" (sessions, closed) beside the DLL.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "disc/engine_adapt.h"
#include "disc/engine_records.h"
#include "tests/disc/iso_image.h"

using namespace disc;

#define EXPORT extern "C" __declspec(dllexport)

namespace {

struct Drive {
  std::string name, kind, state;
  uint32_t freeBlocks = 0;
};

struct Config {
  uint32_t version = 6609;
  bool hasVersionEx = true;
  EngineVersion versionEx{6, 6, 0, 14};
  std::vector<Drive> drives;
  int importResult = 0;
  int burnResult = 0;
  int stepLagMs = 0;
  std::string log;
};

HMODULE g_self = nullptr;
std::mutex g_lock;
std::set<EngineIsoTrack*> g_tracks;
EngineSettings g_settings{};

std::string Folder() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(g_self, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.find_last_of('\\'));
}

Config ReadConfig() {
  Config c;
  std::ifstream in(Folder() + "\\engine.ini");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "version") {
      c.version = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
    } else if (key == "versionex") {
      unsigned a = 0, b = 0, d = 0, e = 0;
      c.hasVersionEx = std::sscanf(value.c_str(), "%u.%u.%u.%u", &a, &b, &d, &e) == 4;
      c.versionEx = {static_cast<uint16_t>(a), static_cast<uint16_t>(b), static_cast<uint16_t>(d),
                     static_cast<uint16_t>(e)};
    } else if (key == "drive") {
      Drive d;
      std::stringstream ss(value);
      std::string free;
      std::getline(ss, d.name, ',');
      std::getline(ss, d.kind, ',');
      std::getline(ss, d.state, ',');
      std::getline(ss, free, ',');
      d.freeBlocks = static_cast<uint32_t>(std::strtoul(free.c_str(), nullptr, 10));
      c.drives.push_back(d);
    } else if (key == "import") {
      c.importResult = std::atoi(value.c_str());
    } else if (key == "result") {
      c.burnResult = std::atoi(value.c_str());
    } else if (key == "steplag") {
      c.stepLagMs = std::atoi(value.c_str());
    } else if (key == "log") {
      c.log = value;
    }
  }
  return c;
}

void Log(const char* format, ...) {
  const Config c = ReadConfig();
  if (c.log.empty()) return;
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::lock_guard<std::mutex> lock(g_lock);
  if (FILE* f = std::fopen(c.log.c_str(), "ab")) {
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
  }
}

// A disc's sessions and whether it is closed.
struct DiscState {
  int sessions = 0;
  bool closed = false;
  uint32_t usedBlocks = 0;
};

std::string ImagePath(uint32_t drive) {
  return Folder() + "\\drive" + std::to_string(drive) + ".iso";
}

DiscState ReadDisc(uint32_t drive) {
  DiscState s;
  std::ifstream in(Folder() + "\\drive" + std::to_string(drive) + ".txt");
  in >> s.sessions >> s.closed >> s.usedBlocks;
  return s;
}

void WriteDisc(uint32_t drive, const DiscState& s) {
  std::ofstream(Folder() + "\\drive" + std::to_string(drive) + ".txt")
      << s.sessions << " " << s.closed << " " << s.usedBlocks << "\n";
}

bool OldEntries(const Config& c) {
  return c.version < kFirstCurrentLayoutNumber;
}

bool OldTracks(const Config& c) {
  return !c.hasVersionEx || !VersionAtLeast(c.versionEx, kCurrentTrackFrom);
}

uint32_t DvdMask(const Config& c) {
  return ConvertMediaType(
      kMediaDVDAny, true,
      c.hasVersionEx ? std::optional<EngineVersion>(c.versionEx) : std::nullopt);
}

char* Text(const std::string& s) {
  char* p = static_cast<char*>(std::calloc(s.size() + 1, 1));
  std::memcpy(p, s.c_str(), s.size());
  return p;
}

// The track object: a table of positions over the root, the name and the flags.
struct Track : EngineIsoTrack {
  EngineIsoItem* root;
  char* name;
  uint32_t flags;
};

intptr_t TrackDestroy(EngineIsoTrack* self, const intptr_t* args) {
  auto* t = static_cast<Track*>(self);
  {
    std::lock_guard<std::mutex> lock(g_lock);
    g_tracks.erase(self);
  }
  if (args[0] != 0) {
    std::free(t->name);
    delete t;
  }
  return 0;
}
intptr_t TrackRoot(EngineIsoTrack* self, const intptr_t*) {
  return reinterpret_cast<intptr_t>(static_cast<Track*>(self)->root);
}
intptr_t TrackName(EngineIsoTrack* self, const intptr_t*) {
  return reinterpret_cast<intptr_t>(static_cast<Track*>(self)->name);
}
intptr_t TrackFlags(EngineIsoTrack* self, const intptr_t*) {
  return static_cast<Track*>(self)->flags;
}
intptr_t TrackCount(EngineIsoTrack* self, const intptr_t*) {
  intptr_t n = 0;
  for (EngineIsoItem* i = static_cast<Track*>(self)->root; i != nullptr; i = i->pNextItem) ++n;
  return n;
}
intptr_t TrackZero(EngineIsoTrack*, const intptr_t*) {
  return 0;
}

const IsoTrackFn kCurrent[kIsoTrackPositions] = {
    TrackDestroy, TrackRoot, TrackName, TrackFlags, TrackCount, TrackZero, TrackZero, TrackZero,
    TrackZero,    TrackZero, TrackZero, TrackZero,  TrackZero,  TrackZero, TrackZero, TrackZero,
    TrackZero,    TrackZero, TrackZero, TrackZero,  TrackZero,  TrackZero, TrackZero, TrackZero,
    TrackZero,    TrackZero, TrackZero, TrackZero,  TrackZero,  TrackZero};
const IsoTrackFn kOld[kOldIsoTrackPositions] = {
    TrackDestroy, TrackRoot, TrackName, TrackFlags, TrackCount, TrackZero, TrackZero,
    TrackZero,    TrackZero, TrackZero, TrackZero,  TrackZero,  TrackZero, TrackZero,
    TrackZero,    TrackZero, TrackZero, TrackZero,  TrackZero,  TrackZero};

uint32_t DriveOf(EngineDeviceHandle h) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h) - 1);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

EXPORT void EngFreeMem(void* p) {
  std::free(p);
}

EXPORT void EngClearErrors() {}

EXPORT uint32_t EngGetAPIVersion() {
  return ReadConfig().version;
}

EXPORT int EngGetAPIVersionEx(uint16_t* a, uint16_t* b, uint16_t* c, uint16_t* d, void*) {
  const Config cfg = ReadConfig();
  if (!cfg.hasVersionEx) return 0;
  *a = cfg.versionEx.major;
  *b = cfg.versionEx.minor;
  *c = cfg.versionEx.third;
  *d = cfg.versionEx.fourth;
  return 1;
}

EXPORT int EngSetExpectedAPIVersionEx(uint16_t a, uint16_t b, uint16_t c, uint16_t d, void*) {
  Log("expect %u.%u.%u.%u", a, b, c, d);
  return a == 6 && b == 6 && c == 0 && d == 14 ? 1 : 0;
}

EXPORT int EngInit(const EngineSettings* settings, void*) {
  if (settings == nullptr) return 1;
  g_settings = *settings;
  Log("init files=%s software=%s language=%s overburn=%u", settings->pEngineFilesPath,
      settings->pSoftware, settings->pLanguageFile, settings->bEnableOverburn);
  return 0;
}

EXPORT int EngDone() {
  Log("done");
  return 0;
}

EXPORT EngineDriveList* EngGetAvailableDrivesEx(uint32_t media, void*) {
  const Config c = ReadConfig();
  const bool hidden =
      ::GetFileAttributesA((Folder() + "\\DVDR._DLL").c_str()) != INVALID_FILE_ATTRIBUTES;
  Log("drives media=%#x%s", media, hidden ? " runtime-hidden" : "");
  const uint32_t n = static_cast<uint32_t>(c.drives.size());
  auto* list =
      static_cast<EngineDriveList*>(std::calloc(1, DriveListBytes(n, sizeof(EngineDeviceEntry))));
  list->nCount = n;
  for (uint32_t i = 0; i < n; ++i) {
    EngineDeviceEntry& e = list->entries[i];
    std::strncpy(e.szDeviceName, c.drives[i].name.c_str(), sizeof e.szDeviceName - 1);
    std::strcpy(e.szHostAdapterName, "sim");
    e.nDeviceID = i;
    e.cDriveLetter = static_cast<uint8_t>('E' + i);
    e.nDriverHandle = i;
    e.writeSpeeds.nSpeedCount = 2;
    e.writeSpeeds.nBaseSpeedKBs = 150;
    e.writeSpeeds.nSpeedsMultiples[0] = 4;
    e.writeSpeeds.nSpeedsMultiples[1] = 8;
    e.writeSpeeds.nSpeedsKBs[0] = 600;
    e.writeSpeeds.nSpeedsKBs[1] = 1200;
  }
  return list;
}

EXPORT EngineDeviceHandle EngOpenDevice(const void* entry) {
  if (entry == nullptr) return nullptr;
  const Config c = ReadConfig();
  uint32_t drive = 0;
  const char* name = nullptr;
  if (OldEntries(c)) {
    drive = static_cast<const OldEngineDeviceEntry*>(entry)->nDriverHandle;
    name = static_cast<const OldEngineDeviceEntry*>(entry)->szDeviceName;
  } else {
    drive = static_cast<const EngineDeviceEntry*>(entry)->nDriverHandle;
    name = static_cast<const EngineDeviceEntry*>(entry)->szDeviceName;
  }
  Log("open %u %s%s", drive, name, OldEntries(c) ? " old-entry" : "");
  if (drive >= c.drives.size() || c.drives[drive].name.rfind(name, 0) != 0) return nullptr;
  return reinterpret_cast<EngineDeviceHandle>(static_cast<uintptr_t>(drive) + 1);
}

EXPORT void EngCloseDevice(EngineDeviceHandle h) {
  Log("close %u", DriveOf(h));
}

EXPORT EngineDiscInfo* EngGetCDInfo(EngineDeviceHandle h, uint32_t flags) {
  const Config c = ReadConfig();
  const uint32_t drive = DriveOf(h);
  if (drive >= c.drives.size()) return nullptr;
  const Drive& d = c.drives[drive];
  if (d.state == "none") return nullptr;
  const DiscState s = ReadDisc(drive);
  auto* info = static_cast<EngineDiscInfo*>(std::calloc(1, sizeof(EngineDiscInfo)));
  info->nMediaType = d.kind == "dvd" ? DvdMask(c) : kMediaCD;
  info->nNumTracks = static_cast<uint32_t>(s.sessions);
  const bool full = d.state == "full" || s.closed;
  info->bWritable = full ? 0 : 1;
  info->nCapacityBlocks = d.freeBlocks;
  info->nFreeBlocks = full || s.usedBlocks >= d.freeBlocks ? 0 : d.freeBlocks - s.usedBlocks;
  (void)flags;
  return info;
}

EXPORT void* EngCreateIsoItemOfSize(size_t size) {
  return std::calloc(1, size);
}

EXPORT void EngFreeIsoItem(EngineIsoItem* item) {
  if (item == nullptr) return;
  if (item->bIsReference) {
    std::free(item->pLongFileName);
    std::free(item->pLongSourcePath);
  }
  std::free(item);
}

EXPORT void EngFreeIsoItemTree(EngineIsoItem* item) {
  while (item != nullptr) {
    EngineIsoItem* next = item->pNextItem;
    if (item->bIsDirectory) EngFreeIsoItemTree(item->pSubDirFirstItem);
    EngFreeIsoItem(item);
    item = next;
  }
}

EXPORT EngineIsoItem* EngImportDataTrack(EngineDeviceHandle h, uint32_t track, void** stamp,
                                         EngineImportInfo* info, uint32_t, int* result, void*) {
  const Config c = ReadConfig();
  const uint32_t drive = DriveOf(h);
  Log("import %u track %u", drive, track);
  *result = kImportOk;
  if (stamp != nullptr) *stamp = nullptr;
  if (c.importResult != 0) {
    *result = c.importResult;
    return nullptr;
  }
  const DiscState s = ReadDisc(drive);
  if (track == 0xFFFFFFFFu || static_cast<int>(track) >= s.sessions) {
    *result = kImportInvalidTrack;
    return nullptr;
  }
  const auto volume = isoimage::ReadVolume(isoimage::FileBlockReader(ImagePath(drive)));
  if (!volume) {
    *result = kImportFilesystem;
    return nullptr;
  }
  if (info != nullptr && info->nSize >= sizeof(EngineImportInfo))
    info->pVolumeName = Text(volume->volumeId);
  if (stamp != nullptr) *stamp = std::calloc(1, 16);
  EngineIsoItem* first = nullptr;
  EngineIsoItem** link = &first;
  for (const isoimage::IsoFile& f : volume->files) {
    if (f.directory) continue;
    auto* item = static_cast<EngineIsoItem*>(std::calloc(1, sizeof(EngineIsoItem)));
    item->bIsReference = 1;
    item->pLongFileName = Text(f.name);
    item->tmYear = f.time.year;
    item->tmMon = f.time.month;
    item->tmMday = f.time.day;
    item->tmHour = f.time.hour;
    item->tmMin = f.time.minute;
    item->tmSec = f.time.second;
    item->nImportedStart = f.extent;
    item->nImportedLength = f.size;
    *link = item;
    link = &item->pNextItem;
  }
  return first;
}

EXPORT void EngFreeCDStamp(void* stamp) {
  std::free(stamp);
}

EXPORT EngineIsoTrack* EngCreateIsoTrackEx(EngineIsoItem* root, const char* name, uint32_t flags) {
  const Config c = ReadConfig();
  auto* t = new Track;
  t->vtbl = OldTracks(c) ? kOld : kCurrent;
  t->root = root;
  t->name = Text(name != nullptr ? name : "");
  t->flags = flags;
  std::lock_guard<std::mutex> lock(g_lock);
  g_tracks.insert(t);
  return t;
}

EXPORT void EngFreeIsoTrack(EngineIsoTrack* track) {
  if (track == nullptr) return;
  bool own = false;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    own = g_tracks.count(track) != 0;
  }
  Log("free track %s", own ? "own" : "presented");
  const intptr_t deleting[8] = {1};
  CallIsoTrack(track, kIsoTrackDestroy, deleting);
}

EXPORT int EngBurn(EngineDeviceHandle h, int format, void* record, uint32_t flags, uint32_t speed,
                   EngineProgress* progress) {
  const Config c = ReadConfig();
  const uint32_t drive = DriveOf(h);
  if (format != kBurnFormatCD || record == nullptr) return kBurnUnknownFormat;
  auto* rec = static_cast<EngineWriteCD*>(record);
  EngineIsoTrack* track = rec->pIsoTrack;
  bool own = false;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    own = g_tracks.count(track) != 0;
  }
  Log("burn %u flags=%#x media=%#x speed=%u stamp=%d track=%s", drive, flags, rec->nMediaType,
      speed, rec->pCDStamp != nullptr ? 1 : 0, own ? "own" : "presented");
  if (drive >= c.drives.size() || track == nullptr) return kBurnInvalidDrive;
  const Drive& d = c.drives[drive];
  DiscState s = ReadDisc(drive);
  if (d.state == "none") return kBurnInvalidDrive;
  if (d.state == "full" || s.closed) return kBurnFailed;

  std::string image = ImagePath(drive);
  if (d.kind == "image" && g_settings.pUserDialogCallback != nullptr) {
    char path[kImageFileBufferChars] = {};
    if (g_settings.pUserDialogCallback(g_settings.pUserDialogUserData, kDialogImageFile, path) != 1)
      return kBurnUserAbort;
    image = path;
  }
  for (uint32_t percent = 0; percent <= 100; percent += 10) {
    const bool idleAbort = g_settings.pIdleCallback != nullptr &&
                           g_settings.pIdleCallback(g_settings.pIdleUserData) != 0;
    const bool aborted = progress != nullptr && progress->pAbortedCallback != nullptr &&
                         progress->pAbortedCallback(progress->pUserData) != 0;
    if (idleAbort || aborted) {
      Log("burn aborted at %u", percent);
      return kBurnUserAbort;
    }
    if (progress != nullptr && progress->pProgressCallback != nullptr)
      progress->pProgressCallback(progress->pUserData, percent);
    if (c.stepLagMs > 0) ::Sleep(static_cast<DWORD>(c.stepLagMs));
  }
  if (c.burnResult != 0) return c.burnResult;

  std::vector<isoimage::SessionFile> files;
  auto* root = reinterpret_cast<EngineIsoItem*>(CallIsoTrack(track, kIsoTrackRoot));
  const char* volume = reinterpret_cast<const char*>(CallIsoTrack(track, kIsoTrackName));
  for (EngineIsoItem* i = root; i != nullptr; i = i->pNextItem) {
    if (i->bIsDirectory) continue;
    isoimage::SessionFile f;
    f.name = i->pLongFileName != nullptr ? i->pLongFileName : i->szShortName;
    if (i->bIsReference) {
      f.extent = static_cast<uint32_t>(i->nImportedStart);
      f.size = static_cast<uint32_t>(i->nImportedLength);
      f.time = {i->tmYear, i->tmMon, i->tmMday, i->tmHour, i->tmMin, i->tmSec};
    } else {
      f.sourcePath = i->pLongSourcePath != nullptr ? i->pLongSourcePath : "";
      WIN32_FILE_ATTRIBUTE_DATA a{};
      SYSTEMTIME st{};
      if (::GetFileAttributesExA(f.sourcePath.c_str(), GetFileExInfoStandard, &a) &&
          ::FileTimeToSystemTime(&a.ftLastWriteTime, &st))
        f.time = {st.wYear - 1900, st.wMonth - 1, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
    files.push_back(f);
  }
  uint32_t start = 0, end = 0;
  std::string error;
  if (!isoimage::AppendSession(image, volume != nullptr ? volume : "", files, &start, &end,
                               &error)) {
    Log("burn failed: %s", error.c_str());
    return kBurnFailed;
  }
  if (d.kind != "image") {
    s.sessions += 1;
    s.closed = (flags & 0x10) == 0;
    s.usedBlocks = end;
    WriteDisc(drive, s);
  }
  Log("burnt %u session at %u files=%u volume=%s", drive, start,
      static_cast<unsigned>(files.size()), volume != nullptr ? volume : "");
  return kBurnOk;
}
