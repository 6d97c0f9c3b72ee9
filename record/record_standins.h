// Stand-ins for the recording objects the application data embeds: buffers, semaphores, events
// and thread slots with their create and free operations. The recording work replaces each with
// the real class of the same name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// 20-slot pre-alarm frame ring.
class CPreAlarmBuffer {
 public:
  static constexpr int kSlots = 20;
  static constexpr int kFrameBytes = 102400;
  static constexpr int kFrameInfoBytes = 56;
  ~CPreAlarmBuffer() { FreeBuffer(); }
  int AllocateBuffer();
  int FreeBuffer();
  uint8_t* lp_Frames = nullptr;
  uint8_t* lp_FrameInfo = nullptr;
  uint8_t* lp_FrameExtra = nullptr;
};

// Shared shape of the three record objects: a work buffer, two semaphores, auto-reset events
// and one record thread.
class CRecordObjectBase {
 public:
  static constexpr int kWorkBufferBytes = 160000;
  explicit CRecordObjectBase(int eventCount) : m_nEventCount(eventCount) {}
  ~CRecordObjectBase();
  CRecordObjectBase(const CRecordObjectBase&) = delete;
  CRecordObjectBase& operator=(const CRecordObjectBase&) = delete;

  int AllocateBuffer();
  int FreeBuffer();
  int CreateResource();
  int CloseResource();
  // Starts the record thread; it ends when the stream stop event is set.
  int CreateThread(uint8_t streamFormatCode, HANDLE stopEvent);
  int CloseThread();
  int StopRecord();
  bool HasThread() const { return h_Thread != nullptr; }

 protected:
  uint8_t* lp_WorkBuffer = nullptr;
  HANDLE h_Sem[2] = {};
  HANDLE h_Events[3] = {};
  int m_nEventCount;
  HANDLE h_Thread = nullptr;
  HANDLE h_StopEvent = nullptr;
  uint32_t fFileOpen = 0;
};

class CAlarmRecord : public CRecordObjectBase {
 public:
  CAlarmRecord() : CRecordObjectBase(3) {}
  // Stand-in: opening and closing an alarm record file in folder only mark it open or closed.
  int CreateRecordFile(const std::string& folder);
  int CloseRecordFile();
  bool IsRecording() const { return fFileOpen != 0; }
  std::string m_strRecordFolder;
};

class CUserRecord : public CRecordObjectBase {
 public:
  CUserRecord() : CRecordObjectBase(3) {}
  // 1 when a manual recording was open and is resumed, else 0.
  int RestartRecord() { return fFileOpen ? 1 : 0; }
};

class CSchRecord : public CRecordObjectBase {
 public:
  CSchRecord() : CRecordObjectBase(2) {}
};

// The compose step's store of a decoded frame into the pre-alarm ring (stand-in: copies at most
// one slot of JPEG bytes into the next of the 20 slots of the application data's ring and counts
// the frame; no recorder is paced). The last three arguments are not used. Returns 1.
int StoreToPreAlarmRing(const uint8_t* jpeg, uint32_t length, uint32_t timeStamp,
                        uint32_t noPicture, uint32_t, uint32_t, uint32_t);
// Frames stored so far (stand-in).
uint32_t PreAlarmRingStoredFrames();

// Local alarm list.
class SystemConfig {
 public:
  int AlarmDB_FreeBuffer() { return 1; }
};

// Disc writer: nothing opened, nothing to close.
class CCDWriter {};

// State of the network-backup download.
struct NetworkBackupState {
  HANDLE h_NetworkBkMutex;
  char szMutexName[32];
};
