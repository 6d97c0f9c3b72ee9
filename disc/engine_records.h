// The burning engine's records and callbacks as the disc writer and the engine exchange them:
// drive entries of the current (1720-byte) and the old (360-byte) layout, the drive list, the
// disc information, file items, the write, import, settings and progress records, and the ISO
// track object.  The layouts are fixed 32-bit layouts; where a pointer sits, this 64-bit build
// widens it and every later offset is fixed by an assert.  The driver handle of a drive entry
// stays 32 bits wide (the engine keeps a drive number there), so both entry layouts keep their
// sizes and their conversion stays exact.  Shared by the client and our stand-in engine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace disc {

// A speed list of the current layout.
struct EngineSpeedBlock {
  uint32_t nSpeedCount;
  uint32_t nBaseSpeedKBs;         // 150: a CD's single speed
  uint32_t nSpeedsKBs[64];        // speeds in KB/s
  uint32_t nSpeedsMultiples[64];  // speeds in multiples of the base speed
  uint8_t reserved[128];
};
static_assert(sizeof(EngineSpeedBlock) == 648);

// One drive, current layout.
struct EngineDeviceEntry {
  char szDeviceName[64];
  char szHostAdapterName[8];
  uint32_t nHostAdapterNo;
  uint32_t nDeviceID;
  uint32_t nDeviceType;
  uint8_t cDriveLetter;
  uint8_t pad85[3];
  uint32_t nCapabilities;
  EngineSpeedBlock readSpeeds;
  EngineSpeedBlock writeSpeeds;
  uint32_t nDriverHandle;  // the engine's drive number
  char szUnderrunProtName[64];
  uint32_t nMandatoryUnderrunSpeed;
  uint8_t reserved[260];
};
static_assert(offsetof(EngineDeviceEntry, szHostAdapterName) == 64);
static_assert(offsetof(EngineDeviceEntry, nHostAdapterNo) == 72);
static_assert(offsetof(EngineDeviceEntry, nDeviceID) == 76);
static_assert(offsetof(EngineDeviceEntry, nDeviceType) == 80);
static_assert(offsetof(EngineDeviceEntry, cDriveLetter) == 84);
static_assert(offsetof(EngineDeviceEntry, nCapabilities) == 88);
static_assert(offsetof(EngineDeviceEntry, readSpeeds) == 92);
static_assert(offsetof(EngineDeviceEntry, writeSpeeds) == 740);
static_assert(offsetof(EngineDeviceEntry, nDriverHandle) == 1388);
static_assert(offsetof(EngineDeviceEntry, szUnderrunProtName) == 1392);
static_assert(offsetof(EngineDeviceEntry, nMandatoryUnderrunSpeed) == 1456);
static_assert(sizeof(EngineDeviceEntry) == 1720);

// One drive, old layout.
struct OldEngineDeviceEntry {
  char szDeviceName[32];
  char szHostAdapterName[8];
  uint32_t nHostAdapterNo;
  uint32_t nDeviceID;
  uint32_t nDeviceType;
  uint8_t cDriveLetter;
  uint8_t pad53[3];
  uint32_t nCapabilities;
  uint32_t nReadSpeedCount;
  uint32_t nReadSpeeds[20];  // multiples of 150 KB/s
  uint32_t nWriteSpeedCount;
  uint32_t nWriteSpeeds[20];
  uint32_t nDriverHandle;
  char szUnderrunProtName[32];
  uint32_t nMandatoryUnderrunSpeed;
  uint8_t reserved[92];
};
static_assert(offsetof(OldEngineDeviceEntry, szHostAdapterName) == 32);
static_assert(offsetof(OldEngineDeviceEntry, nHostAdapterNo) == 40);
static_assert(offsetof(OldEngineDeviceEntry, nDeviceID) == 44);
static_assert(offsetof(OldEngineDeviceEntry, nDeviceType) == 48);
static_assert(offsetof(OldEngineDeviceEntry, cDriveLetter) == 52);
static_assert(offsetof(OldEngineDeviceEntry, nCapabilities) == 56);
static_assert(offsetof(OldEngineDeviceEntry, nReadSpeedCount) == 60);
static_assert(offsetof(OldEngineDeviceEntry, nReadSpeeds) == 64);
static_assert(offsetof(OldEngineDeviceEntry, nWriteSpeedCount) == 144);
static_assert(offsetof(OldEngineDeviceEntry, nWriteSpeeds) == 148);
static_assert(offsetof(OldEngineDeviceEntry, nDriverHandle) == 228);
static_assert(offsetof(OldEngineDeviceEntry, szUnderrunProtName) == 232);
static_assert(offsetof(OldEngineDeviceEntry, nMandatoryUnderrunSpeed) == 264);
static_assert(sizeof(OldEngineDeviceEntry) == 360);

