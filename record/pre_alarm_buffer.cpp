#include "record/pre_alarm_buffer.h"

#include <cstdlib>
#include <cstring>

std::vector<uint16_t> PreAlarmFlushOrder(uint16_t writeIndex, uint16_t count) {
  constexpr uint16_t n = CPreAlarmBuffer::kSlots;
  std::vector<uint16_t> order;
  writeIndex %= n;
  if (count >= n) {
    for (uint16_t i = 0; i < n; ++i) order.push_back(static_cast<uint16_t>((writeIndex + i) % n));
  } else if (writeIndex >= count) {
    // Slots 0 up to the newest: every frame since the thread started, and older ones of the
    // same lap before them.
    for (uint16_t i = 0; i < writeIndex; ++i) order.push_back(i);
  } else {
    // The write index wrapped since the count restarted: the newest `count` frames, oldest
    // first, so that the newest (the one that raised the alarm) is always among them.
    for (uint16_t i = 0; i < count; ++i)
      order.push_back(static_cast<uint16_t>((writeIndex + n - count + i) % n));
  }
  return order;
}

CPreAlarmBuffer::~CPreAlarmBuffer() {
  FreeBuffer();
}

int CPreAlarmBuffer::AllocateBuffer() {
  std::lock_guard<std::mutex> lock(m_Lock);
  if (!m_lpFrameData) m_lpFrameData = static_cast<uint8_t*>(std::calloc(kSlots, kFrameBytes));
  if (!m_lpFrameInfo)
    m_lpFrameInfo = static_cast<RECORD_FRAME_INFO*>(std::calloc(kSlots, sizeof(RECORD_FRAME_INFO)));
  if (!m_lpFrameKind) m_lpFrameKind = static_cast<uint32_t*>(std::calloc(kSlots * 2, 4));
  return m_lpFrameData && m_lpFrameInfo && m_lpFrameKind ? 1 : 0;
}

int CPreAlarmBuffer::FreeBuffer() {
  std::lock_guard<std::mutex> lock(m_Lock);
  std::free(m_lpFrameData);
  std::free(m_lpFrameInfo);
  std::free(m_lpFrameKind);
  m_lpFrameData = nullptr;
  m_lpFrameInfo = nullptr;
  m_lpFrameKind = nullptr;
  return 1;
}

int CPreAlarmBuffer::Store(const uint8_t* jpeg, uint32_t length, const StoredFrameMeta& meta) {
  std::unique_lock<std::mutex> lock(m_Lock);
  if (!m_lpFrameData || !m_lpFrameInfo || length > kFrameBytes || (length && !jpeg)) return 0;
  m_Changed.wait(lock, [this] {
    for (const Consumer& c : m_Consumers)
      if (c.fWriting && (c.dwSignals & kSignalFrame)) return false;
    return true;
  });
  // FreeBuffer may have run while waiting.
  if (!m_lpFrameData || !m_lpFrameInfo) return 0;
  const uint16_t slot = w_PreAlarmIndex;
  RECORD_FRAME_INFO& info = m_lpFrameInfo[slot];
  std::memset(&info, 0, sizeof info);
  if (length) std::memcpy(m_lpFrameData + size_t{slot} * kFrameBytes, jpeg, length);
  info.dwLength = length;
  info.dwMarker = recfmt::kFrameInfoMarker;
  info.wWidth = meta.wWidth;
  info.wHeight = meta.wHeight;
  info.dwTimeStamp = meta.dwTimeStamp;
  info.byChannel = meta.byChannel;
  info.dwNoPicture = meta.dwNoPicture ? 1 : 0;
  info.stStored = meta.stStored;
  info.stStored.wDayOfWeek = 0;
  info.stStored.wMilliseconds = 0;
  if (w_PreAlarmCount < 21) ++w_PreAlarmCount;
  w_PreAlarmIndex = static_cast<uint16_t>(slot == kSlots - 1 ? 0 : slot + 1);
  ++m_dwStoredFrames;
  bool handed = false;
  for (Consumer& c : m_Consumers) {
    if (c.fWriting) {
      c.dwSignals |= kSignalFrame;
      handed = true;
    }
  }
  if (handed) m_Changed.notify_all();
  return 1;
}

