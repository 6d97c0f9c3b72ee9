// The alarm sound's playback thread: loops a loaded sound through eight waveOut buffers until
// its stop event is set.
#pragma once

#include <windows.h>

#include "live/alarm_wave.h"

// The thread's start record, owned (and deleted) by the thread.  The block outlives the thread:
// its owner joins the thread before it loads a new sound.
struct AlarmPlaybackStart {
  WavePlayBlock* block;  // hDoneEvent already set by the starter
  HANDLE stopEvent;
};

// Returns 0 after a stop, (DWORD)-1 when the device cannot be opened or the block has no sound.
DWORD WINAPI PlayAudioWavThread(LPVOID start);

// Refills buffer i with the next stretch of the sound and re-arms its header.
void FillWaveBuffer(WavePlayBlock& block, WAVEHDR& header, int i);
