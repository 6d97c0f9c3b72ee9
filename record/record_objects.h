// The three record objects: the alarm recorder (a file while the frame headers report an alarm,
// starting with the pre-alarm frames), the manual recorder (the record button; it goes on in the
// same file after a relogin) and the schedule recorder (built, never started). Each writes on a
// thread of its own, paced by the pre-alarm ring's hand-off. Threads end cooperatively: every
// stop is a signal, the thread gives back the frame it holds, finishes what it must and is
// joined; nothing is ended by force.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "app/record_controls.h"
#include "record/alarm_db.h"
#include "record/pre_alarm_buffer.h"
#include "record/record_file_system.h"
#include "record/record_file_writer.h"
#include "record/record_recovery.h"

// What the recorders need from the program.
class RecordHost {
 public:
  virtual ~RecordHost() = default;
  virtual RecordTime LocalTime() = 0;
  virtual std::string Cookie() = 0;
  // The server and user of the program's device session (as the "Server Name" and "Username"
  // settings keep them).
  virtual std::string ServerName() = 0;
  virtual std::string UserName() = 0;
  virtual void Trace(const char* text) = 0;
  // The alarm recorder was stopped, or its thread started: the frame-header parser's alarm word
  // and the alarm channel text are cleared.
  virtual void AlarmRecordReset() {}
  // A manual recording ended without the record button (a write failed).
  virtual void UserRecordEnded() {}
};

struct RecordContext {
  CPreAlarmBuffer* ring = nullptr;
  RecordFileSystem* fs = nullptr;
  SystemConfig* alarmDb = nullptr;
  RecordHost* host = nullptr;
  RecordFolderRecovery* recovery = nullptr;  // finishes files an earlier run left open
};

// Shared shape: the ring link, the open file and the thread; what every record object offers the
// application data (app/record_controls.h).
class CRecordObjectBase : public virtual RecordObjectControl {
 public:
  static constexpr std::chrono::milliseconds kCloseWait{10000};
  // How long stopping waits for the thread (a write to a folder that hangs may hold it).
  static constexpr std::chrono::milliseconds kStopWait{10000};

  explicit CRecordObjectBase(RingConsumerId id) : m_id(id) {}
  virtual ~CRecordObjectBase() = default;
  CRecordObjectBase(const CRecordObjectBase&) = delete;
  CRecordObjectBase& operator=(const CRecordObjectBase&) = delete;

  void Bind(const RecordContext& context) { m_ctx = context; }
  int AllocateBuffer() override { return 1; }
  int FreeBuffer() override { return 1; }
  // The hand-off state lives in the ring; an open manual file is kept across these.
  int CreateResource() override { return 1; }
  int CloseResource() override { return 1; }
  // Signals the thread to end and waits for it, at most kStopWait; it finishes what it must
  // first. 0 (traced) when the thread still runs: it is joined once it has ended.
  int CloseThread() override;
  bool HasThread() const override { return m_thread.joinable(); }
  // The thread runs and takes signals.
  bool IsServing() const { return m_fServing.load(); }
  std::chrono::milliseconds m_StopWait = kStopWait;

 protected:
  bool StartThread(const char* errorText);
  // Joins a thread that has ended; true when no thread remains.
  bool ReapThread();
  // Waits for the thread to end; at exit, a thread that does not end is left to the process's end.
  void EndThreadAtExit();
  virtual void ThreadMain() = 0;
  RecordHeaderValues HeaderValues(RecordKind kind);
  void Trace(const char* text);
  // Creates a new file in folder for kind; false (traced) when it cannot.
  bool CreateFile(RecordKind kind, const std::string& folder);
  // Writes ring slot as the next frame, rolling over to a new file at 6000 frames.
  bool WriteSlot(uint16_t slot, RecordKind kind);
  virtual bool FinishForRollOver() = 0;
  virtual void FileStarted() {}

  const RingConsumerId m_id;
  RecordContext m_ctx;
  RecordFileWriter m_writer;
  std::string m_strFolder;
  std::thread m_thread;
  std::atomic<bool> m_fServing{false};
  std::atomic<uint32_t> fFileOpen{0};
  std::mutex m_FinishLock;  // a file finished off the record thread
  // Set by the thread as its last step. Polled, so that stopping creates no wait object.
  std::atomic<bool> m_fThreadEnded{true};
};

class CAlarmRecord : public CRecordObjectBase, public AlarmRecordControl {
 public:
  CAlarmRecord() : CRecordObjectBase(kRingAlarm) {}
  ~CAlarmRecord() override;

  // Each login: clears the recorder's state and starts Alarm_Record_Thread. 0 when the thread
  // cannot be created.
  int CreateThread(uint8_t streamFormatCode) override;
  // Opens a new alarm record file in folder and has the thread write it. 0 after StopRecord
  // (until the thread starts again), while a recording is open, when no thread runs, or when
  // the file cannot be created (then no new try for a second).
  int CreateRecordFile(const std::string& folder) override;
  // Has the thread close the file and waits for it.
  int CloseRecordFile() override;
  // Closes an open recording and keeps recording off until the thread starts again.
  int StopRecord() override;
  bool IsRecording() const override { return fRecordActive.load() != 0; }

  std::atomic<uint8_t> m_byStartMarker{0xFF};
  std::atomic<uint32_t> fRecordActive{0};
  std::atomic<uint32_t> fStopRecord{0};

 protected:
  void ThreadMain() override;
  bool FinishForRollOver() override;
  void FileStarted() override;

 private:
  bool RunRecording();
  void FinishRecording();
  void FinishLocked();
  // A file could not be created or written: no new file for a second.
  void NoteFailure();

  std::chrono::steady_clock::time_point m_LastFailure{};
  bool m_fFailed = false;
};

class CUserRecord : public CRecordObjectBase, public UserRecordControl {
 public:
  CUserRecord() : CRecordObjectBase(kRingManual) {}
  ~CUserRecord() override;

  // Each login: starts Jpeg_User_Record_Thread. 0 when it cannot be created.
  int CreateThread(uint8_t streamFormatCode) override;
  // Opens a new manual record file in folder. 0 when it cannot be created, a recording is
  // open, or no record thread runs.
  int CreateRecordFile(const std::string& folder) override;
  // Finishes the open file: through the thread when it runs, else here.
  int StopRecord() override;
  // After a relogin: the open file goes on. 1 when a recording was resumed.
  int RestartRecord() override;
  bool IsRecording() const override { return fFileOpen.load() != 0; }

  std::atomic<uint8_t> m_byRecordState{0};
  std::atomic<uint32_t> fNewFile{1};

 protected:
  void ThreadMain() override;
  bool FinishForRollOver() override;

 private:
  // true when the thread is to end (the file stays open).
  bool RunRecording();
  void FinishRecording();
  void FinishLocked();
};

// A schedule slot of the schedule recorder.
struct ScheduleSlot {
  RecordTime stStart;
  RecordTime stEnd;
  uint32_t fInUse = 0;
};

// The schedule recorder: its slots and resources exist, its thread is never started.
class CSchRecord : public CRecordObjectBase, public SchRecordControl {
 public:
  CSchRecord() : CRecordObjectBase(kRingSchedule) {}
  int StopRecord() override { return 1; }

  uint8_t m_byStartMarker = 0xFF;
  uint8_t m_byRecordState = 0;
  uint32_t m_dwSlotsInUse = 0;
  ScheduleSlot m_Slots[10]{};

 protected:
  void ThreadMain() override {}
  bool FinishForRollOver() override { return false; }
};
