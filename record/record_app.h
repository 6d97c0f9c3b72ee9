// The record objects as the program uses them: bound to the application data, the Windows file
// system and the alarm list; the compose step's store.
#pragma once

#include <cstdint>
#include <string>

#include "record/alarm_db.h"

// The one alarm list of the program.
extern SystemConfig g_SystemConfig;

// Binds the ring, the three record objects and the alarm list to the program (start-up, after
// the application data exists). The alarm list lives in listFolder, by default the program's.
void BindRecordObjects(const std::string& listFolder = {});

// The compose step: stores a decoded or blank frame in the pre-alarm ring and hands it to the
// recorders that are writing (the last three arguments are not used). 1 when stored.
int StoreToPreAlarmRing(const uint8_t* jpeg, uint32_t length, uint32_t timeStamp,
                        uint32_t noPicture, uint32_t, uint32_t, uint32_t);
// Frames stored since start.
uint32_t PreAlarmRingStoredFrames();
