// What a test needs to run the stream threads in its own process without the program's session
// start: the mailbox semaphores and stream events, and a stand-in for the kernel message thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

class APP_DATA;

namespace testsupport {

// Makes the kernel mailbox semaphores and the stream threads' events in the application data.
void MakeStreamEvents(APP_DATA& a);
// Closes what MakeStreamEvents made and clears the slots.
void CloseStreamEvents(APP_DATA& a);

// The kernel message thread as far as the stream uses it: draws the current frame on a draw
// message and counts the stream's time-outs (the program would log in again).
class StreamKernelStandIn {
 public:
  void Start();
  void Stop();
  std::atomic<bool> drawing{true};  // false: the draw message is taken but nothing is drawn
  std::atomic<int> relogins{0};
  std::atomic<DWORD> reloginTick{0};

 private:
  void Run();
  HANDLE m_stop = nullptr;
  std::thread m_thread;
};

}  // namespace testsupport