void CPreAlarmBuffer::Attach(RingConsumerId id) {
  std::lock_guard<std::mutex> lock(m_Lock);
  m_Consumers[id].fWriting = true;
  m_Consumers[id].dwSignals &= ~uint32_t{kSignalFrame};
}

void CPreAlarmBuffer::Detach(RingConsumerId id) {
  std::lock_guard<std::mutex> lock(m_Lock);
  m_Consumers[id].fWriting = false;
  m_Consumers[id].dwSignals &= ~uint32_t{kSignalFrame};
  m_Changed.notify_all();
}

void CPreAlarmBuffer::FrameDone(RingConsumerId id) {
  std::lock_guard<std::mutex> lock(m_Lock);
  m_Consumers[id].dwSignals &= ~uint32_t{kSignalFrame};
  m_Changed.notify_all();
}

void CPreAlarmBuffer::Signal(RingConsumerId id, uint32_t bits) {
  std::lock_guard<std::mutex> lock(m_Lock);
  m_Consumers[id].dwSignals |= bits;
  m_Changed.notify_all();
}

bool CPreAlarmBuffer::SignalIfServed(RingConsumerId id, uint32_t bits) {
  std::lock_guard<std::mutex> lock(m_Lock);
  if (!m_Consumers[id].fServed) return false;
  m_Consumers[id].dwSignals |= bits;
  m_Changed.notify_all();
  return true;
}

void CPreAlarmBuffer::SetServed(RingConsumerId id, bool served) {
  std::lock_guard<std::mutex> lock(m_Lock);
  m_Consumers[id].fServed = served;
}

uint32_t CPreAlarmBuffer::EndServing(RingConsumerId id) {
  std::lock_guard<std::mutex> lock(m_Lock);
  Consumer& c = m_Consumers[id];
  c.fServed = false;
  c.fWriting = false;
  const uint32_t left = c.dwSignals;
  c.dwSignals &= ~uint32_t{kSignalFrame | kSignalStart | kSignalClose | kSignalStop};
  m_Changed.notify_all();
  return left;
}

namespace {
uint32_t TakeSignals(uint32_t& signals, uint32_t mask) {
  const uint32_t got = signals & mask;
  signals &= ~(got & ~uint32_t{kSignalFrame});
  return got;
}
}  // namespace

uint32_t CPreAlarmBuffer::Wait(RingConsumerId id, uint32_t mask) {
  std::unique_lock<std::mutex> lock(m_Lock);
  Consumer& c = m_Consumers[id];
  m_Changed.wait(lock, [&] { return (c.dwSignals & mask) != 0; });
  return TakeSignals(c.dwSignals, mask);
}

uint32_t CPreAlarmBuffer::WaitFor(RingConsumerId id, uint32_t mask,
                                  std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(m_Lock);
  Consumer& c = m_Consumers[id];
  if (!m_Changed.wait_for(lock, timeout, [&] { return (c.dwSignals & mask) != 0; })) return 0;
  return TakeSignals(c.dwSignals, mask);
}

void CPreAlarmBuffer::Clear(RingConsumerId id, uint32_t bits) {
  std::lock_guard<std::mutex> lock(m_Lock);
  m_Consumers[id].dwSignals &= ~bits;
  m_Changed.notify_all();
}

void CPreAlarmBuffer::ResetPreAlarmCount() {
  std::lock_guard<std::mutex> lock(m_Lock);
  w_PreAlarmCount = 0;
}

uint16_t CPreAlarmBuffer::PreAlarmCount() const {
  std::lock_guard<std::mutex> lock(m_Lock);
  return w_PreAlarmCount;
}

bool CPreAlarmBuffer::IsWriting(RingConsumerId id) const {
  std::lock_guard<std::mutex> lock(m_Lock);
  return m_Consumers[id].fWriting;
}

bool CPreAlarmBuffer::IsServed(RingConsumerId id) const {
  std::lock_guard<std::mutex> lock(m_Lock);
  return m_Consumers[id].fServed;
}

uint32_t CPreAlarmBuffer::StoredFrames() const {
  std::lock_guard<std::mutex> lock(m_Lock);
  return m_dwStoredFrames;
}
