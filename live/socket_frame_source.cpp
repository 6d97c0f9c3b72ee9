#include "live/socket_frame_source.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {
void SetIfClear(uint32_t* word) {
  std::atomic_ref<uint32_t> w(*word);
  if (w.load() == 0) w.store(1);
}
}  // namespace

SocketFrameSource::SocketFrameSource(CBlockingSocket& socket, HANDLE resetEvent, HANDLE endEvent,
                                     const SessionWords& words)
    : m_socket(socket),
      m_hResetEvent(resetEvent),
      m_hEndEvent(endEvent),
      m_words(words),
      m_dwLastStopCheck(GetTickCount()) {
  u_long nonBlocking = 1;
  m_fNonBlocking = ioctlsocket(m_socket, FIONBIO, &nonBlocking) != SOCKET_ERROR;
}

bool SocketFrameSource::StopRequested() const {
  if (m_hResetEvent && WaitForSingleObject(m_hResetEvent, 0) == WAIT_OBJECT_0) {
    m_fResetSeen = true;
    return true;
  }
  return m_hEndEvent && WaitForSingleObject(m_hEndEvent, 0) == WAIT_OBJECT_0;
}

int SocketFrameSource::Read(uint8_t* buffer, uint32_t size) {
  if (m_dwBegin == m_dwEnd) {
    const int n = Fill();
    if (n < 0) return n;
    m_dwBegin = 0;
    m_dwEnd = static_cast<uint32_t>(n);
  }
  const uint32_t count = std::min(size, m_dwEnd - m_dwBegin);
  std::memcpy(buffer, m_Buffer + m_dwBegin, count);
  m_dwBegin += count;
  return static_cast<int>(count);
}

int SocketFrameSource::Fill() {
  const DWORD start = GetTickCount();
  // A stream that keeps coming is never waited for: the stop events are looked at every
  // kStopCheckMs, and after each wait slice that ends without data.
  if (start - m_dwLastStopCheck >= kStopCheckMs) {
    m_dwLastStopCheck = start;
    if (StopRequested()) return kReadStopped;
  }
  const SOCKET s = m_socket;
  bool ready = false;  // a blocking socket is waited for first
  for (;;) {
    if (m_fNonBlocking || ready) {
      // Data, an error or the peer's close: one receive tells which.
      const int n = recv(s, reinterpret_cast<char*>(m_Buffer), static_cast<int>(kBufferBytes), 0);
      if (n > 0) return n;
      if (n == 0 || !m_fNonBlocking || WSAGetLastError() != WSAEWOULDBLOCK) return kReadFailed;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval slice{0, static_cast<long>(kStopCheckMs) * 1000};
    const int result = select(0, &readable, nullptr, nullptr, &slice);
    if (result == SOCKET_ERROR) return kReadFailed;
    ready = result > 0;
    if (!ready) {
      const DWORD now = GetTickCount();
      m_dwLastStopCheck = now;
      if (StopRequested()) return kReadStopped;
      if (now - start >= kReadTimeoutMs) return kReadFailed;
    }
  }
}

void SocketFrameSource::OnFrameSearch() {
  SetIfClear(m_words.streamRunning);
  SetIfClear(m_words.videoStreaming);
}

void SocketFrameSource::OnReceivedBytes(uint32_t count) {
  std::atomic_ref<uint32_t>(*m_words.receivedBytes).fetch_add(count);
}
