// Record files a program that ended without closing them left behind (killed, crashed, power
// gone): each is cut back to its last whole frame record and finished as a normal close finishes
// it (frame count, last time stamp, index); an alarm file finished this way is added to the
// alarm list when the list lacks it. Files another recording holds open are left alone.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "record/alarm_db.h"
#include "record/record_file_system.h"

enum class RecoveryOutcome {
  kWhole,     // a finished file: nothing to do
  kRepaired,  // finished here
  kRemoved,   // a file without a whole header (nothing recorded in it)
  kNotOurs,   // not a record file of this program: left as it is
  kInUse,     // open in a recording (of this or another program)
  kFailed,    // could not be finished (the disk refused): left as it was found
};

struct RecoveryResult {
  RecoveryOutcome outcome = RecoveryOutcome::kNotOurs;
  uint32_t frames = 0;  // whole frame records the file holds
  bool alarm = false;   // the header's record kind
  RecordTime created{};
  uint8_t serverAddress[4]{};
};

// What a scan of a file found: the frames that are whole and where the last one ends.
struct RecordFileScan {
  bool headerOk = false;
  bool finished = false;  // count, index and header agree with the frames
  uint32_t frames = 0;
  uint32_t wholeEnd = 0;  // end of the last whole frame record (90 without frames)
  uint32_t firstTimeStamp = 0;
  uint32_t lastTimeStamp = 0;
  std::vector<uint32_t> offsets;  // of each whole frame record (of an unfinished file)
};
RecordFileScan ScanRecordFile(RecordFile& file);

// Finishes one file when it is unfinished.
RecoveryResult RecoverRecordFile(RecordFileSystem& fs, const std::string& path);

// The names this program gives its manual and alarm record files.
bool IsRecordFileName(const std::string& path);

// Scans each folder once per run: every record file of the folder (ending in a backslash) is
// finished when it is unfinished, and a finished alarm file goes to the list. Safe to call from
// any thread; a folder already scanned returns at once.
class RecordFolderRecovery {
 public:
  void Bind(RecordFileSystem* fs, SystemConfig* alarmDb, void (*trace)(const char*));
  // The number of files finished.
  int RecoverFolder(const std::string& folder);

 private:
  std::mutex m_lock;
  std::set<std::string> m_scanned;
  RecordFileSystem* m_fs = nullptr;
  SystemConfig* m_alarmDb = nullptr;
  void (*m_trace)(const char*) = nullptr;
};
