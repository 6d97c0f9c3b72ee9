// Starting a thread with a start record it takes over: the record travels through the thread's
// LPVOID parameter, the thread function takes it with TakeStartRecord, and when the thread
// cannot be created the record is freed at once.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace ost {

// Creates a thread running routine with record as its parameter. Returns its handle (null when
// it could not be created) and fills *id when id is given.
template <class T>
HANDLE StartThreadWith(LPTHREAD_START_ROUTINE routine, std::shared_ptr<T> record, DWORD stackBytes,
                       DWORD* id = nullptr, DWORD creationFlags = 0) {
  auto holder = std::make_unique<std::shared_ptr<T>>(std::move(record));
  DWORD unused = 0;
  HANDLE thread =
      ::CreateThread(nullptr, stackBytes, routine, holder.get(), creationFlags, id ? id : &unused);
  if (thread != nullptr) holder.release();  // the thread owns it now
  return thread;
}

// In the thread function: takes the record StartThreadWith handed over (null for none).
template <class T>
std::shared_ptr<T> TakeStartRecord(LPVOID param) {
  std::unique_ptr<std::shared_ptr<T>> holder(static_cast<std::shared_ptr<T>*>(param));
  return holder ? std::move(*holder) : nullptr;
}

}  // namespace ost
