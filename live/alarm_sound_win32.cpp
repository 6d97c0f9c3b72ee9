#include "live/alarm_sound_win32.h"

#include <mmsystem.h>

#include <memory>

namespace {

void CALLBACK WaveOutCallback(HWAVEOUT, UINT msg, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
  if (msg != WOM_DONE) return;
  auto* block = reinterpret_cast<WavePlayBlock*>(instance);
  if (block->hDoneEvent) SetEvent(static_cast<HANDLE>(block->hDoneEvent));
}

}  // namespace

void FillWaveBuffer(WavePlayBlock& block, WAVEHDR& header, int i) {
  header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
  FillWaveRing(block.data.data(), static_cast<uint32_t>(block.data.size()), &block.dwReadPos,
               block.buffers[i]);
  header.lpData = reinterpret_cast<LPSTR>(block.buffers[i]);
  header.dwBufferLength = kWaveBufferBytes;
}

DWORD WINAPI PlayAudioWavThread(LPVOID param) {
  const std::unique_ptr<AlarmPlaybackStart> start(static_cast<AlarmPlaybackStart*>(param));
  WavePlayBlock& block = *start->block;
  if (block.data.empty() || !block.hDoneEvent) return static_cast<DWORD>(-1);

  WAVEFORMATEX wfx{};
  wfx.wFormatTag = block.wfx.wFormatTag;
  wfx.nChannels = block.wfx.nChannels;
  wfx.nSamplesPerSec = block.wfx.nSamplesPerSec;
  wfx.nAvgBytesPerSec = block.wfx.nAvgBytesPerSec;
  wfx.nBlockAlign = block.wfx.nBlockAlign;
  wfx.wBitsPerSample = block.wfx.wBitsPerSample;
  wfx.cbSize = 0;
  HWAVEOUT device = nullptr;
  if (waveOutOpen(&device, WAVE_MAPPER, &wfx, reinterpret_cast<DWORD_PTR>(&WaveOutCallback),
                  reinterpret_cast<DWORD_PTR>(&block), CALLBACK_FUNCTION) != MMSYSERR_NOERROR)
    return static_cast<DWORD>(-1);
  block.hWaveOut = device;

  WAVEHDR headers[kWaveBufferCount] = {};
  bool prepared[kWaveBufferCount] = {};
  for (int i = 0; i < kWaveBufferCount; ++i) {
    headers[i].lpData = reinterpret_cast<LPSTR>(block.buffers[i]);
    headers[i].dwBufferLength = kWaveBufferBytes;
    prepared[i] = waveOutPrepareHeader(device, &headers[i], sizeof(WAVEHDR)) == MMSYSERR_NOERROR;
    if (!prepared[i]) continue;
    FillWaveBuffer(block, headers[i], i);
    waveOutWrite(device, &headers[i], sizeof(WAVEHDR));
  }

  const HANDLE waits[2] = {static_cast<HANDLE>(block.hDoneEvent), start->stopEvent};
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
    for (int i = 0; i < kWaveBufferCount; ++i) {
      if (!prepared[i] || !(headers[i].dwFlags & WHDR_DONE)) continue;
      FillWaveBuffer(block, headers[i], i);
      waveOutWrite(device, &headers[i], sizeof(WAVEHDR));
    }
  }

  // Closed here, so that no callback runs after the thread ends.
  waveOutReset(device);
  for (int i = 0; i < kWaveBufferCount; ++i)
    if (prepared[i]) waveOutUnprepareHeader(device, &headers[i], sizeof(WAVEHDR));
  waveOutClose(device);
  block.hWaveOut = nullptr;
  return 0;
}
