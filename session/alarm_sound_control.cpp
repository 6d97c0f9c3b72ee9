#include "session/alarm_sound_control.h"

#include <cstdio>

#include "app/app_data.h"
#include "session/session_control.h"
#include "session/thread_stop.h"
#include "live/alarm_sound_win32.h"
#include "platform/scoped_handle.h"

namespace {

// The thread ends at once after its stop event; past this it is waited for with the grace of
// the thread-stop step.
constexpr DWORD kAudioStopMs = 10;

// OST_SOUND_LOG names a file that gets a line for each playback start ("start") and each end
// ("end" and the thread's exit code: 0 after its stop event, -1 when no device opened).
void SoundLog(const char* line) {
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("OST_SOUND_LOG", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  if (FILE* f = std::fopen(path, "ab")) {
    std::fprintf(f, "%s\n", line);
    std::fclose(f);
  }
}

void Renew(HANDLE& h) {
  ost::CloseHandleSlot(h);
  h = SessionSystem().createEvent(FALSE);
}

// Joins a playing sound.  false when its thread could not be joined: its block must then stay.
bool EndPlayback() {
  APP_DATA& a = *g_lpApp;
  {
    SessionResourceLock lock;
    if (a.h_AudioStopEvent) SetEvent(a.h_AudioStopEvent);
  }
  const bool hadThread = a.h_PlayAudioWavThread.h != nullptr;
  DWORD code = STILL_ACTIVE;
  const bool joined =
      StopThreadSlot(a.h_PlayAudioWavThread, kAudioStopMs, "PlayAudioWavThread", &code);
  if (hadThread) {
    char line[32];
    std::snprintf(line, sizeof line, "end %ld", static_cast<long>(static_cast<int32_t>(code)));
    SoundLog(line);
  }
  a.m_WaveFile.fPlaying = 0;
  a.fAlarmSoundPlaying = 0;
  return joined;
}

bool LoadAndRenew() {
  APP_DATA& a = *g_lpApp;
  if (!EndPlayback()) return false;
  if (!a.m_WaveFile.Open(a.m_Settings.m_strWavPath, a.m_Settings.m_strExeDir)) return false;
  SessionResourceLock lock;
  Renew(a.h_AudioBufferDoneEvent);
  Renew(a.h_AudioStopEvent);
  a.m_WaveFile.m_lpPlayBlock->hDoneEvent = a.h_AudioBufferDoneEvent;
  return a.h_AudioBufferDoneEvent && a.h_AudioStopEvent;
}

}  // namespace

bool ReloadAlarmSound() {
  return g_lpApp && LoadAndRenew();
}

bool StartAlarmSound() {
  if (!g_lpApp || !LoadAndRenew()) return false;
  APP_DATA& a = *g_lpApp;
  auto* start = new AlarmPlaybackStart{a.m_WaveFile.m_lpPlayBlock.get(), a.h_AudioStopEvent};
  DWORD id = 0;
  HANDLE thread = SessionSystem().createThread(0, PlayAudioWavThread, start, &id);
  if (!thread) {
    delete start;
    return false;
  }
  a.h_PlayAudioWavThread = ThreadSlot{thread, id};
  a.m_WaveFile.fPlaying = 1;
  a.fAlarmSoundPlaying = 1;
  SoundLog("start");
  return true;
}

void StopAlarmSound() {
  if (g_lpApp) EndPlayback();
}
