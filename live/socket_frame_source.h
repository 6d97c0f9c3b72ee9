// The receive thread's stream source: the stream connection, read in short waits so that a stop
// request is noticed while no data comes, and the session flags and statistics the frame search
// keeps.
#pragma once

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <cstdint>

#include "live/frame_stream_source.h"

class SocketFrameSource : public FrameStreamSource {
 public:
  static constexpr DWORD kReadTimeoutMs = 20000;

  struct SessionWords {
    uint32_t* streamRunning;   // StreamRunningFlag
    uint32_t* videoStreaming;  // fVideoConnected
    uint32_t* receivedBytes;   // dwRateBytes
  };

  // stopEvents: the quiet-stop request (auto-reset) and the end of the stream threads
  // (manual-reset); either ends a read with kReadStopped.
  SocketFrameSource(CBlockingSocket& socket, HANDLE resetEvent, HANDLE endEvent,
                    const SessionWords& words);

  int Read(uint8_t* buffer, uint32_t size) override;
  void OnFrameSearch() override;
  void OnReceivedBytes(uint32_t count) override;

  // Tests both stop events without waiting.
  bool StopRequested() const;
  // Whether the stop request that ended a read was the quiet-stop request.
  bool ResetRequested() const { return m_fResetSeen; }

 private:
  CBlockingSocket& m_socket;
  HANDLE m_hResetEvent;
  HANDLE m_hEndEvent;
  SessionWords m_words;
  mutable bool m_fResetSeen = false;
};
