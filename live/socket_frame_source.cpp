#include "live/socket_frame_source.h"

#include <atomic>

namespace {
constexpr long kWaitSliceMicroseconds = 200000;

void SetIfClear(uint32_t* word) {
  std::atomic_ref<uint32_t> w(*word);
  if (w.load() == 0) w.store(1);
}
}  // namespace

SocketFrameSource::SocketFrameSource(CBlockingSocket& socket, HANDLE resetEvent, HANDLE endEvent,
                                     const SessionWords& words)
    : m_socket(socket), m_hResetEvent(resetEvent), m_hEndEvent(endEvent), m_words(words) {}

bool SocketFrameSource::StopRequested() const {
  if (m_hResetEvent && WaitForSingleObject(m_hResetEvent, 0) == WAIT_OBJECT_0) {
    m_fResetSeen = true;
    return true;
  }
  return m_hEndEvent && WaitForSingleObject(m_hEndEvent, 0) == WAIT_OBJECT_0;
}

int SocketFrameSource::Read(uint8_t* buffer, uint32_t size) {
  const DWORD start = GetTickCount();
  const SOCKET s = m_socket;
  for (;;) {
    if (StopRequested()) return kReadStopped;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval slice{0, kWaitSliceMicroseconds};
    const int ready = select(0, &readable, nullptr, nullptr, &slice);
    if (ready == SOCKET_ERROR) return kReadFailed;
    if (ready > 0) {
      // Data, an error or the peer's close: one receive tells which.
      const int n = m_socket.Receive(reinterpret_cast<char*>(buffer), static_cast<int>(size), 0);
      return n > 0 ? n : kReadFailed;
    }
    if (GetTickCount() - start >= kReadTimeoutMs) return kReadFailed;
  }
}

void SocketFrameSource::OnFrameSearch() {
  SetIfClear(m_words.streamRunning);
  SetIfClear(m_words.videoStreaming);
}

void SocketFrameSource::OnReceivedBytes(uint32_t count) {
  std::atomic_ref<uint32_t>(*m_words.receivedBytes).fetch_add(count);
}
