// The record objects as the application data refers to them: what start-up, the session, the
// stream's reactions and the main window ask of the pre-alarm ring and the three recorders.
// record/ implements them (CPreAlarmBuffer, CAlarmRecord, CUserRecord, CSchRecord).
#pragma once

#include <cstdint>
#include <string>

// The pre-alarm ring's buffers (AllocateSystemBuffer, FreeSystemBuffer).
class PreAlarmRingControl {
 public:
  virtual ~PreAlarmRingControl() = default;
  virtual int AllocateBuffer() = 0;
  virtual int FreeBuffer() = 0;
};

// What every record object offers: its buffers and resources, its thread, the stop.
class RecordObjectControl {
 public:
  virtual ~RecordObjectControl() = default;
  virtual int AllocateBuffer() = 0;
  virtual int FreeBuffer() = 0;
  virtual int CreateResource() = 0;
  virtual int CloseResource() = 0;
  virtual int CloseThread() = 0;
  virtual bool HasThread() const = 0;
  virtual int StopRecord() = 0;
};

// The kinds below share one RecordObjectControl (a virtual base), so that one base class of the
// record objects can implement it for all three.
class AlarmRecordControl : public virtual RecordObjectControl {
 public:
  virtual int CreateThread(uint8_t streamFormatCode) = 0;
  virtual int CreateRecordFile(const std::string& folder) = 0;
  virtual int CloseRecordFile() = 0;
  virtual bool IsRecording() const = 0;
};

class UserRecordControl : public virtual RecordObjectControl {
 public:
  virtual int CreateThread(uint8_t streamFormatCode) = 0;
  virtual int CreateRecordFile(const std::string& folder) = 0;
  virtual int RestartRecord() = 0;
  virtual bool IsRecording() const = 0;
};

class SchRecordControl : public virtual RecordObjectControl {};
