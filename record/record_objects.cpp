#include "record/record_objects.h"

#include <system_error>

#include "text/path_text.h"

namespace {
constexpr uint32_t kMaxPathChars = 259;
constexpr std::chrono::milliseconds kCreateRetryWait{1000};
}  // namespace

// ---------------------------------------------------------------------------------------------
// Shared

int CRecordObjectBase::CloseThread() {
  if (!m_thread.joinable()) return 1;
  if (m_ctx.ring) m_ctx.ring->Signal(m_id, kSignalStop);
  const auto deadline = std::chrono::steady_clock::now() + m_StopWait;
  while (!m_fThreadEnded.load()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      Trace("Record thread still busy after the stop's wait (a write that hangs); not waited for");
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  m_thread.join();
  return 1;
}

bool CRecordObjectBase::ReapThread() {
  if (!m_thread.joinable()) return true;
  if (!m_fThreadEnded.load()) return false;
  m_thread.join();
  return true;
}

void CRecordObjectBase::EndThreadAtExit() {
  if (CloseThread() == 0 && m_thread.joinable()) {
    Trace("Record thread left to the end of the process");
    m_thread.detach();
  }
}

bool CRecordObjectBase::StartThread(const char* errorText) {
  if (!ReapThread() || !m_ctx.ring || !m_ctx.fs || !m_ctx.host) {
    if (m_ctx.host) m_ctx.host->Trace(errorText);
    return false;
  }
  m_ctx.ring->Clear(m_id, kSignalStart | kSignalClose | kSignalStop | kSignalClosed);
  m_ctx.ring->SetServed(m_id, true);
  m_fServing = true;
  m_fThreadEnded = false;
  try {
    m_thread = std::thread([this] {
      ThreadMain();
      m_fServing = false;
      m_fThreadEnded = true;
    });
  } catch (const std::system_error&) {
    m_ctx.ring->SetServed(m_id, false);
    m_fServing = false;
    m_fThreadEnded = true;
    Trace(errorText);
    return false;
  }
  return true;
}

RecordHeaderValues CRecordObjectBase::HeaderValues(RecordKind kind) {
  RecordHeaderValues v;
  v.created = m_ctx.host->LocalTime();
  v.strServerName = m_ctx.host->ServerName();
  v.strUserName = m_ctx.host->UserName();
  v.kind = kind;
  return v;
}

void CRecordObjectBase::Trace(const char* text) {
  if (m_ctx.host) m_ctx.host->Trace(text);
}

bool CRecordObjectBase::CreateFile(RecordKind kind, const std::string& folder) {
  const std::string cookie = kind == RecordKind::kAlarm ? m_ctx.host->Cookie() : std::string();
  std::string dir = folder;
  EnsureFolderBackslash(dir);
  if (m_ctx.recovery) m_ctx.recovery->RecoverFolder(dir);
  const std::string name = RecordFileName(kind, dir, m_ctx.host->LocalTime(), cookie);
  // The alarm list keeps the full path in 260 characters; a suffix may still be added.
  if (name.size() + 4 > kMaxPathChars) {
    Trace("Record file path is too long");
    return false;
  }
  std::string used;
  std::unique_ptr<RecordFile> file = CreateUnusedRecordFile(*m_ctx.fs, name, used);
  if (!file) {
    Trace(kind == RecordKind::kAlarm ? "CAlarmRecord : create record file failed"
                                     : "CUserRecord : create record file failed");
    return false;
  }
  m_strFolder = dir;
  m_writer.Attach(std::move(file), used, m_ctx.fs);
  fFileOpen = 1;
  FileStarted();
  return true;
}

bool CRecordObjectBase::WriteSlot(uint16_t slot, RecordKind kind) {
  CPreAlarmBuffer& ring = *m_ctx.ring;
  if (m_writer.FramesInFile() >= recfmt::kMaxFramesPerFile) {
    if (!FinishForRollOver()) return false;
    if (!CreateFile(kind, m_strFolder)) return false;
    if (!m_writer.OpenHeader(HeaderValues(kind))) {
      fFileOpen = 0;
      return false;
    }
    if (kind == RecordKind::kAlarm && m_ctx.alarmDb)
      m_ctx.alarmDb->AlarmDB_StampTime(ring.Info(ring.NewestSlot()).stStored);
  }
  if (!m_writer.WriteFrame(ring.Info(slot), ring.Data(slot))) {
    Trace("Record file write failed; the recording ends");
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Alarm recorder

CAlarmRecord::~CAlarmRecord() {
  EndThreadAtExit();
}

int CAlarmRecord::CreateThread(uint8_t) {
  if (!ReapThread()) {
    Trace("CAlarmRecord::CreateThread() : the last record thread is still busy");
    return 0;
  }
  if (!m_ctx.ring) return 0;
  fStopRecord = 0;
  fRecordActive = 0;
  m_byStartMarker = 0xFF;
  m_fFailed = false;
  m_ctx.ring->ResetPreAlarmCount();
  if (m_ctx.host) m_ctx.host->AlarmRecordReset();
  return StartThread("CAlarmRecord::CreateThread() is error.") ? 1 : 0;
}

void CAlarmRecord::FileStarted() {
  if (m_ctx.alarmDb) m_ctx.alarmDb->AlarmDB_PrepareItem(m_writer.Path());
  m_byStartMarker = 0xFF;
}

int CAlarmRecord::CreateRecordFile(const std::string& folder) {
  if (fStopRecord || fRecordActive || !m_ctx.ring) return 0;
  // Under the finish lock: a thread that is ending either takes this file or is seen gone.
  std::lock_guard<std::mutex> lock(m_FinishLock);
  if (!m_ctx.ring->IsServed(m_id) || m_writer.IsOpen()) return 0;
  const auto now = std::chrono::steady_clock::now();
  if (m_fFailed && now - m_LastFailure < kCreateRetryWait) return 0;
  if (!CreateFile(RecordKind::kAlarm, folder)) {
    m_fFailed = true;
    m_LastFailure = now;
    return 0;
  }
  m_fFailed = false;
  fRecordActive = 1;
  m_ctx.ring->Clear(m_id, kSignalClosed);
  if (!m_ctx.ring->SignalIfServed(m_id, kSignalStart)) {
    FinishLocked();
    return 0;
  }
  return 1;
}

int CAlarmRecord::CloseRecordFile() {
  if (!fRecordActive) return 1;
  if (m_ctx.ring->SignalIfServed(m_id, kSignalClose))
    m_ctx.ring->WaitFor(m_id, kSignalClosed, kCloseWait);
  return 1;
}

int CAlarmRecord::StopRecord() {
  fStopRecord = 1;
  CloseRecordFile();
  if (m_ctx.host) m_ctx.host->AlarmRecordReset();
  return 1;
}

void CAlarmRecord::ThreadMain() {
  CPreAlarmBuffer& ring = *m_ctx.ring;
  for (;;) {
    const uint32_t got = ring.Wait(m_id, kSignalStart | kSignalClose | kSignalStop);
    if ((got & kSignalStart) && m_writer.IsOpen()) {
      // A close or stop that came with the start is served by the recording.
      if (got & (kSignalClose | kSignalStop)) ring.Signal(m_id, got & (kSignalClose | kSignalStop));
      if (RunRecording()) break;
      continue;
    }
    if (got & kSignalClose) {
      FinishRecording();
    }
    if (got & kSignalStop) break;
  }
  ring.EndServing(m_id);
  // An alarm file is always finished, also when the session ends in the middle of it.
  FinishRecording();
}

bool CAlarmRecord::RunRecording() {
  CPreAlarmBuffer& ring = *m_ctx.ring;
  ring.Attach(m_id);
  bool first = true;
  for (;;) {
    uint32_t got = ring.Wait(m_id, kSignalFrame | kSignalClose | kSignalStop);
    if (got & kSignalFrame) {
      bool ok = true;
      if (first) {
        // The header, then the ring's frames, oldest first; the newest raised this signal.
        first = false;
        ok = m_writer.OpenHeader(HeaderValues(RecordKind::kAlarm));
        if (ok) {
          if (m_ctx.alarmDb)
            m_ctx.alarmDb->AlarmDB_StampTime(ring.Info(ring.NewestSlot()).stStored);
          m_byStartMarker = 0;
          for (uint16_t slot : PreAlarmFlushOrder(ring.WriteIndex(), ring.PreAlarmCount())) {
            ok = WriteSlot(slot, RecordKind::kAlarm);
            if (!ok) break;
          }
        } else {
          fFileOpen = 0;
          Trace("CAlarmRecord : record file header write failed");
        }
      } else {
        ok = WriteSlot(ring.NewestSlot(), RecordKind::kAlarm);
      }
      ring.FrameDone(m_id);
      if (!ok) {
        NoteFailure();
        got |= kSignalClose;
      }
    }
    if (got & (kSignalClose | kSignalStop)) {
      ring.Detach(m_id);
      FinishRecording();
      return (got & kSignalStop) != 0;
    }
  }
}

bool CAlarmRecord::FinishForRollOver() {
  uint32_t frames = 0;
  const bool kept = m_writer.FinishAndClose(HeaderValues(RecordKind::kAlarm), &frames);
  fFileOpen = 0;
  // One alarm-list item per file.
  if (kept && m_ctx.alarmDb) m_ctx.alarmDb->AlarmDB_AppendItem(frames, m_ctx.host->ServerName());
  m_byStartMarker = 0xFF;
  return true;
}

void CAlarmRecord::NoteFailure() {
  std::lock_guard<std::mutex> lock(m_FinishLock);
  m_fFailed = true;
  m_LastFailure = std::chrono::steady_clock::now();
}

void CAlarmRecord::FinishRecording() {
  std::lock_guard<std::mutex> lock(m_FinishLock);
  FinishLocked();
}

void CAlarmRecord::FinishLocked() {
  if (m_writer.IsOpen()) {
    uint32_t frames = 0;
    const bool kept = m_writer.FinishAndClose(HeaderValues(RecordKind::kAlarm), &frames);
    if (kept && m_ctx.alarmDb) m_ctx.alarmDb->AlarmDB_AppendItem(frames, m_ctx.host->ServerName());
  }
  fFileOpen = 0;
  m_byStartMarker = 0xFF;
  if (fRecordActive) {
    // Under the finish lock: no new recording starts between the two steps.
    fRecordActive = 0;
    m_ctx.ring->Signal(m_id, kSignalClosed);
  }
}

// ---------------------------------------------------------------------------------------------
// Manual recorder

CUserRecord::~CUserRecord() {
  EndThreadAtExit();
  if (!m_thread.joinable()) StopRecord();
}

int CUserRecord::CreateThread(uint8_t) {
  if (!ReapThread()) {
    Trace("CUserRecord::CreateThread() : the last record thread is still busy");
    return 0;
  }
  return StartThread("CUserRecord::CreateThread() is error.") ? 1 : 0;
}

int CUserRecord::CreateRecordFile(const std::string& folder) {
  if (fFileOpen || !m_ctx.ring) return 0;
  std::lock_guard<std::mutex> lock(m_FinishLock);
  if (!m_ctx.ring->IsServed(m_id) || m_writer.IsOpen()) return 0;
  if (!CreateFile(RecordKind::kManual, folder)) {
    fNewFile = 0;
    return 0;
  }
  fNewFile = 1;
  m_byRecordState = 2;
  m_ctx.ring->Clear(m_id, kSignalClosed);
  if (!m_ctx.ring->SignalIfServed(m_id, kSignalStart)) {
    FinishLocked();
    return 0;
  }
  return 1;
}

int CUserRecord::StopRecord() {
  if (!fFileOpen || !m_ctx.ring) return 1;
  if (m_ctx.ring->SignalIfServed(m_id, kSignalClose)) {
    if (m_ctx.ring->WaitFor(m_id, kSignalClosed, kCloseWait)) return 1;
    if (IsServing()) return 1;  // the thread is still finishing on a slow disk
  }
  // No record thread (after a disconnect, or failed relogins): the file is finished here.
  FinishRecording();
  return 1;
}

int CUserRecord::RestartRecord() {
  if (!fFileOpen) return 0;
  m_byRecordState = 2;
  return m_ctx.ring->SignalIfServed(m_id, kSignalStart) ? 1 : 0;
}

void CUserRecord::ThreadMain() {
  CPreAlarmBuffer& ring = *m_ctx.ring;
  for (;;) {
    const uint32_t got = ring.Wait(m_id, kSignalStart | kSignalClose | kSignalStop);
    if (got & kSignalClose) {
      FinishRecording();
    } else if ((got & kSignalStart) && m_writer.IsOpen()) {
      if (got & kSignalStop) ring.Signal(m_id, kSignalStop);
      if (RunRecording()) break;
      continue;
    }
    if (got & kSignalStop) break;
  }
  // The file stays open for the next login; a close asked for meanwhile is carried out.
  if (ring.EndServing(m_id) & kSignalClose) FinishRecording();
}

bool CUserRecord::RunRecording() {
  CPreAlarmBuffer& ring = *m_ctx.ring;
  ring.Attach(m_id);
  for (;;) {
    uint32_t got = ring.Wait(m_id, kSignalFrame | kSignalClose | kSignalStop);
    if (got & kSignalFrame) {
      bool ok = true;
      if (fNewFile) {
        ok = m_writer.OpenHeader(HeaderValues(RecordKind::kManual));
        fNewFile = 0;
        if (!ok) fFileOpen = 0;
      }
      if (ok) ok = WriteSlot(ring.NewestSlot(), RecordKind::kManual);
      ring.FrameDone(m_id);
      if (!ok) {
        ring.Detach(m_id);
        FinishRecording();
        m_ctx.host->UserRecordEnded();
        if (got & kSignalClose) ring.Signal(m_id, kSignalClosed);
        return (got & kSignalStop) != 0;
      }
    }
    if (got & kSignalClose) {
      m_byRecordState = 3;
      ring.Detach(m_id);
      FinishRecording();
      return (got & kSignalStop) != 0;
    }
    if (got & kSignalStop) {
      ring.Detach(m_id);
      return true;
    }
  }
}

bool CUserRecord::FinishForRollOver() {
  uint32_t frames = 0;
  m_writer.FinishAndClose(HeaderValues(RecordKind::kManual), &frames);
  fFileOpen = 0;
  return true;
}

void CUserRecord::FinishRecording() {
  std::lock_guard<std::mutex> lock(m_FinishLock);
  FinishLocked();
}

void CUserRecord::FinishLocked() {
  if (m_writer.IsOpen()) {
    uint32_t frames = 0;
    m_writer.FinishAndClose(HeaderValues(RecordKind::kManual), &frames);
  }
  fFileOpen = 0;
  fNewFile = 0;
  m_ctx.ring->Signal(m_id, kSignalClosed);
}
