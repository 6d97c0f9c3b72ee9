#include "net/request_cancel.h"

#include <initializer_list>

namespace {
// One process-wide slot of thread-local storage holding the thread's RequestCancel pointer.
DWORD CancelSlot() {
  static const DWORD slot = ::TlsAlloc();
  return slot;
}

void SetThreadRequestCancel(const RequestCancel* cancel) {
  const DWORD slot = CancelSlot();
  if (slot != TLS_OUT_OF_INDEXES) ::TlsSetValue(slot, const_cast<RequestCancel*>(cancel));
}
}  // namespace

RequestCancel::RequestCancel(HANDLE event, HANDLE alsoEvent) {
  for (HANDLE h : {event, alsoEvent})
    if (h != nullptr) m_events[m_count++] = h;
}

bool RequestCancel::IsSet() const {
  if (m_count == 0) return false;
  const DWORD r = ::WaitForMultipleObjects(m_count, m_events, FALSE, 0);
  return r < WAIT_OBJECT_0 + m_count;
}

RequestCancelScope::RequestCancelScope(const RequestCancel& cancel)
    : m_pPrevious(ThreadRequestCancel()) {
  SetThreadRequestCancel(&cancel);
}

RequestCancelScope::~RequestCancelScope() {
  SetThreadRequestCancel(m_pPrevious);
}

const RequestCancel* ThreadRequestCancel() {
  const DWORD slot = CancelSlot();
  if (slot == TLS_OUT_OF_INDEXES) return nullptr;
  return static_cast<const RequestCancel*>(::TlsGetValue(slot));
}
