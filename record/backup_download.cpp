#include "record/backup_download.h"

#include <array>

BackupDownloadResult RunBackupDownload(BackupDownloadIo& io, int sizeMB, bool copyToDisc) {
  BackupDownloadResult r;
  auto fail = [&](int state, uint32_t playerCode, bool progressEnd) {
    io.CloseConnection();
    io.PostState(state, 0);
    io.PlayerError(playerCode);
    if (progressEnd) io.Progress(kBackupProgressEnd, 0);
    r.state = state;
    return r;
  };
  auto stopNotice = [&] {
    if (io.PlayerFollows()) io.PlayerDone(true);
  };
  if (!io.SendRequest()) return fail(kBackupSendFailed, kPlayerNetworkError, false);
  if (!io.CreateFile()) return fail(kBackupFileFailed, kPlayerFileError, false);
  io.Progress(kBackupProgressBegin, 0);
  io.Progress(kBackupProgressTotal, 100);
  uint64_t reported = 0;
  int shownPercent = -1;  // the dialog and the progress bar are told each new percent once
  std::array<uint8_t, kBackupChunkDataMax> buf{};
  const ReceiveExactly receive = [&](uint8_t* b, size_t n) { return io.ReceiveExactly(b, n); };
  for (;;) {
    if (io.StopRequested()) break;
    uint32_t length = 0;
    const BackupChunk chunk = ReadBackupChunk(receive, buf, length);
    if (io.StopRequested()) break;
    switch (chunk) {
      case BackupChunk::kReceiveFailed:
      case BackupChunk::kOversize:
        return fail(kBackupReceiveFailed, kPlayerNetworkError, true);
      case BackupChunk::kIgnored:
        continue;
      case BackupChunk::kAborted:
        io.CloseConnection();
        io.PostState(kBackupAborted, 0);
        stopNotice();
        io.Progress(kBackupProgressEnd, 0);
        r.state = kBackupAborted;
        return r;
      case BackupChunk::kEnd:
        io.CloseConnection();
        io.Progress(kBackupProgressEnd, 0);
        if (r.total == 0) {
          io.PostState(kBackupNoData, 0);
          stopNotice();
          r.state = kBackupNoData;
          return r;
        }
        if (io.PlayerFollows()) {
          if (r.total > reported) io.PlayerProgress(static_cast<uint32_t>(r.total - reported));
          io.PlayerDone(false);
        }
        if (copyToDisc) {
          io.PostState(kBackupWritingDisc, 0);
          io.WriteDisc();
        }
        io.PostState(kBackupFinished, 100);
        r.state = kBackupFinished;
        return r;
      case BackupChunk::kData: {
        if (length > 0 && !io.Append(buf.data(), length)) {
          return fail(kBackupFileFailed, kPlayerFileError, true);
        }
        r.total += length;
        if (r.total - reported > io.PlayerStep() && io.PlayerFollows()) {
          io.PlayerProgress(static_cast<uint32_t>(r.total - reported));
          reported = r.total;
        }
        const uint8_t percent = BackupPercent(r.total, sizeMB);
        if (percent != shownPercent) {
          shownPercent = percent;
          io.PostState(kBackupWritten, percent);
          io.Progress(kBackupProgressDraw, percent);
        }
        break;
      }
    }
  }
  stopNotice();
  io.CloseConnection();
  io.Progress(kBackupProgressEnd, 0);
  r.state = kBackupStopped;
  return r;
}
