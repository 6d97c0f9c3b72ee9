#include "disc/engine_api.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "disc/engine_adapt.h"
#include "disc/iso_track_facade.h"

using namespace disc;

HMODULE g_hEngApi = nullptr;
char g_szEngApiFolder[256] = {};

namespace {

const char kSharedKey[] = "SOFTWARE\\ahead\\Shared";
const char kSharedValue[] = "NeroAPI";
const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Nero.exe";

// The export of that name, or null.
template <class F>
F Lookup(const char* name) {
  if (g_hEngApi == nullptr) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(g_hEngApi, name)));
}

// A text value of HKEY_LOCAL_MACHINE, at most 255 bytes; none when it cannot be read.
std::optional<std::string> ReadMachineText(const char* key, const char* value) {
  HKEY k = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return {};
  char buf[256] = {};
  DWORD type = 0, size = 255;
  const LONG r = ::RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  ::RegCloseKey(k);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  buf[size < sizeof buf ? size : sizeof buf - 1] = '\0';
  return std::string(buf);
}

uint32_t ApiNumber() {
  return EngGetAPIVersion();
}

std::optional<EngineVersion> PartVersion() {
  EngineVersion v;
  if (EngGetAPIVersionEx(&v.major, &v.minor, &v.third, &v.fourth, nullptr) == 0) return {};
  return v;
}

// "PATH" of the process environment; none when it is not set.
std::optional<std::string> ProcessPath() {
  const DWORD n = ::GetEnvironmentVariableA("PATH", nullptr, 0);
  if (n == 0) return {};
  std::string s(n, '\0');
  const DWORD got = ::GetEnvironmentVariableA("PATH", s.data(), n);
  s.resize(got < n ? got : 0);
  return s;
}

// An old engine's drive list as a list of current entries, in memory the engine can free.
EngineDriveList* ConvertOldDriveList(const void* oldList) {
  if (oldList == nullptr) return nullptr;
  uint32_t count = 0;
  std::memcpy(&count, oldList, sizeof count);
  const size_t bytes = DriveListBytes(count, sizeof(EngineDeviceEntry));
  auto* list = static_cast<EngineDriveList*>(EngCreateIsoItemOfSize(bytes));
  if (list == nullptr) return nullptr;
  std::memset(list, 0, bytes);
  list->nCount = count;
  const auto* oldEntries =
      reinterpret_cast<const OldEngineDeviceEntry*>(static_cast<const uint8_t*>(oldList) + 4);
  for (uint32_t i = 0; i < count; ++i) OldEntryToCurrent(oldEntries[i], &list->entries[i]);
  return list;
}

// Renames a file for as long as it lives, back on every path.
class HiddenFile {
 public:
  HiddenFile(std::string from, std::string to) : m_from(std::move(from)), m_to(std::move(to)) {
    m_moved = ::MoveFileA(m_from.c_str(), m_to.c_str()) != FALSE;
  }
  ~HiddenFile() {
    if (m_moved) ::MoveFileA(m_to.c_str(), m_from.c_str());
  }
  HiddenFile(const HiddenFile&) = delete;
  HiddenFile& operator=(const HiddenFile&) = delete;

 private:
  std::string m_from, m_to;
  bool m_moved = false;
};

}  // namespace

