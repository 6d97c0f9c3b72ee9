// A stop request for the device requests of one thread. Another thread signals one of the
// watched events; the socket waits of a request in flight notice it within kCancelSliceMs and the
// request fails like a time-out (result 0, nothing delivered). Requests sent on a thread without
// a RequestCancelScope behave as before.
#pragma once

#include <windows.h>

#include <cstdint>

class RequestCancel {
 public:
  // Longest time a socket wait runs on after the request was set.
  static constexpr uint32_t kCancelSliceMs = 20;

  // Watches up to two events (either may be null); the caller keeps them open while this lives.
  // A watched event should be manual-reset, so that every wait that tests it sees it set.
  explicit RequestCancel(HANDLE event, HANDLE alsoEvent = nullptr);

  // True once any watched event is signalled.
  bool IsSet() const;

 private:
  HANDLE m_events[2] = {};
  DWORD m_count = 0;
};

// While it lives, every device request sent by this thread observes `cancel`. Scopes nest; the
// previous request comes back when the scope ends.
class RequestCancelScope {
 public:
  explicit RequestCancelScope(const RequestCancel& cancel);
  ~RequestCancelScope();
  RequestCancelScope(const RequestCancelScope&) = delete;
  RequestCancelScope& operator=(const RequestCancelScope&) = delete;

 private:
  const RequestCancel* m_pPrevious;
};

// The stop request of this thread's device requests, or null.
const RequestCancel* ThreadRequestCancel();
