// The record objects as the program uses them: bound to the application data, the Windows file
// system and the alarm list; the compose step's store.
#pragma once

#include <cstdint>
#include <string>

#include "record/alarm_db.h"
#include "record/pre_alarm_buffer.h"
#include "record/record_objects.h"

// The one alarm list of the program.
extern SystemConfig g_SystemConfig;

// The program's pre-alarm ring and record objects; the application data refers to them by these
// names.
struct RecordObjects {
  CPreAlarmBuffer m_PreAlarmBuffer;
  CAlarmRecord m_AlarmRecord;
  CUserRecord m_UserRecord;
  CSchRecord m_SchRecord;
};

// Binds the ring, the three record objects and the alarm list to the program, and installs the
// compose step's store (StoreToPreAlarmRing) on the application data's stream pipeline
// (start-up, after the application data exists over objects). The alarm list lives in
// listFolder, by default the program's.
void BindRecordObjects(RecordObjects& objects, const std::string& listFolder = {});

// Finishes the record files an earlier run left unfinished in folder (once per folder and run).
// The number of files finished.
int RecoverRecordFolder(const std::string& folder);

// The compose step: stores a decoded or blank frame in the bound pre-alarm ring and hands it to
// the recorders that are writing (the last three arguments are not used). 1 when stored.
int StoreToPreAlarmRing(const uint8_t* jpeg, uint32_t length, uint32_t timeStamp,
                        uint32_t noPicture, uint32_t, uint32_t, uint32_t);
// Frames stored since start.
uint32_t PreAlarmRingStoredFrames();