// Plain forwarders: the export's result, or the default without it.
#define ENG_FORWARD(ret, name, def, params, args) \
  ret name params {                               \
    using Fn = ret(*) params;                     \
    if (Fn f = Lookup<Fn>(#name)) return f args;  \
    return def;                                   \
  }
#define ENG_FORWARD_VOID(name, params, args) \
  void name params {                         \
    using Fn = void(*) params;               \
    if (Fn f = Lookup<Fn>(#name)) f args;    \
  }

int EngApiLoad(int) {
  EngApiUnload();
  const std::optional<std::string> shared = ReadMachineText(kSharedKey, kSharedValue);
  std::optional<std::string> appPaths;
  if (!shared || shared->empty()) appPaths = ReadMachineText(kAppPathsKey, "Path");
  const LibraryPlan plan = PlanLibraryPath(shared, appPaths);
  if (shared || appPaths) {
    std::memset(g_szEngApiFolder, 0, sizeof g_szEngApiFolder);
    std::strncpy(g_szEngApiFolder, plan.folder.c_str(), sizeof g_szEngApiFolder - 1);
  }
  if (plan.storeFolder) EngApiStorePath(plan.storeFolder->c_str());
  if (g_szEngApiFolder[0] != '\0') {
    const std::optional<std::string> path = ProcessPath();
    const std::string newPath = PathWithFolder(path, g_szEngApiFolder);
    if (!path || newPath != *path) ::SetEnvironmentVariableA("PATH", newPath.c_str());
  }
  if (plan.libraryPath.empty()) return 0;
  g_hEngApi = ::LoadLibraryA(plan.libraryPath.c_str());
  if (g_hEngApi == nullptr) return 0;
  if (EngSetExpectedAPIVersionEx(kExpectedVersion.major, kExpectedVersion.minor,
                                 kExpectedVersion.third, kExpectedVersion.fourth, nullptr) == 0) {
    EngApiUnload();
    return 0;
  }
  return 1;
}

void EngApiUnload() {
  if (g_hEngApi != nullptr) ::FreeLibrary(g_hEngApi);
  g_hEngApi = nullptr;
}

void EngApiStorePath(const char* folder) {
  HKEY k = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedKey, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
    return;
  ::RegSetValueExA(k, kSharedValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                   static_cast<DWORD>(std::strlen(folder) + 1));
  ::RegCloseKey(k);
}

HMODULE EngApiGetModule() {
  return g_hEngApi;
}
void EngApiSetModule(HMODULE module) {
  g_hEngApi = module;
}

ENG_FORWARD_VOID(EngFreeMem, (void* p), (p))
ENG_FORWARD_VOID(EngGetLastDriveError, (DeviceHandle h, int* error), (h, error))
ENG_FORWARD(char*, EngGetLastError, nullptr, (), ())
ENG_FORWARD(char*, EngGetErrorLog, nullptr, (), ())
ENG_FORWARD(char*, EngGetLastErrors, nullptr, (int count, uint32_t flags, void* reserved),
            (count, flags, reserved))
ENG_FORWARD_VOID(EngClearErrors, (), ())
ENG_FORWARD(uint32_t, EngGetAPIVersion, 0u, (), ())

int EngGetAPIVersionEx(uint16_t* major, uint16_t* minor, uint16_t* third, uint16_t* fourth,
                       void* reserved) {
  using Fn = int (*)(uint16_t*, uint16_t*, uint16_t*, uint16_t*, void*);
  if (Fn f = Lookup<Fn>("EngGetAPIVersionEx")) return f(major, minor, third, fourth, reserved);
  const std::optional<EngineVersion> v = VersionFromNumber(EngGetAPIVersion());
  if (!v) return 0;
  if (major != nullptr) *major = v->major;
  if (minor != nullptr) *minor = v->minor;
  if (third != nullptr) *third = v->third;
  if (fourth != nullptr) *fourth = v->fourth;
  return 1;
}

ENG_FORWARD(int, EngInit, 1, (const EngineSettings* settings, void* reserved), (settings, reserved))

int EngDone() {
  using Fn = int (*)();
  Fn f = Lookup<Fn>("EngDone");
  if (f == nullptr) return 1;
  if (SkipsDoneCall(ApiNumber())) return 1;
  return f();
}

ENG_FORWARD(int, EngSetOption, -1, (int option, void* value), (option, value))

EngineDriveList* EngGetAvailableDrives() {
  using Fn = void* (*)();
  Fn f = Lookup<Fn>("EngGetAvailableDrives");
  if (f == nullptr) return nullptr;
  void* list = f();
  if (ApiNumber() >= kFirstCurrentLayoutNumber) return static_cast<EngineDriveList*>(list);
  // An old engine's list: converted; the engine's own list is given back.
  EngineDriveList* converted = ConvertOldDriveList(list);
  if (list != nullptr) EngFreeMem(list);
  return converted;
}

EngineDriveList* EngGetAvailableDrivesEx(uint32_t mediaType, void* reserved) {
  using Fn = EngineDriveList* (*)(uint32_t, void*);
  const uint32_t engineMedia = ConvertMediaType(mediaType, true, PartVersion());
  Fn f = Lookup<Fn>("EngGetAvailableDrivesEx");
  if (f == nullptr) return engineMedia == kMediaCD ? EngGetAvailableDrives() : nullptr;
  std::unique_ptr<HiddenFile> hidden;
  if (ApiNumber() == kHidesRuntimeNumber) {
    const std::string folder(g_szEngApiFolder, strnlen(g_szEngApiFolder, 246));
    hidden = std::make_unique<HiddenFile>(folder + "\\DVDR.DLL", folder + "\\DVDR._DLL");
  }
  return f(engineMedia, reserved);
}

int EngUpdateDeviceInfo(const EngineDeviceEntry* entry, uint32_t mediaType, void* reserved) {
  using Fn = int (*)(const EngineDeviceEntry*, uint32_t, void*);
  Fn f = Lookup<Fn>("EngUpdateDeviceInfo");
  if (f == nullptr) return 1;
  return f(entry, ConvertMediaType(mediaType, true, PartVersion()), reserved);
}

void* EngGetAvailableSpeeds(const EngineDeviceEntry* entry, int access, uint32_t mediaType,
                            void* reserved) {
  using Fn = void* (*)(const EngineDeviceEntry*, int, uint32_t, void*);
  Fn f = Lookup<Fn>("EngGetAvailableSpeeds");
  if (f == nullptr) return nullptr;
  return f(entry, access, ConvertMediaType(mediaType, true, PartVersion()), reserved);
}

DeviceHandle EngOpenDevice(const EngineDeviceEntry* entry) {
  using Fn = DeviceHandle (*)(const void*);
  Fn f = Lookup<Fn>("EngOpenDevice");
  if (f == nullptr) return nullptr;
  if (entry == nullptr || ApiNumber() >= kFirstCurrentLayoutNumber) return f(entry);
  auto old = std::make_unique<OldEngineDeviceEntry>();
  std::memset(old.get(), 0, sizeof *old);
  CurrentEntryToOld(*entry, old.get());
  return f(old.get());
}

ENG_FORWARD_VOID(EngCloseDevice, (DeviceHandle h), (h))

int EngSetDeviceOption(DeviceHandle h, int option, void* value) {
  using Fn = int (*)(DeviceHandle, int, void*);
  Fn f = Lookup<Fn>("EngSetDeviceOption");
  if (f == nullptr) return -1;
  if ((option == 0 || option == 2) && value != nullptr) {
    auto* v = static_cast<uint32_t*>(value);
    if (*v == 3 && PartVersion() == EngineVersion{6, 6, 0, 0}) *v = 1;
  }
  return f(h, option, value);
}

ENG_FORWARD(void*, EngGetDeviceOption, nullptr, (DeviceHandle h, int option, void* reserved),
            (h, option, reserved))

EngineDiscInfo* EngGetCDInfo(DeviceHandle h, uint32_t flags) {
  using Fn = EngineDiscInfo* (*)(DeviceHandle, uint32_t);
  Fn f = Lookup<Fn>("EngGetCDInfo");
  if (f == nullptr) return nullptr;
  EngineDiscInfo* info = f(h, flags);
  if (info != nullptr) info->nMediaType = ConvertMediaType(info->nMediaType, false, PartVersion());
  return info;
}

ENG_FORWARD(void*, EngGetVMSInfo, nullptr, (DeviceHandle h, void* reserved), (h, reserved))
ENG_FORWARD(void*, EngGetDiscImageInfo, nullptr, (const char* imagePath, void* reserved),
            (imagePath, reserved))

int EngBurn(DeviceHandle h, int format, void* record, uint32_t flags, uint32_t speed,
            EngineProgress* progress) {
  using Fn = int (*)(DeviceHandle, int, void*, uint32_t, uint32_t, EngineProgress*);
  Fn f = Lookup<Fn>("EngBurn");
  if (f == nullptr) return 1;
  const std::optional<EngineVersion> v = PartVersion();
  auto* bytes = static_cast<uint8_t*>(record);
  if (bytes != nullptr && NeedsBurnMediaConversion(v)) {
    const int at = BurnMediaTypeOffset(format);
    if (at >= 0) {
      uint32_t media = 0;
      std::memcpy(&media, bytes + at, sizeof media);
      media = ConvertMediaType(media, true, v);
      std::memcpy(bytes + at, &media, sizeof media);
    }
  }
  EngineIsoTrack* track = nullptr;
  EngineIsoTrack* facade = nullptr;
  const int trackAt = BurnIsoTrackOffset(format);
  if (bytes != nullptr && trackAt >= 0 && NeedsOldTrackFacade(v)) {
    std::memcpy(&track, bytes + trackAt, sizeof track);
    if (track != nullptr) {
      facade = MakeOldIsoTrackFacade(track, false);
      std::memcpy(bytes + trackAt, &facade, sizeof facade);
    }
  }
  const int result = f(h, format, record, flags, speed, progress);
  if (facade != nullptr) {
    DestroyIsoTrackFacade(facade);
    std::memcpy(bytes + trackAt, &track, sizeof track);
  }
  return result;
}

ENG_FORWARD(int64_t, EngEstimateTrackSize, -1, (void* track, uint32_t flags, void* reserved),
            (track, flags, reserved))
ENG_FORWARD(int, EngDAE, 1,
            (DeviceHandle h, uint32_t start, uint32_t length, void* target, uint32_t speed,
             EngineProgress* progress),
            (h, start, length, target, speed, progress))
ENG_FORWARD(int, EngIsDeviceReady, 1, (DeviceHandle h), (h))
ENG_FORWARD(int, EngWaitForDeviceReady, 1, (DeviceHandle h, uint32_t timeout), (h, timeout))
ENG_FORWARD(void*, EngCreateIsoItemOfSize, nullptr, (size_t size), (size))
ENG_FORWARD(EngineIsoItem*, EngCopyIsoItem, nullptr, (const EngineIsoItem* item), (item))
ENG_FORWARD_VOID(EngFreeIsoItem, (EngineIsoItem * item), (item))
ENG_FORWARD_VOID(EngFreeIsoItemTree, (EngineIsoItem * item), (item))

EngineIsoTrack* EngCreateIsoTrackEx(EngineIsoItem* root, const char* name, uint32_t flags) {
  using Fn = EngineIsoTrack* (*)(EngineIsoItem*, const char*, uint32_t);
  Fn f = Lookup<Fn>("EngCreateIsoTrackEx");
  if (f == nullptr) return nullptr;
  const std::optional<EngineVersion> v = PartVersion();
  if (TrackCreatedDirectly(v)) return f(root, name, flags);
  EngineIsoTrack* track = nullptr;
  if (flags & 0x80) {
    // A record of arguments: an older engine gets a copy with its first field cleared.
    uint32_t copy[5] = {};
    std::memcpy(copy, name, sizeof copy);
    copy[0] = 0;
    track = f(root, reinterpret_cast<const char*>(copy), flags);
  } else {
    track = f(root, name, flags);
  }
  if (track != nullptr && TrackNeedsNewFacade(v)) return MakeNewIsoTrackFacade(track, true);
  return track;
}

void EngFreeIsoTrack(EngineIsoTrack* track) {
  using Fn = void (*)(EngineIsoTrack*);
  Fn f = Lookup<Fn>("EngFreeIsoTrack");
  if (f == nullptr) return;
  if (track != nullptr && NeedsOldTrackFacade(PartVersion())) {
    f(MakeOldIsoTrackFacade(track, true));
    return;
  }
  f(track);
}

ENG_FORWARD(EngineIsoItem*, EngImportIsoTrackEx, nullptr,
            (DeviceHandle h, uint32_t track, void** stamp, uint32_t flags),
            (h, track, stamp, flags))
ENG_FORWARD_VOID(EngFreeCDStamp, (void* stamp), (stamp))
ENG_FORWARD(int, EngEjectLoadCD, -1, (DeviceHandle h, int eject), (h, eject))

int EngWaitForDisc(DeviceHandle h, uint32_t media, uint32_t flags, void* stamp) {
  using Fn = int (*)(DeviceHandle, uint32_t, uint32_t, void*);
  if (Fn f = Lookup<Fn>("EngWaitForDisc")) return f(h, media, flags, stamp);
  return EngWaitForMedia(h, media, flags, stamp);
}

ENG_FORWARD(int, EngWaitForMedia, 0, (DeviceHandle h, uint32_t media, uint32_t flags, void* stamp),
            (h, media, flags, stamp))
ENG_FORWARD(int, EngInitImageRecorder, 1,
            (DeviceHandle h, const char* imagePath, uint32_t flags, uint32_t mediaType,
             void* reserved),
            (h, imagePath, flags, mediaType, reserved))
ENG_FORWARD(int, EngGetCDRWErasingTime, -1, (DeviceHandle h, int mode), (h, mode))
ENG_FORWARD(int, EngEraseCDRW, -1, (DeviceHandle h, int mode), (h, mode))

int EngEraseDisc(DeviceHandle h, int mode) {
  using Fn = int (*)(DeviceHandle, int);
  if (Fn f = Lookup<Fn>("EngEraseDisc")) return f(h, mode);
  return EngEraseCDRW(h, mode);
}

ENG_FORWARD(int, EngRegisterDriveStatusCallback, -1,
            (int kind, const EngineDeviceEntry* entry, void* callback, void* user),
            (kind, entry, callback, user))
ENG_FORWARD(int, EngUnregisterDriveStatusCallback, -1,
            (int kind, const EngineDeviceEntry* entry, void* callback, void* user),
            (kind, entry, callback, user))
ENG_FORWARD(int, EngRegisterDriveChangeCallback, -1, (void* callback, void* user), (callback, user))
ENG_FORWARD(int, EngUnregisterDriveChangeCallback, -1, (void* callback, void* user),
            (callback, user))
ENG_FORWARD(int, EngSetExpectedAPIVersion, 0, (uint32_t number), (number))

int EngSetExpectedAPIVersionEx(uint16_t major, uint16_t minor, uint16_t third, uint16_t fourth,
                               void* reserved) {
  using Fn = int (*)(uint16_t, uint16_t, uint16_t, uint16_t, void*);
  if (Fn f = Lookup<Fn>("EngSetExpectedAPIVersionEx"))
    return f(major, minor, third, fourth, reserved);
  return EngSetExpectedAPIVersion(NumberFromVersion({major, minor, third, fourth}));
}

char* EngGetTypeNameOfMedia(uint32_t media, int shortName) {
  using Fn = char* (*)(uint32_t, int);
  if (Fn f = Lookup<Fn>("EngGetTypeNameOfMedia")) return f(media, shortName);
  auto* text = static_cast<char*>(EngCreateIsoItemOfSize(8));
  if (text != nullptr) std::memcpy(text, "CD-R/RW", 8);
  return text;
}

ENG_FORWARD(void*, EngCreateFileSystemContainer, nullptr, (void* reserved), (reserved))
ENG_FORWARD(void*, EngAudioCreateTargetItem, nullptr, (int kind), (kind))
ENG_FORWARD(int, EngAudioCloseItem, 0, (void* item), (item))
ENG_FORWARD(int, EngAudioGUIConfigureItem, 0, (void** item, void* reserved), (item, reserved))
ENG_FORWARD(int, EngAudioGetFormatInfo, 0, (int index, void* info), (index, info))

EngineIsoItem* EngImportDataTrack(DeviceHandle h, uint32_t track, void** stamp,
                                  EngineImportInfo* info, uint32_t flags, int* result,
                                  void* reserved) {
  using Fn =
      EngineIsoItem* (*)(DeviceHandle, uint32_t, void**, EngineImportInfo*, uint32_t, int*, void*);
  if (Fn f = Lookup<Fn>("EngImportDataTrack"))
    return f(h, track, stamp, info, flags, result, reserved);
  EngineIsoItem* items = EngImportIsoTrackEx(h, track, stamp, flags);
  if (result != nullptr) *result = items == nullptr ? 1 : 0;
  return items;
}

ENG_FORWARD(char*, EngGetLocalizedWaitCDTexts, nullptr, (int kind), (kind))
ENG_FORWARD(void*, EngCreateProgress, nullptr, (), ())
ENG_FORWARD(int, EngConvertToValidFileSystemName, 0, (const char* name, char* out, int kind),
            (name, out, kind))
ENG_FORWARD(int, EngSetDesiredUDFRevision, 0, (int revision), (revision))
ENG_FORWARD(int, EngSetDesiredUDFPartitionType, 0, (int kind), (kind))
