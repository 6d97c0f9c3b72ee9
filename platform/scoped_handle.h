// An owned Win32 handle (thread, event, semaphore, process, file), closed when its owner goes.
#pragma once

#include <windows.h>

namespace ost {

class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE h) : m_h(h) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : m_h(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  HANDLE Get() const { return m_h; }
  // False for none and for INVALID_HANDLE_VALUE (what a failed file open returns).
  bool Valid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  // Gives the handle up without closing it.
  HANDLE Release() {
    HANDLE h = m_h;
    m_h = nullptr;
    return h;
  }
  // Closes the handle held (if any) and holds h instead.
  void Reset(HANDLE h = nullptr) {
    if (Valid()) ::CloseHandle(m_h);
    m_h = h;
  }

 private:
  HANDLE m_h = nullptr;
};

// Closes the handle kept in a slot and clears the slot; an empty slot is left alone, so a second
// call does nothing. Returns 1 when a handle was closed.
inline int CloseHandleSlot(HANDLE& slot) {
  ScopedHandle owned(slot);
  slot = nullptr;
  return owned.Valid() ? 1 : 0;
}

}  // namespace ost
