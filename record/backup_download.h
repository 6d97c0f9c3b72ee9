// The download loop of a network backup: request, chunks appended to the file, states, progress
// and the player's reports. The program's thread gives it the socket, the file and its messages;
// the tests give it a stream and a file in memory.
#pragma once
#include <cstddef>
#include <cstdint>

#include "record/network_backup.h"

// States shown by the progress dialog.
enum BackupState : int {
  kBackupSendFailed = 1,     // 4065
  kBackupFileFailed = 2,     // 4105
  kBackupReceiveFailed = 3,  // 4106: failed, timed out, closed or an oversize chunk
  kBackupNoData = 4,         // 4107
  kBackupFinished = 5,
  kBackupWritten = 6,  // a data chunk was appended; the percent goes with it
  kBackupAborted = 7,  // 4115
  kBackupWritingDisc = 8,
  kBackupStopped = 9,  // cancelled by the user (the dialog is closing)
};

// Commands to the settings sheet's progress bar (the values of its channel).
enum BackupProgress : uint32_t {
  kBackupProgressBegin = 1,
  kBackupProgressTotal = 2,
  kBackupProgressDraw = 3,
  kBackupProgressEnd = 4,
};

// Player report codes.
inline constexpr uint32_t kPlayerNetworkError = 0xF0000002u;
inline constexpr uint32_t kPlayerFileError = 0xF0000003u;

class BackupDownloadIo {
 public:
  virtual ~BackupDownloadIo() = default;
  // Connects and sends the request; false when either fails.
  virtual bool SendRequest() = 0;
  virtual bool ReceiveExactly(uint8_t* buf, size_t n) = 0;
  virtual void CloseConnection() = 0;
  // Creates the file empty (under the backup mutex); false when it cannot.
  virtual bool CreateFile() = 0;
  // Appends to the file (under the backup mutex); false when the open or the write fails.
  virtual bool Append(const uint8_t* data, size_t n) = 0;
  virtual bool StopRequested() = 0;
  virtual void PostState(int state, uint32_t percent) = 0;
  virtual void Progress(uint32_t command, uint32_t value) = 0;
  // The player follows and has not detached; its step in bytes.
  virtual bool PlayerFollows() = 0;
  virtual uint32_t PlayerStep() = 0;
  virtual void PlayerProgress(uint32_t bytes) = 0;
  virtual void PlayerDone(bool stopped) = 0;
  // Sent whenever a player window is known.
  virtual void PlayerError(uint32_t code) = 0;
  // Writes the disc after the download (with "Copy to CD").
  virtual void WriteDisc() {}
};

struct BackupDownloadResult {
  int state = 0;       // the last state posted (kBackupStopped: stopped)
  uint64_t total = 0;  // bytes appended
};

// Runs the download to its end. sizeMB gives the percent, posted with state kBackupWritten and
// drawn when it changes; copyToDisc writes the disc after it.
BackupDownloadResult RunBackupDownload(BackupDownloadIo& io, int sizeMB, bool copyToDisc);
