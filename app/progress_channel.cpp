#include "app/progress_channel.h"

namespace {
ProgressChannel g_channel;
}  // namespace

ProgressChannel* const g_pProgressChannel = &g_channel;

ProgressChannel::ProgressChannel()
    : m_request(::CreateSemaphoreA(nullptr, 0, 1, nullptr)),
      m_done(::CreateSemaphoreA(nullptr, 1, 1, nullptr)),
      m_stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

ProgressChannel::~ProgressChannel() {
  StopServing();
  for (HANDLE h : {m_request, m_done, m_stop})
    if (h) ::CloseHandle(h);
}

bool ProgressChannel::Send(uint32_t command, uint32_t value, DWORD waitMs) {
  if (!m_served.load() || !m_done) return false;
  if (::WaitForSingleObject(m_done, waitMs) != WAIT_OBJECT_0) return false;
  std::lock_guard<std::mutex> lock(m_lock);
  if (!m_served.load()) {
    ::ReleaseSemaphore(m_done, 1, nullptr);
    return false;
  }
  m_command = command;
  m_value = value;
  ::ReleaseSemaphore(m_request, 1, nullptr);
  return true;
}

bool ProgressChannel::Serve(Sink sink) {
  std::lock_guard<std::mutex> lock(m_lock);
  if (m_served.load() || !m_request || !m_done || !m_stop) return false;
  m_sink = std::move(sink);
  ::ResetEvent(m_stop);
  m_thread =
      ::CreateThread(nullptr, 2048, &ThreadMain, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (m_thread == nullptr) {
    m_sink = nullptr;
    return false;
  }
  m_served = true;
  return true;
}

void ProgressChannel::StopServing() {
  {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_served.load()) return;
    m_served = false;
  }
  ::SetEvent(m_stop);
  if (m_thread != nullptr) {
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    m_thread = nullptr;
  }
  // A command left and never taken frees its slot; writers waiting for it go on (and find the
  // channel unserved).
  if (::WaitForSingleObject(m_request, 0) == WAIT_OBJECT_0) ::ReleaseSemaphore(m_done, 1, nullptr);
  m_sink = nullptr;
}

DWORD WINAPI ProgressChannel::ThreadMain(LPVOID self) {
  static_cast<ProgressChannel*>(self)->Run();
  return 0;
}

void ProgressChannel::Run() {
  const HANDLE waits[] = {m_stop, m_request};
  for (;;) {
    const DWORD got = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    if (got != WAIT_OBJECT_0 + 1) return;
    const uint32_t command = m_command;
    const uint32_t value = m_value;
    if (m_sink && command >= kProgressBegin && command <= kProgressEnd) m_sink(command, value);
    ::ReleaseSemaphore(m_done, 1, nullptr);
  }
}
