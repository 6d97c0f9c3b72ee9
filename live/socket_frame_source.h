// The receive thread's stream source: the stream connection read in large non-blocking reads
// whose bytes are handed out in the sizes asked for, waiting in short slices so that a stop
// request is noticed while no data comes, and the session flags and statistics the frame search
// keeps.
#pragma once

#include "net/blocking_socket.h"  // winsock2.h ahead of windows.h

#include <cstdint>

#include "live/frame_stream_source.h"

class SocketFrameSource : public FrameStreamSource {
 public:
  static constexpr DWORD kReadTimeoutMs = 20000;
  // Bytes taken from the socket at once; the splitter's reads are served from them.
  static constexpr uint32_t kBufferBytes = 65536;
  // Longest time between two looks at the stop events while a read waits or data keeps coming.
  static constexpr DWORD kStopCheckMs = 200;

  struct SessionWords {
    uint32_t* streamRunning;   // StreamRunningFlag
    uint32_t* videoStreaming;  // fVideoConnected
    uint32_t* receivedBytes;   // dwRateBytes
  };

  // stopEvents: the quiet-stop request (auto-reset) and the end of the stream threads
  // (manual-reset); either ends a read with kReadStopped. Puts the socket in non-blocking mode.
  SocketFrameSource(CBlockingSocket& socket, HANDLE resetEvent, HANDLE endEvent,
                    const SessionWords& words);

  // Served from the buffer while it holds bytes; a receive only when it is empty.
  int Read(uint8_t* buffer, uint32_t size) override;
  void OnFrameSearch() override;
  void OnReceivedBytes(uint32_t count) override;

  // Tests both stop events without waiting.
  bool StopRequested() const;
  // Whether the stop request that ended a read was the quiet-stop request.
  bool ResetRequested() const { return m_fResetSeen; }

 private:
  // Refills the empty buffer: bytes received, or kReadFailed or kReadStopped.
  int Fill();

  CBlockingSocket& m_socket;
  HANDLE m_hResetEvent;
  HANDLE m_hEndEvent;
  SessionWords m_words;
  mutable bool m_fResetSeen = false;
  bool m_fNonBlocking = false;
  DWORD m_dwLastStopCheck;
  uint32_t m_dwBegin = 0;  // first unread byte of m_Buffer
  uint32_t m_dwEnd = 0;    // end of the received bytes
  uint8_t m_Buffer[kBufferBytes];
};