// The drive list: a count, then that many entries of the list's layout.
inline constexpr size_t kDriveListHeaderBytes = 4;
inline constexpr size_t DriveListBytes(uint32_t count, size_t entryBytes) {
  return kDriveListHeaderBytes + static_cast<size_t>(count) * entryBytes;
}

// A drive list of the current layout (freed with the engine's free).
struct EngineDriveList {
  uint32_t nCount;
  EngineDeviceEntry entries[1];  // nCount of them
};
static_assert(offsetof(EngineDriveList, entries) == kDriveListHeaderBytes);

// Media-type bits.
inline constexpr uint32_t kMediaCD = 0x1;
inline constexpr uint32_t kMediaDVDAny = 0xC001C;     // every DVD kind of the current layout
inline constexpr uint32_t kMediaDVDAnyMid = 0x1C;     // the same for engines 6.0.0.10 to 6.3.0.4
inline constexpr uint32_t kMediaDVDAnyOld = 0xC;      // the same for older engines
inline constexpr uint32_t kMediaNotWritable = 0x400;  // the writer's kind of a disc it cannot use

// Disc information (from the disc-information query; freed with the engine's free).
struct EngineDiscInfo {
  uint32_t nFreeBlocks;  // 2048-byte blocks left
  uint32_t nCapacityBlocks;
  uint32_t nMediaType;  // media-type bits of the disc in the drive
  uint32_t nNumTracks;  // data tracks (sessions) on the disc
  uint32_t bWritable;   // 0: closed or full
  uint32_t reserved[11];
};
static_assert(sizeof(EngineDiscInfo) == 64);

// One file or folder of a disc's tree (592 bytes in the 32-bit layout; wider here).  An item's
// name is its long file name when that is set, else the short name.
struct EngineIsoItem {
  char szShortName[252];
  uint32_t bIsDirectory;
  uint32_t bIsReference;  // an item of an imported session: its texts belong to the engine
  uint32_t pad260;
  char* pLongSourcePath;  // the file to write
  EngineIsoItem* pNextItem;
  EngineIsoItem* pSubDirFirstItem;
  char* pLongFileName;  // the name on the disc
  // Entry time as calendar fields (as struct tm; all zero: not set).
  int32_t tmSec, tmMin, tmHour, tmMday, tmMon, tmYear, tmWday, tmYday, tmIsDst;
  uint32_t pad332;
  uint64_t nImportedStart;   // for imported items: where the data lies on the disc (blocks)
  uint64_t nImportedLength;  // and its length in bytes
  uint8_t reserved[240];
};
static_assert(offsetof(EngineIsoItem, bIsDirectory) == 252);
static_assert(offsetof(EngineIsoItem, bIsReference) == 256);
static_assert(offsetof(EngineIsoItem, pLongSourcePath) == 264);
static_assert(offsetof(EngineIsoItem, pLongFileName) == 288);
static_assert(offsetof(EngineIsoItem, tmSec) == 296);
static_assert(sizeof(EngineIsoItem) == 592);
inline constexpr uint32_t kIsoItemBytes = sizeof(EngineIsoItem);

// The ISO track object: an interface table of positions, the object's data behind it.  Every
// position takes the object and the caller's arguments (a position's own count of them).
struct EngineIsoTrack;
using IsoTrackFn = intptr_t (*)(EngineIsoTrack* self, const intptr_t* args);
struct EngineIsoTrack {
  const IsoTrackFn* vtbl;
};
inline constexpr int kIsoTrackPositions = 30;     // the current interface
inline constexpr int kOldIsoTrackPositions = 20;  // the old one
// Positions both interfaces share: 0 destroys (args[0] nonzero: free the object), 1 the root
// item, 2 the volume name, 3 the track flags, 4 the count of items.
enum IsoTrackPosition : int {
  kIsoTrackDestroy = 0,
  kIsoTrackRoot = 1,
  kIsoTrackName = 2,
  kIsoTrackGetFlags = 3,
  kIsoTrackItemCount = 4,
};
inline intptr_t CallIsoTrack(EngineIsoTrack* t, int position, const intptr_t* args = nullptr) {
  static const intptr_t none[8] = {};
  return t->vtbl[position](t, args != nullptr ? args : none);
}

