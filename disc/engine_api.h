// The burning engine, reached at run time: its library found through the registry, loaded,
// told the interface version this client is written for, and every export reached through a
// forwarder of the same name that looks the export up on each call.  A forwarder returns its
// default when the engine is not loaded or lacks the export, and adapts calls to older engines
// (drive-entry layouts, media masks, burn records, ISO-track interfaces).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "disc/engine_records.h"

namespace disc {

using DeviceHandle = EngineDeviceHandle;

}  // namespace disc

extern HMODULE g_hEngApi;
extern char g_szEngApiFolder[256];

// Loads the engine (the argument is not used); nonzero when it loaded and accepted the version.
int EngApiLoad(int unused);
// Frees the engine's library when loaded.
void EngApiUnload();
// Writes the engine folder as the shared engine value of the registry.
void EngApiStorePath(const char* folder);
// The two carried accessors of the module handle.
HMODULE EngApiGetModule();
void EngApiSetModule(HMODULE module);

// The forwarders: the engine's exports, in the order of its interface.
void EngFreeMem(void* p);
void EngGetLastDriveError(disc::DeviceHandle h, int* error);
char* EngGetLastError();
char* EngGetErrorLog();
char* EngGetLastErrors(int count, uint32_t flags, void* reserved);
void EngClearErrors();
uint32_t EngGetAPIVersion();
int EngGetAPIVersionEx(uint16_t* major, uint16_t* minor, uint16_t* third, uint16_t* fourth,
                       void* reserved);
int EngInit(const disc::EngineSettings* settings, void* reserved);
int EngDone();
int EngSetOption(int option, void* value);
disc::EngineDriveList* EngGetAvailableDrives();
disc::EngineDriveList* EngGetAvailableDrivesEx(uint32_t mediaType, void* reserved);
int EngUpdateDeviceInfo(const disc::EngineDeviceEntry* entry, uint32_t mediaType, void* reserved);
void* EngGetAvailableSpeeds(const disc::EngineDeviceEntry* entry, int access, uint32_t mediaType,
                            void* reserved);
disc::DeviceHandle EngOpenDevice(const disc::EngineDeviceEntry* entry);
void EngCloseDevice(disc::DeviceHandle h);
int EngSetDeviceOption(disc::DeviceHandle h, int option, void* value);
void* EngGetDeviceOption(disc::DeviceHandle h, int option, void* reserved);
disc::EngineDiscInfo* EngGetCDInfo(disc::DeviceHandle h, uint32_t flags);
void* EngGetVMSInfo(disc::DeviceHandle h, void* reserved);
void* EngGetDiscImageInfo(const char* imagePath, void* reserved);
int EngBurn(disc::DeviceHandle h, int format, void* record, uint32_t flags, uint32_t speed,
            disc::EngineProgress* progress);
int64_t EngEstimateTrackSize(void* track, uint32_t flags, void* reserved);
int EngDAE(disc::DeviceHandle h, uint32_t start, uint32_t length, void* target, uint32_t speed,
           disc::EngineProgress* progress);
int EngIsDeviceReady(disc::DeviceHandle h);
int EngWaitForDeviceReady(disc::DeviceHandle h, uint32_t timeout);
void* EngCreateIsoItemOfSize(size_t size);
disc::EngineIsoItem* EngCopyIsoItem(const disc::EngineIsoItem* item);
void EngFreeIsoItem(disc::EngineIsoItem* item);
void EngFreeIsoItemTree(disc::EngineIsoItem* item);
disc::EngineIsoTrack* EngCreateIsoTrackEx(disc::EngineIsoItem* root, const char* name,
                                          uint32_t flags);
void EngFreeIsoTrack(disc::EngineIsoTrack* track);
disc::EngineIsoItem* EngImportIsoTrackEx(disc::DeviceHandle h, uint32_t track, void** stamp,
                                         uint32_t flags);
void EngFreeCDStamp(void* stamp);
int EngEjectLoadCD(disc::DeviceHandle h, int eject);
int EngWaitForDisc(disc::DeviceHandle h, uint32_t media, uint32_t flags, void* stamp);
int EngWaitForMedia(disc::DeviceHandle h, uint32_t media, uint32_t flags, void* stamp);
int EngInitImageRecorder(disc::DeviceHandle h, const char* imagePath, uint32_t flags,
                         uint32_t mediaType, void* reserved);
int EngGetCDRWErasingTime(disc::DeviceHandle h, int mode);
int EngEraseCDRW(disc::DeviceHandle h, int mode);
int EngEraseDisc(disc::DeviceHandle h, int mode);
int EngRegisterDriveStatusCallback(int kind, const disc::EngineDeviceEntry* entry, void* callback,
                                   void* user);
int EngUnregisterDriveStatusCallback(int kind, const disc::EngineDeviceEntry* entry, void* callback,
                                     void* user);
int EngRegisterDriveChangeCallback(void* callback, void* user);
int EngUnregisterDriveChangeCallback(void* callback, void* user);
int EngSetExpectedAPIVersion(uint32_t number);
int EngSetExpectedAPIVersionEx(uint16_t major, uint16_t minor, uint16_t third, uint16_t fourth,
                               void* reserved);
char* EngGetTypeNameOfMedia(uint32_t media, int shortName);
void* EngCreateFileSystemContainer(void* reserved);
void* EngAudioCreateTargetItem(int kind);
int EngAudioCloseItem(void* item);
int EngAudioGUIConfigureItem(void** item, void* reserved);
int EngAudioGetFormatInfo(int index, void* info);
disc::EngineIsoItem* EngImportDataTrack(disc::DeviceHandle h, uint32_t track, void** stamp,
                                        disc::EngineImportInfo* info, uint32_t flags, int* result,
                                        void* reserved);
char* EngGetLocalizedWaitCDTexts(int kind);
void* EngCreateProgress();
int EngConvertToValidFileSystemName(const char* name, char* out, int kind);
int EngSetDesiredUDFRevision(int revision);
int EngSetDesiredUDFPartitionType(int kind);