// The write record of a burn (format 0); 4-byte aligned as in its 32-bit layout.
#pragma pack(push, 4)
struct EngineWriteCD {
  char* pTitle;
  EngineIsoTrack* pIsoTrack;
  uint32_t nNumAudioTracks;
  uint32_t bExtraSessionAudio;
  uint32_t nMediaType;
  uint32_t pad28;
  void* pCDStamp;  // the disc stamp of the imported session
  char* pArtist;
  uint8_t reserved[908];
};
#pragma pack(pop)
static_assert(offsetof(EngineWriteCD, pIsoTrack) == 8);
static_assert(offsetof(EngineWriteCD, pCDStamp) == 32);
static_assert(offsetof(EngineWriteCD, nMediaType) == 24);
static_assert(sizeof(EngineWriteCD) == 956);

// Burn formats and flags.
inline constexpr int kBurnFormatCD = 0;
inline constexpr uint32_t kBurnCloseDisc = 4;
inline constexpr uint32_t kBurnCloseSession = 0x14;
inline constexpr uint32_t kIsoTrackFlags = 0xB;

// Burn results.
enum EngineBurnResult : int {
  kBurnOk = 0,
  kBurnUnknownFormat = 1,
  kBurnInvalidDrive = 2,
  kBurnFailed = 3,
  kBurnFunctionNotAllowed = 4,
  kBurnDriveNotAllowed = 5,
  kBurnUserAbort = 6,
  kBurnBadMessageFile = 7,
};

// Import results.
enum EngineImportResult : int {
  kImportOk = 0,
  kImportGeneric = 1,
  kImportDrive = 2,
  kImportRead = 3,
  kImportFilesystem = 4,
  kImportInvalidTrack = 5,
};

// The import record: its size, then where the volume name goes (freed with the engine's free).
struct EngineImportInfo {
  uint32_t nSize;  // sizeof(EngineImportInfo)
  uint32_t pad4;
  char* pVolumeName;
};
static_assert(sizeof(EngineImportInfo) == 16);

// Callbacks.
using EngineIdleFn = int (*)(void* user);  // nonzero: abort
using EngineUserDialogFn = int (*)(void* user, int type, void* data);
using EngineProgressFn = int (*)(void* user, uint32_t percent);
using EngineAbortedFn = int (*)(void* user);
using EngineAddLogLineFn = void (*)(void* user, int kind, const char* text);
using EngineSetPhaseFn = void (*)(void* user, const char* text);
using EngineDisableAbortFn = void (*)(void* user, int disable);
using EngineSetMajorPhaseFn = void (*)(void* user, int phase, void* reserved);
using EngineSubTaskProgressFn = int (*)(void* user, uint32_t percent);

// User-dialog type 20 (the image recorder's file): the data is a buffer of this many characters.
inline constexpr int kDialogImageFile = 20;
inline constexpr size_t kImageFileBufferChars = 260;

// The record the engine is initialised with.
struct EngineSettings {
  const char* pEngineFilesPath;
  const char* pVendor;
  const char* pSoftware;
  const char* pLanguageFile;
  EngineIdleFn pIdleCallback;
  void* pIdleUserData;
  EngineUserDialogFn pUserDialogCallback;
  void* pUserDialogUserData;
  uint32_t bEnableOverburn;  // 0: never write past the disc's capacity
  uint32_t nOverburnSize;
};

// The callbacks of one burn.
struct EngineProgress {
  EngineProgressFn pProgressCallback;
  EngineAbortedFn pAbortedCallback;
  EngineAddLogLineFn pAddLogLineCallback;
  EngineSetPhaseFn pSetPhaseCallback;
  void* pUserData;
  EngineDisableAbortFn pDisableAbortCallback;
  EngineSetMajorPhaseFn pSetMajorPhaseCallback;
  EngineSubTaskProgressFn pSubTaskProgressCallback;
};

// The engine's device handle (an open drive).
using EngineDeviceHandle = void*;

}  // namespace disc
